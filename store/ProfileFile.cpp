#include "store/ProfileFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "store/FileError.h"
#include "store/ProfileList.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {
namespace {

constexpr std::string_view kSep = "|||";

// "\n" + page|||mail|||flag||| for every imported row (a missing mail address
// is written as one blank).
std::string pageLines(const std::vector<ImportRow>& rows, bool notify, bool firstBare) {
    std::string out;
    for (const ImportRow& row : rows) {
        if (!firstBare || !out.empty()) {
            out += "\r\n";
        }
        out += row.m_page;
        out += kSep;
        out += row.m_mail.empty() ? std::string(" ") : row.m_mail;
        out += kSep;
        out += notify ? "1" : "0";
        out += kSep;
    }
    return out;
}

// Whether path is a regular file holding exactly content.
bool holdsBytes(const std::string& path, const std::string& content) {
    FILE* file = StoreLineReader::openRegularFile(path);
    if (file == nullptr) {
        return false;
    }
    std::string bytes(content.size() + 1, '\0');
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return read == content.size() && bytes.compare(0, read, content) == 0;
}

enum class FlagRule { OneIsEnabled, ZeroIsDisabled };

// The page of one line as the editing readers see it: fields ending at
// "|||". False for a line without any (not a page to them).
bool pageFields(std::string_view rest, FlagRule rule, ProfilePage& page) {
    int field = 0;
    for (size_t end = rest.find(kSep); end != std::string_view::npos; end = rest.find(kSep)) {
        const std::string_view value = rest.substr(0, end);
        if (field == 0) {
            page.m_page = value;
        } else if (field == 1) {
            page.m_mail = value;
        } else if (field == 2) {
            const bool enabled = rule == FlagRule::OneIsEnabled ? value == "1" : value != "0";
            page.m_notify = enabled ? "Enabled" : "Disabled";
        }
        ++field;
        rest.remove_prefix(end + kSep.size());
    }
    return field > 0;
}

std::string pageLine(const ProfilePage& row) {
    return row.m_page + "|||" + row.m_mail + "|||" + (row.m_notify == "Enabled" ? "1|||" : "0|||");
}

ProfileContents readFields(const std::string& path, FlagRule rule) {
    ProfileContents contents;
    StoreLineReader reader(path);
    std::string line;
    if (!reader.isOpen()) {
        return contents;
    }
    contents.m_exists = true;
    if (!reader.readLine(line)) {
        return contents;
    }
    contents.m_advertiser = line.size() > 6 ? line.substr(6) : std::string();
    if (line.empty()) {
        return contents;
    }
    while (reader.readStoreLine(line)) {
        ProfilePage page;
        if (pageFields(line, rule, page)) {
            contents.m_pages.push_back(std::move(page));
        }
    }
    return contents;
}

// Writes "\r\n" + bytes at the end of an existing file, or the bytes alone
// when the file is empty or ends with a line break (so no empty line hides
// them). Throws FileError.
void appendToFile(const std::string& path, const std::string& linesWithoutLeadingBreak,
                  const std::string& temp) {
    if (linesWithoutLeadingBreak.empty()) {
        return;
    }
    appendStoreLine(path, linesWithoutLeadingBreak, temp);
}

}  // namespace

ProfileContents ProfileFile::readForResults(const std::string& path) {
    ProfileContents contents;
    StoreLineReader reader(path);
    if (!reader.isOpen()) {
        return contents;
    }
    contents.m_exists = true;
    std::string line;
    if (!reader.readStoreLine(line)) {
        return contents;
    }
    contents.m_advertiser = line.size() > 6 ? line.substr(6) : std::string();
    while (reader.readStoreLine(line)) {
        ProfilePage page;
        const size_t p1 = line.find(kSep);
        std::string rest;
        if (p1 == std::string::npos) {
            page.m_page = line;
        } else {
            page.m_page = line.substr(0, p1);
            rest = line.substr(p1 + kSep.size());
        }
        const size_t p2 = rest.find(kSep);
        if (p2 == std::string::npos) {
            page.m_mail = rest;
            rest.clear();
        } else {
            page.m_mail = rest.substr(0, p2);
            rest = rest.substr(p2 + kSep.size());
        }
        const std::string flag = rest.size() > 3 ? rest.substr(0, rest.size() - 3) : std::string();
        page.m_notify = flag == "1" ? "Enabled" : "Disabled";
        contents.m_pages.push_back(std::move(page));
    }
    return contents;
}

