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
#include "cli/CliPrinter.h"
#include "cli/SignalWatch.h"
#include "common/Cp1252.h"
#include "common/Version.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "history/LetterRules.h"
#include "history/PageTransition.h"
#include "mail/MailDeadline.h"
#include "mail/SmtpClient.h"
#include "report/ResultExport.h"
#include "scan/BuildResultRows.h"
#include "scan/CheckPage.h"
#include "scan/FetchSettings.h"
#include "scan/ScanSession.h"
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
bool profileListReadable(const DataFolder& folder, std::ostream& err) {
    const std::string path = folder.indexPath();
    // Never fopen: a FIFO in its place would block the program for good.
    FILE* file = StoreLineReader::openRegularFile(path);
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

void printWarnings(const std::vector<std::string>& warnings, std::ostream& err) {
    for (const std::string& warning : warnings) {
        err << "tarnwick-cli: " << warning << '\n';
    }
}

// The fetch time-outs and how many pages go side by side: the shared
// settings, unless the command line says; and what the evidence is judged
// with (rules).
PageFetcher::Options fetchOptions(const CliOptions& options, std::ostream& err, LinkRules& rules) {
    std::vector<std::string> warnings;
    const AppSettings settings = AppSettings::load({}, &warnings);
    printWarnings(warnings, err);
    rules.m_linkFarmLinks = settings.m_linkFarmLinks;
    rules.m_render = options.render || settings.m_render;
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

int check(const CliOptions& options, std::ostream& out, std::ostream& err) {
    PageEvidence evidence;
    LinkRules rules;
    const PageFetcher::Options fetch = fetchOptions(options, err, rules);
    const PageResult result =
        checkPage(utf8ToCp1252(options.page), utf8ToCp1252(options.advertiser), fetch,
                  options.json ? &evidence : nullptr, rules);
    if (options.json) {
        ResultRow row;
        row.m_advertiser = utf8ToCp1252(options.advertiser);
        row.m_page = utf8ToCp1252(options.page);
        row.m_result = result.m_result;
        row.m_reason = result.m_reason;
        row.m_httpStatus = result.m_httpStatus;
        row.m_evidence = evidence;
        out << exportJsonObject(exportRowOf(row)) << '\n';
    } else {
        out << resultWord(result.m_result) << '\n';
        if (options.verbose) {
            out << cp1252ToUtf8(result.m_reason) << '\n';
        }
    }
    return result.m_result == LinkResult::Found ? kExitOk : kExitLinkMissing;
}

int list(std::ostream& out, std::ostream& err) {
    const DataFolder folder = DataFolder::fromEnvironment();
    if (!profileListReadable(folder, err)) {
        return kExitError;
    }
    const std::vector<std::string> lines = ProfileList(folder).read();
    for (size_t j = 0; j < lines.size(); ++j) {
        const std::string text = ProfileList::displayText(lines[j]);
        std::vector<std::string> missing;
        const size_t pages =
            buildResultRows(folder, {{static_cast<int>(j), text}}, &missing).size();
        for (const std::string& path : missing) {
            err << "tarnwick-cli: cannot read the profile file " << path << '\n';
        }
        out << cp1252ToUtf8(text) << '\t' << pages << '\n';
    }
    return kExitOk;
}

const char* signalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

// One scan per data folder: takes the folder's lock, waiting for another
// scan at most --lock-wait seconds (a signal ends the wait). Returns kExitOk
// to go on, otherwise the exit status.
int takeRunLock(const DataFolder& folder, const CliOptions& options, SignalWatch& signals,
                RunLock& lock, std::ostream& err) {
    folder.ensureExists();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.lockWaitSeconds);
    bool told = false;
    for (;;) {
        lock = RunLock::tryLock(folder.folder(), "tarnwick-cli scan");
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
            err << "tarnwick-cli: another scan of the data folder " << folder.folder()
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

int scan(const CliOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    const DataFolder folder = DataFolder::fromEnvironment();
    if (!profileListReadable(folder, err)) {
        return kExitError;
    }
    // Before the first thread starts: from here on SIGINT and SIGTERM reach
    // no thread by themselves; this one takes them and stops the run.
    SignalWatch signals;
    RunLock runLock;
    if (const int status = takeRunLock(folder, options, signals, runLock, err); status != kExitOk) {
        return status;
    }
    std::mutex errMutex;
    HistoryRecorder recorder(HistoryDatabase::pathIn(folder.folder()), kSourceCli,
                             [&err, &errMutex](const std::string& message) {
                                 std::lock_guard<std::mutex> lock(errMutex);
                                 err << "tarnwick-cli: " << message << '\n';
                             });
    std::vector<std::string> warnings;
    recorder.setLetterRules(readLetterRules(folder.folder(), &warnings));
    printWarnings(warnings, err);
    // The letters go out without a deadline until the scan has ended.
    MailDeadline mailDeadline;
    SmtpClient::Limits mailLimits;
    mailLimits.m_deadline = &mailDeadline;
    CliNotifier notifier(!options.noMail, err, mailLimits);
    notifier.setSendingListener(
        [&recorder](const NotificationJob& job) { recorder.letterSending(job); });
    const CliPrinter::RowFormat format = options.json  ? CliPrinter::RowFormat::Json
                                         : options.csv ? CliPrinter::RowFormat::Csv
                                                       : CliPrinter::RowFormat::Text;
    CliPrinter printer(folder, out, err, progress, options.reportPath, format);
    notifier.setPrinter(&printer);
    printer.loadProfiles();
    recorder.setProfileTexts(printer.profileTexts());
    notifier.beginRun();
    constexpr auto kSlice = std::chrono::milliseconds(50);
    {
        // Kept until the letters are out: their ends reach the history
        // through it.
        ScanSession run([&printer] { return printer.plan(); });
        run.addListener(&printer);
        run.addListener(&notifier);
        run.setHistory(&recorder);
        notifier.setLetterListener([&run](const NotificationJob& job, const std::string& outcome) {
            run.letterDone(job, outcome);
        });
        LinkRules rules;
        run.setFetchOptions(fetchOptions(options, err, rules));
        run.setLinkRules(rules);
        run.onPlay();
        bool stopped = false;
        while (run.isScanThreadActive()) {
            if (signals.wait(kSlice) != 0 && !stopped) {
                // As Stop does, without waiting for the page in hand: the
                // letters already handed over go on.
                stopped = true;
                // On a terminal the progress line gives way to the message.
                err << (progress ? "\r\033[K" : "")
                    << "tarnwick-cli: " << signalName(signals.first()) << ": stopping the scan\n";
                run.onStop();
                run.requestShutdown();
            }
        }
        run.waitForScanThread();
        // The letters still queued or on their way: waited for at most
        // --mail-wait seconds, not at all after a signal. A letter not handed
        // over whole by then is not sent; one that was waits for the server's
        // answer.
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::seconds(options.mailWaitSeconds);
        mailDeadline.set(signals.first() != 0 ? std::chrono::steady_clock::now() : deadline);
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
        // program now: their records say "sending", and the next run takes
        // them as sent.
        while (!notifier.waitUntilDrained(kSlice)) {
            if (const int signal = signals.wait(std::chrono::milliseconds(0)); signal != 0) {
                err << "tarnwick-cli: " << signalName(signal)
                    << ": not waiting for the letters being sent\n";
                recorder.flush();
                out.flush();
                err.flush();
                std::_Exit(kExitInterrupted + signals.first());
            }
        }
    }
    notifier.setPrinter(nullptr);
    if (format == CliPrinter::RowFormat::Text) {
        printer.printProfileStatuses();  // other formats print the pages alone
    }
    recorder.flush();
    if (signals.first() != 0) {
        return kExitInterrupted + signals.first();
    }
    // Off the network the run says nothing of the partners: no summary (it
    // could not go out anyway), and a status of its own, so that a timer
    // tries again rather than take a week of "Page cannot be displayed".
    const bool offline = recorder.runWasOffline();
    if (offline) {
        err << "tarnwick-cli: " << kOfflineSummary
            << " (no partner's host name could be looked up, or no route led to it)\n";
    } else if (!options.summaryTo.empty()) {
        sendChangeSummary(folder, recorder.lastRunId(), utf8ToCp1252(options.summaryTo), mailLimits,
                          err);
    }
    const std::string reportError = printer.reportError();
    if (!reportError.empty()) {
        err << "tarnwick-cli: " << reportError << '\n';
        return kExitError;
    }
    // Every readable profile was checked; an unreadable one outweighs the
    // pages' results, as its pages were never checked at all.
    if (!printer.unreadableProfiles().empty()) {
        return kExitError;
    }
    if (offline) {
        return kExitOffline;
    }
    return printer.allLinksFound() ? kExitOk : kExitLinkMissing;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress) {
    CliOptions options;
    try {
        options = parseArguments(args);
    } catch (const UsageError& e) {
        err << "tarnwick-cli: " << e.what() << "\nRun \"tarnwick-cli --help\" for usage.\n";
        return kExitError;
    }
    if (options.help) {
        out << helpText(options.command);
        return kExitOk;
    }
    if (options.version) {
        // The package's version, so that a bug report can name what ran.
        out << "tarnwick-cli " << kPackageVersion << '\n';
        return kExitOk;
    }
    switch (options.command) {
        case Command::Check:
            return check(options, out, err);
        case Command::List:
            return list(out, err);
        case Command::Scan:
            return scan(options, out, err, progress);
        case Command::History:
            return history(options, out, err);
        case Command::Changes:
            return changes(options, out, err);
        case Command::None:
            break;
    }
    return kExitError;
}

}  // namespace tarnwick::cli
