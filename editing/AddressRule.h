// The advertiser's address rule shared by the Add and Edit Profile dialogs: a
// dot with a non-empty label before it and at least two characters after it.
// Scheme, path and characters are not looked at.
#pragma once

#include <string_view>

namespace tarnwick {

// Blank, tab, CR, LF, vertical tab and form feed.
bool isTrimSpace(char c);
std::string_view trimSpace(std::string_view text);

// The rule: split at the first ".", trim both sides; refused when the text is
// empty, the left side is empty, or the right side has fewer than 2 characters.
bool isAcceptableAddress(std::string_view text);

}  // namespace tarnwick
