// One page checked on its own ("Check this page now"), on a thread of its own
// so the window goes on meanwhile: fetched, judged and rendered as a scan
// run's page is, with the same settings, but outside any run. Nothing is
// recorded and nobody is mailed: a run is what the history compares and what
// the letter rules count, and one page checked between two weekly runs is
// neither.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "scan/PageEvidence.h"
#include "scan/PageFetcher.h"
#include "scan/PageResult.h"

namespace tarnwick {

class SinglePageCheck {
public:
    using Checker =
        std::function<PageResult(const std::string& page, const std::string& advertiser)>;
    // The result (with evidence when the page was fetched), on the check's
    // own thread; not called when the check was cancelled.
    using Done = std::function<void(const PageResult& result, const PageEvidence& evidence)>;

    SinglePageCheck() = default;
    // Cancels a check in progress and waits for its thread.
    ~SinglePageCheck();
    SinglePageCheck(const SinglePageCheck&) = delete;
    SinglePageCheck& operator=(const SinglePageCheck&) = delete;

    // False (and nothing started) while another check is in progress. With
    // a checker, it checks the page instead of a fetcher (tests).
    bool start(const std::string& page, const std::string& advertiser,
               const PageFetcher::Options& options, const LinkRules& rules, Done done,
               Checker checker = {});
    bool busy() const { return m_busy.load(); }
    // Ends the fetch in progress at once; its Done is not called.
    void cancel();

private:
    std::mutex m_mutex;  // guards m_fetcher
    PageFetcher* m_fetcher = nullptr;
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_cancelled{false};
    std::thread m_thread;
};

}  // namespace tarnwick
