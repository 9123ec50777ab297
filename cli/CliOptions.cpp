#include "cli/CliOptions.h"

namespace tarnwick::cli {
namespace {

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

Command CommandNamed(const std::string& name) {
    if (name == "check") {
        return Command::Check;
    }
    if (name == "list") {
        return Command::List;
    }
    if (name == "scan") {
        return Command::Scan;
    }
    throw UsageError("unknown command '" + name + "'");
}

}  // namespace

CliOptions ParseArguments(const std::vector<std::string>& args) {
    CliOptions options;
    if (args.empty()) {
        throw UsageError("no command given");
    }
    if (IsHelp(args[0])) {
        options.help = true;
        return options;
    }
    if (args[0] == "help") {
        options.help = true;
        if (args.size() > 1) {
            options.command = CommandNamed(args[1]);
        }
        return options;
    }
    options.command = CommandNamed(args[0]);
    std::vector<std::string> operands;
    bool optionsEnd = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (IsHelp(arg)) {
            options.help = true;
        } else if (options.command == Command::Scan && arg == "--no-mail") {
            options.noMail = true;
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

std::string HelpText(Command command) {
    switch (command) {
        case Command::Check:
            return "Usage: tarnwick-cli check PAGE ADVERTISER\n"
                   "\n"
                   "Fetches the page PAGE and prints on one line whether it links to\n"
                   "ADVERTISER: \"Link Found\", \"Link Not Found\", \"Page cannot be displayed\"\n"
                   "or \"Page Cannot be Found\". PAGE must begin with http://, https:// or\n"
                   "ftp://. ADVERTISER is looked for as written, as the desktop program does.\n"
                   "Exit status 0 whatever the result; 2 for a wrong command line.\n";
        case Command::List:
            return "Usage: tarnwick-cli list\n"
                   "\n"
                   "Prints one line per profile, in the profile list's order: the profile as\n"
                   "the desktop program shows it, a tab, and its number of pages.\n";
        case Command::Scan:
            return "Usage: tarnwick-cli scan [--report FILE] [--no-mail]\n"
                   "\n"
                   "Checks every page of every profile, as Play does with all profiles\n"
                   "ticked. Prints a line per page as it is checked (advertiser's site, tab,\n"
                   "publisher's site, tab, result), then a line per profile (profile, tab,\n"
                   "status). Webmasters of pages that lost their link are notified as set\n"
                   "in the desktop program.\n"
                   "\n"
                   "  --report FILE  also write the report to FILE: an HTML report when the\n"
                   "                 name ends in \"html\", a text report otherwise\n"
                   "  --no-mail      notify nobody\n"
                   "\n"
                   "Exit status 0 when every page is \"Link Found\", 1 when one is not, 2 for a\n"
                   "wrong command line or when the profiles or the report cannot be read or\n"
                   "written.\n";
        case Command::None:
            break;
    }
    return "Usage: tarnwick-cli COMMAND [OPTIONS]\n"
           "\n"
           "Checks that partner pages still link to your sites, with the profiles of the\n"
           "Tarnwick desktop program.\n"
           "\n"
           "Commands:\n"
           "  check PAGE ADVERTISER           check one page\n"
           "  list                            list the profiles and their numbers of pages\n"
           "  scan [--report FILE] [--no-mail]\n"
           "                                  check every page of every profile\n"
           "\n"
           "Run \"tarnwick-cli COMMAND --help\" for more about a command. The profiles are\n"
           "read from the data folder \"Osgrel Tarnwick Ambrel\" in $TARNWICK_PROGRAM_FILES\n"
           "when it is set, else in $XDG_DATA_HOME (or ~/.local/share).\n";
}

}  // namespace tarnwick::cli
