// One results-pane row as the export writes it: the pane's columns, the
// result's reason and the page's evidence.
#pragma once

#include <string>

#include "scan/PageEvidence.h"

namespace tarnwick {

struct ExportRow {
    std::string m_strAdvertiser;  // 8-bit text as stored
    std::string m_strPage;        // 8-bit text as stored
    std::string m_strMail;        // 8-bit text as stored
    std::string m_strNotify;      // "Enabled" or "Disabled"
    std::string m_strResult;      // the Status column
    std::string m_strReason;      // why the result is what it is, when known
    PageEvidence m_evidence;
};

}  // namespace tarnwick
