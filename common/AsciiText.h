// ASCII letter case for protocol text (header names, robots.txt fields, HTML
// attribute values): only A-Z change, every other byte stays as it is, so
// text in any 8-bit encoding passes through unharmed.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string loweredAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lowerAscii(c);
    }
    return out;
}

}  // namespace tarnwick
