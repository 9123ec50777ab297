// tarnwick-cli's commands. Exit status: 0 success (for scan: every page of
// every profile was checked and is "Link Found"; for check: "Link Found"), 1
// when a page is not, 2 for a wrong command line, a profile file that cannot
// be read, or a profile list or report that cannot be read or written (with a
// message on err naming the file); for scan also 75 when another scan of the
// data folder is running (EX_TEMPFAIL: try again later), 69 when no page
// could be reached because this computer is off the network (EX_UNAVAILABLE;
// also changes, when the last run was such a run), and 128 + the signal's
// number when SIGINT or SIGTERM stopped it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tarnwick::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitLinkMissing = 1;
inline constexpr int kExitError = 2;
inline constexpr int kExitOffline = 69;
inline constexpr int kExitBusy = 75;
inline constexpr int kExitInterrupted = 128;  // plus the signal's number

// args: the arguments after the program name, as the system gives them
// (UTF-8); they are taken into the program's code page. progress: show a
// progress line on err while scanning.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress);

}  // namespace tarnwick::cli
