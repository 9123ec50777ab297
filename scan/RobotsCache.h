// The robots.txt files of one scan run: each origin's (scheme, host, port)
// is fetched the first time a page of it asks, and kept for the rest of the
// run. Callers from several threads at once are fine; a second caller for an
// origin being fetched waits for that fetch instead of fetching again.
//
// The fetch has the page fetch's limits (connect time-out, stall time-out,
// time limit, User-Agent, certificate checks) and reads at most 500 KiB. Its answer:
//   - 2xx: the file's rules;
//   - another 4xx than 429, or too many redirections: no rules (allowed);
//   - 429, 5xx, no connection, a stall, or an address that is not http(s):
//     unknown.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "scan/PageEvidence.h"
#include "scan/RobotsTxt.h"

namespace tarnwick {

class RobotsCache {
public:
    struct Options {
        long connectTimeoutSeconds = 30;
        long stallSeconds = 60;
        long totalSeconds = 120;  // the whole file, connecting included
        long maxRedirects = 5;
        std::size_t maxBytes = 500 * 1024;
    };

    RobotsCache() : RobotsCache(Options{}) {}
    explicit RobotsCache(Options options) : m_options(options) {}
    RobotsCache(const RobotsCache&) = delete;
    RobotsCache& operator=(const RobotsCache&) = delete;

    struct Verdicts {
        RobotsVerdict all = RobotsVerdict::Unknown;        // "*"
        RobotsVerdict googlebot = RobotsVerdict::Unknown;  // "Googlebot"
    };
    // What the robots.txt of the address's origin says about its path.
    Verdicts Check(const std::string& address);
    // Fills the two robots fields of the evidence for its final address (the
    // page address when there is none).
    void Apply(PageEvidence& evidence, const std::string& pageAddress);

    // Ends a fetch in progress and makes later ones answer unknown at once.
    void Cancel() { m_bCancelled = true; }

    // "http://host:port" of an address, lowered; empty when it is not http
    // or https.
    static std::string OriginOf(const std::string& address);

private:
    struct Entry {
        std::mutex mutex;
        bool done = false;
        std::optional<RobotsTxt> robots;  // none: unknown
    };
    std::optional<RobotsTxt> Fetch(const std::string& origin);

    Options m_options;
    std::mutex m_mutex;  // guards m_entries (not the entries' fetches)
    std::map<std::string, std::shared_ptr<Entry>> m_entries;
    std::atomic<bool> m_bCancelled{false};
};

}  // namespace tarnwick
