#include "store/DataFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "common/ProductName.h"
#include "store/FileError.h"
#include "store/ProfileNames.h"

namespace tarnwick {
namespace {

bool makeDirs(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return S_ISDIR(st.st_mode);
    }
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeDirs(path.substr(0, slash))) {
        return false;
    }
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

}  // namespace

DataFolder::DataFolder(std::string programFilesPath) : m_programFiles(std::move(programFilesPath)) {
    while (m_programFiles.size() > 1 && m_programFiles.back() == '/') {
        m_programFiles.pop_back();
    }
}

DataFolder DataFolder::fromEnvironment() {
    if (const char* p = std::getenv("TARNWICK_PROGRAM_FILES"); p != nullptr && *p != '\0') {
        return DataFolder(p);
    }
    if (const char* x = std::getenv("XDG_DATA_HOME"); x != nullptr && *x == '/') {
        return DataFolder(x);
    }
    const char* home = std::getenv("HOME");
    return DataFolder(std::string(home != nullptr ? home : "") + "/.local/share");
}

bool DataFolder::ensureExists() const {
    return makeDirs(folder());
}

void DataFolder::ensureProfilesFolder() const {
    if (!makeDirs(profilesFolderNoSlash())) {
        throw FileError(profilesFolderNoSlash(), errno != 0 ? errno : ENOTDIR);
    }
}

std::string DataFolder::folder() const {
    return m_programFiles + "/" + kProductName;
}
std::string DataFolder::indexPath() const {
    return folder() + "/index.txt";
}
std::string DataFolder::index1Path() const {
    return folder() + "/index1.txt";
}
std::string DataFolder::stIndexPath() const {
    return folder() + "/stindex.txt";
}
std::string DataFolder::dummyPath() const {
    return folder() + "/dummy.txt";
}
std::string DataFolder::profilesFolder() const {
    return folder() + "/Profiles/";
}
std::string DataFolder::profilesFolderNoSlash() const {
    return folder() + "/Profiles";
}
std::string DataFolder::newTxtPath() const {
    return profilesFolder() + "new.txt";
}
std::string DataFolder::mailPath() const {
    return folder() + "/Mail.txt";
}
std::string DataFolder::changeNotePath() const {
    return folder() + "/change.txt";
}
std::string DataFolder::changeNoteTempPath() const {
    return folder() + "/change1.txt";
}

std::string DataFolder::profilePath(const std::string& profileName) const {
    return profilesFolder() + profileName + ".txt";
}

std::string DataFolder::profilePathOfText(const std::string& text) const {
    return profilePath(profileName(text));
}

}  // namespace tarnwick
