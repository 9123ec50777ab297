// The fetch side of a scan run: pages are queued with add and come back from
// run with the caller's id. PageFetcher fetches them from the web, side by
// side; CheckedPageQueue checks each with a given function. The run's one
// loop drives either.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "scan/PageEvidence.h"
#include "scan/PageResult.h"

namespace tarnwick {

class PageQueue {
public:
    // A page that run gives back.
    struct Fetched {
        std::size_t id = 0;
        PageResult result;
        PageEvidence evidence;  // m_checked only when add asked for it
    };

    virtual ~PageQueue() = default;

    // Queues a page; run gives it back with the caller's id. add, run and
    // forget belong to one thread.
    virtual void add(std::size_t id, const std::string& page, const std::string& advertiser,
                     bool evidence) = 0;
    // Works until at least one page is done, wakeup is called or wait has
    // passed; returns the pages done (in any order).
    virtual std::vector<Fetched> run(std::chrono::milliseconds wait) = 0;
    // Drops every page added but keep: none of them comes back from run.
    virtual void forget(std::optional<std::size_t> keep) = 0;
    // Pages added that run has not given back yet.
    virtual std::size_t outstanding() const = 0;
    // Callable from any thread: no page is worked on any more. For shutting
    // down a scan run.
    virtual void cancel() = 0;
    // Callable from any thread: makes the run in progress (or the next one)
    // return soon.
    virtual void wakeup() = 0;
};

}  // namespace tarnwick
