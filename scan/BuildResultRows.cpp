#include "scan/BuildResultRows.h"

#include <algorithm>
#include <utility>

#include "store/ProfileFile.h"

namespace tarnwick {

std::vector<ResultRow> buildResultRows(const DataFolder& folder,
                                       const std::vector<TickedProfile>& ticked,
                                       std::vector<std::string>* missing) {
    std::vector<ResultRow> rows;
    for (const TickedProfile& profile : ticked) {
        const std::string path = folder.profilePathOfText(profile.m_text);
        ProfileContents contents = ProfileFile::readForResults(path);
        if (!contents.m_exists && missing != nullptr) {
            missing->push_back(path);
        }
        // Room for a large profile at once: the rows stay for the whole run,
        // and growing by doubling would leave up to half of them unused.
        const size_t needed = rows.size() + contents.m_pages.size();
        if (rows.capacity() < needed) {
            rows.reserve(std::max(needed, rows.capacity() * 2));
        }
        for (ProfilePage& page : contents.m_pages) {
            ResultRow row;
            row.m_advertiser = contents.m_advertiser;
            row.m_page = std::move(page.m_page);
            row.m_mail = std::move(page.m_mail);
            row.m_notify = std::move(page.m_notify);
            row.m_profileRow = profile.m_row;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace tarnwick
