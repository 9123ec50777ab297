#include "scan/ScanPlan.h"

#include <utility>

namespace tarnwick {

ScanPlan ScanPlan::fromStore(const DataFolder& folder, std::vector<TickedProfile> ticked) {
    ScanPlan plan;
    plan.m_profiles = std::move(ticked);
    plan.m_rows = buildResultRows(folder, plan.m_profiles, &plan.m_unreadable);
    return plan;
}

std::vector<ScanJob> ScanPlan::jobs() const {
    std::vector<ScanJob> jobs;
    jobs.reserve(m_rows.size());
    for (size_t k = 0; k < m_rows.size(); ++k) {
        const ResultRow& row = m_rows[k];
        ScanJob job;
        job.m_advertiser = row.m_advertiser;
        job.m_page = row.m_page;
        job.m_row = static_cast<int>(k);
        job.m_mail = row.m_mail;
        job.m_notify = row.m_notify;
        job.m_last = k + 1 == m_rows.size();
        job.m_profileRow = row.m_profileRow;
        jobs.push_back(std::move(job));
    }
    return jobs;
}

}  // namespace tarnwick
