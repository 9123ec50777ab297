#include "cli/CliHistory.h"

#include <ctime>
#include <memory>
#include <optional>

#include "cli/CliCommands.h"
#include "common/Cp1252.h"
#include "history/ChangeLetter.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryError.h"
#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "report/ResultExport.h"
#include "store/StoreFileWriter.h"

namespace tarnwick::cli {
namespace {

// The database when it exists (nullptr when there is none yet).
std::unique_ptr<HistoryDatabase> OpenHistory() {
    const std::string path = HistoryDatabase::PathIn(DataFolder::FromEnvironment().Folder());
    if (!FileExists(path)) {
        return nullptr;
    }
    return std::make_unique<HistoryDatabase>(path, false);
}

std::string Json(const std::string& text) {
    std::string out;
    JsonString(out, text);
    return out;
}

std::string JsonOpt(const std::optional<std::string>& text) {
    return text ? Json(*text) : "null";
}

// Findings kept one per line, as a JSON array; null when not recorded.
std::string JsonLines(const std::optional<std::string>& lines) {
    if (!lines) {
        return "null";
    }
    std::string out = "[";
    std::size_t from = 0;
    while (from < lines->size()) {
        std::size_t end = lines->find('\n', from);
        if (end == std::string::npos) {
            end = lines->size();
        }
        out += (out.size() > 1 ? ", " : "") + Json(lines->substr(from, end - from));
        from = end + 1;
    }
    return out + "]";
}

std::string OutcomeText(const RunInfo& run) {
    return run.m_strOutcome.empty() ? "unfinished" : run.m_strOutcome;
}

// Local midnight starting the day "YYYY-MM-DD".
std::int64_t DayStart(const std::string& date) {
    std::tm day{};
    day.tm_year = std::stoi(date.substr(0, 4)) - 1900;
    day.tm_mon = std::stoi(date.substr(5, 2)) - 1;
    day.tm_mday = std::stoi(date.substr(8, 2));
    day.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&day));
}

// Collects what the sender reports for the summary letter.
class SummarySink : public NotificationSink {
public:
    void SetResultMail(int, const std::string& text) override { m_strFailure = text; }
    void ShowMessage(const std::string&) override {}
    std::string m_strFailure;
};

}  // namespace

int History(const CliOptions& options, std::ostream& out, std::ostream& err) {
    try {
        std::unique_ptr<HistoryDatabase> db = OpenHistory();
        if (!options.pruneBefore.empty()) {
            const int removed = db ? db->PruneBefore(DayStart(options.pruneBefore)) : 0;
            out << "Removed " << removed << (removed == 1 ? " run" : " runs") << " started before "
                << options.pruneBefore << '\n';
            return kExitOk;
        }
        const std::vector<RunInfo> runs = db ? db->Runs() : std::vector<RunInfo>();
        if (options.json) {
            out << '[';
            for (size_t i = 0; i < runs.size(); ++i) {
                const RunInfo& r = runs[i];
                out << (i == 0 ? "" : ",") << "\n  {\"id\": " << r.m_nId
                    << ", \"start\": " << Json(LocalIsoText(r.m_nStarted))
                    << ", \"end\": " << (r.m_nEnded != 0 ? Json(LocalIsoText(r.m_nEnded)) : "null")
                    << ", \"source\": " << Json(r.m_strSource)
                    << ", \"outcome\": " << Json(OutcomeText(r))
                    << ", \"link_found\": " << r.m_counts.m_nFound
                    << ", \"link_not_found\": " << r.m_counts.m_nNotFound
                    << ", \"page_cannot_be_found\": " << r.m_counts.m_nCannotBeFound
                    << ", \"page_cannot_be_displayed\": " << r.m_counts.m_nCannotBeDisplayed << '}';
            }
            out << (runs.empty() ? "]\n" : "\n]\n");
            return kExitOk;
        }
        for (const RunInfo& r : runs) {
            out << r.m_nId << '\t' << LocalIsoText(r.m_nStarted) << '\t'
                << (r.m_nEnded != 0 ? LocalIsoText(r.m_nEnded) : "") << '\t' << r.m_strSource
                << '\t' << OutcomeText(r) << '\t' << r.m_counts.m_nFound << '\t'
                << r.m_counts.m_nNotFound << '\t' << r.m_counts.m_nCannotBeFound << '\t'
                << r.m_counts.m_nCannotBeDisplayed << '\n';
        }
        return kExitOk;
    } catch (const HistoryError& e) {
        err << "tarnwick-cli: " << e.what() << '\n';
        return kExitError;
    }
}

