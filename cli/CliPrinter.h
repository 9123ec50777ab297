// What the command line shows of a scan session: pages are printed on
// standard output as they are checked, in row order; the profile statuses
// after the run; the report written at the end. Events come from the scan
// thread and the caller's thread; each is complete when it returns.
#pragma once

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
    void runStarted(const ScanPlan& plan) override;
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
    std::vector<ResultRow> m_results;
    std::vector<std::string> m_unreadable;
    bool m_progressShown = false;
    RowFormat m_format;
    std::vector<bool> m_done;  // by row: checked (or stopped)
    size_t m_printed = 0;      // rows before this one are printed
};

}  // namespace tarnwick::cli
