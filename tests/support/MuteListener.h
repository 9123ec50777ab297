// Loopback ports for tests of what a client does when a server misbehaves.
#pragma once

#include <string>

namespace tarnwick::test {

// A loopback socket that listens and never says a word: the kernel accepts
// connections into its queue, nobody reads or greets. Closing it (at the end
// of its scope) resets the connections still waiting. Not inherited by child
// processes. port() is -1 when no socket could be had, so the test fails
// rather than aim at port 0.
class MuteListener {
public:
    explicit MuteListener(int backlog = 16);
    ~MuteListener();
    MuteListener(const MuteListener&) = delete;
    MuteListener& operator=(const MuteListener&) = delete;

    int port() const { return m_port; }
    // Closes the socket now (the destructor then does nothing).
    void close();
    // "127.0.0.1:<port>", as a server setting.
    std::string address() const;

private:
    int m_fd = -1;
    int m_port = -1;
};

// A loopback port where nothing listens (bound, noted and closed again); -1
// when none could be had.
int unusedPort();

}  // namespace tarnwick::test
