#include "cli/SignalWatch.h"

#include <pthread.h>

#include <cerrno>
#include <ctime>

namespace tarnwick::cli {

SignalWatch::SignalWatch() {
    sigemptyset(&m_set);
    sigaddset(&m_set, SIGINT);
    sigaddset(&m_set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
}

SignalWatch::~SignalWatch() {
    while (wait(std::chrono::milliseconds(0)) != 0) {
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}

int SignalWatch::wait(std::chrono::milliseconds wait) {
    const long long ms = wait.count() < 0 ? 0 : wait.count();
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(ms / 1000);
    timeout.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    int signal = -1;
    do {
        signal = sigtimedwait(&m_set, nullptr, &timeout);
    } while (signal < 0 && errno == EINTR);
    if (signal <= 0) {
        return 0;
    }
    if (m_first == 0) {
        m_first = signal;
    }
    return signal;
}

}  // namespace tarnwick::cli
