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
std::unique_ptr<HistoryDatabase> openHistory() {
    const std::string path = HistoryDatabase::pathIn(DataFolder::fromEnvironment().folder());
    if (!fileExists(path)) {
        return nullptr;
    }
    return std::make_unique<HistoryDatabase>(path, false);
}

std::string json(const std::string& text) {
    std::string out;
    jsonString(out, text);
    return out;
}

std::string jsonOpt(const std::optional<std::string>& text) {
    return text ? json(*text) : "null";
}

// Findings kept one per line, as a JSON array; null when not recorded.
std::string jsonLines(const std::optional<std::string>& lines) {
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
        out += (out.size() > 1 ? ", " : "") + json(lines->substr(from, end - from));
        from = end + 1;
    }
    return out + "]";
}

std::string outcomeText(const RunInfo& run) {
    return run.m_outcome.empty() ? "unfinished" : run.m_outcome;
}

// Local midnight starting the day "YYYY-MM-DD".
std::int64_t dayStart(const std::string& date) {
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
    void setResultMail(int, const std::string& text) override { m_failure = text; }
    void showMessage(const std::string&) override {}
    std::string m_failure;
};

}  // namespace

int history(const CliOptions& options, std::ostream& out, std::ostream& err) {
    try {
        std::unique_ptr<HistoryDatabase> db = openHistory();
        if (!options.pruneBefore.empty()) {
            const int removed = db ? db->pruneBefore(dayStart(options.pruneBefore)) : 0;
            out << "Removed " << removed << (removed == 1 ? " run" : " runs") << " started before "
                << options.pruneBefore << '\n';
            return kExitOk;
        }
        const std::vector<RunInfo> runs = db ? db->runs() : std::vector<RunInfo>();
        if (options.json) {
            out << '[';
            for (size_t i = 0; i < runs.size(); ++i) {
                const RunInfo& r = runs[i];
                out << (i == 0 ? "" : ",") << "\n  {\"id\": " << r.m_id
                    << ", \"start\": " << json(localIsoText(r.m_started))
                    << ", \"end\": " << (r.m_ended != 0 ? json(localIsoText(r.m_ended)) : "null")
                    << ", \"source\": " << json(r.m_source)
                    << ", \"outcome\": " << json(outcomeText(r))
                    << ", \"link_found\": " << r.m_counts.m_found
                    << ", \"link_not_found\": " << r.m_counts.m_notFound
                    << ", \"page_cannot_be_found\": " << r.m_counts.m_cannotBeFound
                    << ", \"page_cannot_be_displayed\": " << r.m_counts.m_cannotBeDisplayed << '}';
            }
            out << (runs.empty() ? "]\n" : "\n]\n");
            return kExitOk;
        }
        for (const RunInfo& r : runs) {
            out << r.m_id << '\t' << localIsoText(r.m_started) << '\t'
                << (r.m_ended != 0 ? localIsoText(r.m_ended) : "") << '\t' << r.m_source << '\t'
                << outcomeText(r) << '\t' << r.m_counts.m_found << '\t' << r.m_counts.m_notFound
                << '\t' << r.m_counts.m_cannotBeFound << '\t' << r.m_counts.m_cannotBeDisplayed
                << '\n';
        }
        return kExitOk;
    } catch (const HistoryError& e) {
        err << "tarnwick-cli: " << e.what() << '\n';
        return kExitError;
    }
}

