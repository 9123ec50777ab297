// Other link checkers and curl run beside a benchmark's scan, in the same run:
// whether one is installed, and the wall time of a shell command.
#pragma once

#include <chrono>
#include <cstdlib>
#include <string>

namespace tarnwick::bench {

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline bool installed(const char* program) {
    const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Runs a shell command and times it; a negative time when it could not run.
// Its exit status is not looked at: a peer that reports broken links (the
// silent pages) ends with a failure.
inline double timed(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = secondsSince(start);
    return status == -1 ? -1.0 : seconds;
}

}  // namespace tarnwick::bench
