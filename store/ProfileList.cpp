#include "store/ProfileList.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "store/FileError.h"
#include "store/ProfileFile.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {

std::vector<std::string> ProfileList::read() const {
    std::vector<std::string> lines;
    StoreLineReader reader(m_folder.indexPath());
    std::string line;
    while (reader.readStoreLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string ProfileList::displayText(const std::string& line) {
    const size_t slash = line.find_last_of('/');
    std::string name = slash == std::string::npos ? line : line.substr(slash + 1);
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) {
        name.resize(name.size() - 4);
    }
    return "www." + name;
}

int ProfileList::add(const std::string& profilePath) const {
    appendStoreLine(m_folder.indexPath(), profilePath, m_folder.index1Path());
    // The new line is the last visible one unless an earlier empty line hides
    // it; count what a reader will see.
    StoreLineReader reader(m_folder.indexPath());
    std::string line;
    int row = 0;
    int found = -1;
    while (reader.readStoreLine(line)) {
        if (line == profilePath) {
            found = row;
        }
        ++row;
    }
    return found;
}

void ProfileList::replace(const std::string& oldPath, const std::string& newPath) const {
    StoreLineReader reader(m_folder.indexPath());
    if (!reader.isOpen()) {
        return;
    }
    StoreFileWriter temp(m_folder.index1Path());
    std::string line;
    while (reader.readStoreLine(line)) {
        temp.writeLine(line == oldPath ? newPath : line);
    }
    temp.commitOver(m_folder.indexPath());
}

bool ProfileList::contains(const std::string& profilePath) const {
    StoreLineReader reader(m_folder.indexPath());
    std::string line;
    while (reader.readStoreLine(line)) {
        if (line == profilePath) {
            return true;
        }
    }
    return false;
}

std::string ProfileList::ownFileOf(const std::string& line) const {
    return m_folder.profilePathOfText(displayText(line));
}

std::vector<ProfileRemoval> ProfileList::planRemove(const std::set<int>& rows) const {
    std::vector<ProfileRemoval> plan;
    const std::vector<std::string> lines = read();
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(lines.size())) {
            continue;
        }
        ProfileRemoval removal;
        removal.m_displayText = displayText(lines[row]);
        const std::string file = ownFileOf(lines[row]);
        if (fileExists(file)) {
            removal.m_file = file;
            removal.m_pages = static_cast<int>(ProfileFile::readForResults(file).m_pages.size());
        }
        plan.push_back(std::move(removal));
    }
    return plan;
}

void ProfileList::remove(const std::set<int>& rows,
                         const std::function<void(const std::string&)>& dispose) const {
    std::vector<std::string> lines;
    {
        StoreLineReader reader(m_folder.indexPath());
        if (!reader.isOpen()) {
            return;
        }
        std::string line;
        while (reader.readStoreLine(line)) {
            lines.push_back(line);
        }
    }
    std::vector<bool> gone(lines.size(), false);
    for (int row : rows) {
        if (row >= 0 && row < static_cast<int>(lines.size())) {
            gone[row] = true;
        }
    }
    const auto writeIndex = [&] {
        StoreFileWriter temp(m_folder.index1Path());
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!gone[i]) {
                temp.writeLine(lines[i]);
            }
        }
        const int left = temp.linesWritten();
        temp.commitOver(m_folder.indexPath());
        return left;
    };
    // The list changes first: a failure here leaves every file in place, and
    // a crash after it leaves at worst a profile file nobody lists.
    const int left = writeIndex();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!gone[i]) {
            continue;
        }
        // Only the program's own file goes; a line naming anything else is
        // dropped and that file left alone.
        const std::string file = ownFileOf(lines[i]);
        struct stat st {};
        try {
            if (::lstat(file.c_str(), &st) == 0) {
                dispose(file);
            }
        } catch (const FileError&) {
            // That row and the later ones come back, so every listed line
            // still has its file.
            std::fill(gone.begin() + static_cast<std::ptrdiff_t>(i), gone.end(), false);
            writeIndex();
            throw;
        }
    }
    if (left == 0) {
        // No profile left: the store starts again from nothing.
        deleteStoreFile(m_folder.indexPath());
        ::rmdir(m_folder.profilesFolderNoSlash().c_str());  // stays while it holds files
        if (::unlink(m_folder.stIndexPath().c_str()) != 0 && errno != ENOENT) {
            throw FileError(m_folder.stIndexPath(), errno);
        }
    }
}

}  // namespace tarnwick
