#include "cli/CliCommands.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "cli/CliHistory.h"
#include "cli/CliNotifier.h"
#include "cli/CliOptions.h"
#include "cli/CliPanes.h"
#include "common/Cp1252.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "history/LetterRules.h"
#include "report/ResultExport.h"
#include "scan/BuildResultRows.h"
#include "scan/CheckPage.h"
#include "scan/ScanRun.h"
#include "scan/StatusWords.h"
#include "store/AppSettings.h"
#include "store/DataFolder.h"
#include "store/ProfileList.h"
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
// settings, unless the command line says.
PageFetcher::Options FetchOptions(const CliOptions& options, std::ostream& err) {
    std::vector<std::string> warnings;
    const AppSettings settings = AppSettings::Load({}, &warnings);
    PrintWarnings(warnings, err);
    PageFetcher::Options fetch;
    fetch.pageTimeoutSeconds = options.pageTimeoutSeconds > 0 ? options.pageTimeoutSeconds
                                                              : settings.m_nPageTimeoutSeconds;
    fetch.jobs = static_cast<int>(options.jobs > 0 ? options.jobs : settings.m_nJobs);
    fetch.hostConnections = static_cast<int>(settings.m_nHostConnections);
    fetch.hostIntervalMs = settings.m_nHostIntervalMs;
    return fetch;
}

int Check(const CliOptions& options, std::ostream& out, std::ostream& err) {
    PageEvidence evidence;
    const PageResult result =
        CheckPage(Utf8ToCp1252(options.page), Utf8ToCp1252(options.advertiser),
                  FetchOptions(options, err), options.json ? &evidence : nullptr);
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

int Scan(const CliOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    const DataFolder folder = DataFolder::FromEnvironment();
    if (!ProfileListReadable(folder, err)) {
        return kExitError;
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
    CliNotifier notifier(!options.noMail, err);
    notifier.SetLetterListener([&recorder](const NotificationJob& job, const std::string& outcome) {
        recorder.LetterDone(job, outcome);
    });
    const CliPanes::RowFormat format = options.json  ? CliPanes::RowFormat::Json
                                       : options.csv ? CliPanes::RowFormat::Csv
                                                     : CliPanes::RowFormat::Text;
    CliPanes panes(folder, out, err, progress, notifier, options.reportPath, format);
    notifier.SetPanes(&panes);
    panes.LoadProfiles();
    recorder.SetProfileTexts(panes.ProfileTexts());
    notifier.BeginRun();
    {
        ScanRun run(panes);
        run.SetObserver(&recorder);
        run.SetFetchOptions(FetchOptions(options, err));
        run.OnPlay();
        run.WaitForScanThread();
    }
    notifier.WaitForAll(std::chrono::seconds(options.mailWaitSeconds));
    notifier.SetPanes(nullptr);
    if (format == CliPanes::RowFormat::Text) {
        panes.PrintProfileStatuses();  // other formats print the pages alone
    }
    recorder.Flush();
    if (!options.summaryTo.empty()) {
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
