#include "scan/CheckedPageQueue.h"

#include <algorithm>

namespace tarnwick {

void CheckedPageQueue::add(std::size_t id, const std::string& page, const std::string& advertiser,
                           bool /*evidence*/) {
    m_pages.push_back({id, page, advertiser});
}

std::vector<PageQueue::Fetched> CheckedPageQueue::run(std::chrono::milliseconds wait) {
    std::vector<Fetched> done;
    if (wait.count() == 0 || m_cancelled || m_pages.empty()) {
        return done;
    }
    const Page next = std::move(m_pages.front());
    m_pages.pop_front();
    Fetched fetched;
    fetched.id = next.id;
    fetched.result = m_checker(next.page, next.advertiser);
    done.push_back(std::move(fetched));
    return done;
}

void CheckedPageQueue::forget(std::optional<std::size_t> keep) {
    std::erase_if(m_pages, [&keep](const Page& page) { return !keep || page.id != *keep; });
}

}  // namespace tarnwick
