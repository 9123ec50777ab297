#include "support/MuteListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick::test {
namespace {

// Binds a loopback socket to a free port; returns the port, or -1.
int bindLoopback(int fd) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        return -1;
    }
    return ntohs(addr.sin_port);
}

}  // namespace

MuteListener::MuteListener(int backlog) {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int port = bindLoopback(m_fd);
    if (port > 0 && listen(m_fd, backlog) == 0) {
        m_port = port;
    }
}

MuteListener::~MuteListener() {
    close();
}

void MuteListener::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::string MuteListener::address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

int unusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int port = bindLoopback(fd);
    if (fd >= 0) {
        ::close(fd);
    }
    return port;
}

}  // namespace tarnwick::test
