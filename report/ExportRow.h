// One results-pane row as the export writes it: the pane's columns, the
// result's reason and the page's evidence.
#pragma once

#include <string>

#include "scan/PageEvidence.h"

namespace tarnwick {

struct ExportRow {
    std::string m_advertiser;  // 8-bit text as stored
    std::string m_page;        // 8-bit text as stored
    std::string m_mail;        // 8-bit text as stored
    std::string m_notify;      // "Enabled" or "Disabled"
    std::string m_result;      // the Status column
    std::string m_reason;      // why the result is what it is, when known
    PageEvidence m_evidence;
};

}  // namespace tarnwick
