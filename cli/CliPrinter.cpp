#include "cli/CliPrinter.h"

#include <ctime>
#include <exception>
#include <utility>

#include "cli/CliReport.h"
#include "common/Cp1252.h"
#include "report/ResultExport.h"
#include "scan/BuildResultRows.h"
#include "scan/StatusWords.h"
#include "store/ProfileList.h"

namespace tarnwick::cli {

CliPrinter::CliPrinter(DataFolder folder, std::ostream& out, std::ostream& err, bool progress,
                       std::string reportPath, RowFormat format)
    : m_folder(std::move(folder)),
      m_out(out),
      m_err(err),
      m_progress(progress),
      m_reportPath(std::move(reportPath)),
      m_format(format) {}

void CliPrinter::loadProfiles() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileTexts.clear();
    for (const std::string& line : ProfileList(m_folder).read()) {
        m_profileTexts.push_back(ProfileList::displayText(line));
    }
    m_profileStatuses.assign(m_profileTexts.size(), std::nullopt);
}

std::vector<std::string> CliPrinter::profileTexts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profileTexts;
}

ScanPlan CliPrinter::plan() {
    std::vector<TickedProfile> ticked;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t j = 0; j < m_profileTexts.size(); ++j) {
            ticked.push_back({static_cast<int>(j), m_profileTexts[j]});
        }
    }
    return ScanPlan::fromStore(m_folder, std::move(ticked));
}

void CliPrinter::profileStatusChanged(int profileRow, ProfileStatus status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileStatuses.at(static_cast<size_t>(profileRow)) = status;
}

void CliPrinter::runStarted(const std::shared_ptr<const ScanPlan>& plan) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_plan = plan;
    m_outcomes.assign(plan->size(), RowOutcome{});
    m_mailTexts.clear();
    m_done.assign(m_outcomes.size(), false);
    m_printed = 0;
    if (m_format == RowFormat::Csv) {
        m_out << exportCsvHeader();
        m_out.flush();
    }
    m_unreadable = plan->m_unreadable;
    for (std::string path : plan->m_unreadable) {
        // A zero byte from an index line is shown as \0, not sent to the terminal.
        for (size_t at = path.find('\0'); at != std::string::npos; at = path.find('\0', at)) {
            path.replace(at, 1, "\\0");
        }
        m_err << "tarnwick-cli: cannot read the profile file " << path
              << "; its pages are not checked\n";
    }
}

ResultRow CliPrinter::resultRow(size_t k) const {
    ResultRow row = m_plan->resultRow(k);
    const RowOutcome& outcome = m_outcomes.at(k);
    row.m_result = outcome.m_result;
    row.m_stopped = outcome.m_stopped;
    row.m_reason = outcome.m_reason;
    row.m_httpStatus = outcome.m_httpStatus;
    if (const auto text = m_mailTexts.find(k); text != m_mailTexts.end()) {
        row.m_mail = text->second;
    }
    return row;
}

void CliPrinter::clearProgress() {
    if (m_progressShown) {
        m_err << "\r\033[K";
        m_err.flush();
        m_progressShown = false;
    }
}

void CliPrinter::markDone(size_t row) {
    m_done.at(row) = true;
    printReadyRows();
}

void CliPrinter::pageStopped(int row) {
    std::lock_guard<std::mutex> lock(m_mutex);
    RowOutcome& r = m_outcomes.at(static_cast<size_t>(row));
    if (!r.m_result && !r.m_stopped) {
        r.m_stopped = true;
        markDone(static_cast<size_t>(row));
    }
}

void CliPrinter::pageChecked(const ScanJob& job, const PageResult& result,
                             const PageEvidence& evidence, const std::string& /*change*/) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto row = static_cast<size_t>(job.m_row);
    RowOutcome& r = m_outcomes.at(row);
    if (evidence.m_checked) {
        r.m_evidence = evidence;
        // A browser that cannot be started is told once per run (the desktop
        // program shows it where the run's summary goes).
        constexpr std::string_view kNotRendered = "not rendered: ";
        const std::string& rendering = evidence.m_rendering;
        if (!m_toldNoBrowser && rendering.rfind(kNotRendered, 0) == 0 &&
            rendering.find(" could not be started") != std::string::npos) {
            m_toldNoBrowser = true;
            m_err << "tarnwick-cli: " << rendering.substr(kNotRendered.size()) << '\n';
        }
    }
    r.m_result = result.m_result;
    r.m_stopped = false;
    r.m_reason = result.m_reason;
    r.m_httpStatus = result.m_httpStatus;
    markDone(row);
}

