#include "scan/WatchedFlag.h"

#include <mutex>
#include <utility>

namespace tarnwick {
namespace {

// Recursive: a listener may itself change a flag on the same thread.
std::recursive_mutex& ListenerMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::function<void()>& Listener() {
    static std::function<void()> listener;
    return listener;
}

}  // namespace

void WatchedFlag::store(bool value) {
    if (m_value.exchange(value) == value) {
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(ListenerMutex());
    if (Listener()) {
        Listener()();
    }
}

void WatchedFlag::SetListener(std::function<void()> listener) {
    std::lock_guard<std::recursive_mutex> lock(ListenerMutex());
    Listener() = std::move(listener);
}

}  // namespace tarnwick
