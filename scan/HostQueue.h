// The per-host queues of a fetcher: which request may start next so that no
// host has more than its connections at once, the starts of two requests to
// one host keep their interval, and otherwise requests start in the order
// they were added (a busy host lets later requests of other hosts go first).
//
// Job is the caller's request: it has `std::string host`, `std::uint64_t
// order` (smaller first) and `Clock::time_point notBefore` (a Retry-After's;
// the epoch for none). The queue holds jobs and counts each host's running
// requests; it never looks inside a job otherwise.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

template <typename Job>
class HostQueue {
public:
    using Clock = std::chrono::steady_clock;

    HostQueue(int connectionsPerHost, std::chrono::milliseconds interval)
        : m_connectionsPerHost(connectionsPerHost), m_interval(interval) {}
    HostQueue(const HostQueue&) = delete;
    HostQueue& operator=(const HostQueue&) = delete;

    // At the back of its host's queue.
    void append(Job job) {
        Host& host = hostFor(job.host);
        host.queue.push_back({std::move(job), false});
        place(host);
    }
    // Back in its host's queue at its order (behind jobs put first).
    void insertInOrder(Job job) {
        Host& host = hostFor(job.host);
        const auto at = std::upper_bound(host.queue.begin(), host.queue.end(), job.order,
                                         [](std::uint64_t order, const Entry& queued) {
                                             return !queued.first && order < queued.job.order;
                                         });
        host.queue.insert(at, {std::move(job), false});
        place(host);
    }
    // Ahead of every job of its host (what a job already done waits for).
    void putFirst(Job job) {
        Host& host = hostFor(job.host);
        host.queue.push_front({std::move(job), true});
        place(host);
    }
    // No request to the host starts before until.
    void holdHost(const std::string& name, Clock::time_point until) {
        Host& host = hostFor(name);
        host.nextStart = std::max(host.nextStart, until);
        place(host);
    }

    // The next job that may start now, counted as running at its host from
    // now on (until finished); nothing when none may.
    std::optional<Job> takeNext(Clock::time_point now) {
        while (!m_timed.empty() && m_timed.begin()->first <= now) {
            place(*m_timed.begin()->second, now);
        }
        if (m_ready.empty()) {
            return std::nullopt;
        }
        Host& host = *m_ready.begin()->second;
        Job job = std::move(host.queue.front().job);
        host.queue.pop_front();
        ++host.running;
        host.nextStart = now + m_interval;
        place(host, now);
        return job;
    }
    // A request of the host taken with takeNext has ended (or never started).
    void finished(const std::string& name) {
        const auto it = m_hosts.find(name);
        if (it != m_hosts.end()) {
            --it->second.running;
            place(it->second);
        }
    }

    // When the first host that waits for a time may start; max() for none.
    Clock::time_point nextTime() const {
        return m_timed.empty() ? Clock::time_point::max() : m_timed.begin()->first;
    }

    // Takes out the queued jobs for which drop(job) is true, host by host.
    template <typename Predicate>
    std::vector<Job> removeIf(Predicate drop) {
        std::vector<Job> removed;
        std::vector<Host*> touched;
        for (auto& [name, host] : m_hosts) {
            for (auto it = host.queue.begin(); it != host.queue.end();) {
                if (drop(std::as_const(it->job))) {
                    removed.push_back(std::move(it->job));
                    it = host.queue.erase(it);
                } else {
                    ++it;
                }
            }
            touched.push_back(&host);
        }
        for (Host* host : touched) {
            place(*host);
        }
        return removed;
    }
    // Every queued job, host by host; forgets every host.
    std::vector<Job> takeAll() {
        std::vector<Job> all;
        for (auto& [name, host] : m_hosts) {
            for (Entry& entry : host.queue) {
                all.push_back(std::move(entry.job));
            }
        }
        m_ready.clear();
        m_timed.clear();
        m_hosts.clear();
        return all;
    }

private:
    struct Entry {
        Job job;
        bool first;  // put first: stays ahead of jobs inserted by order
    };
    struct Host {
        std::string name;
        std::deque<Entry> queue;
        int running = 0;
        Clock::time_point nextStart{};  // the interval after the last start, or a hold
        // Where place put it: among the hosts that can start now (by the
        // order of their first job) or those waiting for a time.
        bool ready = false;
        std::uint64_t readyKey = 0;
        bool timed = false;
        Clock::time_point timedAt{};
    };

    Host& hostFor(const std::string& name) {
        Host& host = m_hosts[name];
        host.name = name;
        return host;
    }

    void place(Host& host, Clock::time_point now = Clock::now()) {
        if (host.ready) {
            m_ready.erase({host.readyKey, &host});
            host.ready = false;
        }
        if (host.timed) {
            m_timed.erase({host.timedAt, &host});
            host.timed = false;
        }
        if (host.queue.empty()) {
            if (host.running == 0 && host.nextStart <= now) {
                const std::string name = host.name;
                m_hosts.erase(name);  // nothing to remember (callers hold no reference)
            }
            return;
        }
        if (host.running >= m_connectionsPerHost) {
            return;  // placed again when one of its requests ends
        }
        const auto at = std::max(host.nextStart, host.queue.front().job.notBefore);
        if (at > now) {
            host.timed = true;
            host.timedAt = at;
            m_timed.insert({at, &host});
        } else {
            host.ready = true;
            host.readyKey = host.queue.front().job.order;
            m_ready.insert({host.readyKey, &host});
        }
    }

    int m_connectionsPerHost;
    Clock::duration m_interval;
    std::map<std::string, Host> m_hosts;
    std::set<std::pair<std::uint64_t, Host*>> m_ready;
    std::set<std::pair<Clock::time_point, Host*>> m_timed;
};

}  // namespace tarnwick
