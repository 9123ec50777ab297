// Profiles written straight into a test's data folder, byte for byte, and
// listed in index.txt as the program lists them.
#pragma once

#include <string>
#include <vector>

#include "store/DataFolder.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

namespace tarnwick::test {

// Writes Profiles/<name>.txt with the first line and the page lines (CR LF
// between lines) and appends it to index.txt. Returns the file's path.
inline std::string addProfile(const DataFolder& folder, const std::string& name,
                              const std::string& firstLine,
                              const std::vector<std::string>& pageLines) {
    folder.ensureProfilesFolder();
    std::string path = folder.profilePath(name);
    std::string bytes = firstLine;
    for (const std::string& line : pageLines) {
        bytes += "\r\n" + line;
    }
    writeBytes(path, bytes);
    ProfileList(folder).add(path);
    return path;
}

// A page line: address|||mail|||flag|||.
inline std::string page(const std::string& address, const std::string& mail = "w@example.org",
                        const std::string& flag = "1") {
    return address + "|||" + mail + "|||" + flag + "|||";
}

}  // namespace tarnwick::test
