// The two panes of the desktop program as the command line has them: the
// profile table is the profile list with every profile ticked, the results
// table is built from the profile files; pages are printed on standard output
// as they are checked. Calls come from the scan thread and the caller's
// thread; each is complete when it returns.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliNotifier.h"
#include "scan/ScanPanes.h"
#include "store/DataFolder.h"

namespace tarnwick::cli {

class CliPanes : public ScanPanes {
public:
    // How a checked page is printed: "advertiser <TAB> page <TAB> result",
    // one JSON object per line, or a CSV record (after a header row), always
    // in row order.
    enum class RowFormat { Text, Json, Csv };

    // progress: show a progress line on err (a terminal).
    CliPanes(DataFolder folder, std::ostream& out, std::ostream& err, bool progress,
             CliNotifier& notifier, std::string reportPath, RowFormat format = RowFormat::Text);

    // Loads the profile table from the profile list.
    void LoadProfiles();
    // The profile table's texts, by row.
    std::vector<std::string> ProfileTexts();

    int ProfileRowCount() override;
    bool IsProfileTicked(int row) override;
    std::string ProfileStatus(int row) override;
    void SetProfileStatus(int row, const std::string& status) override;
    void RebuildResults() override;
    int ResultRowCount() override;
    ResultRow ResultRowAt(int row) override;
    void SetResultStatus(int row, const std::string& status) override;
    // Prints advertiser, page, result and reason, tab-separated.
    void SetResult(int row, const PageResult& result) override;
    void SetResultMail(int row, const std::string& text) override;
    void SetResultEvidence(int row, const PageEvidence& evidence) override;
    void OfferReport() override;
    void StartNotification(const NotificationJob& job) override;
    void PageStarted(int row) override;

    // After the run.
    void PrintProfileStatuses();
    bool AllLinksFound();
    // The profile files that could not be read when the results were built.
    std::vector<std::string> UnreadableProfiles();
    // The reason the report could not be written; empty when it was (or none
    // was asked for).
    std::string ReportError();

private:
    void ClearProgress();
    // Prints the rows that are checked and follow the last printed one.
    void PrintReadyRows();

    DataFolder m_folder;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_bToldNoBrowser = false;
    bool m_bProgress;
    CliNotifier& m_notifier;
    std::string m_strReportPath;
    std::string m_strReportError;

    std::mutex m_mutex;
    std::vector<std::string> m_profileTexts;
    std::vector<std::string> m_profileStatuses;
    std::vector<ResultRow> m_results;
    std::vector<std::string> m_unreadable;
    bool m_bProgressShown = false;
    RowFormat m_eFormat;
    std::vector<bool> m_done;  // by row: checked (or stopped)
    size_t m_nPrinted = 0;     // rows before this one are printed
};

}  // namespace tarnwick::cli
