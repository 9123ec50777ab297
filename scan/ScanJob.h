// One publisher page of a run's plan: the page's results row as it was
// when the run started.
#pragma once

#include <string>

namespace tarnwick {

struct ScanJob {
    std::string m_advertiser;  // "Advetiser's Site"
    std::string m_page;        // "Publisher's Site"
    int m_row = 0;             // the page's row in the results pane
    std::string m_mail;        // "Mail Address"
    std::string m_notify;      // "Email Notification": "Enabled" or "Disabled"
    int m_profileRow = -1;     // the profile-pane row the page came from
};

}  // namespace tarnwick
