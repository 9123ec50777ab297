#include "app/BuildResults.h"

#include "store/ProfileFile.h"

namespace tarnwick {

ResultsBuild BuildResults(const DataFolder& folder, const std::vector<TickedProfile>& ticked) {
    ResultsBuild build;
    for (const TickedProfile& profile : ticked) {
        ProfileContents contents =
            ProfileFile::ReadForResults(folder.ProfilePathOfText(profile.m_strText));
        if (!contents.m_bExists) {
            build.m_unreadable.push_back(profile.m_strText);
            continue;
        }
        for (ProfilePage& page : contents.m_pages) {
            ResultRow row;
            row.m_strAdvertiser = contents.m_strAdvertiser;
            row.m_strPage = std::move(page.m_strPage);
            row.m_strMail = std::move(page.m_strMail);
            row.m_strNotify = std::move(page.m_strNotify);
            row.m_nProfileRow = profile.m_nRow;
            build.m_rows.push_back(std::move(row));
        }
    }
    return build;
}

}  // namespace tarnwick
