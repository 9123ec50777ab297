#include "support/FileSizeLimit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <filesystem>

#include "store/FileError.h"
#include "support/TempDataFolder.h"

namespace tarnwick::test {

LimitedRun runWithFileSizeLimit(unsigned long limitBytes, const std::function<void()>& operation) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(4);
        }
        int code = 0;
        try {
            operation();
        } catch (const FileError&) {
            code = 1;
        } catch (...) {
            code = 2;
        }
        ::_exit(code);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return LimitedRun::Crashed;
    }
    switch (WEXITSTATUS(status)) {
        case 0:
            return LimitedRun::Succeeded;
        case 1:
            return LimitedRun::FileError;
        case 2:
            return LimitedRun::OtherError;
        default:
            return LimitedRun::Crashed;
    }
}

std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        files[path] = entry.is_directory() ? "<folder>" : readBytes(path);
    }
    return files;
}

}  // namespace tarnwick::test
