#include "scan/WatchedFlag.h"

#include <mutex>
#include <utility>

namespace tarnwick {
namespace {

// Recursive: a listener may itself change a flag on the same thread.
std::recursive_mutex& listenerMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::function<void()>& listenerSlot() {
    static std::function<void()> listener;
    return listener;
}

}  // namespace

void WatchedFlag::store(bool value) {
    if (m_value.exchange(value) == value) {
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(listenerMutex());
    if (listenerSlot()) {
        listenerSlot()();
    }
}

void WatchedFlag::setListener(std::function<void()> listener) {
    std::lock_guard<std::recursive_mutex> lock(listenerMutex());
    listenerSlot() = std::move(listener);
}

}  // namespace tarnwick
