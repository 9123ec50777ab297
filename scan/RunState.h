// Whether a scan run is in progress, and with it what Play and Stop may do:
// Stop while a run is in progress, Play when there is something to play and
// no run is. The scan session owns one and is the only one to say a run
// began or ended; the profile side of the window (its ticks, Add, Delete,
// the start) says whether there is anything to play. Read and written from
// any thread (the scan thread ends a run); the window follows the changes
// through the listener instead of polling.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

namespace tarnwick {

class RunState {
public:
    RunState() = default;
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    bool isRunning() const { return m_running.load(); }
    bool hasProfilesToPlay() const { return m_profilesToPlay.load(); }
    bool isPlayEnabled() const { return hasProfilesToPlay() && !isRunning(); }
    bool isStopEnabled() const { return isRunning(); }

    void setRunning(bool running);
    void setProfilesToPlay(bool any);

    // Told of every change, on the thread that made it (the scan thread
    // too); an empty function removes it. Once this returns, the listener
    // removed is no longer running nor called.
    void setListener(std::function<void()> listener);

private:
    void store(std::atomic<bool>& flag, bool value);

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_profilesToPlay{false};
    // Recursive: a listener may itself change the state on the same thread.
    std::recursive_mutex m_listenerMutex;
    std::function<void()> m_listener;
};

}  // namespace tarnwick
