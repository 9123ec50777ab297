#include "scan/NotFoundPhrase.h"

#include <array>

#include "common/AsciiText.h"

namespace tarnwick {

namespace {

constexpr std::array<std::string_view, 2> kPhrases = {"page cannot be found", "404 not found"};
constexpr std::size_t kLongest = 20;

}  // namespace

void NotFoundPhrase::feed(std::string_view bytes) {
    if (m_seen || bytes.empty()) {
        return;
    }
    for (const char c : bytes) {
        m_window += LowerAscii(c);
    }
    for (const std::string_view phrase : kPhrases) {
        for (std::size_t at = m_window.find(phrase); at != std::string::npos;
             at = m_window.find(phrase, at + 1)) {
            if (m_windowStart + at > 0) {
                m_seen = true;
                m_phrase = std::string(phrase);
                m_window.clear();
                return;
            }
        }
    }
    // What may still begin a phrase that the next piece ends.
    const std::size_t keep = std::min(m_window.size(), kLongest - 1);
    m_windowStart += m_window.size() - keep;
    m_window.erase(0, m_window.size() - keep);
}

}  // namespace tarnwick
