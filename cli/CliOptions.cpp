#include "cli/CliOptions.h"

#include "common/ProductName.h"
#include "store/AppSettings.h"
#include "store/BoundedNumber.h"

namespace tarnwick::cli {
namespace {

bool isHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

// "--name VALUE" or "--name=VALUE" at args[i]; advances i past the value.
// allowEmpty: an empty value is a value.
bool takeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               std::string& value, bool allowEmpty = false) {
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size() || (!allowEmpty && args[i + 1].empty())) {
            throw UsageError(name + " needs a value");
        }
        value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        if (!allowEmpty && value.empty()) {
            throw UsageError(name + " needs a value");
        }
        return true;
    }
    return false;
}

// A number option: refused unless it is a whole number in [min, max].
bool within(const std::string& text, long min, long max, long& value) {
    const BoundedNumber number = BoundedNumber::parse(text, min, max);
    if (number.inRange()) {
        value = number.value;
    }
    return number.inRange();
}

bool isDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    for (size_t k : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[k] < '0' || text[k] > '9') {
            return false;
        }
    }
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

Command commandNamed(const std::string& name) {
    if (name == "check") {
        return Command::Check;
    }
    if (name == "list") {
        return Command::List;
    }
    if (name == "scan") {
        return Command::Scan;
    }
    if (name == "history") {
        return Command::History;
    }
    if (name == "changes") {
        return Command::Changes;
    }
    throw UsageError("unknown command '" + name + "'");
}

}  // namespace

CliOptions parseArguments(const std::vector<std::string>& args) {
    CliOptions options;
    if (args.empty()) {
        throw UsageError("no command given");
    }
    if (isHelp(args[0])) {
        options.help = true;
        return options;
    }
    if (args[0] == "--version") {
        options.version = true;
        return options;
    }
    if (args[0] == "help") {
        options.help = true;
        if (args.size() > 1) {
            options.command = commandNamed(args[1]);
        }
        return options;
    }
    options.command = commandNamed(args[0]);
    std::vector<std::string> operands;
    std::string format;
    std::string value;
    bool optionsEnd = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (isHelp(arg)) {
            options.help = true;
        } else if ((options.command == Command::Check || options.command == Command::Scan) &&
                   takeValue(args, i, "--page-timeout", value)) {
            if (!within(value, AppSettings::kMinPageTimeoutSeconds,
                        AppSettings::kMaxPageTimeoutSeconds, options.pageTimeoutSeconds)) {
                throw UsageError("--page-timeout needs a number of seconds from " +
                                 std::to_string(AppSettings::kMinPageTimeoutSeconds) + " to " +
                                 std::to_string(AppSettings::kMaxPageTimeoutSeconds));
            }
        } else if (options.command == Command::Scan && takeValue(args, i, "--jobs", value)) {
            if (!within(value, AppSettings::kMinJobs, AppSettings::kMaxJobs, options.jobs)) {
                throw UsageError("--jobs needs a number of pages from " +
                                 std::to_string(AppSettings::kMinJobs) + " to " +
                                 std::to_string(AppSettings::kMaxJobs));
            }
        } else if (options.command == Command::Scan && takeValue(args, i, "--lock-wait", value)) {
            if (!within(value, 0, 86400, options.lockWaitSeconds)) {
                throw UsageError("--lock-wait needs a number of seconds from 0 to 86400");
            }
        } else if (options.command == Command::Scan && takeValue(args, i, "--mail-wait", value)) {
            if (!within(value, 0, 86400, options.mailWaitSeconds)) {
                throw UsageError("--mail-wait needs a number of seconds from 0 to 86400");
            }
        } else if (options.command == Command::Check && (arg == "--verbose" || arg == "-v")) {
            options.verbose = true;
        } else if (options.command == Command::Scan && arg == "--no-mail") {
            options.noMail = true;
        } else if (options.command == Command::Scan && arg == "--render") {
            options.render = true;
        } else if (options.command == Command::Scan &&
                   takeValue(args, i, "--summary-to", options.summaryTo, true)) {
            // An empty address (an unset variable in a timer's unit) sends none.
        } else if ((options.command == Command::History || options.command == Command::Changes) &&
                   takeValue(args, i, "--format", format)) {
            if (format != "json" && format != "text") {
                throw UsageError("--format takes json or text, not '" + format + "'");
            }
            options.json = format == "json";
        } else if ((options.command == Command::Scan || options.command == Command::Check) &&
                   takeValue(args, i, "--format", format)) {
            const bool csvAllowed = options.command == Command::Scan;
            if (format != "json" && format != "text" && !(csvAllowed && format == "csv")) {
                throw UsageError(std::string("--format takes json") + (csvAllowed ? ", csv" : "") +
                                 " or text, not '" + format + "'");
            }
            options.json = format == "json";
            options.csv = format == "csv";
        } else if (options.command == Command::History &&
                   takeValue(args, i, "--prune-before", options.pruneBefore)) {
            if (!isDate(options.pruneBefore)) {
                throw UsageError("--prune-before takes a date as YYYY-MM-DD, not '" +
                                 options.pruneBefore + "'");
            }
        } else if (options.command == Command::Scan && arg == "--report") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                throw UsageError("--report needs a file name");
            }
            options.reportPath = args[++i];
        } else if (options.command == Command::Scan && arg.rfind("--report=", 0) == 0) {
            options.reportPath = arg.substr(9);
            if (options.reportPath.empty()) {
                throw UsageError("--report needs a file name");
            }
        } else {
            throw UsageError("unknown option '" + arg + "' for " + args[0]);
        }
    }
    if (options.help) {
        return options;
    }
    if (options.command == Command::Check) {
        if (operands.size() != 2) {
            throw UsageError("check needs a page address and an advertiser's address");
        }
        options.page = operands[0];
        options.advertiser = operands[1];
    } else if (!operands.empty()) {
        throw UsageError("unexpected argument '" + operands[0] + "' for " + args[0]);
    }
    return options;
}

