// Runs a store operation in a child process whose files cannot grow past a
// few bytes (RLIMIT_FSIZE, with SIGXFSZ ignored so a write fails with EFBIG
// instead of killing the process). This works as root, where read-only
// folders do not, and makes every write of the operation fail part way.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace tarnwick::test {

enum class LimitedRun { Succeeded, FileError, OtherError, Crashed };

LimitedRun runWithFileSizeLimit(unsigned long limitBytes, const std::function<void()>& operation);

// Every regular file below root with its bytes (folders as "<folder>"), to
// compare a whole data folder before and after an operation.
std::map<std::string, std::string> snapshot(const std::string& root);

}  // namespace tarnwick::test
