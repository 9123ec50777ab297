// index.txt, the profile list: one full profile-file path per line, in the
// order of the profile pane's rows (row i shows line i).
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "store/DataFolder.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {

struct ProfileRemoval {
    std::string m_displayText;
    int m_pages = 0;
    std::string m_file;  // empty when the profile has no file
};

class ProfileList {
public:
    explicit ProfileList(DataFolder folder) : m_folder(std::move(folder)) {}

    // The lines up to the first empty line; empty when index.txt is missing.
    std::vector<std::string> read() const;

    // "www." + the line's file name without its final ".txt".
    static std::string displayText(const std::string& line);

    // Appends the path (creating index.txt when missing). Returns the row the
    // path now has in the list, which is where the profile pane must show it;
    // -1 when an empty line in index.txt hides it. Throws FileError.
    int add(const std::string& profilePath) const;

    // Writes newPath in place of every line equal to oldPath; nothing when
    // index.txt is missing. Throws FileError.
    void replace(const std::string& oldPath, const std::string& newPath) const;

    // True when a line of the list equals the path.
    bool contains(const std::string& profilePath) const;

    // The file a row's profile lives in, the one every reader opens for it:
    // Profiles/<name>.txt inside this data folder, whatever path the line
    // holds (a copied or moved data folder keeps the old folder's paths).
    std::string ownFileOf(const std::string& line) const;

    // What deleting the rows would remove, in list order: each row's display
    // text, its page count and the file that goes (OwnFileOf; empty when
    // there is none).
    std::vector<ProfileRemoval> planRemove(const std::set<int>& rows) const;

    // Removes the rows from the list, then hands their profile files
    // (OwnFileOf, never the path a line names) to dispose: deleting by
    // default, the desktop's trash in the desktop program. When dispose
    // throws FileError the operation stops there: the rows removed so far are
    // gone from the list, that row and the later ones are listed again, and
    // the error goes on. A file that is
    // already missing counts as removed. When no profile is left, index.txt,
    // stindex.txt and the (then empty) Profiles folder are removed.
    void remove(const std::set<int>& rows,
                const std::function<void(const std::string&)>& dispose = deleteStoreFile) const;

private:
    DataFolder m_folder;
};

}  // namespace tarnwick
