#include "scan/BuildResultRows.h"

#include <algorithm>
#include <utility>

#include "store/ProfileFile.h"

namespace tarnwick {

std::vector<ResultRow> BuildResultRows(const DataFolder& folder,
                                       const std::vector<TickedProfile>& ticked,
                                       std::vector<std::string>* missing) {
    std::vector<ResultRow> rows;
    for (const TickedProfile& profile : ticked) {
        const std::string path = folder.ProfilePathOfText(profile.m_strText);
        ProfileContents contents = ProfileFile::ReadForResults(path);
        if (!contents.m_bExists && missing != nullptr) {
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
            row.m_strAdvertiser = contents.m_strAdvertiser;
            row.m_strPage = std::move(page.m_strPage);
            row.m_strMail = std::move(page.m_strMail);
            row.m_strNotify = std::move(page.m_strNotify);
            row.m_nProfileRow = profile.m_nRow;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace tarnwick
