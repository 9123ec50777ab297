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
std::string PageLines(const std::vector<ImportRow>& rows, bool notify, bool firstBare) {
    std::string out;
    for (const ImportRow& row : rows) {
        if (!firstBare || !out.empty()) {
            out += "\r\n";
        }
        out += row.m_strPage;
        out += kSep;
        out += row.m_strMail.empty() ? std::string(" ") : row.m_strMail;
        out += kSep;
        out += notify ? "1" : "0";
        out += kSep;
    }
    return out;
}

// Whether path is a regular file holding exactly content.
bool HoldsBytes(const std::string& path, const std::string& content) {
    FILE* file = StoreLineReader::OpenRegularFile(path);
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
bool PageFields(std::string_view rest, FlagRule rule, ProfilePage& page) {
    int field = 0;
    for (size_t end = rest.find(kSep); end != std::string_view::npos; end = rest.find(kSep)) {
        const std::string_view value = rest.substr(0, end);
        if (field == 0) {
            page.m_strPage = value;
        } else if (field == 1) {
            page.m_strMail = value;
        } else if (field == 2) {
            const bool enabled = rule == FlagRule::OneIsEnabled ? value == "1" : value != "0";
            page.m_strNotify = enabled ? "Enabled" : "Disabled";
        }
        ++field;
        rest.remove_prefix(end + kSep.size());
    }
    return field > 0;
}

std::string PageLine(const ProfilePage& row) {
    return row.m_strPage + "|||" + row.m_strMail + "|||" +
           (row.m_strNotify == "Enabled" ? "1|||" : "0|||");
}

ProfileContents ReadFields(const std::string& path, FlagRule rule) {
    ProfileContents contents;
    StoreLineReader reader(path);
    std::string line;
    if (!reader.IsOpen()) {
        return contents;
    }
    contents.m_bExists = true;
    if (!reader.ReadLine(line)) {
        return contents;
    }
    contents.m_strAdvertiser = line.size() > 6 ? line.substr(6) : std::string();
    if (line.empty()) {
        return contents;
    }
    while (reader.ReadStoreLine(line)) {
        ProfilePage page;
        if (PageFields(line, rule, page)) {
            contents.m_pages.push_back(std::move(page));
        }
    }
    return contents;
}

// Writes "\r\n" + bytes at the end of an existing file, or the bytes alone
// when the file is empty or ends with a line break (so no empty line hides
// them). Throws FileError.
void AppendToFile(const std::string& path, const std::string& linesWithoutLeadingBreak,
                  const std::string& temp) {
    if (linesWithoutLeadingBreak.empty()) {
        return;
    }
    AppendStoreLine(path, linesWithoutLeadingBreak, temp);
}

}  // namespace

ProfileContents ProfileFile::ReadForResults(const std::string& path) {
    ProfileContents contents;
    StoreLineReader reader(path);
    if (!reader.IsOpen()) {
        return contents;
    }
    contents.m_bExists = true;
    std::string line;
    if (!reader.ReadStoreLine(line)) {
        return contents;
    }
    contents.m_strAdvertiser = line.size() > 6 ? line.substr(6) : std::string();
    while (reader.ReadStoreLine(line)) {
        ProfilePage page;
        const size_t p1 = line.find(kSep);
        std::string rest;
        if (p1 == std::string::npos) {
            page.m_strPage = line;
        } else {
            page.m_strPage = line.substr(0, p1);
            rest = line.substr(p1 + kSep.size());
        }
        const size_t p2 = rest.find(kSep);
        if (p2 == std::string::npos) {
            page.m_strMail = rest;
            rest.clear();
        } else {
            page.m_strMail = rest.substr(0, p2);
            rest = rest.substr(p2 + kSep.size());
        }
        const std::string flag = rest.size() > 3 ? rest.substr(0, rest.size() - 3) : std::string();
        page.m_strNotify = flag == "1" ? "Enabled" : "Disabled";
        contents.m_pages.push_back(std::move(page));
    }
    return contents;
}

ProfileContents ProfileFile::ReadForEdit(const std::string& path) {
    return ReadFields(path, FlagRule::OneIsEnabled);
}

ProfileContents ProfileFile::ReadAfterDelete(const std::string& path) {
    return ReadFields(path, FlagRule::ZeroIsDisabled);
}

int ProfileFile::Create(const std::string& path, const std::string& advertiser,
                        const std::vector<ImportRow>& rows, bool notify) const {
    const int row = ProfileList(m_folder).Add(path);
    if (FileExists(path)) {
        return row;
    }
    StoreFileWriter file(m_folder.NewTxtPath());
    file.WriteLine("Link: " + advertiser);
    file.WriteRaw(PageLines(rows, notify, false));
    file.CommitOver(path);
    return row;
}

int ProfileFile::Append(const std::string& path, const std::string& advertiser,
                        const std::vector<ImportRow>& rows, bool notify) const {
    if (!FileExists(path)) {
        return Overwrite(path, advertiser, rows, notify);
    }
    AppendToFile(path, PageLines(rows, notify, true), m_folder.NewTxtPath());
    return -1;
}

int ProfileFile::Overwrite(const std::string& path, const std::string& advertiser,
                           const std::vector<ImportRow>& rows, bool notify) const {
    const std::string content = "Link: " + advertiser + PageLines(rows, notify, false);
    // The same list again changes nothing, and writes nothing.
    if (!HoldsBytes(path, content)) {
        // Written beside the file and renamed over it, so a failure keeps the
        // old profile whole.
        StoreFileWriter temp(m_folder.NewTxtPath());
        temp.WriteRaw(content);
        temp.CommitOver(path);
    }
    ProfileList list(m_folder);
    return list.Contains(path) ? -1 : list.Add(path);
}