int Changes(const CliOptions& options, std::ostream& out, std::ostream& err) {
    RunChanges changes;
    std::optional<RunInfo> offline;
    try {
        if (std::unique_ptr<HistoryDatabase> db = OpenHistory()) {
            const std::vector<RunInfo> runs = db->Runs();
            if (!runs.empty() && runs.back().m_strOutcome == kOutcomeOffline) {
                offline = runs.back();
            } else {
                changes = db->ChangesOf();
            }
        }
    } catch (const HistoryError& e) {
        err << "tarnwick-cli: " << e.what() << '\n';
        return kExitError;
    }
    // The last run reached no page: saying "No change" would hide a week
    // that went unchecked.
    if (offline) {
        if (options.json) {
            out << "{\"run\": " << offline->m_nId << ", \"previous_run\": null, \"offline\": true"
                << ", \"start\": " << Json(LocalIsoText(offline->m_nStarted))
                << ", \"summary\": " << Json(kOfflineSummary) << ", \"changes\": []}\n";
        } else {
            out << "Run " << offline->m_nId << " of " << LocalIsoText(offline->m_nStarted) << ": "
                << kOfflineSummary << '\n';
        }
        return kExitOffline;
    }
    std::string summary = changes.m_nRunId == 0
                              ? "No run recorded yet"
                              : ChangeSummary(changes.m_counts, changes.m_nPreviousId == 0);
    if (changes.m_nNotChecked > 0) {
        const int all = changes.m_nNotChecked + static_cast<int>(changes.m_changes.size());
        summary +=
            std::string(changes.m_strOutcome == kOutcomeStopped ? "; the run was stopped: "
                                                                : "; the run did not finish: ") +
            std::to_string(changes.m_nNotChecked) + " of " + std::to_string(all) +
            " pages were not checked";
    }
    if (options.json) {
        out << "{\"run\": " << (changes.m_nRunId != 0 ? std::to_string(changes.m_nRunId) : "null")
            << ", \"previous_run\": "
            << (changes.m_nPreviousId != 0 ? std::to_string(changes.m_nPreviousId) : "null")
            << ", \"summary\": " << Json(summary)
            << (changes.m_nNotChecked > 0
                    ? ", \"not_checked\": " + std::to_string(changes.m_nNotChecked)
                    : std::string())
            << ", \"changes\": [";
        bool first = true;
        for (const PageChange& c : changes.m_changes) {
            if (c.m_transition == Transition::Unchanged) {
                continue;
            }
            out << (first ? "" : ",") << "\n  {\"page\": " << Json(Cp1252ToUtf8(c.m_strPage))
                << ", \"advertiser\": " << Json(Cp1252ToUtf8(c.m_strAdvertiser))
                << ", \"profile\": " << Json(Cp1252ToUtf8(c.m_strProfile))
                << ", \"from\": " << (c.m_strFrom.empty() ? "null" : Json(c.m_strFrom))
                << ", \"to\": " << Json(c.m_strTo)
                << ", \"from_verdict\": " << JsonOpt(c.m_fromVerdict)
                << ", \"to_verdict\": " << JsonOpt(c.m_toVerdict)
                << ", \"from_findings\": " << JsonLines(c.m_fromFindings)
                << ", \"to_findings\": " << JsonLines(c.m_toFindings)
                << ", \"transition\": " << Json(TransitionWord(c.m_transition)) << '}';
            first = false;
        }
        out << (first ? "]}\n" : "\n]}\n");
    } else {
        for (const PageChange& c : changes.m_changes) {
            if (c.m_transition != Transition::Unchanged) {
                out << TransitionWord(c.m_transition) << '\t' << Cp1252ToUtf8(c.m_strAdvertiser)
                    << '\t' << Cp1252ToUtf8(c.m_strPage) << '\t' << c.m_strFrom << '\t' << c.m_strTo
                    << '\n';
            }
        }
        out << summary << '\n';
    }
    return changes.m_counts.m_nLost > 0 ? kExitLinkMissing : kExitOk;
}

void SendChangeSummary(const DataFolder& folder, std::int64_t runId, const std::string& address,
                       std::ostream& err) {
    if (runId == 0) {
        err << "tarnwick-cli: no summary letter: the run was not recorded\n";
        return;
    }
    RunChanges changes;
    std::int64_t started = 0;
    try {
        HistoryDatabase db(HistoryDatabase::PathIn(folder.Folder()), false);
        changes = db.ChangesOf(runId);
        for (const RunInfo& run : db.Runs()) {
            if (run.m_nId == runId) {
                started = run.m_nStarted;
            }
        }
    } catch (const HistoryError& e) {
        err << "tarnwick-cli: no summary letter: " << e.what() << '\n';
        return;
    }
    if (!ChangeLetterDue(changes)) {
        return;  // nothing the site owner needs to hear
    }
    const NotificationMailSettings settings = ReadMailSettingsForNotification(folder.MailPath());
    if (settings.m_state != MailFileState::Read) {
        err << "tarnwick-cli: no summary letter: the mail settings are missing\n";
        return;
    }
    SummarySink sink;
    {
        MailSender sender(sink);
        sender.m_account = settings.m_account;
        sender.m_strRecipient = address;
        sender.m_strSubject = ChangeLetterSubject(changes);
        sender.m_strBody = ChangeLetterBody(changes, started);
        if (sender.m_pMail != nullptr) {
            sender.Send();
        }
    }
    if (!sink.m_strFailure.empty()) {
        err << "tarnwick-cli: summary letter to " << Cp1252ToUtf8(address) << ": "
            << Cp1252ToUtf8(sink.m_strFailure) << '\n';
    } else {
        err << "tarnwick-cli: summary letter sent to " << Cp1252ToUtf8(address) << '\n';
    }
}

}  // namespace tarnwick::cli
