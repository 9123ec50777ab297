// SIGINT (Ctrl+C) and SIGTERM (a service manager's stop) during a scan: the
// run must end in order, as Stop ends it, not wherever the signal lands. The
// watch blocks both signals in the thread that makes it and in every thread
// started after it (threads inherit the mask), so no thread is ever
// interrupted by them; the owner takes them when it looks (sigtimedwait)
// and stops the run itself.
#pragma once

#include <csignal>

#include <chrono>

namespace tarnwick::cli {

class SignalWatch {
public:
    // Blocks SIGINT and SIGTERM. Make it before any thread starts.
    SignalWatch();
    // Unblocks them again (after taking any still pending, so that they do
    // not end the program on the way out).
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // The signal that came (now or within wait): SIGINT or SIGTERM, or 0.
    // Remembers the first one.
    int wait(std::chrono::milliseconds wait);
    // The first signal that came, or 0.
    int first() const { return m_first; }

private:
    sigset_t m_set{};
    sigset_t m_old{};
    int m_first = 0;
};

}  // namespace tarnwick::cli
