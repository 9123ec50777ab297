// What the scan hands over for one webmaster letter.
#pragma once

#include <string>

namespace tarnwick {

struct NotificationJob {
    std::string m_strPage;        // "Publisher's Site", the address the scan fetched
    std::string m_strAdvertiser;  // "Advetiser's Site", the link the scan looked for
    std::string m_strMail;        // "Mail Address" as it was when the run started
    int m_nRow = -1;              // the page's row in the results pane
};

}  // namespace tarnwick
