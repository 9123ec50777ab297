// A profile file: "Link: " + the advertiser's address, then one line per
// publisher page: page address|||mail address|||flag||| (flag "1" or "0").
#pragma once

#include <set>
#include <string>
#include <vector>

#include "store/DataFolder.h"

namespace tarnwick {

// One publisher page as a list shows it: notify is "Enabled" or "Disabled"
// (or empty for a line too short to carry a flag in the editing readers).
struct ProfilePage {
    std::string m_page;
    std::string m_mail;
    std::string m_notify;
    bool operator==(const ProfilePage&) const = default;
};

// A page from an imported list: its address and, possibly empty, mail address.
struct ImportRow {
    std::string m_page;
    std::string m_mail;
};

struct ProfileContents {
    bool m_exists = false;  // false: the file could not be opened, no pages
    std::string m_advertiser;
    std::vector<ProfilePage> m_pages;
};

// What a change of address did.
enum class AddressChange {
    Moved,        // the file has the new profile name; index.txt names it
    SameName,     // same profile name: the first line was rewritten in place
    NameTaken,    // another profile has that name already: nothing changed
    NoIndex,      // index.txt is missing: nothing to change on disk
    FileMissing,  // the profile's own file is missing: nothing changed
};

class ProfileFile {
public:
    explicit ProfileFile(DataFolder folder) : m_folder(std::move(folder)) {}

    // The results pane's reading: advertiser's address = first line without
    // its first 6 characters; a page is "Enabled" only for flag "1".
    static ProfileContents readForResults(const std::string& path);
    // The Edit Profile dialog's reading: fields ending at "|||"; flag "1"
    // shows "Enabled", anything else "Disabled".
    static ProfileContents readForEdit(const std::string& path);
    // The reading after pages were deleted: flag "0" shows "Disabled",
    // anything else "Enabled".
    static ProfileContents readAfterDelete(const std::string& path);

    // A new profile: adds the path to index.txt, and writes the file unless it
    // exists already. Returns the profile-pane row of the new index line (-1
    // when an earlier empty line hides it). Throws FileError.
    int create(const std::string& path, const std::string& advertiser,
               const std::vector<ImportRow>& rows, bool notify) const;

    // Appends page lines. A file that no longer exists is created with the
    // advertiser's address and added to index.txt when the list lacks it.
    // Returns the row of a newly listed path, else -1. Throws FileError.
    int append(const std::string& path, const std::string& advertiser,
               const std::vector<ImportRow>& rows, bool notify) const;

    // Replaces the file; lists it in index.txt when the list lacks it. Returns
    // the row of a newly listed path, else -1. Throws FileError.
    int overwrite(const std::string& path, const std::string& advertiser,
                  const std::vector<ImportRow>& rows, bool notify) const;

    // Rewrites the profile of text T from an edited list through new.txt,
    // when the list differs from what the file holds: the first line (the
    // advertiser's address as typed) and the lines of unchanged pages keep
    // their bytes. Returns whether the file was written. Throws FileError.
    bool rewrite(const std::string& text, const std::vector<ProfilePage>& rows) const;

    // Removes the page lines at the given positions (from 0) through new.txt.
    // Returns false when the profile file is missing (nothing changed).
    bool deletePages(const std::string& text, const std::set<int>& positions) const;

    // Writes rows as the profile's pages, keeping its first line (the list of
    // the Edit Profile dialog after a deletion, with the edits made so far).
    // Returns false when the profile file is missing (nothing changed).
    bool keepPages(const std::string& text, const std::vector<ProfilePage>& rows) const;

    // Gives the profile of the display text oldText the address newText. A
    // note in the data folder names both files while the change runs, so a
    // change cut short by a crash is finished or undone by the next
    // FinishInterruptedChange.
    AddressChange changeAddress(const std::string& oldText, const std::string& newText) const;

    // Completes a change of address that was cut short (index.txt names the
    // new file already: the old file goes) or undoes it (index.txt still
    // names the old file: the new one goes), so exactly one of the two
    // profiles is left. Nothing when no change was under way. Run at start-up
    // and before every change of address. Throws FileError.
    void finishInterruptedChange() const;

private:
    DataFolder m_folder;
};

}  // namespace tarnwick