bool ProfileFile::Rewrite(const std::string& text, const std::vector<ProfilePage>& rows) const {
    const std::string path = m_folder.ProfilePathOfText(text);
    // The file as it is: its first line, and each page the dialog listed
    // with the line it came from.
    std::string first;
    std::vector<std::pair<ProfilePage, std::string>> stored;
    {
        StoreLineReader reader(path);
        std::string line;
        if (reader.IsOpen() && reader.ReadLine(line) && !line.empty()) {
            first = line;
            while (reader.ReadStoreLine(line)) {
                ProfilePage page;
                if (PageFields(line, FlagRule::OneIsEnabled, page)) {
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
    StoreFileWriter temp(m_folder.NewTxtPath());
    temp.WriteLine(first.empty() ? "Link: " + text : first);
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool same = i < stored.size() && stored[i].first == rows[i];
        temp.WriteLine(same ? stored[i].second : PageLine(rows[i]));
    }
    temp.CommitOver(path);
    return true;
}

bool ProfileFile::DeletePages(const std::string& text, const std::set<int>& positions) const {
    const std::string path = m_folder.ProfilePathOfText(text);
    StoreLineReader reader(path);
    if (!reader.IsOpen()) {
        return false;
    }
    StoreFileWriter temp(m_folder.NewTxtPath());
    std::string line;
    if (reader.ReadLine(line)) {
        temp.WriteLine(line);
        int k = 0;
        while (!line.empty() && reader.ReadStoreLine(line)) {
            if (positions.count(k) == 0) {
                temp.WriteLine(line);
            }
            ++k;
        }
    }
    temp.CommitOver(path);
    return true;
}

bool ProfileFile::KeepPages(const std::string& text, const std::vector<ProfilePage>& rows) const {
    const std::string path = m_folder.ProfilePathOfText(text);
    StoreLineReader reader(path);
    if (!reader.IsOpen()) {
        return false;
    }
    std::string first;
    reader.ReadLine(first);
    StoreFileWriter temp(m_folder.NewTxtPath());
    temp.WriteLine(first);
    for (const ProfilePage& row : rows) {
        temp.WriteLine(PageLine(row));
    }
    temp.CommitOver(path);
    return true;
}

AddressChange ProfileFile::ChangeAddress(const std::string& oldText,
                                         const std::string& newText) const {
    if (!FileExists(m_folder.IndexPath())) {
        return AddressChange::NoIndex;
    }
    FinishInterruptedChange();
    const std::string oldPath = m_folder.ProfilePathOfText(oldText);
    const std::string newPath = m_folder.ProfilePathOfText(newText);
    StoreLineReader reader(oldPath);
    if (!reader.IsOpen()) {
        return AddressChange::FileMissing;
    }
    ProfileList list(m_folder);
    const bool sameName = newPath == oldPath;
    if (!sameName && (FileExists(newPath) || list.Contains(newPath))) {
        return AddressChange::NameTaken;
    }
    if (!sameName) {
        // From here until the note goes, a crash leaves two files; the note
        // tells the next start which of them to keep.
        StoreFileWriter note(m_folder.ChangeNoteTempPath());
        note.WriteLine(oldPath);
        note.WriteLine(newPath);
        note.CommitOver(m_folder.ChangeNotePath());
    }
    try {
        // The new file is complete before index.txt names it; the old one
        // goes last, so no moment leaves the profile without a file.
        StoreFileWriter temp(m_folder.NewTxtPath());
        temp.WriteLine("Link: " + newText);
        std::string line;
        if (reader.ReadLine(line) && !line.empty()) {
            while (reader.ReadStoreLine(line)) {
                temp.WriteLine(line);
            }
        }
        temp.CommitOver(newPath);
        if (sameName) {
            return AddressChange::SameName;
        }
        list.Replace(oldPath, newPath);
    } catch (const FileError&) {
        // Undo what is done; the note stays when even that fails.
        if (sameName) {
            throw;
        }
        if (!list.Contains(newPath) && ::unlink(newPath.c_str()) != 0 && errno != ENOENT) {
            throw;
        }
        ::unlink(m_folder.ChangeNotePath().c_str());
        throw;
    }
    DeleteStoreFile(oldPath);
    DeleteStoreFile(m_folder.ChangeNotePath());
    return AddressChange::Moved;
}

void ProfileFile::FinishInterruptedChange() const {
    std::string oldPath;
    std::string newPath;
    {
        StoreLineReader note(m_folder.ChangeNotePath());
        if (!note.IsOpen()) {
            return;
        }
        note.ReadStoreLine(oldPath);
        note.ReadStoreLine(newPath);
    }
    // Only the program's own profile files are ever touched, whatever the
    // note holds.
    const auto own = [this](const std::string& path) {
        const std::string folder = m_folder.ProfilesFolder();
        return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
               path.find('/', folder.size()) == std::string::npos;
    };
    if (own(oldPath) && own(newPath) && oldPath != newPath) {
        ProfileList list(m_folder);
        if (list.Contains(newPath)) {
            // index.txt was switched: the change is done but for the old file.
            if (!list.Contains(oldPath) && FileExists(oldPath)) {
                DeleteStoreFile(oldPath);
            }
        } else if (FileExists(oldPath)) {
            // index.txt still names the old file: the new one is a leftover.
            if (FileExists(newPath)) {
                DeleteStoreFile(newPath);
            }
        } else if (FileExists(newPath)) {
            list.Replace(oldPath, newPath);
        }
    }
    DeleteStoreFile(m_folder.ChangeNotePath());
}

}  // namespace tarnwick
