// One recorded run with its counts per result word.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

inline constexpr char kSourceDesktop[] = "desktop";
inline constexpr char kSourceCli[] = "cli";
inline constexpr char kOutcomeCompleted[] = "completed";
inline constexpr char kOutcomeStopped[] = "stopped";
// A run that reached no page because this computer was off the network: it
// keeps no results, so that no page is compared with it.
inline constexpr char kOutcomeOffline[] = "offline";

struct ResultCounts {
    int m_found = 0;
    int m_notFound = 0;
    int m_cannotBeFound = 0;
    int m_cannotBeDisplayed = 0;
    bool operator==(const ResultCounts&) const = default;
};

struct RunInfo {
    std::int64_t m_id = 0;
    std::int64_t m_started = 0;  // seconds since the epoch
    std::int64_t m_ended = 0;    // 0 while running (or when the program ended mid-run)
    std::string m_source;        // kSourceDesktop or kSourceCli
    std::string m_outcome;       // kOutcomeCompleted, kOutcomeStopped, kOutcomeOffline or ""
                                 // (unfinished)
    ResultCounts m_counts;
};

}  // namespace tarnwick
