#include "store/DataFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "common/ProductName.h"
#include "store/FileError.h"
#include "store/ProfileNames.h"

namespace tarnwick {
namespace {

bool MakeDirs(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return S_ISDIR(st.st_mode);
    }
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash))) {
        return false;
    }
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

}  // namespace

DataFolder::DataFolder(std::string programFilesPath)
    : m_strProgramFiles(std::move(programFilesPath)) {
    while (m_strProgramFiles.size() > 1 && m_strProgramFiles.back() == '/') {
        m_strProgramFiles.pop_back();
    }
}

DataFolder DataFolder::FromEnvironment() {
    if (const char* p = std::getenv("TARNWICK_PROGRAM_FILES"); p != nullptr && *p != '\0') {
        return DataFolder(p);
    }
    if (const char* x = std::getenv("XDG_DATA_HOME"); x != nullptr && *x == '/') {
        return DataFolder(x);
    }
    const char* home = std::getenv("HOME");
    return DataFolder(std::string(home != nullptr ? home : "") + "/.local/share");
}

bool DataFolder::EnsureExists() const {
    return MakeDirs(Folder());
}

void DataFolder::EnsureProfilesFolder() const {
    if (!MakeDirs(ProfilesFolderNoSlash())) {
        throw FileError(ProfilesFolderNoSlash(), errno != 0 ? errno : ENOTDIR);
    }
}

std::string DataFolder::Folder() const {
    return m_strProgramFiles + "/" + kProductName;
}
std::string DataFolder::IndexPath() const {
    return Folder() + "/index.txt";
}
std::string DataFolder::Index1Path() const {
    return Folder() + "/index1.txt";
}
std::string DataFolder::StIndexPath() const {
    return Folder() + "/stindex.txt";
}
std::string DataFolder::DummyPath() const {
    return Folder() + "/dummy.txt";
}
std::string DataFolder::ProfilesFolder() const {
    return Folder() + "/Profiles/";
}
std::string DataFolder::ProfilesFolderNoSlash() const {
    return Folder() + "/Profiles";
}
std::string DataFolder::NewTxtPath() const {
    return ProfilesFolder() + "new.txt";
}
std::string DataFolder::MailPath() const {
    return Folder() + "/Mail.txt";
}
std::string DataFolder::ChangeNotePath() const {
    return Folder() + "/change.txt";
}
std::string DataFolder::ChangeNoteTempPath() const {
    return Folder() + "/change1.txt";
}

std::string DataFolder::ProfilePath(const std::string& profileName) const {
    return ProfilesFolder() + profileName + ".txt";
}

std::string DataFolder::ProfilePathOfText(const std::string& text) const {
    return ProfilePath(ProfileName(text));
}

}  // namespace tarnwick