void CliPrinter::printReadyRows() {
    bool printed = false;
    while (m_printed < m_done.size() && m_done[m_printed]) {
        const size_t k = m_printed++;
        RowOutcome& outcome = m_outcomes[k];
        // Printed is done with: the report names the page and its result
        // only, and a long run would otherwise hold every page's evidence
        // to its end. Taken out of the row, not copied.
        RowEvidence evidence = std::move(outcome.m_evidence);
        if (!outcome.m_result) {  // stopped
            continue;
        }
        if (!printed) {
            clearProgress();
            printed = true;
        }
        switch (m_format) {
            case RowFormat::Text: {
                // Keep the line one line with four fields: a tab or line
                // break in an address goes as %XX, as it goes on the wire; in
                // the reason (which may quote the page) as a space.
                const auto field = [](const std::string& text, bool address) {
                    std::string out;
                    for (const char c : cp1252ToUtf8(text)) {
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
                m_out << field(m_plan->advertiser(k), true) << '\t' << field(m_plan->page(k), true)
                      << '\t' << resultWord(*outcome.m_result) << '\t'
                      << field(outcome.m_reason, false) << '\n';
                break;
            }
            case RowFormat::Json:
            case RowFormat::Csv: {
                ResultRow row = resultRow(k);
                row.m_evidence = std::move(evidence);
                m_out << (m_format == RowFormat::Json ? exportJsonObject(exportRowOf(row)) + '\n'
                                                      : exportCsvRecord(exportRowOf(row)));
                break;
            }
        }
    }
    if (printed) {
        m_out.flush();
    }
}

void CliPrinter::letterHeldBack(const ScanJob& job, const std::string& reason) {
    setResultMail(job.m_row, kNotMailed + reason);
}

void CliPrinter::setResultMail(int row, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string& page = m_plan->page(static_cast<size_t>(row));
    m_mailTexts[static_cast<size_t>(row)] = text;
    clearProgress();
    m_err << "tarnwick-cli: mail for " << cp1252ToUtf8(page) << ": " << cp1252ToUtf8(text) << '\n';
}

void CliPrinter::runFinished(bool /*completed*/) {
    if (m_reportPath.empty()) {
        return;
    }
    std::vector<ResultRow> rows;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        rows.reserve(m_outcomes.size());
        for (size_t k = 0; k < m_outcomes.size(); ++k) {
            rows.push_back(resultRow(k));
        }
    }
    try {
        writeScanReport(m_reportPath, rows, std::time(nullptr));
        m_reportError.clear();
    } catch (const std::exception& e) {
        m_reportError = e.what();
    }
}

void CliPrinter::pageStarted(int row) {
    if (!m_progress) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_err << "\r\033[K[" << row + 1 << '/' << m_outcomes.size() << "] "
          << cp1252ToUtf8(m_plan->page(static_cast<size_t>(row)));
    m_err.flush();
    m_progressShown = true;
}

void CliPrinter::printProfileStatuses() {
    std::lock_guard<std::mutex> lock(m_mutex);
    clearProgress();
    for (size_t j = 0; j < m_profileTexts.size(); ++j) {
        const std::optional<ProfileStatus> status = m_profileStatuses[j];
        m_out << cp1252ToUtf8(m_profileTexts[j]) << '\t'
              << (status ? profileStatusWord(*status) : std::string()) << '\n';
    }
    m_out.flush();
}

bool CliPrinter::allLinksFound() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const RowOutcome& r : m_outcomes) {
        if (r.m_result != LinkResult::Found) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> CliPrinter::unreadableProfiles() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_unreadable;
}

std::string CliPrinter::reportError() {
    return m_reportError;
}

}  // namespace tarnwick::cli
