// One scan at a time per data folder. Two runs at once would both mail a
// webmaster whose link is gone before either has recorded its letter, so
// every scan (the desktop program's Play, tarnwick-cli scan) holds an
// advisory lock (flock) on "scan.lock" in the data folder while it runs and
// while its letters go out.
//
// The lock file holds the holder's process id and program name, so that a
// second run can say who it waits for. The system ends the lock with the
// process that holds it (also a crash or SIGKILL); the file itself stays, as
// removing it could let two runs hold two different files. The file is
// opened close-on-exec: programs started meanwhile (a browser for the user
// guide) never inherit the lock.
#pragma once

#include <string>

namespace tarnwick {

inline constexpr char kRunLockFileName[] = "scan.lock";

class RunLock {
public:
    enum class State { Free, Held, Busy, Failed };

    RunLock() = default;
    ~RunLock();
    RunLock(RunLock&& other) noexcept;
    RunLock& operator=(RunLock&& other) noexcept;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the lock of the data folder for program (its name, as told to a
    // second run), without waiting: Held, Busy (another process holds it) or
    // Failed (no lock file can be had: a read-only folder, a FIFO or a
    // folder in its place).
    static RunLock tryLock(const std::string& dataFolder, const std::string& program);

    State state() const { return m_state; }
    bool isHeld() const { return m_state == State::Held; }
    // Busy: who holds the lock, "tarnwick-cli, process 1234" ("another
    // program" when it has not said).
    const std::string& holder() const { return m_holder; }
    // Failed: why, naming the file.
    const std::string& error() const { return m_error; }

    // Lets the lock go (Free).
    void release();

private:
    State m_state = State::Free;
    int m_fd = -1;
    std::string m_holder;
    std::string m_error;
};

}  // namespace tarnwick
