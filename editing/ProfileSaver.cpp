#include "editing/ProfileSaver.h"

#include <cerrno>

#include "store/FileError.h"
#include "store/ProfileNames.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

enum class Choice { Append, Overwrite };

SavedProfile AppendOrOverwrite(const DataFolder& folder, const SavePlan& plan,
                               const std::string& address, const std::vector<ImportRow>& rows,
                               bool notify, Choice choice) {
    const bool found = plan.m_lookup.m_eKind == SiteLookup::Kind::AddressFound;
    // The profile the typed address belongs to: its own numbered file when
    // it is the k-th address of its base name, never another profile's.
    const std::string& path = plan.m_strNewPath;
    if (!found) {
        SiteIndex(folder).Record(plan.m_strBaseName, address, plan.m_lookup);
    }
    ProfileFile file(folder);
    SavedProfile saved;
    saved.m_nRow = choice == Choice::Append ? file.Append(path, address, rows, notify)
                                            : file.Overwrite(path, address, rows, notify);
    saved.m_strDisplayText = "www." + plan.m_strNewName;
    return saved;
}

}  // namespace

SavePlan PlanSave(const DataFolder& folder, const std::string& address) {
    if (!folder.EnsureExists()) {
        throw FileError(folder.Folder(), errno != 0 ? errno : ENOTDIR);
    }
    folder.EnsureProfilesFolder();
    SavePlan plan;
    plan.m_strBaseName = BaseName(HostPart(address));
    plan.m_strBasePath = folder.ProfilePath(plan.m_strBaseName);
    plan.m_lookup = SiteIndex(folder).Lookup(plan.m_strBaseName, address);
    const bool numbered = plan.m_lookup.m_eKind == SiteLookup::Kind::BaseFound ||
                          plan.m_lookup.m_eKind == SiteLookup::Kind::AddressFound;
    plan.m_strNewName = numbered ? NumberedProfileName(plan.m_strBaseName, plan.m_lookup.m_nNext)
                                 : plan.m_strBaseName;
    plan.m_strNewPath = folder.ProfilePath(plan.m_strNewName);
    plan.m_bNewPathTaken =
        plan.m_lookup.m_eKind != SiteLookup::Kind::AddressFound && FileExists(plan.m_strNewPath);
    return plan;
}

SavedProfile SaveNewProfile(const DataFolder& folder, const SavePlan& plan,
                            const std::string& address, const std::vector<ImportRow>& rows,
                            bool notify) {
    SiteIndex(folder).Record(plan.m_strBaseName, address, plan.m_lookup);
    SavedProfile saved;
    saved.m_strDisplayText =
        plan.m_lookup.m_eKind == SiteLookup::Kind::BaseFound ? "www." + plan.m_strNewName : address;
    saved.m_nRow = ProfileFile(folder).Create(plan.m_strNewPath, address, rows, notify);
    return saved;
}

SavedProfile AppendToProfile(const DataFolder& folder, const SavePlan& plan,
                             const std::string& address, const std::vector<ImportRow>& rows,
                             bool notify) {
    return AppendOrOverwrite(folder, plan, address, rows, notify, Choice::Append);
}

SavedProfile OverwriteProfile(const DataFolder& folder, const SavePlan& plan,
                              const std::string& address, const std::vector<ImportRow>& rows,
                              bool notify) {
    return AppendOrOverwrite(folder, plan, address, rows, notify, Choice::Overwrite);
}

}  // namespace tarnwick
