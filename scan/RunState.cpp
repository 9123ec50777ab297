#include "scan/RunState.h"

#include <utility>

namespace tarnwick {

void RunState::setRunning(bool running) {
    store(m_running, running);
}

void RunState::setProfilesToPlay(bool any) {
    store(m_profilesToPlay, any);
}

void RunState::store(std::atomic<bool>& flag, bool value) {
    if (flag.exchange(value) == value) {
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(m_listenerMutex);
    if (m_listener) {
        m_listener();
    }
}

void RunState::setListener(std::function<void()> listener) {
    std::lock_guard<std::recursive_mutex> lock(m_listenerMutex);
    m_listener = std::move(listener);
}

}  // namespace tarnwick
