// Where the store lives. The program-files path is TARNWICK_PROGRAM_FILES when
// set (tests, portable use), else the XDG data home; the data folder is that
// path + "/Osgrel Tarnwick Ambrel", and every store path is built from it.
#pragma once

#include <string>

namespace tarnwick {

class DataFolder {
public:
    explicit DataFolder(std::string programFilesPath);

    // Reads the environment anew (every operation of the program does).
    static DataFolder FromEnvironment();

    // Creates the data folder (and its parents) when missing. Returns false
    // when it cannot; the store's operations then report the files they miss.
    bool EnsureExists() const;
    // Creates the Profiles folder when missing; throws FileError when it cannot.
    void EnsureProfilesFolder() const;

    std::string Folder() const;  // without a final "/"
    std::string IndexPath() const;
    std::string Index1Path() const;
    std::string StIndexPath() const;
    std::string DummyPath() const;
    std::string ProfilesFolder() const;  // with a final "/"
    std::string ProfilesFolderNoSlash() const;
    std::string NewTxtPath() const;
    std::string MailPath() const;
    // The note of a change of address under way (old and new profile file)
    // and the temporary it is written through.
    std::string ChangeNotePath() const;
    std::string ChangeNoteTempPath() const;
    // Profiles folder + name + ".txt".
    std::string ProfilePath(const std::string& profileName) const;
    // The profile file that a display text or an address leads to.
    std::string ProfilePathOfText(const std::string& text) const;

private:
    std::string m_strProgramFiles;
};

}  // namespace tarnwick
