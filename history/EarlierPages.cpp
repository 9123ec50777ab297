#include "history/EarlierPages.h"

#include <algorithm>
#include <functional>

namespace tarnwick {

std::uint64_t EarlierPages::keyOf(std::string_view advertiser, std::string_view page) {
    // The two parts hashed apart and mixed, so that no split of one text
    // between them gives the key of another.
    const std::uint64_t a = std::hash<std::string_view>{}(advertiser);
    const std::uint64_t p = std::hash<std::string_view>{}(page);
    return a ^ (p + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
}

void EarlierPages::add(std::string_view advertiser, std::string_view page,
                       const PageBefore& before) {
    State state{before.m_result, before.m_verdict, before.m_findings};
    auto [it, added] =
        m_stateIndex.try_emplace(std::move(state), static_cast<std::uint32_t>(m_states.size()));
    if (added) {
        PageBefore shared = before;
        shared.m_missingStreak = 0;
        m_states.push_back(std::move(shared));
    }
    m_entries.push_back({keyOf(advertiser, page), it->second, before.m_missingStreak});
}

void EarlierPages::seal() {
    m_stateIndex.clear();
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.key < b.key; });
    m_entries.shrink_to_fit();
}

std::optional<PageBefore> EarlierPages::find(std::string_view advertiser,
                                             std::string_view page) const {
    const std::uint64_t key = keyOf(advertiser, page);
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                     [](const Entry& e, std::uint64_t k) { return e.key < k; });
    if (it == m_entries.end() || it->key != key) {
        return std::nullopt;
    }
    PageBefore before = m_states[it->state];
    before.m_missingStreak = it->streak;
    return before;
}

}  // namespace tarnwick
