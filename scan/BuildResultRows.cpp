#include "scan/BuildResultRows.h"

#include "scan/ScanPlan.h"

namespace tarnwick {

std::vector<ResultRow> buildResultRows(const DataFolder& folder,
                                       const std::vector<TickedProfile>& ticked,
                                       std::vector<std::string>* missing) {
    ScanPlan plan = ScanPlan::fromStore(folder, ticked);
    if (missing != nullptr) {
        missing->insert(missing->end(), plan.m_unreadable.begin(), plan.m_unreadable.end());
    }
    return plan.resultRows();
}

}  // namespace tarnwick
