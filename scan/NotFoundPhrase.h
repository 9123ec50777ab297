// Watches a page's bytes for the words of a server's "not found" page,
// "page cannot be found" or "404 not found" in any letter case, anywhere but
// at the very first byte: a soft 404, a page that answers 200 but says it is
// gone. Fed in pieces of any size; keeps only the last few bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

class NotFoundPhrase {
public:
    void feed(std::string_view bytes);
    bool seen() const { return m_seen; }
    // The phrase seen ("404 not found"...), empty before.
    const std::string& phrase() const { return m_phrase; }

private:
    std::string m_window;  // the last bytes of the previous piece, lowered, then this piece
    std::uint64_t m_windowStart = 0;  // page position of m_window[0]
    bool m_seen = false;
    std::string m_phrase;
};

}  // namespace tarnwick
