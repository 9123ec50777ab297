#include "store/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "store/FileError.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

bool makeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// The original path as the trash's info file wants it: percent-encoded
// except for unreserved characters and "/".
std::string encoded(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
            out.push_back(ch);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string absolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') {
        return path;
    }
    char* cwd = ::getcwd(nullptr, 0);
    std::string absolute = std::string(cwd != nullptr ? cwd : "") + "/" + path;
    std::free(cwd);
    return absolute;
}

}  // namespace

std::string homeTrashFolder() {
    if (const char* x = std::getenv("XDG_DATA_HOME"); x != nullptr && *x == '/') {
        return std::string(x) + "/Trash";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share/Trash";
}

void moveToTrash(const std::string& path) {
    const std::string source = absolutePath(path);
    const std::string trash = homeTrashFolder();
    // The folders above the trash may be missing on a fresh account.
    for (size_t slash = trash.find('/', 1); slash != std::string::npos;
         slash = trash.find('/', slash + 1)) {
        makeFolder(trash.substr(0, slash));
    }
    if (!makeFolder(trash) || !makeFolder(trash + "/files") || !makeFolder(trash + "/info")) {
        throw FileError(path, errno);
    }
    const size_t slash = source.find_last_of('/');
    const std::string base = source.substr(slash + 1);

    char date[32] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string info =
        "[Trash Info]\nPath=" + encoded(source) + "\nDeletionDate=" + date + "\n";

    for (int k = 1; k < 10000; ++k) {
        const std::string name = k == 1 ? base : base + " " + std::to_string(k);
        const std::string infoPath = trash + "/info/" + name + ".trashinfo";
        // The info file claims the name: O_EXCL makes two deletions never
        // take the same one.
        const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            throw FileError(path, errno);
        }
        ::close(fd);
        const std::string target = trash + "/files/" + name;
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0) {
            ::unlink(infoPath.c_str());
            continue;
        }
        try {
            StoreFileWriter file(infoPath, 0600);
            file.writeRaw(info);
            file.close();
        } catch (const FileError& error) {
            ::unlink(infoPath.c_str());
            throw FileError(path, error.errorCode());
        }
        if (::rename(source.c_str(), target.c_str()) != 0) {
            const int err = errno;
            ::unlink(infoPath.c_str());
            throw FileError(path, err);
        }
        return;
    }
    throw FileError(path, EEXIST);
}

}  // namespace tarnwick
