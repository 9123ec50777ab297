// The fixed texts of the mails: the webmaster letter and the test mail.
// 8-bit Windows-1252 text; "\x92" is the right single quotation mark.
#pragma once

#include <string>

#include "common/ProductName.h"

namespace tarnwick {

inline const std::string kTestMailSubject = std::string(kProductName) + " Test Mail";
inline const std::string kTestMailBody =
    std::string("This is an e-mail message sent automatically by ") + kProductName +
    " while testing the settings for your account.";

// The subject of the letter: the advertiser as typed and the site of the
// page, so that a webmaster with several partners (and the owner reading the
// copies) tells the letters apart: "Link to www.shop-a.example missing on
// partner.example". The site is the page's host, or the page as typed when
// it has none.
std::string notificationSubject(const std::string& advertiser, const std::string& page);

// The letter to the webmaster of page, who removed the link to advertiser:
// four fixed pieces around the two addresses, ending with the product's web
// site address. Lines are separated by "\n".
std::string buildNotificationLetter(const std::string& advertiser, const std::string& page);

}  // namespace tarnwick
