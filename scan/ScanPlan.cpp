#include "scan/ScanPlan.h"

#include <algorithm>
#include <utility>

#include "store/ProfileFile.h"

namespace tarnwick {

ScanPlan ScanPlan::fromStore(const DataFolder& folder, std::vector<TickedProfile> ticked) {
    ScanPlan plan;
    plan.m_profiles = std::move(ticked);
    for (const TickedProfile& profile : plan.m_profiles) {
        const std::string path = folder.profilePathOfText(profile.m_text);
        ProfileContents contents = ProfileFile::readForResults(path);
        if (!contents.m_exists) {
            plan.m_unreadable.push_back(path);
        }
        // Room for a large profile at once: the pages stay for the whole
        // run, and growing by doubling would leave up to half of them unused.
        const size_t needed = plan.m_pages.size() + contents.m_pages.size();
        if (plan.m_pages.capacity() < needed) {
            plan.m_pages.reserve(std::max(needed, plan.m_pages.capacity() * 2));
        }
        for (ProfilePage& page : contents.m_pages) {
            plan.add(std::move(page.m_page), std::move(page.m_mail), contents.m_advertiser,
                     page.m_notify, profile.m_row);
        }
    }
    return plan;
}

std::uint32_t ScanPlan::shared(const std::string& text) {
    const auto [it, added] =
        m_sharedIndex.try_emplace(text, static_cast<std::uint32_t>(m_shared.size()));
    if (added) {
        m_shared.push_back(text);
    }
    return it->second;
}

void ScanPlan::add(std::string page, std::string mail, const std::string& advertiser,
                   const std::string& notify, int profileRow) {
    PlannedPage planned;
    planned.m_page = std::move(page);
    planned.m_mail = std::move(mail);
    planned.m_advertiser = shared(advertiser);
    planned.m_notify = shared(notify);
    planned.m_profileRow = profileRow;
    m_pages.push_back(std::move(planned));
}

void ScanPlan::addRow(const ResultRow& row) {
    add(row.m_page, row.m_mail, row.m_advertiser, row.m_notify, row.m_profileRow);
}

ScanJob ScanPlan::job(size_t k) const {
    const PlannedPage& planned = m_pages.at(k);
    ScanJob job;
    job.m_advertiser = m_shared[planned.m_advertiser];
    job.m_page = planned.m_page;
    job.m_row = static_cast<int>(k);
    job.m_mail = planned.m_mail;
    job.m_notify = m_shared[planned.m_notify];
    job.m_profileRow = planned.m_profileRow;
    return job;
}

ResultRow ScanPlan::resultRow(size_t k) const {
    const PlannedPage& planned = m_pages.at(k);
    ResultRow row;
    row.m_advertiser = m_shared[planned.m_advertiser];
    row.m_page = planned.m_page;
    row.m_mail = planned.m_mail;
    row.m_notify = m_shared[planned.m_notify];
    row.m_profileRow = planned.m_profileRow;
    return row;
}

std::vector<ResultRow> ScanPlan::resultRows() const {
    std::vector<ResultRow> rows;
    rows.reserve(m_pages.size());
    for (size_t k = 0; k < m_pages.size(); ++k) {
        rows.push_back(resultRow(k));
    }
    return rows;
}

}  // namespace tarnwick
