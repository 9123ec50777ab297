#include "store/StoreLineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick {

FILE* StoreLineReader::openRegularFile(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return nullptr;
    }
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer. Regular files ignore it; it is cleared before any read anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

StoreLineReader::StoreLineReader(const std::string& path) : m_file(openRegularFile(path)) {
    m_openError = m_file == nullptr ? errno : 0;
}

StoreLineReader::~StoreLineReader() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool StoreLineReader::fill() {
    m_pos = 0;
    m_len = m_file != nullptr ? std::fread(m_buffer, 1, sizeof m_buffer, m_file) : 0;
    return m_len > 0;
}

bool StoreLineReader::readLine(std::string& line) {
    line.clear();
    if (m_file == nullptr) {
        return false;
    }
    bool any = false;  // a byte of this line (or its end) was read
    for (;;) {
        if (m_pos == m_len && !fill()) {
            return any;
        }
        if (m_first) {
            m_first = false;
            // The mark may straddle the first read only in a file shorter
            // than the buffer; then fread has returned the whole file.
            if (m_len >= 3 && std::memcmp(m_buffer, "\xEF\xBB\xBF", 3) == 0) {
                m_pos = 3;
                continue;
            }
        }
        if (m_skipLf) {
            m_skipLf = false;
            if (m_buffer[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        const char* begin = m_buffer + m_pos;
        const size_t left = m_len - m_pos;
        const char* end = begin;
        const char* stop = begin + left;
        while (end < stop && *end != '\n' && *end != '\r') {
            ++end;
        }
        line.append(begin, static_cast<size_t>(end - begin));
        any = true;
        if (end == stop) {
            m_pos = m_len;
            continue;
        }
        m_pos = static_cast<size_t>(end - m_buffer) + 1;
        if (*end == '\r') {
            m_skipLf = true;
        }
        return true;
    }
}

}  // namespace tarnwick
