// Pages checked one at a time by a function instead of fetched: the scan
// run's fetch side for the tests and for the desktop program started with a
// page check of its own. A page is checked only when run is waited on (a run
// with no wait only collects what is done), the oldest page first, so the
// run's loop checks each page in its turn, announced before and shown after.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <string>

#include "scan/PageQueue.h"

namespace tarnwick {

// Checks one page: one of the four result words, with its reason.
using PageChecker =
    std::function<PageResult(const std::string& page, const std::string& advertiser)>;

class CheckedPageQueue : public PageQueue {
public:
    explicit CheckedPageQueue(PageChecker checker) : m_checker(std::move(checker)) {}

    void add(std::size_t id, const std::string& page, const std::string& advertiser,
             bool evidence) override;
    // Checks the oldest page (without evidence) when wait is not zero.
    std::vector<Fetched> run(std::chrono::milliseconds wait) override;
    void forget(std::optional<std::size_t> keep) override;
    std::size_t outstanding() const override { return m_pages.size(); }
    void cancel() override { m_cancelled = true; }
    void wakeup() override {}

private:
    struct Page {
        std::size_t id = 0;
        std::string page;
        std::string advertiser;
    };

    PageChecker m_checker;
    std::deque<Page> m_pages;
    std::atomic<bool> m_cancelled{false};
};

}  // namespace tarnwick
