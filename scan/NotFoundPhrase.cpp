#include "scan/NotFoundPhrase.h"

#include <string.h>

#include <algorithm>

#include "common/AsciiText.h"

namespace tarnwick {

namespace {

// Both phrases end in " found": that is searched for, then what stands before.
constexpr std::string_view kEnding = " found";
constexpr std::string_view kBefore[] = {"page cannot be", "404 not"};
constexpr std::size_t kLongest = 20;  // "page cannot be found"

}  // namespace

void NotFoundPhrase::feed(std::string_view bytes) {
    if (m_seen || bytes.empty()) {
        return;
    }
    const std::size_t kept = m_window.size();
    m_window.resize(kept + bytes.size());
    std::transform(bytes.begin(), bytes.end(), m_window.begin() + static_cast<std::ptrdiff_t>(kept),
                   lowerAscii);
    const char* data = m_window.data();
    std::size_t from = 0;
    while (from + kEnding.size() <= m_window.size()) {
        const void* hit =
            memmem(data + from, m_window.size() - from, kEnding.data(), kEnding.size());
        if (hit == nullptr) {
            break;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        for (const std::string_view before : kBefore) {
            if (at >= before.size() &&
                std::string_view(data + at - before.size(), before.size()) == before &&
                m_windowStart + at - before.size() > 0) {
                m_seen = true;
                m_phrase = std::string(before) + std::string(kEnding);
                m_window.clear();
                return;
            }
        }
        from = at + 1;
    }
    // What may still begin a phrase that the next piece ends.
    const std::size_t keep = std::min(m_window.size(), kLongest - 1);
    m_windowStart += m_window.size() - keep;
    m_window.erase(0, m_window.size() - keep);
}

}  // namespace tarnwick
