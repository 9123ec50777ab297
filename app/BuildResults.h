// The rows of the results pane for the ticked profiles: profile after profile
// in profile-pane order, pages in file order, Status empty.
#pragma once

#include <string>
#include <vector>

#include "scan/ResultRow.h"
#include "store/DataFolder.h"

namespace tarnwick {

struct TickedProfile {
    int m_nRow = -1;        // its row in the profile pane
    std::string m_strText;  // its display text ("Proile" column)
};

struct ResultsBuild {
    std::vector<ResultRow> m_rows;
    // Display texts of ticked profiles whose file could not be opened; they
    // contribute no rows.
    std::vector<std::string> m_unreadable;
};

ResultsBuild BuildResults(const DataFolder& folder, const std::vector<TickedProfile>& ticked);

}  // namespace tarnwick
