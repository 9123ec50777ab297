#include "cli/CliPanes.h"

#include <ctime>
#include <exception>

#include "cli/CliReport.h"
#include "common/Cp1252.h"
#include "report/ResultExport.h"
#include "scan/BuildResultRows.h"
#include "scan/ScanState.h"
#include "scan/StatusWords.h"
#include "store/ProfileList.h"

namespace tarnwick::cli {

CliPanes::CliPanes(DataFolder folder, std::ostream& out, std::ostream& err, bool progress,
                   CliNotifier& notifier, std::string reportPath, RowFormat format)
    : m_folder(std::move(folder)),
      m_out(out),
      m_err(err),
      m_bProgress(progress),
      m_notifier(notifier),
      m_strReportPath(std::move(reportPath)),
      m_eFormat(format) {}

void CliPanes::LoadProfiles() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileTexts.clear();
    for (const std::string& line : ProfileList(m_folder).Read()) {
        m_profileTexts.push_back(ProfileList::DisplayText(line));
    }
    m_profileStatuses.assign(m_profileTexts.size(), std::string());
}

std::vector<std::string> CliPanes::ProfileTexts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profileTexts;
}

int CliPanes::ProfileRowCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_profileTexts.size());
}

bool CliPanes::IsProfileTicked(int) {
    return true;
}

std::string CliPanes::ProfileStatus(int row) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profileStatuses.at(static_cast<size_t>(row));
}

void CliPanes::SetProfileStatus(int row, const std::string& status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileStatuses.at(static_cast<size_t>(row)) = status;
}

void CliPanes::RebuildResults() {
    std::vector<TickedProfile> ticked;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t j = 0; j < m_profileTexts.size(); ++j) {
            ticked.push_back({static_cast<int>(j), m_profileTexts[j]});
        }
    }
    std::vector<std::string> missing;
    std::vector<ResultRow> rows = BuildResultRows(m_folder, ticked, &missing);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_results = std::move(rows);
    m_done.assign(m_results.size(), false);
    m_nPrinted = 0;
    if (m_eFormat == RowFormat::Csv) {
        m_out << ExportCsvHeader();
        m_out.flush();
    }
    m_unreadable = missing;
    for (std::string path : missing) {
        // A zero byte from an index line is shown as \0, not sent to the terminal.
        for (size_t at = path.find('\0'); at != std::string::npos; at = path.find('\0', at)) {
            path.replace(at, 1, "\\0");
        }
        m_err << "tarnwick-cli: cannot read the profile file " << path
              << "; its pages are not checked\n";
    }
}

int CliPanes::ResultRowCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_results.size());
}

ResultRow CliPanes::ResultRowAt(int row) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_results.at(static_cast<size_t>(row));
}

void CliPanes::ClearProgress() {
    if (m_bProgressShown) {
        m_err << "\r\033[K";
        m_err.flush();
        m_bProgressShown = false;
    }
}

void CliPanes::SetResultStatus(int row, const std::string& status) {
    SetResult(row, PageResult(status));
}

void CliPanes::SetResult(int row, const PageResult& result) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ResultRow& r = m_results.at(static_cast<size_t>(row));
    r.m_strStatus = result.m_strStatus;
    r.m_strReason = result.m_strReason;
    r.m_nHttpStatus = result.m_nHttpStatus;
    m_done.at(static_cast<size_t>(row)) = true;
    PrintReadyRows();
}

void CliPanes::SetResultEvidence(int row, const PageEvidence& evidence) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_results.at(static_cast<size_t>(row)).m_evidence = evidence;
    // A browser that cannot be started is told once per run (the desktop
    // program shows it where the run's summary goes).
    constexpr std::string_view kNotRendered = "not rendered: ";
    const std::string& rendering = evidence.m_strRendering;
    if (!m_bToldNoBrowser && rendering.rfind(kNotRendered, 0) == 0 &&
        rendering.find(" could not be started") != std::string::npos) {
        m_bToldNoBrowser = true;
        m_err << "tarnwick-cli: " << rendering.substr(kNotRendered.size()) << '\n';
    }
}

void CliPanes::PrintReadyRows() {
    bool printed = false;
    while (m_nPrinted < m_done.size() && m_done[m_nPrinted]) {
        ResultRow& r = m_results[m_nPrinted++];
        // Printed is done with: the report names the page and its result
        // only, and a long run would otherwise hold every page's evidence
        // to its end.
        struct DropEvidence {
            ResultRow& row;
            ~DropEvidence() { row.m_evidence.reset(); }
        } drop{r};
        if (r.m_strStatus == kStoppedByUser) {
            continue;
        }
        if (!printed) {
            ClearProgress();
            printed = true;
        }
        switch (m_eFormat) {
            case RowFormat::Text: {
                // Keep the line one line with four fields: a tab or line
                // break in an address goes as %XX, as it goes on the wire; in
                // the reason (which may quote the page) as a space.
                const auto field = [](const std::string& text, bool address) {
                    std::string out;
                    for (const char c : Cp1252ToUtf8(text)) {
                        if (c != '\t' && c != '\n' && c != '\r') {
                            out += c;
                        } else if (address) {
                            out += c == '\t' ? "%09" : c == '\n' ? "%0A" : "%0D";
                        } else {
                            out += ' ';
                        }
                    }
                    return out;
                };
                m_out << field(r.m_strAdvertiser, true) << '\t' << field(r.m_strPage, true) << '\t'
                      << r.m_strStatus << '\t' << field(r.m_strReason, false) << '\n';
                break;
            }
            case RowFormat::Json:
                m_out << ExportJsonObject(ExportRowOf(r)) << '\n';
                break;
            case RowFormat::Csv:
                m_out << ExportCsvRecord(ExportRowOf(r));
                break;
        }
    }
    if (printed) {
        m_out.flush();
    }
}

void CliPanes::SetResultMail(int row, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ResultRow& r = m_results.at(static_cast<size_t>(row));
    r.m_strMail = text;
    ClearProgress();
    m_err << "tarnwick-cli: mail for " << Cp1252ToUtf8(r.m_strPage) << ": " << Cp1252ToUtf8(text)
          << '\n';
}

void CliPanes::OfferReport() {
    if (m_strReportPath.empty()) {
        return;
    }
    std::vector<ResultRow> rows;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        rows = m_results;
    }
    try {
        WriteScanReport(m_strReportPath, rows, std::time(nullptr));
        g_bReportSaved = true;
        m_strReportError.clear();
    } catch (const std::exception& e) {
        g_bReportSaved = false;
        m_strReportError = e.what();
    }
}

void CliPanes::StartNotification(const NotificationJob& job) {
    m_notifier.Start(job);
}

void CliPanes::PageStarted(int row) {
    if (!m_bProgress) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_err << "\r\033[K[" << row + 1 << '/' << m_results.size() << "] "
          << Cp1252ToUtf8(m_results.at(static_cast<size_t>(row)).m_strPage);
    m_err.flush();
    m_bProgressShown = true;
}

void CliPanes::PrintProfileStatuses() {
    std::lock_guard<std::mutex> lock(m_mutex);
    ClearProgress();
    for (size_t j = 0; j < m_profileTexts.size(); ++j) {
        m_out << Cp1252ToUtf8(m_profileTexts[j]) << '\t' << m_profileStatuses[j] << '\n';
    }
    m_out.flush();
}

bool CliPanes::AllLinksFound() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const ResultRow& r : m_results) {
        if (r.m_strStatus != kLinkFound) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> CliPanes::UnreadableProfiles() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unreadable;
}

std::string CliPanes::ReportError() {
    return m_strReportError;
}

}  // namespace tarnwick::cli
