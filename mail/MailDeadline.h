// The moment after which no send of a group of letters (those of a
// command-line scan) goes on handing over a letter: a send that has not
// handed over the whole letter by then ends as not sent; one that has waits
// for the server's answer (the letter may have been taken). Its owner moves
// it while the sends run (at the end of the scan) and keeps it alive until
// they have ended; each send reads it.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace tarnwick {

class MailDeadline {
public:
    using Clock = std::chrono::steady_clock;

    // None: no deadline (the start).
    void set(std::optional<Clock::time_point> deadline) {
        m_ticks = deadline ? std::max<std::int64_t>(1, deadline->time_since_epoch().count()) : 0;
    }
    bool passed() const {
        const std::int64_t ticks = m_ticks.load();
        return ticks != 0 && Clock::now().time_since_epoch().count() >= ticks;
    }

private:
    std::atomic<std::int64_t> m_ticks{0};  // steady_clock ticks; 0: none
};

}  // namespace tarnwick
