#include "store/RunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <cerrno>
#include <cstring>
#include <utility>

namespace tarnwick {
namespace {

// "1234 tarnwick-cli" as the holder wrote it -> "tarnwick-cli, process 1234".
// The file may be anything: only digits make the process id, only printable
// ASCII the name, and a process that no longer exists is no one.
std::string holderOf(const std::string& text) {
    size_t at = 0;
    long pid = 0;
    while (at < text.size() && at < 9 && text[at] >= '0' && text[at] <= '9') {
        pid = pid * 10 + (text[at++] - '0');
    }
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)) {
        return "another program";
    }
    std::string name;
    for (size_t k = at + 1; k < text.size() && name.size() < 64; ++k) {
        const char c = text[k];
        if (c < 0x20 || c > 0x7E) {
            break;
        }
        name += c;
    }
    return (name.empty() ? std::string("another program") : name) + ", process " +
           std::to_string(pid);
}

}  // namespace

RunLock::~RunLock() {
    release();
}

RunLock::RunLock(RunLock&& other) noexcept
    : m_state(std::exchange(other.m_state, State::Free)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_holder(std::move(other.m_holder)),
      m_error(std::move(other.m_error)) {}

RunLock& RunLock::operator=(RunLock&& other) noexcept {
    if (this != &other) {
        release();
        m_state = std::exchange(other.m_state, State::Free);
        m_fd = std::exchange(other.m_fd, -1);
        m_holder = std::move(other.m_holder);
        m_error = std::move(other.m_error);
    }
    return *this;
}

void RunLock::release() {
    if (m_fd >= 0) {
        ::close(m_fd);  // ends the flock
        m_fd = -1;
    }
    m_state = State::Free;
}

RunLock RunLock::tryLock(const std::string& dataFolder, const std::string& program) {
    RunLock lock;
    const std::string path = dataFolder + "/" + kRunLockFileName;
    const auto fail = [&](int error) {
        lock.m_state = State::Failed;
        lock.m_error = "cannot lock " + path + ": " + std::strerror(error);
        return std::move(lock);
    };
    // Whatever is not a regular file is refused before it is opened (opening
    // a device can do things); O_NONBLOCK and the check after opening cover
    // a FIFO put there meanwhile. O_NOFOLLOW: a symbolic link is not
    // followed elsewhere.
    struct stat before {};
    if (::lstat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
        return fail(S_ISLNK(before.st_mode) ? ELOOP : EINVAL);
    }
    const int fd = ::open(path.c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) {
        return fail(errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(EINVAL);
    }
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        if (error != EWOULDBLOCK) {
            ::close(fd);
            return fail(error);
        }
        char text[128] = {};
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        ::close(fd);
        lock.m_state = State::Busy;
        lock.m_holder = holderOf(std::string(text, n > 0 ? static_cast<size_t>(n) : 0));
        return lock;
    }
    lock.m_fd = fd;
    lock.m_state = State::Held;
    // Who holds it, for a second run to tell; the lock holds without it.
    const std::string holder = std::to_string(::getpid()) + " " + program + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, holder.data(), holder.size(), 0);
    }
    return lock;
}

}  // namespace tarnwick
