#include "store/StoreFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "store/FileError.h"

namespace tarnwick {
namespace {

// After a rename the folder's entry must reach the disk too, or a power cut
// can bring back the old name. Best effort: the data itself is already safe.
void syncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

StoreFileWriter::StoreFileWriter(std::string path, mode_t mode) : m_path(std::move(path)) {
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        throw FileError(m_path, errno);
    }
    struct stat st {};
    m_regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // A file made earlier with wider permissions is narrowed before the first
    // byte goes in (Mail.txt holds a password).
    if (m_regular && (st.st_mode & 07777 & ~mode) != 0 && ::fchmod(fd, mode) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError(m_path, err);
    }
    m_file = ::fdopen(fd, "wb");
    if (m_file == nullptr) {
        const int err = errno;
        ::close(fd);
        throw FileError(m_path, err);
    }
}

StoreFileWriter::~StoreFileWriter() {
    if (!m_done) {
        discard();
    }
}

void StoreFileWriter::fail(int err) {
    discard();
    throw FileError(m_path, err != 0 ? err : EIO);
}

void StoreFileWriter::writeRaw(std::string_view bytes) {
    if (m_file == nullptr) {
        throw FileError(m_path, EBADF);
    }
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        fail(errno);
    }
}

void StoreFileWriter::writeLine(std::string_view line) {
    if (m_lines > 0) {
        writeRaw("\r\n");
    }
    writeRaw(line);
    ++m_lines;
}

void StoreFileWriter::close() {
    if (m_file == nullptr) {
        if (!m_done) {
            throw FileError(m_path, EBADF);
        }
        return;
    }
    errno = 0;
    if (std::fflush(m_file) != 0) {
        fail(errno);
    }
    // Pipes and devices cannot be synced; that is no failure of the write.
    if (::fdatasync(::fileno(m_file)) != 0 && errno != EINVAL && errno != EROFS) {
        fail(errno);
    }
    FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0) {
        const int err = errno;
        discard();
        throw FileError(m_path, err);
    }
    m_done = true;
}

void StoreFileWriter::commitOver(const std::string& target) {
    close();
    if (std::rename(m_path.c_str(), target.c_str()) != 0) {
        const int err = errno;
        std::remove(m_path.c_str());
        throw FileError(target, err);
    }
    syncFolderOf(target);
}

void StoreFileWriter::discard() {
    m_done = true;
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (m_regular) {
        std::remove(m_path.c_str());
    }
}
void appendStoreLine(const std::string& path, std::string_view line, const std::string& temp) {
    // The file is copied with the new line into the temporary and renamed
    // over itself: an append cut short by a crash or a full disk leaves the
    // file as it was, never with half a line.
    std::string bytes;
    if (FILE* in = std::fopen(path.c_str(), "rb"); in != nullptr) {
        char buffer[65536];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            bytes.append(buffer, n);
        }
        const bool failed = std::ferror(in) != 0;
        const int err = errno;
        std::fclose(in);
        if (failed) {
            throw FileError(path, err != 0 ? err : EIO);
        }
    } else if (errno != ENOENT) {
        throw FileError(path, errno);
    }
    StoreFileWriter file(temp.empty() ? path + ".new" : temp);
    file.writeRaw(bytes);
    if (!bytes.empty() && bytes.back() != '\n') {
        file.writeRaw("\r\n");
    }
    file.writeRaw(line);
    file.commitOver(path);
}

void deleteStoreFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        throw FileError(path, errno);
    }
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace tarnwick
