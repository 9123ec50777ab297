#include "editing/AddressRule.h"

namespace tarnwick {

bool isTrimSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimSpace(std::string_view text) {
    while (!text.empty() && isTrimSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isAcceptableAddress(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    const size_t dot = text.find('.');
    const std::string_view left =
        dot == std::string_view::npos ? std::string_view() : text.substr(0, dot);
    const std::string_view right = dot == std::string_view::npos ? text : text.substr(dot + 1);
    return !trimSpace(left).empty() && trimSpace(right).size() >= 2;
}

}  // namespace tarnwick