int changes(const CliOptions& options, std::ostream& out, std::ostream& err) {
    RunChanges changes;
    std::optional<RunInfo> offline;
    try {
        if (std::unique_ptr<HistoryDatabase> db = openHistory()) {
            const std::vector<RunInfo> runs = db->runs();
            if (!runs.empty() && runs.back().m_outcome == kOutcomeOffline) {
                offline = runs.back();
            } else {
                changes = db->changesOf();
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
            out << "{\"run\": " << offline->m_id << ", \"previous_run\": null, \"offline\": true"
                << ", \"start\": " << json(localIsoText(offline->m_started))
                << ", \"summary\": " << json(kOfflineSummary) << ", \"changes\": []}\n";
        } else {
            out << "Run " << offline->m_id << " of " << localIsoText(offline->m_started) << ": "
                << kOfflineSummary << '\n';
        }
        return kExitOffline;
    }
    std::string summary = changes.m_runId == 0
                              ? "No run recorded yet"
                              : changeSummary(changes.m_counts, changes.m_previousId == 0);
    if (changes.m_notChecked > 0) {
        const int all = changes.m_notChecked + static_cast<int>(changes.m_changes.size());
        summary +=
            std::string(changes.m_outcome == kOutcomeStopped ? "; the run was stopped: "
                                                             : "; the run did not finish: ") +
            std::to_string(changes.m_notChecked) + " of " + std::to_string(all) +
            " pages were not checked";
    }
    if (options.json) {
        out << "{\"run\": " << (changes.m_runId != 0 ? std::to_string(changes.m_runId) : "null")
            << ", \"previous_run\": "
            << (changes.m_previousId != 0 ? std::to_string(changes.m_previousId) : "null")
            << ", \"summary\": " << json(summary)
            << (changes.m_notChecked > 0
                    ? ", \"not_checked\": " + std::to_string(changes.m_notChecked)
                    : std::string())
            << ", \"changes\": [";
        bool first = true;
        for (const PageChange& c : changes.m_changes) {
            if (c.m_transition == Transition::Unchanged) {
                continue;
            }
            out << (first ? "" : ",") << "\n  {\"page\": " << json(cp1252ToUtf8(c.m_page))
                << ", \"advertiser\": " << json(cp1252ToUtf8(c.m_advertiser))
                << ", \"profile\": " << json(cp1252ToUtf8(c.m_profile))
                << ", \"from\": " << (c.m_from.empty() ? "null" : json(c.m_from))
                << ", \"to\": " << json(c.m_to)
                << ", \"from_verdict\": " << jsonOpt(c.m_fromVerdict)
                << ", \"to_verdict\": " << jsonOpt(c.m_toVerdict)
                << ", \"from_findings\": " << jsonLines(c.m_fromFindings)
                << ", \"to_findings\": " << jsonLines(c.m_toFindings)
                << ", \"transition\": " << json(transitionWord(c.m_transition)) << '}';
            first = false;
        }
        out << (first ? "]}\n" : "\n]}\n");
    } else {
        for (const PageChange& c : changes.m_changes) {
            if (c.m_transition != Transition::Unchanged) {
                out << transitionWord(c.m_transition) << '\t' << cp1252ToUtf8(c.m_advertiser)
                    << '\t' << cp1252ToUtf8(c.m_page) << '\t' << c.m_from << '\t' << c.m_to << '\n';
            }
        }
        out << summary << '\n';
    }
    return changes.m_counts.m_lost > 0 ? kExitLinkMissing : kExitOk;
}

void sendChangeSummary(const DataFolder& folder, std::int64_t runId, const std::string& address,
                       const SmtpClient::Limits& limits, std::ostream& err) {
    if (runId == 0) {
        err << "tarnwick-cli: no summary letter: the run was not recorded\n";
        return;
    }
    RunChanges changes;
    std::int64_t started = 0;
    try {
        HistoryDatabase db(HistoryDatabase::pathIn(folder.folder()), false);
        changes = db.changesOf(runId);
        for (const RunInfo& run : db.runs()) {
            if (run.m_id == runId) {
                started = run.m_started;
            }
        }
    } catch (const HistoryError& e) {
        err << "tarnwick-cli: no summary letter: " << e.what() << '\n';
        return;
    }
    if (!changeLetterDue(changes)) {
        return;  // nothing the site owner needs to hear
    }
    const NotificationMailSettings settings = readMailSettingsForNotification(folder.mailPath());
    if (settings.m_state != MailFileState::Read) {
        err << "tarnwick-cli: no summary letter: the mail settings are missing\n";
        return;
    }
    SummarySink sink;
    {
        MailSender sender(sink);
        sender.m_account = settings.m_account;
        sender.m_limits = limits;
        sender.m_recipient = address;
        sender.m_subject = changeLetterSubject(changes);
        sender.m_body = changeLetterBody(changes, started);
        if (sender.m_mail != nullptr) {
            sender.send();
        }
    }
    if (!sink.m_failure.empty()) {
        err << "tarnwick-cli: summary letter to " << cp1252ToUtf8(address) << ": "
            << cp1252ToUtf8(sink.m_failure) << '\n';
    } else {
        err << "tarnwick-cli: summary letter sent to " << cp1252ToUtf8(address) << '\n';
    }
}

}  // namespace tarnwick::cli
