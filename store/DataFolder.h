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
    static DataFolder fromEnvironment();

    // Creates the data folder (and its parents) when missing. Returns false
    // when it cannot; the store's operations then report the files they miss.
    bool ensureExists() const;
    // Creates the Profiles folder when missing; throws FileError when it cannot.
    void ensureProfilesFolder() const;

    std::string folder() const;  // without a final "/"
    std::string indexPath() const;
    std::string index1Path() const;
    std::string stIndexPath() const;
    std::string dummyPath() const;
    std::string profilesFolder() const;  // with a final "/"
    std::string profilesFolderNoSlash() const;
    std::string newTxtPath() const;
    std::string mailPath() const;
    // The note of a change of address under way (old and new profile file)
    // and the temporary it is written through.
    std::string changeNotePath() const;
    std::string changeNoteTempPath() const;
    // Profiles folder + name + ".txt".
    std::string profilePath(const std::string& profileName) const;
    // The profile file that a display text or an address leads to.
    std::string profilePathOfText(const std::string& text) const;

private:
    std::string m_programFiles;
};

}  // namespace tarnwick
