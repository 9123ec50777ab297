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
    std::string m_strBaseName;  // base name of the address's host part
    std::string m_strBasePath;  // the base name's profile file
    // The profile a new address gets (the base name, or base name (k)); for
    // an address added before, the profile it was added as.
    std::string m_strNewName;
    std::string m_strNewPath;
    // The address is new but a profile file of that name exists already (a
    // profile's address was changed onto that name): the user appends to it
    // or overwrites it, as for an address added before.
    bool m_bNewPathTaken = false;

    // Whether the user chooses between Append and Overwrite.
    bool AsksAppendOrOverwrite() const {
        return m_lookup.m_eKind == SiteLookup::Kind::AddressFound || m_bNewPathTaken;
    }
};

// Where the address goes. Creates the data folder and the Profiles folder
// when they are missing (throws FileError when it cannot).
SavePlan PlanSave(const DataFolder& folder, const std::string& address);

struct SavedProfile {
    // Profile-pane row of a newly listed profile file (the row of its line in
    // index.txt), -1 when nothing new is listed or an empty line hides it.
    int m_nRow = -1;
    std::string m_strDisplayText;  // what that row shows
};

// A new profile for a plan whose address was not found: records the address
// in the site index and creates the profile (base name, or base name (k)).
// The row shows the address as typed, or "www." + the numbered name.
// Throws FileError.
SavedProfile SaveNewProfile(const DataFolder& folder, const SavePlan& plan,
                            const std::string& address, const std::vector<ImportRow>& rows,
                            bool notify);

// Append or Overwrite. For an address added before they act on the profile
// that address was added as (base name (k) for the k-th address of its base
// name); for a new address whose profile file exists already they act on
// that file and record the address. A file that has gone is created again
// and listed when index.txt lacks it; its row then shows "www." + its name.
// Throws FileError.
SavedProfile AppendToProfile(const DataFolder& folder, const SavePlan& plan,
                             const std::string& address, const std::vector<ImportRow>& rows,
                             bool notify);
SavedProfile OverwriteProfile(const DataFolder& folder, const SavePlan& plan,
                              const std::string& address, const std::vector<ImportRow>& rows,
                              bool notify);

}  // namespace tarnwick
