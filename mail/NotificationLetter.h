// The fixed texts of the mails: the webmaster letter and the test mail.
// 8-bit Windows-1252 text; "\x92" is the right single quotation mark.
#pragma once

#include <string>

#include "common/ProductName.h"

namespace tarnwick {

inline constexpr const char* kNotificationSubject = kProductName;
inline const std::string kTestMailSubject = std::string(kProductName) + " Test Mail";
inline const std::string kTestMailBody =
    std::string("This is an e-mail message sent automatically by ") + kProductName +
    " while testing the settings for your account.";

// The letter to the webmaster of page, who removed the link to advertiser:
// four fixed pieces around the two addresses, ending with the product's web
// site address. Lines are separated by "\n".
std::string BuildNotificationLetter(const std::string& advertiser, const std::string& page);

}  // namespace tarnwick
