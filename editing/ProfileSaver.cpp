#include "editing/ProfileSaver.h"

#include <cerrno>

#include "store/FileError.h"
#include "store/ProfileNames.h"

namespace tarnwick {

SavePlan PlanSave(const DataFolder& folder, const std::string& address) {
    if (!folder.EnsureExists()) {
        throw FileError(folder.Folder(), errno != 0 ? errno : ENOTDIR);
    }
    folder.EnsureProfilesFolder();
    SavePlan plan;
    plan.m_strBaseName = BaseName(HostPart(address));
    plan.m_strBasePath = folder.ProfilePath(plan.m_strBaseName);
    plan.m_lookup = SiteIndex(folder).Lookup(plan.m_strBaseName, address);
    return plan;
}

SavedProfile SaveNewProfile(const DataFolder& folder, const SavePlan& plan,
                            const std::string& address, const std::vector<ImportRow>& rows,
                            bool notify) {
    SiteIndex(folder).Record(plan.m_strBaseName, address, plan.m_lookup);
    SavedProfile saved;
    std::string path = plan.m_strBasePath;
    saved.m_strDisplayText = address;
    if (plan.m_lookup.m_eKind == SiteLookup::Kind::BaseFound) {
        const std::string name = NumberedProfileName(plan.m_strBaseName, plan.m_lookup.m_nNext);
        path = folder.ProfilePath(name);
        saved.m_strDisplayText = "www." + name;
    }
    saved.m_nRow = ProfileFile(folder).Create(path, address, rows, notify);
    return saved;
}

SavedProfile AppendToProfile(const DataFolder& folder, const SavePlan& plan,
                             const std::string& address, const std::vector<ImportRow>& rows,
                             bool notify) {
    SavedProfile saved;
    saved.m_nRow = ProfileFile(folder).Append(plan.m_strBasePath, address, rows, notify);
    saved.m_strDisplayText = "www." + plan.m_strBaseName;
    return saved;
}

SavedProfile OverwriteProfile(const DataFolder& folder, const SavePlan& plan,
                              const std::string& address, const std::vector<ImportRow>& rows,
                              bool notify) {
    SavedProfile saved;
    saved.m_nRow = ProfileFile(folder).Overwrite(plan.m_strBasePath, address, rows, notify);
    saved.m_strDisplayText = "www." + plan.m_strBaseName;
    return saved;
}

}  // namespace tarnwick
