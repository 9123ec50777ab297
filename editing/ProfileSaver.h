// "Save and Finish" of the Add wizard on the store: the profile name, the site
// index, and a new, numbered, appended or overwritten profile file.
#pragma once

#include <string>
#include <vector>

#include "store/DataFolder.h"
#include "store/ProfileFile.h"
#include "store/SiteIndex.h"

namespace tarnwick {

struct SavePlan {
    SiteLookup m_lookup;
    std::string m_baseName;  // base name of the address's host part
    std::string m_basePath;  // the base name's profile file
    // The profile a new address gets (the base name, or base name (k)); for
    // an address added before, the profile it was added as.
    std::string m_newName;
    std::string m_newPath;
    // The address is new but a profile file of that name exists already (a
    // profile's address was changed onto that name): the user appends to it
    // or overwrites it, as for an address added before.
    bool m_newPathTaken = false;

    // Whether the user chooses between Append and Overwrite.
    bool asksAppendOrOverwrite() const {
        return m_lookup.m_kind == SiteLookup::Kind::AddressFound || m_newPathTaken;
    }
};

// Where the address goes. Creates the data folder and the Profiles folder
// when they are missing (throws FileError when it cannot).
SavePlan planSave(const DataFolder& folder, const std::string& address);

struct SavedProfile {
    // Profile-pane row of a newly listed profile file (the row of its line in
    // index.txt), -1 when nothing new is listed or an empty line hides it.
    int m_row = -1;
    std::string m_displayText;  // what that row shows
    // Append: pages of the list the profile had already (left out, so no
    // partner gets a second letter).
    int m_skipped = 0;
};

// A new profile for a plan whose address was not found: records the address
// in the site index and creates the profile (base name, or base name (k)).
// The row shows the address as typed, or "www." + the numbered name.
// Throws FileError.
SavedProfile saveNewProfile(const DataFolder& folder, const SavePlan& plan,
                            const std::string& address, const std::vector<ImportRow>& rows,
                            bool notify);

// The rows whose page the existing pages do not hold (compared without the
// blanks around them); skipped counts the others.
std::vector<ImportRow> withoutKnownPages(const std::vector<ImportRow>& rows,
                                         const std::vector<ProfilePage>& existing, int& skipped);

// Append or Overwrite. Append leaves out the pages the profile has
// already. For an address added before they act on the profile
// that address was added as (base name (k) for the k-th address of its base
// name); for a new address whose profile file exists already they act on
// that file and record the address. A file that has gone is created again
// and listed when index.txt lacks it; its row then shows "www." + its name.
// Throws FileError.
SavedProfile appendToProfile(const DataFolder& folder, const SavePlan& plan,
                             const std::string& address, const std::vector<ImportRow>& rows,
                             bool notify);
SavedProfile overwriteProfile(const DataFolder& folder, const SavePlan& plan,
                              const std::string& address, const std::vector<ImportRow>& rows,
                              bool notify);

}  // namespace tarnwick
