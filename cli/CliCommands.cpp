#include "cli/CliCommands.h"

#include <cerrno>
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
#include "store/DataFolder.h"
#include "store/ProfileList.h"

namespace tarnwick::cli {
namespace {

// The profile list must be readable when it exists; a missing one is an empty
// list, as in the desktop program.
bool ProfileListReadable(const DataFolder& folder, std::ostream& err) {
    const std::string path = folder.IndexPath();
    FILE* file = std::fopen(path.c_str(), "rb");
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

int Check(const CliOptions& options, std::ostream& out) {
    const std::string page = Utf8ToCp1252(options.page);
    const std::string advertiser = Utf8ToCp1252(options.advertiser);
    if (!options.json) {
        out << CheckPage(page, advertiser) << '\n';
        return kExitOk;
    }
    ResultRow row;
    row.m_strAdvertiser = advertiser;
    row.m_strPage = page;
    row.m_strStatus = CheckPage(page, advertiser, &row.m_evidence);
    out << ExportJsonObject(ExportRowOf(row)) << '\n';
    return kExitOk;
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
    recorder.SetLetterRules(ReadLetterRules(folder.Folder()));
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
        run.OnPlay();
        run.WaitForScanThread();
    }
    notifier.WaitForAll();
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
            return Check(options, out);
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
