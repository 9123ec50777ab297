#include "scan/LinkResult.h"

#include <array>

namespace tarnwick {

namespace {

// In the enum's order.
const std::array<std::string, 4>& words() {
    static const std::array<std::string, 4> kWords = {
        "Link Found", "Link Not Found", "Page cannot be displayed", "Page Cannot be Found"};
    return kWords;
}

}  // namespace

const std::string& resultWord(LinkResult result) {
    return words().at(static_cast<size_t>(result));
}

std::optional<LinkResult> resultFromWord(std::string_view word) {
    for (size_t i = 0; i < words().size(); ++i) {
        if (words()[i] == word) {
            return static_cast<LinkResult>(i);
        }
    }
    return std::nullopt;
}

}  // namespace tarnwick
