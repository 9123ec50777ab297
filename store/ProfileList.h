// index.txt, the profile list: one full profile-file path per line, in the
// order of the profile pane's rows (row i shows line i).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "store/DataFolder.h"

namespace tarnwick {

class ProfileList {
public:
    explicit ProfileList(DataFolder folder) : m_folder(std::move(folder)) {}

    // The lines up to the first empty line; empty when index.txt is missing.
    std::vector<std::string> Read() const;

    // "www." + the line's file name without its final ".txt".
    static std::string DisplayText(const std::string& line);

    // Appends the path (creating index.txt when missing). Returns the row the
    // path now has in the list, which is where the profile pane must show it;
    // -1 when an empty line in index.txt hides it. Throws FileError.
    int Add(const std::string& profilePath) const;

    // Writes newPath in place of every line equal to oldPath; nothing when
    // index.txt is missing. Throws FileError.
    void Replace(const std::string& oldPath, const std::string& newPath) const;

    // True when a line of the list equals the path.
    bool Contains(const std::string& profilePath) const;

    // Removes the rows and deletes their profile files. When a file cannot be
    // deleted the operation stops there: the rows removed so far are gone
    // from the list, that row and the later ones stay (so every line still
    // names a file), and FileError names the file. A file that is already
    // missing counts as deleted. When no profile is left, index.txt,
    // stindex.txt and the (then empty) Profiles folder are removed.
    void Remove(const std::set<int>& rows) const;

private:
    DataFolder m_folder;
};

}  // namespace tarnwick