ProfileContents ProfileFile::readForEdit(const std::string& path) {
    return readFields(path, FlagRule::OneIsEnabled);
}

ProfileContents ProfileFile::readAfterDelete(const std::string& path) {
    return readFields(path, FlagRule::ZeroIsDisabled);
}

int ProfileFile::create(const std::string& path, const std::string& advertiser,
                        const std::vector<ImportRow>& rows, bool notify) const {
    const int row = ProfileList(m_folder).add(path);
    if (fileExists(path)) {
        return row;
    }
    StoreFileWriter file(m_folder.newTxtPath());
    file.writeLine("Link: " + advertiser);
    file.writeRaw(pageLines(rows, notify, false));
    file.commitOver(path);
    return row;
}

int ProfileFile::append(const std::string& path, const std::string& advertiser,
                        const std::vector<ImportRow>& rows, bool notify) const {
    if (!fileExists(path)) {
        return overwrite(path, advertiser, rows, notify);
    }
    appendToFile(path, pageLines(rows, notify, true), m_folder.newTxtPath());
    return -1;
}

int ProfileFile::overwrite(const std::string& path, const std::string& advertiser,
                           const std::vector<ImportRow>& rows, bool notify) const {
    const std::string content = "Link: " + advertiser + pageLines(rows, notify, false);
    // The same list again changes nothing, and writes nothing.
    if (!holdsBytes(path, content)) {
        // Written beside the file and renamed over it, so a failure keeps the
        // old profile whole.
        StoreFileWriter temp(m_folder.newTxtPath());
        temp.writeRaw(content);
        temp.commitOver(path);
    }
    ProfileList list(m_folder);
    return list.contains(path) ? -1 : list.add(path);
}

bool ProfileFile::rewrite(const std::string& text, const std::vector<ProfilePage>& rows) const {
    const std::string path = m_folder.profilePathOfText(text);
    // The file as it is: its first line, and each page the dialog listed
    // with the line it came from.
    std::string first;
    std::vector<std::pair<ProfilePage, std::string>> stored;
    {
        StoreLineReader reader(path);
        std::string line;
        if (reader.isOpen() && reader.readLine(line) && !line.empty()) {
            first = line;
            while (reader.readStoreLine(line)) {
                ProfilePage page;
                if (pageFields(line, FlagRule::OneIsEnabled, page)) {
                    stored.emplace_back(std::move(page), line);
                }
            }
        }
    }
    if (!first.empty() && stored.size() == rows.size() &&
        std::equal(rows.begin(), rows.end(), stored.begin(),
                   [](const ProfilePage& row, const auto& kept) { return row == kept.first; })) {
        return false;  // nothing the user changed: not a byte is written
    }
    // The advertiser's address as it was typed (the list shows the profile's
    // display text, which may be shorter), and every page the user left as
    // it was in its own bytes.
    StoreFileWriter temp(m_folder.newTxtPath());
    temp.writeLine(first.empty() ? "Link: " + text : first);
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool same = i < stored.size() && stored[i].first == rows[i];
        temp.writeLine(same ? stored[i].second : pageLine(rows[i]));
    }
    temp.commitOver(path);
    return true;
}

bool ProfileFile::deletePages(const std::string& text, const std::set<int>& positions) const {
    const std::string path = m_folder.profilePathOfText(text);
    StoreLineReader reader(path);
    if (!reader.isOpen()) {
        return false;
    }
    StoreFileWriter temp(m_folder.newTxtPath());
    std::string line;
    if (reader.readLine(line)) {
        temp.writeLine(line);
        int k = 0;
        while (!line.empty() && reader.readStoreLine(line)) {
            if (positions.count(k) == 0) {
                temp.writeLine(line);
            }
            ++k;
        }
    }
    temp.commitOver(path);
    return true;
}

