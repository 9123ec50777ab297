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
    void loadProfiles();
    // The profile table's texts, by row.
    std::vector<std::string> profileTexts();

    int profileRowCount() override;
    bool isProfileTicked(int row) override;
    std::string profileStatus(int row) override;
    void setProfileStatus(int row, const std::string& status) override;
    void rebuildResults() override;
    int resultRowCount() override;
    ResultRow resultRowAt(int row) override;
    void setResultStatus(int row, const std::string& status) override;
    // Prints advertiser, page, result and reason, tab-separated.
    void setResult(int row, const PageResult& result) override;
    void setResultMail(int row, const std::string& text) override;
    void setResultEvidence(int row, const PageEvidence& evidence) override;
    void offerReport() override;
    void startNotification(const NotificationJob& job) override;
    void pageStarted(int row) override;

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
    // Prints the rows that are checked and follow the last printed one.
    void printReadyRows();

    DataFolder m_folder;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_toldNoBrowser = false;
    bool m_progress;
    CliNotifier& m_notifier;
    std::string m_reportPath;
    std::string m_reportError;

    std::mutex m_mutex;
    std::vector<std::string> m_profileTexts;
    std::vector<std::string> m_profileStatuses;
    std::vector<ResultRow> m_results;
    std::vector<std::string> m_unreadable;
    bool m_progressShown = false;
    RowFormat m_format;
    std::vector<bool> m_done;  // by row: checked (or stopped)
    size_t m_printed = 0;      // rows before this one are printed
};

}  // namespace tarnwick::cli
