#include "store/StoreFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "store/FileError.h"

namespace tarnwick {

StoreFileWriter::StoreFileWriter(std::string path) : m_strPath(std::move(path)) {
    m_pFile = std::fopen(m_strPath.c_str(), "wb");
    if (m_pFile == nullptr) {
        throw FileError(m_strPath, errno);
    }
}

StoreFileWriter::~StoreFileWriter() {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
}

void StoreFileWriter::Fail() {
    const int err = errno != 0 ? errno : EIO;
    std::fclose(m_pFile);
    m_pFile = nullptr;
    throw FileError(m_strPath, err);
}

void StoreFileWriter::WriteRaw(std::string_view bytes) {
    if (m_pFile == nullptr) {
        throw FileError(m_strPath, EBADF);
    }
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_pFile) != bytes.size()) {
        Fail();
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
        return;
    }
    errno = 0;
    if (std::fflush(m_pFile) != 0) {
        Fail();
    }
    FILE* file = m_pFile;
    m_pFile = nullptr;
    if (std::fclose(file) != 0) {
        throw FileError(m_strPath, errno);
    }
}

void StoreFileWriter::CommitOver(const std::string& target) {
    if (m_pFile != nullptr) {
        errno = 0;
        if (std::fflush(m_pFile) != 0 || fdatasync(fileno(m_pFile)) != 0) {
            const int err = errno;
            Discard();
            throw FileError(m_strPath, err);
        }
    }
    try {
        Close();
    } catch (...) {
        std::remove(m_strPath.c_str());
        throw;
    }
    if (std::rename(m_strPath.c_str(), target.c_str()) != 0) {
        const int err = errno;
        std::remove(m_strPath.c_str());
        throw FileError(target, err);
    }
}

void StoreFileWriter::Discard() {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    std::remove(m_strPath.c_str());
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
