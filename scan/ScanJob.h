// What Play hands over for one publisher page: the page's results row as it
// was when the run started.
#pragma once

#include <string>

namespace tarnwick {

struct ScanJob {
    std::string m_strAdvertiser;  // "Advetiser's Site"
    std::string m_strPage;        // "Publisher's Site"
    int m_nRow = 0;               // the page's row in the results pane
    std::string m_strMail;        // "Mail Address"
    std::string m_strNotify;      // "Email Notification": "Enabled" or "Disabled"
    bool m_bLast = false;         // the last row of the results pane
    int m_nProfileRow = -1;       // the profile-pane row the page came from
};

}  // namespace tarnwick