std::string helpText(Command command) {
    switch (command) {
        case Command::Check:
            return "Usage: tarnwick-cli check [--verbose] [--page-timeout SECONDS]\n"
                   "                         [--format json] PAGE ADVERTISER\n"
                   "\n"
                   "Fetches the page PAGE and prints on one line whether it links to\n"
                   "ADVERTISER: \"Link Found\", \"Link Not Found\", \"Page cannot be displayed\"\n"
                   "or \"Page Cannot be Found\". PAGE must begin with http://, https:// or\n"
                   "ftp://. ADVERTISER is looked for without regard to letter case.\n"
                   "\n"
                   "  --verbose                print the reason for the result on a second line\n"
                   "  --page-timeout SECONDS   give up on the page after SECONDS (1-3600;\n"
                   "                           default: the desktop program's setting, 120)\n"
                   "  --format json            one JSON object instead: the result, its reason\n"
                   "                           and what the fetch saw (http_status, final_url,\n"
                   "                           rel, anchor_text, noindex, robots_txt, ...)\n"
                   "\n"
                   "Exit status 0 for \"Link Found\", 1 for any other result, 2 for a wrong\n"
                   "command line.\n";
        case Command::List:
            return "Usage: tarnwick-cli list\n"
                   "\n"
                   "Prints one line per profile, in the profile list's order: the profile as\n"
                   "the desktop program shows it, a tab, and its number of pages.\n";
        case Command::Scan:
            return "Usage: tarnwick-cli scan [--report FILE] [--no-mail] [--summary-to ADDRESS]\n"
                   "                        [--page-timeout SECONDS] [--mail-wait SECONDS]\n"
                   "                        [--jobs K] [--format json|csv] [--lock-wait SECONDS]\n"
                   "                        [--render]\n"
                   "\n"
                   "Checks every page of every profile, as Play does with all profiles\n"
                   "ticked. Prints a line per page as it is checked (advertiser's site, tab,\n"
                   "publisher's site, tab, result, tab, reason), then a line per profile\n"
                   "(profile, tab, status). Webmasters of pages that lost their link are\n"
                   "notified as set in the desktop program.\n"
                   "\n"
                   "  --report FILE  also write the report to FILE: an HTML report when the\n"
                   "                 name ends in \"html\", a text report otherwise\n"
                   "  --no-mail      notify nobody\n"
                   "  --format json  one JSON object per page instead (JSON Lines, in row\n"
                   "                 order) with what the fetch saw; no profile lines\n"
                   "  --format csv   the same as CSV with a header row; a cell that begins\n"
                   "                 with =, +, -, @, a tab or a CR gets a leading ' so that\n"
                   "                 no spreadsheet runs it as a formula\n"
                   "  --summary-to ADDRESS\n"
                   "                 when a link was lost, restored or changed in quality\n"
                   "                 since the last run, mail ADDRESS one summary of the\n"
                   "                 changes through the account of the mail settings\n"
                   "  --page-timeout SECONDS\n"
                   "                 give up on a page after SECONDS (1-3600; default: the\n"
                   "                 desktop program's setting, 120)\n"
                   "  --mail-wait SECONDS\n"
                   "                 wait at most SECONDS (default 120) for the letters still\n"
                   "                 queued or on their way after the last page; those not\n"
                   "                 handed over by then are named on standard error and\n"
                   "                 not sent\n"
                   "  --jobs K       fetch up to K pages side by side (1-1024; default: the\n"
                   "                 desktop program's setting, 256); at most 2 at a time\n"
                   "                 from one host (the setting's); results still come in\n"
                   "                 row order\n"
                   "  --lock-wait SECONDS\n"
                   "                 when another scan of the data folder (the desktop\n"
                   "                 program's Play or another scan command) is running,\n"
                   "                 wait at most SECONDS (default 0) for it to end\n"
                   "  --render       also load each page in headless Chromium and tell a link\n"
                   "                 that only its scripts write, or that they remove\n"
                   "                 (default: the setting render=1 in settings.ini)\n"
                   "\n"
                   "The run is recorded in the history (see \"tarnwick-cli history\"), and the\n"
                   "letter rules of the mail settings (missing runs, quiet days) apply. One\n"
                   "scan of a data folder runs at a time. SIGINT (Ctrl+C) or SIGTERM stops the\n"
                   "scan as Stop does: the letters being sent finish, those not begun are not\n"
                   "sent (each is named), and the history is written.\n"
                   "\n"
                   "Exit status:\n"
                   "  0  every page of every profile was checked and is \"Link Found\"\n"
                   "  1  a page is not \"Link Found\"\n"
                   "  2  a profile file could not be read (each is named on standard error;\n"
                   "     the readable ones are still checked), the profile list or the\n"
                   "     report could not be read or written, or a wrong command line\n"
                   "  69 no page could be reached because the network is down: every\n"
                   "     partner's host name failed to resolve or had no route; the run is\n"
                   "     recorded as offline, compared with nothing, mails nobody, and the\n"
                   "     summary of the next run that reaches the pages names it\n"
                   "  75 another scan of the data folder is running (it is named)\n"
                   "  130, 143  stopped by SIGINT or SIGTERM\n";
        case Command::History:
            return "Usage: tarnwick-cli history [--format json]\n"
                   "       tarnwick-cli history --prune-before DATE\n"
                   "\n"
                   "Lists the recorded runs of the desktop program and of \"scan\", oldest\n"
                   "first, one per line: id, start, end, source (desktop or cli), outcome\n"
                   "(completed, stopped, offline or unfinished) and the number of pages with\n"
                   "\"Link Found\", \"Link Not Found\", \"Page Cannot be Found\" and \"Page "
                   "cannot\n"
                   "be displayed\", separated by tabs. The history is kept in history.sqlite3 in\n"
                   "the data folder.\n"
                   "\n"
                   "  --format json          one JSON array of run objects instead\n"
                   "  --prune-before DATE    remove the runs started before DATE (YYYY-MM-DD,\n"
                   "                         local time) with their results and letters\n"
                   "\n"
                   "Exit status 0; 2 when the history cannot be read.\n";
        case Command::Changes:
            return "Usage: tarnwick-cli changes [--format json]\n"
                   "\n"
                   "Prints what changed in the last recorded run, each page against the last\n"
                   "run before it that checked it: one line per page that is new, lost,\n"
                   "restored or changed in quality (transition, advertiser's site, publisher's\n"
                   "site, result before, result now, separated by tabs), then a summary line.\n"
                   "\n"
                   "  --format json  one JSON object: run, previous_run, summary, changes\n"
                   "\n"
                   "When the last run reached no page because the network was down (see\n"
                   "\"tarnwick-cli scan --help\"), it says so instead.\n"
                   "\n"
                   "Exit status 0; 1 when a link was lost; 2 when the history cannot be read;\n"
                   "69 when the last run reached no page.\n";
        case Command::None:
            break;
    }
    return std::string(
               "Usage: tarnwick-cli COMMAND [OPTIONS]\n"
               "\n"
               "Checks that partner pages still link to your sites, with the profiles of the\n"
               "Tarnwick desktop program.\n"
               "\n"
               "Commands:\n"
               "  check [--verbose] PAGE ADVERTISER\n"
               "                                  check one page\n"
               "  list                            list the profiles and their numbers of pages\n"
               "  scan [--report FILE] [--no-mail] [--summary-to ADDRESS]\n"
               "       [--page-timeout SECONDS] [--mail-wait SECONDS] [--jobs K]\n"
               "                                  check every page of every profile\n"
               "  history [--format json] [--prune-before DATE]\n"
               "                                  list the recorded runs\n"
               "  changes [--format json]         what changed in the last run\n"
               "\n"
               "Options:\n"
               "  --help                          this help (after a command: its own)\n"
               "  --version                       the version of tarnwick-cli\n"
               "\n"
               "Run \"tarnwick-cli COMMAND --help\" for more about a command. The profiles are\n"
               "read from the data folder \"") +
           kProductName +
           "\" in $TARNWICK_PROGRAM_FILES\n"
           "when it is set, else in $XDG_DATA_HOME (or ~/.local/share). Settings shared\n"
           "with the desktop program: $XDG_CONFIG_HOME/tarnwick/settings.ini.\n";
}

}  // namespace tarnwick::cli
