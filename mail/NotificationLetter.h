// The fixed texts of the mails: the webmaster letter and the test mail.
// 8-bit Windows-1252 text; "\x92" is the right single quotation mark.
#pragma once

#include <string>

namespace tarnwick {

inline constexpr char kNotificationSubject[] = "Osgrel Tarnwick Ambrel";
inline constexpr char kTestMailSubject[] = "Osgrel Tarnwick Ambrel Test Mail";
inline constexpr char kTestMailBody[] =
    "This is an e-mail message sent automatically by Osgrel Tarnwick Ambrel while testing the "
    "settings for your account.";

// The letter to the webmaster of page, who removed the link to advertiser:
// four fixed pieces around the two addresses, ending with the product's web
// site address. Lines are separated by "\n".
std::string BuildNotificationLetter(const std::string& advertiser, const std::string& page);

}  // namespace tarnwick
