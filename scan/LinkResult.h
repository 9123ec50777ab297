// What the check of one partner page found. The words are the ones the
// panes, the reports, the letters and the history show and keep; they are
// made here and read back here only, so the rest of the program compares
// values, never display text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

enum class LinkResult {
    Found,              // "Link Found"
    NotFound,           // "Link Not Found"
    CannotBeDisplayed,  // "Page cannot be displayed": nothing was seen whole
    CannotBeFound,      // "Page Cannot be Found": 404, 410 or the not-found words
};

// The result's word, exactly as every pane, file and letter has shown it.
const std::string& resultWord(LinkResult result);
// A stored word read back; nothing for a text this program never wrote.
std::optional<LinkResult> resultFromWord(std::string_view word);

// Only these two tell anything of the link: a page that could not be
// displayed leaves it unknown. A missing link is what a webmaster hears of.
constexpr bool isLinkPresent(LinkResult result) {
    return result == LinkResult::Found;
}
constexpr bool isLinkMissing(LinkResult result) {
    return result == LinkResult::NotFound || result == LinkResult::CannotBeFound;
}

}  // namespace tarnwick
