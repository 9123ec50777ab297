#include "editing/ProfileSaver.h"

#include <cerrno>
#include <set>
#include <string_view>

#include "editing/AddressRule.h"

#include "store/FileError.h"
#include "store/ProfileNames.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

enum class Choice { Append, Overwrite };

SavedProfile appendOrOverwrite(const DataFolder& folder, const SavePlan& plan,
                               const std::string& address, const std::vector<ImportRow>& rows,
                               bool notify, Choice choice) {
    const bool found = plan.m_lookup.m_kind == SiteLookup::Kind::AddressFound;
    // The profile the typed address belongs to: its own numbered file when
    // it is the k-th address of its base name, never another profile's.
    const std::string& path = plan.m_newPath;
    if (!found) {
        SiteIndex(folder).record(plan.m_baseName, address, plan.m_lookup);
    }
    ProfileFile file(folder);
    SavedProfile saved;
    if (choice == Choice::Append) {
        const std::vector<ImportRow> fresh =
            withoutKnownPages(rows, ProfileFile::readForEdit(path).m_pages, saved.m_skipped);
        saved.m_row = file.append(path, address, fresh, notify);
    } else {
        saved.m_row = file.overwrite(path, address, rows, notify);
    }
    saved.m_displayText = "www." + plan.m_newName;
    return saved;
}

}  // namespace

std::vector<ImportRow> withoutKnownPages(const std::vector<ImportRow>& rows,
                                         const std::vector<ProfilePage>& existing, int& skipped) {
    std::set<std::string_view> known;
    for (const ProfilePage& page : existing) {
        known.insert(trimSpace(page.m_page));
    }
    std::vector<ImportRow> fresh;
    skipped = 0;
    for (const ImportRow& row : rows) {
        if (known.count(trimSpace(row.m_page)) != 0) {
            ++skipped;
        } else {
            fresh.push_back(row);
        }
    }
    return fresh;
}

SavePlan planSave(const DataFolder& folder, const std::string& address) {
    if (!folder.ensureExists()) {
        throw FileError(folder.folder(), errno != 0 ? errno : ENOTDIR);
    }
    folder.ensureProfilesFolder();
    SavePlan plan;
    plan.m_baseName = baseName(hostPart(address));
    plan.m_basePath = folder.profilePath(plan.m_baseName);
    plan.m_lookup = SiteIndex(folder).lookup(plan.m_baseName, address);
    const bool numbered = plan.m_lookup.m_kind == SiteLookup::Kind::BaseFound ||
                          plan.m_lookup.m_kind == SiteLookup::Kind::AddressFound;
    plan.m_newName =
        numbered ? numberedProfileName(plan.m_baseName, plan.m_lookup.m_next) : plan.m_baseName;
    plan.m_newPath = folder.profilePath(plan.m_newName);
    plan.m_newPathTaken =
        plan.m_lookup.m_kind != SiteLookup::Kind::AddressFound && fileExists(plan.m_newPath);
    return plan;
}

SavedProfile saveNewProfile(const DataFolder& folder, const SavePlan& plan,
                            const std::string& address, const std::vector<ImportRow>& rows,
                            bool notify) {
    SiteIndex(folder).record(plan.m_baseName, address, plan.m_lookup);
    SavedProfile saved;
    saved.m_displayText =
        plan.m_lookup.m_kind == SiteLookup::Kind::BaseFound ? "www." + plan.m_newName : address;
    saved.m_row = ProfileFile(folder).create(plan.m_newPath, address, rows, notify);
    return saved;
}

SavedProfile appendToProfile(const DataFolder& folder, const SavePlan& plan,
                             const std::string& address, const std::vector<ImportRow>& rows,
                             bool notify) {
    return appendOrOverwrite(folder, plan, address, rows, notify, Choice::Append);
}

SavedProfile overwriteProfile(const DataFolder& folder, const SavePlan& plan,
                              const std::string& address, const std::vector<ImportRow>& rows,
                              bool notify) {
    return appendOrOverwrite(folder, plan, address, rows, notify, Choice::Overwrite);
}

}  // namespace tarnwick
