// The results pane's rows for the ticked profiles: profile after profile in
// profile-pane order, each profile's pages in file order. A profile's file is
// the one its display text leads to (its profile name + ".txt" in the
// Profiles folder); every row carries the profile-pane row it came from and an
// empty Status.
#pragma once

#include <string>
#include <vector>

#include "scan/ResultRow.h"
#include "store/DataFolder.h"

namespace tarnwick {

struct TickedProfile {
    int m_row = 0;       // the profile-pane row
    std::string m_text;  // its display text
};

// A profile whose file cannot be opened contributes no row and, when missing
// is given, its file's path is added there.
std::vector<ResultRow> buildResultRows(const DataFolder& folder,
                                       const std::vector<TickedProfile>& ticked,
                                       std::vector<std::string>* missing = nullptr);

}  // namespace tarnwick
