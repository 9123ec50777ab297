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
void SyncFolderOf(const std::string& path) {
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

StoreFileWriter::StoreFileWriter(std::string path, mode_t mode) : m_strPath(std::move(path)) {
    const int fd = ::open(m_strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        throw FileError(m_strPath, errno);
    }
    struct stat st {};
    m_bRegular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // A file made earlier with wider permissions is narrowed before the first
    // byte goes in (Mail.txt holds a password).
    if (m_bRegular && (st.st_mode & 07777 & ~mode) != 0 && ::fchmod(fd, mode) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError(m_strPath, err);
    }
    m_pFile = ::fdopen(fd, "wb");
    if (m_pFile == nullptr) {
        const int err = errno;
        ::close(fd);
        throw FileError(m_strPath, err);
    }
}

StoreFileWriter::~StoreFileWriter() {
    if (!m_bDone) {
        Discard();
    }
}

void StoreFileWriter::Fail(int err) {
    Discard();
    throw FileError(m_strPath, err != 0 ? err : EIO);
}

void StoreFileWriter::WriteRaw(std::string_view bytes) {
    if (m_pFile == nullptr) {
        throw FileError(m_strPath, EBADF);
    }
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_pFile) != bytes.size()) {
        Fail(errno);
    }
}

void StoreFileWriter::WriteLine(std::string_view line) {
    if (m_nLines > 0) {
        WriteRaw("\r\n");
    }
    WriteRaw(line);
    ++m_nLines;
}

void StoreFileWriter::Close() {
    if (m_pFile == nullptr) {
        if (!m_bDone) {
            throw FileError(m_strPath, EBADF);
        }
        return;
    }
    errno = 0;
    if (std::fflush(m_pFile) != 0) {
        Fail(errno);
    }
    // Pipes and devices cannot be synced; that is no failure of the write.
    if (::fdatasync(::fileno(m_pFile)) != 0 && errno != EINVAL && errno != EROFS) {
        Fail(errno);
    }
    FILE* file = m_pFile;
    m_pFile = nullptr;
    if (std::fclose(file) != 0) {
        const int err = errno;
        Discard();
        throw FileError(m_strPath, err);
    }
    m_bDone = true;
}

void StoreFileWriter::CommitOver(const std::string& target) {
    Close();
    if (std::rename(m_strPath.c_str(), target.c_str()) != 0) {
        const int err = errno;
        std::remove(m_strPath.c_str());
        throw FileError(target, err);
    }
    SyncFolderOf(target);
}

void StoreFileWriter::Discard() {
    m_bDone = true;
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (m_bRegular) {
        std::remove(m_strPath.c_str());
    }
}
void AppendStoreLine(const std::string& path, std::string_view line) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw FileError(path, errno);
    }
    std::string bytes;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    bool needBreak = false;
    if (size > 0) {
        char last = 0;
        if (::pread(fd, &last, 1, size - 1) != 1) {
            const int err = errno;
            ::close(fd);
            throw FileError(path, err);
        }
        needBreak = last != '\n';
    }
    if (needBreak) {
        bytes = "\r\n";
    }
    bytes.append(line);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = errno;
            // Leave the file as it was rather than with half a line.
            if (::ftruncate(fd, size) != 0) {
                // Nothing more can be done; the error below names the file.
            }
            ::close(fd);
            throw FileError(path, err);
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        throw FileError(path, errno);
    }
}

void DeleteStoreFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        throw FileError(path, errno);
    }
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace tarnwick
