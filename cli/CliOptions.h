// The command line of tarnwick-cli: which command, with what.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick::cli {

enum class Command { None, Check, List, Scan, History, Changes };

struct CliOptions {
    Command command = Command::None;
    bool help = false;            // --help: show the command's help (or the general one)
    bool version = false;         // --version: show the package's version
    std::string page;             // check
    std::string advertiser;       // check
    std::string reportPath;       // scan --report FILE; empty: no report
    bool noMail = false;          // scan --no-mail
    std::string summaryTo;        // scan --summary-to ADDRESS; empty: no summary letter
    bool json = false;            // history, changes, check, scan --format json
    bool csv = false;             // scan --format csv
    std::string pruneBefore;      // history --prune-before DATE (YYYY-MM-DD)
    bool verbose = false;         // check --verbose: the reason on a second line
    bool render = false;          // scan --render: pages also loaded in headless Chromium
    long pageTimeoutSeconds = 0;  // --page-timeout SECONDS; 0: the shared settings'
    long mailWaitSeconds = 120;   // scan --mail-wait SECONDS: the longest wait for letters
    long jobs = 0;                // scan --jobs K: pages fetched side by side; 0: the settings'
    long lockWaitSeconds = 0;     // scan --lock-wait SECONDS: the longest wait for another scan
};

// A command line that cannot be run; what() says why, in one line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// args: the arguments after the program name. Throws UsageError.
CliOptions parseArguments(const std::vector<std::string>& args);

// The help of a command, or the general help for Command::None.
std::string helpText(Command command);

}  // namespace tarnwick::cli
