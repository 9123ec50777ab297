// What one run checks, taken when Play is pressed: the ticked profiles in
// pane order and their pages, profile after profile, each page in file order.
// A value: the run works from its own copy, so nothing it does reads a pane
// or a profile file again while it goes on.
#pragma once

#include <string>
#include <vector>

#include "scan/BuildResultRows.h"
#include "scan/ResultRow.h"
#include "scan/ScanJob.h"
#include "store/DataFolder.h"

namespace tarnwick {

struct ScanPlan {
    std::vector<TickedProfile> m_profiles;  // ticked, in pane order
    std::vector<ResultRow> m_rows;          // every page, with an empty Status
    // The files of ticked profiles that could not be read: no rows.
    std::vector<std::string> m_unreadable;

    // The pages of the ticked profiles as the profile files hold them now.
    static ScanPlan fromStore(const DataFolder& folder, std::vector<TickedProfile> ticked);

    // One job per row, in row order.
    std::vector<ScanJob> jobs() const;
};

}  // namespace tarnwick
