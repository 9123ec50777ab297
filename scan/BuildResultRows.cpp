#include "scan/BuildResultRows.h"

#include "store/ProfileFile.h"

namespace tarnwick {

std::vector<ResultRow> BuildResultRows(const DataFolder& folder,
                                       const std::vector<TickedProfile>& ticked,
                                       std::vector<std::string>* missing) {
    std::vector<ResultRow> rows;
    for (const TickedProfile& profile : ticked) {
        const std::string path = folder.ProfilePathOfText(profile.m_strText);
        const ProfileContents contents = ProfileFile::ReadForResults(path);
        if (!contents.m_bExists && missing != nullptr) {
            missing->push_back(path);
        }
        for (const ProfilePage& page : contents.m_pages) {
            ResultRow row;
            row.m_strAdvertiser = contents.m_strAdvertiser;
            row.m_strPage = page.m_strPage;
            row.m_strMail = page.m_strMail;
            row.m_strNotify = page.m_strNotify;
            row.m_nProfileRow = profile.m_nRow;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace tarnwick
