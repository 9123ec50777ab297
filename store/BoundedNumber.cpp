#include "store/BoundedNumber.h"

namespace tarnwick {

BoundedNumber BoundedNumber::parse(std::string_view text, long min, long max) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    text = text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return {};
    }
    // Past this magnitude every range of the program is left behind; the
    // digits after it only need to be digits.
    constexpr long kHuge = 1'000'000'000'000L;
    long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return {};
        }
        if (magnitude < kHuge) {
            magnitude = magnitude * 10 + (c - '0');
        }
    }
    const long number = negative ? -magnitude : magnitude;
    if (number < min) {
        return {Kind::Below, min};
    }
    if (number > max) {
        return {Kind::Above, max};
    }
    return {Kind::InRange, number};
}

}  // namespace tarnwick
