#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/ProfileFile.h"
#include "store/ProfileList.h"
#include "store/ProfileNames.h"
#include "store/SiteIndex.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::exists;
using test::readBytes;
using test::writeBytes;

const std::vector<ImportRow> kRows = {
    {"http://links.example.net/partners.html", ""},
    {"http://blog.example.org/friends.html", "web@example.org"},
};

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder.ensureProfilesFolder(); }

    test::TempDataFolder m_temp;
    const DataFolder& m_folder = m_temp.folder();
    ProfileFile m_files{m_folder};
    std::string m_path = m_folder.profilePath("example.com");
};

TEST_F(ProfileFileTest, FirstSaveIntoAnEmptyStoreWritesThreeExactFiles) {
    const std::string address = "http://www.example.com/";
    const std::string base = baseName(hostPart(address));
    SiteIndex index(m_folder);
    index.record(base, address, index.lookup(base, address));
    EXPECT_EQ(m_files.create(m_folder.profilePath(base), address, kRows, false), 0);

    EXPECT_EQ(readBytes(m_folder.stIndexPath()), "example.com**http://www.example.com/||");
    EXPECT_EQ(readBytes(m_folder.indexPath()), m_path);
    EXPECT_EQ(readBytes(m_path),
              "Link: http://www.example.com/\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
}

TEST_F(ProfileFileTest, CreateKeepsAFileThatExistsButListsIt) {
    writeBytes(m_path, "Link: old");
    m_files.create(m_path, "new", kRows, true);
    EXPECT_EQ(readBytes(m_path), "Link: old");
    EXPECT_EQ(ProfileList(m_folder).read(), (std::vector<std::string>{m_path}));
}

TEST_F(ProfileFileTest, AppendKeepsTheFirstLineAndOverwriteReplacesIt) {
    m_files.create(m_path, "example.com", {kRows[0]}, false);
    m_files.append(m_path, "ignored", {kRows[1]}, true);
    EXPECT_EQ(readBytes(m_path),
              "Link: example.com\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||1|||");

    m_files.overwrite(m_path, "www.example.com", {kRows[1]}, false);
    EXPECT_EQ(
        readBytes(m_path),
        "Link: www.example.com\r\nhttp://blog.example.org/friends.html|||web@example.org|||0|||");
    EXPECT_EQ(ProfileList(m_folder).read().size(), 1u);
}

TEST_F(ProfileFileTest, AppendAfterAFinalLineBreakKeepsThePagesReadable) {
    writeBytes(m_path, "Link: a\r\np1||| |||0|||\r\n");
    m_files.append(m_path, "a", {kRows[0]}, false);
    EXPECT_EQ(ProfileFile::readForResults(m_path).m_pages.size(), 2u);
}

TEST_F(ProfileFileTest, AppendOrOverwriteOfAVanishedFileCreatesAndListsIt) {
    EXPECT_EQ(m_files.append(m_path, "example.com", kRows, true), 0);
    EXPECT_EQ(ProfileFile::readForResults(m_path).m_pages.size(), 2u);
    const std::string other = m_folder.profilePath("other.com");
    EXPECT_EQ(m_files.overwrite(other, "other.com", kRows, false), 1);
    EXPECT_EQ(m_files.overwrite(other, "other.com", kRows, false), -1);
    EXPECT_EQ(ProfileList(m_folder).read(), (std::vector<std::string>{m_path, other}));
}

TEST_F(ProfileFileTest, TheThreeReadersSplitLinesTheirOwnWay) {
    writeBytes(m_path,
               "Lnk:  http://a.com/\r\n"
               "p1|||m1|||1|||\r\n"
               "p2|||m2|||0|||\r\n"
               "p3|||m3|||yes|||extra|||\r\n"
               "p4|||m4\r\n"
               "\r\n"
               "hidden|||x|||1|||");
    const ProfileContents results = ProfileFile::readForResults(m_path);
    EXPECT_TRUE(results.m_exists);
    EXPECT_EQ(results.m_advertiser, "http://a.com/");  // first 6 characters dropped
    EXPECT_EQ(results.m_pages, (std::vector<ProfilePage>{{"p1", "m1", "Enabled"},
                                                         {"p2", "m2", "Disabled"},
                                                         {"p3", "m3", "Disabled"},
                                                         {"p4", "m4", "Disabled"}}));
    EXPECT_EQ(ProfileFile::readForEdit(m_path).m_pages,
              (std::vector<ProfilePage>{{"p1", "m1", "Enabled"},
                                        {"p2", "m2", "Disabled"},
                                        {"p3", "m3", "Disabled"},
                                        {"p4", "", ""}}));
    EXPECT_EQ(ProfileFile::readAfterDelete(m_path).m_pages,
              (std::vector<ProfilePage>{{"p1", "m1", "Enabled"},
                                        {"p2", "m2", "Disabled"},
                                        {"p3", "m3", "Enabled"},
                                        {"p4", "", ""}}));
}

TEST_F(ProfileFileTest, MissingFilesReadAsNoPagesAndSaySo) {
    for (const auto& contents :
         {ProfileFile::readForResults(m_path), ProfileFile::readForEdit(m_path),
          ProfileFile::readAfterDelete(m_path)}) {
        EXPECT_FALSE(contents.m_exists);
        EXPECT_TRUE(contents.m_pages.empty());
    }
    EXPECT_FALSE(m_files.deletePages("www.example.com", {0}));
}

TEST_F(ProfileFileTest, RewriteKeepsBlankMailFieldsAndWritesEmptiedOnesEmpty) {
    m_files.create(m_path, "example.com", kRows, false);
    auto pages = ProfileFile::readForEdit(m_path).m_pages;
    pages[1].m_mail.clear();
    pages[0].m_notify = "Enabled";
    EXPECT_TRUE(m_files.rewrite("www.example.com", pages));
    EXPECT_EQ(readBytes(m_path),
              "Link: example.com\r\n"
              "http://links.example.net/partners.html||| |||1|||\r\n"
              "http://blog.example.org/friends.html||||||0|||");
    EXPECT_FALSE(exists(m_folder.newTxtPath()));
}

// The Edit Profile list shows the profile's display text, not the address
// as typed: a rewrite keeps the address line, and every page line the user
// left alone keeps its bytes; a list without a change writes nothing. The
// same holds for the wizard's Overwrite with the same list.
TEST_F(ProfileFileTest, RewritesChangeOnlyWhatTheUserChanged) {
    const std::string stored =
        "Link: http://www.example.com/\r\n"
        "http://a.example.net/|||w@a.example.net|||1|||kept as it is\r\n"
        "no fields here\r\n"
        "http://b.example.net/||| |||0|||";
    writeBytes(m_path, stored);
    struct stat was {};
    ASSERT_EQ(stat(m_path.c_str(), &was), 0);
    std::vector<ProfilePage> pages = ProfileFile::readForEdit(m_path).m_pages;
    ASSERT_EQ(pages.size(), 2u);

    EXPECT_FALSE(m_files.rewrite("www.example.com", pages));
    struct stat now {};
    ASSERT_EQ(stat(m_path.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, was.st_ino);
    EXPECT_EQ(readBytes(m_path), stored);

    pages[1].m_mail = "w@b.example.net";
    EXPECT_TRUE(m_files.rewrite("www.example.com", pages));
    EXPECT_EQ(readBytes(m_path),
              "Link: http://www.example.com/\r\n"
              "http://a.example.net/|||w@a.example.net|||1|||kept as it is\r\n"
              "http://b.example.net/|||w@b.example.net|||0|||");

    m_files.create(m_folder.profilePath("b.com"), "b.com", kRows, true);
    ASSERT_EQ(stat(m_folder.profilePath("b.com").c_str(), &was), 0);
    m_files.overwrite(m_folder.profilePath("b.com"), "b.com", kRows, true);
    ASSERT_EQ(stat(m_folder.profilePath("b.com").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, was.st_ino);
    m_files.overwrite(m_folder.profilePath("b.com"), "b.com", kRows, false);
    EXPECT_EQ(readBytes(m_folder.profilePath("b.com")),
              "Link: b.com\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
}

TEST_F(ProfileFileTest, DeletePagesKeepsTheOthersInOrder) {
    writeBytes(m_path, "Link: a\r\np0|||\r\np1|||\r\np2|||\r\np3|||\r\np4|||");
    EXPECT_TRUE(m_files.deletePages("www.example.com", {0, 2}));
    EXPECT_EQ(readBytes(m_path), "Link: a\r\np1|||\r\np3|||\r\np4|||");
}

TEST_F(ProfileFileTest, ChangeAddressMovesTheFileAndItsIndexLine) {
    const std::string other = m_folder.profilePath("a.com");
    m_files.create(other, "a.com", {kRows[0]}, false);
    m_files.create(m_path, "http://www.example.com/", kRows, false);
    EXPECT_EQ(m_files.changeAddress("www.example.com", "www.example.net"), AddressChange::Moved);
    const std::string moved = m_folder.profilePath("example.net");
    EXPECT_FALSE(exists(m_path));
    EXPECT_EQ(readBytes(moved),
              "Link: www.example.net\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
    EXPECT_EQ(ProfileList(m_folder).read(), (std::vector<std::string>{other, moved}));
}

TEST_F(ProfileFileTest, ChangeAddressToTheSameNameKeepsThePages) {
    m_files.create(m_path, "www.example.com", kRows, false);
    const std::string index = readBytes(m_folder.indexPath());
    EXPECT_EQ(m_files.changeAddress("www.example.com", "http://www.example.com/links.html"),
              AddressChange::SameName);
    EXPECT_EQ(readBytes(m_path),
              "Link: http://www.example.com/links.html\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
    EXPECT_EQ(readBytes(m_folder.indexPath()), index);
}

TEST_F(ProfileFileTest, ChangeAddressOntoAnotherProfilesNameChangesNothing) {
    const std::string other = m_folder.profilePath("example.net");
    m_files.create(m_path, "www.example.com", kRows, false);
    m_files.create(other, "www.example.net", {kRows[0]}, false);
    const std::string index = readBytes(m_folder.indexPath());
    const std::string mine = readBytes(m_path);
    const std::string theirs = readBytes(other);
    EXPECT_EQ(m_files.changeAddress("www.example.com", "example.net"), AddressChange::NameTaken);
    EXPECT_EQ(readBytes(m_folder.indexPath()), index);
    EXPECT_EQ(readBytes(m_path), mine);
    EXPECT_EQ(readBytes(other), theirs);
}

// A change of address cut short leaves its note and two files; the next start
// keeps exactly one profile, whichever index.txt names, and a later change of
// that address works again.
TEST_F(ProfileFileTest, AnInterruptedChangeOfAddressIsFinishedOrUndone) {
    const std::string moved = m_folder.profilePath("example.net");
    const std::string note = m_path + "\r\n" + moved;
    struct Case {
        const char* name;
        bool indexNamesNew, oldFile, newFile;
        const char* kept;  // "old" or "new"
    };
    const std::vector<Case> cases = {
        {"new file written, list not yet switched", false, true, true, "old"},
        {"new file half way (not yet renamed)", false, true, false, "old"},
        {"list switched, old file not yet removed", true, true, true, "new"},
        {"old file removed, note left", true, false, true, "new"},
        {"old file gone while the list names it", false, false, true, "new"},
    };
    for (const Case& c : cases) {
        writeBytes(m_folder.indexPath(), c.indexNamesNew ? moved : m_path);
        std::remove(m_path.c_str());
        std::remove(moved.c_str());
        if (c.oldFile) {
            writeBytes(m_path, "Link: www.example.com\r\np|||m|||1|||");
        }
        if (c.newFile) {
            writeBytes(moved, "Link: www.example.net\r\np|||m|||1|||");
        }
        writeBytes(m_folder.changeNotePath(), note);
        m_files.finishInterruptedChange();
        const bool keptNew = std::string(c.kept) == "new";
        EXPECT_EQ(ProfileList(m_folder).read(), std::vector<std::string>{keptNew ? moved : m_path})
            << c.name;
        EXPECT_EQ(exists(moved), keptNew) << c.name;
        EXPECT_EQ(exists(m_path), !keptNew) << c.name;
        EXPECT_FALSE(exists(m_folder.changeNotePath())) << c.name;
        // The address can be changed again, both ways.
        EXPECT_EQ(m_files.changeAddress(keptNew ? "www.example.net" : "www.example.com",
                                        keptNew ? "www.example.com" : "www.example.net"),
                  AddressChange::Moved)
            << c.name;
    }
    // A note naming files outside the Profiles folder touches nothing.
    const std::string outside = m_temp.root() + "/elsewhere.txt";
    writeBytes(outside, "keep");
    writeBytes(m_folder.changeNotePath(), outside + "\r\n" + m_path);
    m_files.finishInterruptedChange();
    EXPECT_EQ(readBytes(outside), "keep");
    EXPECT_FALSE(exists(m_folder.changeNotePath()));
}

TEST_F(ProfileFileTest, ChangeAddressWithoutIndexOrFileChangesNothing) {
    writeBytes(m_path, "Link: a");
    EXPECT_EQ(m_files.changeAddress("www.example.com", "b.com"), AddressChange::NoIndex);
    EXPECT_EQ(readBytes(m_path), "Link: a");
    ProfileList(m_folder).add(m_path);
    EXPECT_EQ(m_files.changeAddress("www.gone.com", "b.com"), AddressChange::FileMissing);
}

TEST_F(ProfileFileTest, NumberedThreeLabelProfilesAreFoundFromTheirDisplayText) {
    const std::string numbered = m_folder.profilePath("example.co.uk (2)");
    writeBytes(numbered, "Link: a\r\np0|||\r\np1|||");
    EXPECT_TRUE(m_files.deletePages("www.example.co.uk (2)", {1}));
    EXPECT_EQ(readBytes(numbered), "Link: a\r\np0|||");
}

}  // namespace
}  // namespace tarnwick
