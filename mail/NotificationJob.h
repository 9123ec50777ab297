// What the scan hands over for one webmaster letter.
#pragma once

#include <string>

namespace tarnwick {

struct NotificationJob {
    std::string m_page;        // "Publisher's Site", the address the scan fetched
    std::string m_advertiser;  // "Advetiser's Site", the link the scan looked for
    std::string m_mail;        // "Mail Address" as it was when the run started
    int m_row = -1;            // the page's row in the results pane
};

}  // namespace tarnwick
