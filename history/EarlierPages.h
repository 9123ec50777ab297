// What the runs before a run knew of its pages, held for the whole run in
// little room: a run of 50,000 pages would otherwise keep every page's
// addresses and texts twice (once in its rows, once here). Each page is a
// 64-bit key of its advertiser and address, with its missing streak and an
// index into the few distinct (result, verdict, findings) the pages share.
// Two pages whose keys collide (about one chance in 10^10 for 50,000 pages)
// would read the same earlier state.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "history/PageTransition.h"

namespace tarnwick {

class EarlierPages {
public:
    // While reading the history; then seal() once.
    void add(std::string_view advertiser, std::string_view page, const PageBefore& before);
    void seal();

    std::optional<PageBefore> find(std::string_view advertiser, std::string_view page) const;
    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }

private:
    static std::uint64_t keyOf(std::string_view advertiser, std::string_view page);

    struct Entry {
        std::uint64_t key = 0;
        std::uint32_t state = 0;
        std::int32_t streak = 0;
    };
    using State = std::tuple<LinkResult, std::optional<std::string>, std::optional<std::string>>;

    std::vector<Entry> m_entries;  // by key once sealed
    std::vector<PageBefore> m_states;
    std::map<State, std::uint32_t> m_stateIndex;  // while adding
};

}  // namespace tarnwick