bool ProfileFile::keepPages(const std::string& text, const std::vector<ProfilePage>& rows) const {
    const std::string path = m_folder.profilePathOfText(text);
    StoreLineReader reader(path);
    if (!reader.isOpen()) {
        return false;
    }
    std::string first;
    reader.readLine(first);
    StoreFileWriter temp(m_folder.newTxtPath());
    temp.writeLine(first);
    for (const ProfilePage& row : rows) {
        temp.writeLine(pageLine(row));
    }
    temp.commitOver(path);
    return true;
}

AddressChange ProfileFile::changeAddress(const std::string& oldText,
                                         const std::string& newText) const {
    if (!fileExists(m_folder.indexPath())) {
        return AddressChange::NoIndex;
    }
    finishInterruptedChange();
    const std::string oldPath = m_folder.profilePathOfText(oldText);
    const std::string newPath = m_folder.profilePathOfText(newText);
    StoreLineReader reader(oldPath);
    if (!reader.isOpen()) {
        return AddressChange::FileMissing;
    }
    ProfileList list(m_folder);
    const bool sameName = newPath == oldPath;
    if (!sameName && (fileExists(newPath) || list.contains(newPath))) {
        return AddressChange::NameTaken;
    }
    if (!sameName) {
        // From here until the note goes, a crash leaves two files; the note
        // tells the next start which of them to keep.
        StoreFileWriter note(m_folder.changeNoteTempPath());
        note.writeLine(oldPath);
        note.writeLine(newPath);
        note.commitOver(m_folder.changeNotePath());
    }
    try {
        // The new file is complete before index.txt names it; the old one
        // goes last, so no moment leaves the profile without a file.
        StoreFileWriter temp(m_folder.newTxtPath());
        temp.writeLine("Link: " + newText);
        std::string line;
        if (reader.readLine(line) && !line.empty()) {
            while (reader.readStoreLine(line)) {
                temp.writeLine(line);
            }
        }
        temp.commitOver(newPath);
        if (sameName) {
            return AddressChange::SameName;
        }
        list.replace(oldPath, newPath);
    } catch (const FileError&) {
        // Undo what is done; the note stays when even that fails.
        if (sameName) {
            throw;
        }
        if (!list.contains(newPath) && ::unlink(newPath.c_str()) != 0 && errno != ENOENT) {
            throw;
        }
        ::unlink(m_folder.changeNotePath().c_str());
        throw;
    }
    deleteStoreFile(oldPath);
    deleteStoreFile(m_folder.changeNotePath());
    return AddressChange::Moved;
}

void ProfileFile::finishInterruptedChange() const {
    std::string oldPath;
    std::string newPath;
    {
        StoreLineReader note(m_folder.changeNotePath());
        if (!note.isOpen()) {
            return;
        }
        note.readStoreLine(oldPath);
        note.readStoreLine(newPath);
    }
    // Only the program's own profile files are ever touched, whatever the
    // note holds.
    const auto own = [this](const std::string& path) {
        const std::string folder = m_folder.profilesFolder();
        return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
               path.find('/', folder.size()) == std::string::npos;
    };
    if (own(oldPath) && own(newPath) && oldPath != newPath) {
        ProfileList list(m_folder);
        if (list.contains(newPath)) {
            // index.txt was switched: the change is done but for the old file.
            if (!list.contains(oldPath) && fileExists(oldPath)) {
                deleteStoreFile(oldPath);
            }
        } else if (fileExists(oldPath)) {
            // index.txt still names the old file: the new one is a leftover.
            if (fileExists(newPath)) {
                deleteStoreFile(newPath);
            }
        } else if (fileExists(newPath)) {
            list.replace(oldPath, newPath);
        }
    }
    deleteStoreFile(m_folder.changeNotePath());
}

}  // namespace tarnwick
