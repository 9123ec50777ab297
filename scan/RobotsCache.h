// The robots.txt files of one scan run: each origin's (scheme, host, port)
// is fetched the first time a page of it asks, and kept for the rest of the
// run. The page fetcher runs the transfers, beside the pages and with the
// same connections: it asks Known first, sets a transfer up with Prepare and
// hands its end to Complete.
//
// The fetch has the page fetch's limits (connect time-out, stall time-out,
// User-Agent, certificate checks), reads at most 500 KiB and ends within the
// time it is given: the page's time limit, or what is left of it for the
// page that asks. Its answer, as RFC 9309 (2.3.1) has it:
//   - 2xx: the file's rules (a file cut at 500 KiB: the rules read);
//   - 3xx left after the redirections followed, too many redirections, or
//     4xx (429 too): "unavailable", no rules, every path allowed;
//   - 5xx, no connection, a stall, or no answer within the time given:
//     "unreachable", every path disallowed, with the reason;
//   - a run stopped, a transfer that could not be started, or an address
//     that is not http(s): unknown.
#pragma once

#include <atomic>
#include <chrono>
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
        std::size_t maxBytes = std::size_t{500} * 1024;
    };

    RobotsCache() : RobotsCache(Options{}) {}
    explicit RobotsCache(Options options) : m_options(options) {}
    RobotsCache(const RobotsCache&) = delete;
    RobotsCache& operator=(const RobotsCache&) = delete;

    struct Verdicts {
        RobotsVerdict all = RobotsVerdict::Unknown;        // "*"
        RobotsVerdict googlebot = RobotsVerdict::Unknown;  // "Googlebot"
        // Why, when no rules of a file decided: "robots.txt answered HTTP
        // 503", "robots.txt did not arrive within 10 s", ...; "" otherwise.
        std::string reason;
    };
    // Puts verdicts into the robots fields of evidence.
    static void fill(PageEvidence& evidence, const Verdicts& verdicts);

    // Ends a fetch in progress and makes later ones answer unknown at once.
    void cancel() { m_cancelled = true; }

    // The verdicts for the address when its origin's file is known (or the
    // address has no robots.txt to ask: unknown); none while it must be
    // fetched.
    std::optional<Verdicts> known(const std::string& address);
    // What a transfer of robots.txt collects.
    struct Download {
        std::string body;
        std::size_t maxBytes = 0;
        const std::atomic<bool>* cancelled = nullptr;
        long limitMs = 0;  // the time the transfer was given
        std::chrono::steady_clock::time_point started{};
    };
    // Sets the libcurl easy handle up to fetch origin's robots.txt into
    // download (the caller runs it), to end within limit: what is left of the
    // time limit of the page that asks (the options' time limit when none is
    // given, and never more than it).
    void prepare(void* easy, const std::string& origin, Download& download,
                 std::optional<std::chrono::milliseconds> limit = std::nullopt) const;
    // The transfer of origin's robots.txt ended with libcurl's code; its
    // answer is kept for the rest of the run.
    void complete(const std::string& origin, int code, long httpStatus, const Download& download);

    // "http://host:port" of an address, lowered; empty when it is not http
    // or https.
    static std::string originOf(const std::string& address);

private:
    // What one fetch of an origin's robots.txt told.
    struct Outcome {
        std::optional<RobotsTxt> robots;               // the rules, when the file decides
        RobotsVerdict whole = RobotsVerdict::Unknown;  // for every path, without rules
        std::string reason;
    };
    struct Entry {
        std::mutex mutex;
        bool done = false;
        Outcome outcome;
    };
    Outcome answer(int code, long httpStatus, const Download& download) const;
    std::shared_ptr<Entry> entryOf(const std::string& origin);
    static Verdicts verdictsOf(const Entry& entry, const std::string& address);

    Options m_options;
    std::mutex m_mutex;  // guards m_entries (not the entries' fetches)
    std::map<std::string, std::shared_ptr<Entry>> m_entries;
    std::atomic<bool> m_cancelled{false};
};

}  // namespace tarnwick
