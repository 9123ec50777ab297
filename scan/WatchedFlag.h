// A process-wide flag that the window follows instead of polling: read and
// written like std::atomic<bool>, and every change is announced to the one
// listener, on the thread that made it (the scan thread too).
#pragma once

#include <atomic>
#include <functional>

namespace tarnwick {

class WatchedFlag {
public:
    constexpr explicit WatchedFlag(bool value) : m_value(value) {}
    WatchedFlag(const WatchedFlag&) = delete;
    WatchedFlag& operator=(const WatchedFlag&) = delete;

    WatchedFlag& operator=(bool value) {
        store(value);
        return *this;
    }
    operator bool() const { return load(); }
    bool load() const { return m_value.load(); }
    void store(bool value);

    // The listener of every watched flag; an empty function removes it. Once
    // this returns, the listener removed is no longer running nor called.
    static void setListener(std::function<void()> listener);

private:
    std::atomic<bool> m_value;
};

}  // namespace tarnwick
