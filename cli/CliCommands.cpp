#include "cli/CliCommands.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "cli/CliHistory.h"
#include "cli/CliNotifier.h"
#include "cli/CliOptions.h"
#include "cli/CliPanes.h"
#include "cli/SignalWatch.h"
#include "common/Cp1252.h"
#include "common/Version.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "history/LetterRules.h"
#include "history/PageTransition.h"
#include "mail/SmtpClient.h"
#include "report/ResultExport.h"
#include "scan/BuildResultRows.h"
#include "scan/CheckPage.h"
#include "scan/FetchSettings.h"
#include "scan/ScanRun.h"
#include "scan/StatusWords.h"
#include "store/AppSettings.h"
#include "store/DataFolder.h"
#include "store/ProfileList.h"
#include "store/RunLock.h"
#include "store/StoreLineReader.h"

namespace tarnwick::cli {
namespace {

// The profile list must be readable when it exists; a missing one is an empty
// list, as in the desktop program.
bool ProfileListReadable(const DataFolder& folder, std::ostream& err) {
    const std::string path = folder.IndexPath();
    // Never fopen: a FIFO in its place would block the program for good.
    FILE* file = StoreLineReader::OpenRegularFile(path);
    int error = file == nullptr ? errno : 0;
    if (file != nullptr) {
        std::fgetc(file);
        if (std::ferror(file)) {
            error = errno;
        }
        std::fclose(file);
    }
    if (error == 0 || error == ENOENT) {
        return true;
    }
    err << "tarnwick-cli: cannot read " << path << ": " << std::strerror(error) << '\n';
    return false;
}

void PrintWarnings(const std::vector<std::string>& warnings, std::ostream& err) {
    for (const std::string& warning : warnings) {
        err << "tarnwick-cli: " << warning << '\n';
    }
}

// The fetch time-outs and how many pages go side by side: the shared
// settings, unless the command line says; and what the evidence is judged
// with (rules).
PageFetcher::Options FetchOptions(const CliOptions& options, std::ostream& err, LinkRules& rules) {
    std::vector<std::string> warnings;
    const AppSettings settings = AppSettings::Load({}, &warnings);
    PrintWarnings(warnings, err);
    rules.m_nLinkFarmLinks = settings.m_nLinkFarmLinks;
    rules.m_bRender = options.render || settings.m_bRender;
    PageFetcher::Options fetch = FetchSettings::fromSettings(settings);
    if (options.pageTimeoutSeconds > 0) {
        fetch.pageTimeoutSeconds = options.pageTimeoutSeconds;
    }
    if (options.jobs > 0) {
        fetch.jobs = static_cast<int>(options.jobs);
    }
    if (const auto fewer = FetchSettings::fitOpenFiles(fetch)) {
        err << "tarnwick-cli: " << *fewer << '\n';
    }
    return fetch;
}

int Check(const CliOptions& options, std::ostream& out, std::ostream& err) {
    PageEvidence evidence;
    LinkRules rules;
    const PageFetcher::Options fetch = FetchOptions(options, err, rules);
    const PageResult result =
        CheckPage(Utf8ToCp1252(options.page), Utf8ToCp1252(options.advertiser), fetch,
                  options.json ? &evidence : nullptr, rules);
    if (options.json) {
        ResultRow row;
        row.m_strAdvertiser = Utf8ToCp1252(options.advertiser);
        row.m_strPage = Utf8ToCp1252(options.page);
        row.m_strStatus = result.m_strStatus;
        row.m_strReason = result.m_strReason;
        row.m_nHttpStatus = result.m_nHttpStatus;
        row.m_evidence = evidence;
        out << ExportJsonObject(ExportRowOf(row)) << '\n';
    } else {
        out << result.m_strStatus << '\n';
        if (options.verbose) {
            out << Cp1252ToUtf8(result.m_strReason) << '\n';
        }
    }
    return result.m_strStatus == kLinkFound ? kExitOk : kExitLinkMissing;
}

int List(std::ostream& out, std::ostream& err) {
    const DataFolder folder = DataFolder::FromEnvironment();
    if (!ProfileListReadable(folder, err)) {
        return kExitError;
    }
    const std::vector<std::string> lines = ProfileList(folder).Read();
    for (size_t j = 0; j < lines.size(); ++j) {
        const std::string text = ProfileList::DisplayText(lines[j]);
        std::vector<std::string> missing;
        const size_t pages =
            BuildResultRows(folder, {{static_cast<int>(j), text}}, &missing).size();
        for (const std::string& path : missing) {
            err << "tarnwick-cli: cannot read the profile file " << path << '\n';
        }
        out << Cp1252ToUtf8(text) << '\t' << pages << '\n';
    }
    return kExitOk;
}

const char* SignalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

// One scan per data folder: takes the folder's lock, waiting for another
// scan at most --lock-wait seconds (a signal ends the wait). Returns kExitOk
// to go on, otherwise the exit status.
int TakeRunLock(const DataFolder& folder, const CliOptions& options, SignalWatch& signals,
                RunLock& lock, std::ostream& err) {
    folder.EnsureExists();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.lockWaitSeconds);
    bool told = false;
    for (;;) {
        lock = RunLock::tryLock(folder.Folder(), "tarnwick-cli scan");
        if (lock.state() == RunLock::State::Held) {
            return kExitOk;
        }
        if (lock.state() == RunLock::State::Failed) {
            // A data folder that cannot hold the lock file (read-only, a
            // FIFO in its place) must not stop every scan for good.
            err << "tarnwick-cli: " << lock.error() << "; scanning without it\n";
            return kExitOk;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            err << "tarnwick-cli: another scan of the data folder " << folder.Folder()
                << " is running (" << lock.holder() << "); "
                << (options.lockWaitSeconds > 0
                        ? "it did not end within " + std::to_string(options.lockWaitSeconds) + " s"
                        : std::string("try again when it has ended, or wait for it with "
                                      "--lock-wait SECONDS"))
                << '\n';
            return kExitBusy;
        }
        if (!told) {
            err << "tarnwick-cli: waiting for the other scan of the data folder (" << lock.holder()
                << ") to end\n";
            err.flush();
            told = true;
        }
        if (const int signal = signals.wait(std::chrono::milliseconds(200)); signal != 0) {
            return kExitInterrupted + signal;
        }
    }
}

int Scan(const CliOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    const DataFolder folder = DataFolder::FromEnvironment();
    if (!ProfileListReadable(folder, err)) {
        return kExitError;
    }
    // Before the first thread starts: from here on SIGINT and SIGTERM reach
    // no thread by themselves; this one takes them and stops the run.
    SignalWatch signals;
    RunLock runLock;
    if (const int status = TakeRunLock(folder, options, signals, runLock, err); status != kExitOk) {
        return status;
    }
    std::mutex errMutex;
    HistoryRecorder recorder(HistoryDatabase::PathIn(folder.Folder()), kSourceCli,
                             [&err, &errMutex](const std::string& message) {
                                 std::lock_guard<std::mutex> lock(errMutex);
                                 err << "tarnwick-cli: " << message << '\n';
                             });
    std::vector<std::string> warnings;
    recorder.SetLetterRules(ReadLetterRules(folder.Folder(), &warnings));
    PrintWarnings(warnings, err);
    SmtpClient::SetDeadline(std::nullopt);  // until the scan has ended
    CliNotifier notifier(!options.noMail, err);
    notifier.SetLetterListener([&recorder](const NotificationJob& job, const std::string& outcome) {
        recorder.LetterDone(job, outcome);
    });
    notifier.setSendingListener(
        [&recorder](const NotificationJob& job) { recorder.letterSending(job); });
    const CliPanes::RowFormat format = options.json  ? CliPanes::RowFormat::Json
                                       : options.csv ? CliPanes::RowFormat::Csv
                                                     : CliPanes::RowFormat::Text;
    CliPanes panes(folder, out, err, progress, notifier, options.reportPath, format);
    notifier.SetPanes(&panes);
    panes.LoadProfiles();
    recorder.SetProfileTexts(panes.ProfileTexts());
    notifier.BeginRun();
    constexpr auto kSlice = std::chrono::milliseconds(50);
    {
        ScanRun run(panes);
        run.SetObserver(&recorder);
        LinkRules rules;
        run.SetFetchOptions(FetchOptions(options, err, rules));
        run.SetLinkRules(rules);
        run.OnPlay();
        bool stopped = false;
        while (run.IsScanThreadActive()) {
            if (signals.wait(kSlice) != 0 && !stopped) {
                // As Stop does, without waiting for the page in hand: the
                // letters already handed over go on.
                stopped = true;
                // On a terminal the progress line gives way to the message.
                err << (progress ? "\r\033[K" : "")
                    << "tarnwick-cli: " << SignalName(signals.first()) << ": stopping the scan\n";
                run.OnStop();
                run.RequestShutdown();
            }
        }
        run.WaitForScanThread();
    }
    // The letters still queued or on their way: waited for at most
    // --mail-wait seconds, not at all after a signal. A letter not handed
    // over whole by then is not sent; one that was waits for the server's
    // answer.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.mailWaitSeconds);
    SmtpClient::SetDeadline(signals.first() != 0 ? std::chrono::steady_clock::now() : deadline);
    while (signals.first() == 0 && !notifier.waitUntilDrained(kSlice) &&
           std::chrono::steady_clock::now() < deadline) {
        signals.wait(std::chrono::milliseconds(0));
    }
    if (signals.first() != 0) {
        notifier.giveUpQueued(kNotSentInterrupted, "the scan was interrupted");
    } else {
        notifier.giveUpQueued(kNotSentNoTime, "no time was left for it");
    }
    // The letters being sent finish, each within its own bound. A signal
    // that comes meanwhile (a second one after an interruption) ends the
    // program now: their records say "sending", and the next run takes them
    // as sent.
    while (!notifier.waitUntilDrained(kSlice)) {
        if (const int signal = signals.wait(std::chrono::milliseconds(0)); signal != 0) {
            err << "tarnwick-cli: " << SignalName(signal)
                << ": not waiting for the letters being sent\n";
            recorder.Flush();
            out.flush();
            err.flush();
            std::_Exit(kExitInterrupted + signals.first());
        }
    }
    notifier.SetPanes(nullptr);
    if (format == CliPanes::RowFormat::Text) {
        panes.PrintProfileStatuses();  // other formats print the pages alone
    }
    recorder.Flush();
    if (signals.first() != 0) {
        return kExitInterrupted + signals.first();
    }
    // Off the network the run says nothing of the partners: no summary (it
    // could not go out anyway), and a status of its own, so that a timer
    // tries again rather than take a week of "Page cannot be displayed".
    const bool offline = recorder.RunWasOffline();
    if (offline) {
        err << "tarnwick-cli: " << kOfflineSummary
            << " (no partner's host name could be looked up, or no route led to it)\n";
    } else if (!options.summaryTo.empty()) {
        SendChangeSummary(folder, recorder.LastRunId(), Utf8ToCp1252(options.summaryTo), err);
    }
    const std::string reportError = panes.ReportError();
    if (!reportError.empty()) {
        err << "tarnwick-cli: " << reportError << '\n';
        return kExitError;
    }
    // Every readable profile was checked; an unreadable one outweighs the
    // pages' results, as its pages were never checked at all.
    if (!panes.UnreadableProfiles().empty()) {
        return kExitError;
    }
    if (offline) {
        return kExitOffline;
    }
    return panes.AllLinksFound() ? kExitOk : kExitLinkMissing;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress) {
    CliOptions options;
    try {
        options = ParseArguments(args);
    } catch (const UsageError& e) {
        err << "tarnwick-cli: " << e.what() << "\nRun \"tarnwick-cli --help\" for usage.\n";
        return kExitError;
    }
    if (options.help) {
        out << HelpText(options.command);
        return kExitOk;
    }
    if (options.version) {
        // The package's version, so that a bug report can name what ran.
        out << "tarnwick-cli " << kPackageVersion << '\n';
        return kExitOk;
    }
    switch (options.command) {
        case Command::Check:
            return Check(options, out, err);
        case Command::List:
            return List(out, err);
        case Command::Scan:
            return Scan(options, out, err, progress);
        case Command::History:
            return History(options, out, err);
        case Command::Changes:
            return Changes(options, out, err);
        case Command::None:
            break;
    }
    return kExitError;
}

}  // namespace tarnwick::cli
