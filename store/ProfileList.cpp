#include "store/ProfileList.h"

#include <unistd.h>

#include <cerrno>

#include "store/FileError.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {

std::vector<std::string> ProfileList::Read() const {
    std::vector<std::string> lines;
    StoreLineReader reader(m_folder.IndexPath());
    std::string line;
    while (reader.ReadStoreLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string ProfileList::DisplayText(const std::string& line) {
    const size_t slash = line.find_last_of('/');
    std::string name = slash == std::string::npos ? line : line.substr(slash + 1);
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) {
        name.resize(name.size() - 4);
    }
    return "www." + name;
}

int ProfileList::Add(const std::string& profilePath) const {
    AppendStoreLine(m_folder.IndexPath(), profilePath);
    // The new line is the last visible one unless an earlier empty line hides
    // it; count what a reader will see.
    StoreLineReader reader(m_folder.IndexPath());
    std::string line;
    int row = 0;
    int found = -1;
    while (reader.ReadStoreLine(line)) {
        if (line == profilePath) {
            found = row;
        }
        ++row;
    }
    return found;
}

void ProfileList::Replace(const std::string& oldPath, const std::string& newPath) const {
    StoreLineReader reader(m_folder.IndexPath());
    if (!reader.IsOpen()) {
        return;
    }
    StoreFileWriter temp(m_folder.Index1Path());
    std::string line;
    while (reader.ReadStoreLine(line)) {
        temp.WriteLine(line == oldPath ? newPath : line);
    }
    temp.CommitOver(m_folder.IndexPath());
}

bool ProfileList::Contains(const std::string& profilePath) const {
    StoreLineReader reader(m_folder.IndexPath());
    std::string line;
    while (reader.ReadStoreLine(line)) {
        if (line == profilePath) {
            return true;
        }
    }
    return false;
}

void ProfileList::Remove(const std::set<int>& rows) const {
    StoreLineReader reader(m_folder.IndexPath());
    if (!reader.IsOpen()) {
        return;
    }
    StoreFileWriter temp(m_folder.Index1Path());
    std::string line;
    int i = 0;
    bool failed = false;
    int failedErr = 0;
    std::string failedFile;
    while (reader.ReadStoreLine(line)) {
        bool drop = false;
        if (!failed && rows.count(i) != 0) {
            if (::unlink(line.c_str()) == 0 || errno == ENOENT) {
                drop = true;
            } else {
                failed = true;
                failedErr = errno;
                failedFile = line;
            }
        }
        if (!drop) {
            temp.WriteLine(line);
        }
        ++i;
    }
    const bool empty = temp.LinesWritten() == 0;
    temp.CommitOver(m_folder.IndexPath());
    if (failed) {
        throw FileError(failedFile, failedErr);
    }
    if (empty) {
        // No profile left: the store starts again from nothing.
        DeleteStoreFile(m_folder.IndexPath());
        ::rmdir(m_folder.ProfilesFolderNoSlash().c_str());  // stays while it holds files
        if (::unlink(m_folder.StIndexPath().c_str()) != 0 && errno != ENOENT) {
            throw FileError(m_folder.StIndexPath(), errno);
        }
    }
}

}  // namespace tarnwick
