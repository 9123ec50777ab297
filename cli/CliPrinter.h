// What the command line shows of a scan session: pages are printed on
// standard output as they are checked, in row order; the profile statuses
// after the run; the report written at the end. Events come from the scan
// thread and the caller's thread; each is complete when it returns.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "scan/ScanListener.h"
#include "store/DataFolder.h"

namespace tarnwick::cli {

class CliPrinter : public ScanListener {
public:
    // How a checked page is printed: "advertiser <TAB> page <TAB> result",
    // one JSON object per line, or a CSV record (after a header row), always
    // in row order.
    enum class RowFormat { Text, Json, Csv };

    // progress: show a progress line on err (a terminal).
    CliPrinter(DataFolder folder, std::ostream& out, std::ostream& err, bool progress,
               std::string reportPath, RowFormat format = RowFormat::Text);

    // Loads the profile texts from the profile list.
    void loadProfiles();
    // The profile texts, by row.
    std::vector<std::string> profileTexts();
    // Every profile of the list, ticked, and its pages.
    ScanPlan plan();

    void profileStatusChanged(int profileRow, ProfileStatus status) override;
    void runStarted(const std::shared_ptr<const ScanPlan>& plan) override;
    void pageStarted(int row) override;
    // Prints advertiser, page, result and reason, tab-separated.
    void pageChecked(const ScanJob& job, const PageResult& result, const PageEvidence& evidence,
                     const std::string& change) override;
    void pageStopped(int row) override;
    void letterHeldBack(const ScanJob& job, const std::string& reason) override;
    // Writes the report.
    void runFinished(bool completed) override;

    // A letter's failure text, from a sending thread (printed on err).
    void setResultMail(int row, const std::string& text);

    // After the run.
    void printProfileStatuses();
    bool allLinksFound();
    // The profile files that could not be read when the results were built.
    std::vector<std::string> unreadableProfiles();
    // The reason the report could not be written; empty when it was (or none
    // was asked for).
    std::string reportError();

private:
    // What the run told of a row; its page's columns are the plan's.
    struct RowOutcome {
        std::optional<LinkResult> m_result;  // none: not checked yet, or stopped
        bool m_stopped = false;              // "Stopped by user"
        std::string m_reason;
        long m_httpStatus = 0;
        RowEvidence m_evidence;  // until the row is printed
    };

    // Row k as the results pane would show it, without its evidence (a
    // printed row hands that over once).
    ResultRow resultRow(size_t k) const;
    void clearProgress();
    void markDone(size_t row);
    // Prints the rows that are checked and follow the last printed one.
    void printReadyRows();

    DataFolder m_folder;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_toldNoBrowser = false;
    bool m_progress;
    std::string m_reportPath;
    std::string m_reportError;

    std::mutex m_mutex;
    std::vector<std::string> m_profileTexts;
    std::vector<std::optional<ProfileStatus>> m_profileStatuses;  // none: not in the run
    std::shared_ptr<const ScanPlan> m_plan = std::make_shared<const ScanPlan>();
    std::vector<RowOutcome> m_outcomes;  // by row
    // The few rows whose letter failed or was held back: the text that
    // replaces their address.
    std::map<size_t, std::string> m_mailTexts;
    std::vector<std::string> m_unreadable;
    bool m_progressShown = false;
    RowFormat m_format;
    std::vector<bool> m_done;  // by row: checked (or stopped)
    size_t m_printed = 0;      // rows before this one are printed
};

}  // namespace tarnwick::cli
