#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/ProfileFile.h"
#include "store/ProfileList.h"
#include "store/ProfileNames.h"
#include "store/SiteIndex.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

const std::vector<ImportRow> kRows = {
    {"http://links.example.net/partners.html", ""},
    {"http://blog.example.org/friends.html", "web@example.org"},
};

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder.EnsureProfilesFolder(); }

    test::TempDataFolder m_temp;
    const DataFolder& m_folder = m_temp.Folder();
    ProfileFile m_files{m_folder};
    std::string m_strPath = m_folder.ProfilePath("example.com");
};

TEST_F(ProfileFileTest, FirstSaveIntoAnEmptyStoreWritesThreeExactFiles) {
    const std::string address = "http://www.example.com/";
    const std::string base = BaseName(HostPart(address));
    SiteIndex index(m_folder);
    index.Record(base, address, index.Lookup(base, address));
    EXPECT_EQ(m_files.Create(m_folder.ProfilePath(base), address, kRows, false), 0);

    EXPECT_EQ(ReadBytes(m_folder.StIndexPath()), "example.com**http://www.example.com/||");
    EXPECT_EQ(ReadBytes(m_folder.IndexPath()), m_strPath);
    EXPECT_EQ(ReadBytes(m_strPath),
              "Link: http://www.example.com/\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
}

TEST_F(ProfileFileTest, CreateKeepsAFileThatExistsButListsIt) {
    WriteBytes(m_strPath, "Link: old");
    m_files.Create(m_strPath, "new", kRows, true);
    EXPECT_EQ(ReadBytes(m_strPath), "Link: old");
    EXPECT_EQ(ProfileList(m_folder).Read(), (std::vector<std::string>{m_strPath}));
}

TEST_F(ProfileFileTest, AppendKeepsTheFirstLineAndOverwriteReplacesIt) {
    m_files.Create(m_strPath, "example.com", {kRows[0]}, false);
    m_files.Append(m_strPath, "ignored", {kRows[1]}, true);
    EXPECT_EQ(ReadBytes(m_strPath),
              "Link: example.com\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||1|||");

    m_files.Overwrite(m_strPath, "www.example.com", {kRows[1]}, false);
    EXPECT_EQ(
        ReadBytes(m_strPath),
        "Link: www.example.com\r\nhttp://blog.example.org/friends.html|||web@example.org|||0|||");
    EXPECT_EQ(ProfileList(m_folder).Read().size(), 1u);
}

TEST_F(ProfileFileTest, AppendAfterAFinalLineBreakKeepsThePagesReadable) {
    WriteBytes(m_strPath, "Link: a\r\np1||| |||0|||\r\n");
    m_files.Append(m_strPath, "a", {kRows[0]}, false);
    EXPECT_EQ(ProfileFile::ReadForResults(m_strPath).m_pages.size(), 2u);
}

TEST_F(ProfileFileTest, AppendOrOverwriteOfAVanishedFileCreatesAndListsIt) {
    EXPECT_EQ(m_files.Append(m_strPath, "example.com", kRows, true), 0);
    EXPECT_EQ(ProfileFile::ReadForResults(m_strPath).m_pages.size(), 2u);
    const std::string other = m_folder.ProfilePath("other.com");
    EXPECT_EQ(m_files.Overwrite(other, "other.com", kRows, false), 1);
    EXPECT_EQ(m_files.Overwrite(other, "other.com", kRows, false), -1);
    EXPECT_EQ(ProfileList(m_folder).Read(), (std::vector<std::string>{m_strPath, other}));
}

TEST_F(ProfileFileTest, TheThreeReadersSplitLinesTheirOwnWay) {
    WriteBytes(m_strPath,
               "Lnk:  http://a.com/\r\n"
               "p1|||m1|||1|||\r\n"
               "p2|||m2|||0|||\r\n"
               "p3|||m3|||yes|||extra|||\r\n"
               "p4|||m4\r\n"
               "\r\n"
               "hidden|||x|||1|||");
    const ProfileContents results = ProfileFile::ReadForResults(m_strPath);
    EXPECT_TRUE(results.m_bExists);
    EXPECT_EQ(results.m_strAdvertiser, "http://a.com/");  // first 6 characters dropped
    EXPECT_EQ(results.m_pages, (std::vector<ProfilePage>{{"p1", "m1", "Enabled"},
                                                         {"p2", "m2", "Disabled"},
                                                         {"p3", "m3", "Disabled"},
                                                         {"p4", "m4", "Disabled"}}));
    EXPECT_EQ(ProfileFile::ReadForEdit(m_strPath).m_pages,
              (std::vector<ProfilePage>{{"p1", "m1", "Enabled"},
                                        {"p2", "m2", "Disabled"},
                                        {"p3", "m3", "Disabled"},
                                        {"p4", "", ""}}));
    EXPECT_EQ(ProfileFile::ReadAfterDelete(m_strPath).m_pages,
              (std::vector<ProfilePage>{{"p1", "m1", "Enabled"},
                                        {"p2", "m2", "Disabled"},
                                        {"p3", "m3", "Enabled"},
                                        {"p4", "", ""}}));
}

TEST_F(ProfileFileTest, MissingFilesReadAsNoPagesAndSaySo) {
    for (const auto& contents :
         {ProfileFile::ReadForResults(m_strPath), ProfileFile::ReadForEdit(m_strPath),
          ProfileFile::ReadAfterDelete(m_strPath)}) {
        EXPECT_FALSE(contents.m_bExists);
        EXPECT_TRUE(contents.m_pages.empty());
    }
    EXPECT_FALSE(m_files.DeletePages("www.example.com", {0}));
}

TEST_F(ProfileFileTest, RewriteKeepsBlankMailFieldsAndWritesEmptiedOnesEmpty) {
    m_files.Create(m_strPath, "example.com", kRows, false);
    auto pages = ProfileFile::ReadForEdit(m_strPath).m_pages;
    pages[1].m_strMail.clear();
    pages[0].m_strNotify = "Enabled";
    EXPECT_TRUE(m_files.Rewrite("www.example.com", pages));
    EXPECT_EQ(ReadBytes(m_strPath),
              "Link: example.com\r\n"
              "http://links.example.net/partners.html||| |||1|||\r\n"
              "http://blog.example.org/friends.html||||||0|||");
    EXPECT_FALSE(Exists(m_folder.NewTxtPath()));
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
    WriteBytes(m_strPath, stored);
    struct stat was {};
    ASSERT_EQ(stat(m_strPath.c_str(), &was), 0);
    std::vector<ProfilePage> pages = ProfileFile::ReadForEdit(m_strPath).m_pages;
    ASSERT_EQ(pages.size(), 2u);

    EXPECT_FALSE(m_files.Rewrite("www.example.com", pages));
    struct stat now {};
    ASSERT_EQ(stat(m_strPath.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, was.st_ino);
    EXPECT_EQ(ReadBytes(m_strPath), stored);

    pages[1].m_strMail = "w@b.example.net";
    EXPECT_TRUE(m_files.Rewrite("www.example.com", pages));
    EXPECT_EQ(ReadBytes(m_strPath),
              "Link: http://www.example.com/\r\n"
              "http://a.example.net/|||w@a.example.net|||1|||kept as it is\r\n"
              "http://b.example.net/|||w@b.example.net|||0|||");

    m_files.Create(m_folder.ProfilePath("b.com"), "b.com", kRows, true);
    ASSERT_EQ(stat(m_folder.ProfilePath("b.com").c_str(), &was), 0);
    m_files.Overwrite(m_folder.ProfilePath("b.com"), "b.com", kRows, true);
    ASSERT_EQ(stat(m_folder.ProfilePath("b.com").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, was.st_ino);
    m_files.Overwrite(m_folder.ProfilePath("b.com"), "b.com", kRows, false);
    EXPECT_EQ(ReadBytes(m_folder.ProfilePath("b.com")),
              "Link: b.com\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
}

TEST_F(ProfileFileTest, DeletePagesKeepsTheOthersInOrder) {
    WriteBytes(m_strPath, "Link: a\r\np0|||\r\np1|||\r\np2|||\r\np3|||\r\np4|||");
    EXPECT_TRUE(m_files.DeletePages("www.example.com", {0, 2}));
    EXPECT_EQ(ReadBytes(m_strPath), "Link: a\r\np1|||\r\np3|||\r\np4|||");
}

TEST_F(ProfileFileTest, ChangeAddressMovesTheFileAndItsIndexLine) {
    const std::string other = m_folder.ProfilePath("a.com");
    m_files.Create(other, "a.com", {kRows[0]}, false);
    m_files.Create(m_strPath, "http://www.example.com/", kRows, false);
    EXPECT_EQ(m_files.ChangeAddress("www.example.com", "www.example.net"), AddressChange::Moved);
    const std::string moved = m_folder.ProfilePath("example.net");
    EXPECT_FALSE(Exists(m_strPath));
    EXPECT_EQ(ReadBytes(moved),
              "Link: www.example.net\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
    EXPECT_EQ(ProfileList(m_folder).Read(), (std::vector<std::string>{other, moved}));
}

TEST_F(ProfileFileTest, ChangeAddressToTheSameNameKeepsThePages) {
    m_files.Create(m_strPath, "www.example.com", kRows, false);
    const std::string index = ReadBytes(m_folder.IndexPath());
    EXPECT_EQ(m_files.ChangeAddress("www.example.com", "http://www.example.com/links.html"),
              AddressChange::SameName);
    EXPECT_EQ(ReadBytes(m_strPath),
              "Link: http://www.example.com/links.html\r\n"
              "http://links.example.net/partners.html||| |||0|||\r\n"
              "http://blog.example.org/friends.html|||web@example.org|||0|||");
    EXPECT_EQ(ReadBytes(m_folder.IndexPath()), index);
}

TEST_F(ProfileFileTest, ChangeAddressOntoAnotherProfilesNameChangesNothing) {
    const std::string other = m_folder.ProfilePath("example.net");
    m_files.Create(m_strPath, "www.example.com", kRows, false);
    m_files.Create(other, "www.example.net", {kRows[0]}, false);
    const std::string index = ReadBytes(m_folder.IndexPath());
    const std::string mine = ReadBytes(m_strPath);
    const std::string theirs = ReadBytes(other);
    EXPECT_EQ(m_files.ChangeAddress("www.example.com", "example.net"), AddressChange::NameTaken);
    EXPECT_EQ(ReadBytes(m_folder.IndexPath()), index);
    EXPECT_EQ(ReadBytes(m_strPath), mine);
    EXPECT_EQ(ReadBytes(other), theirs);
}

// A change of address cut short leaves its note and two files; the next start
// keeps exactly one profile, whichever index.txt names, and a later change of
// that address works again.
TEST_F(ProfileFileTest, AnInterruptedChangeOfAddressIsFinishedOrUndone) {
    const std::string moved = m_folder.ProfilePath("example.net");
    const std::string note = m_strPath + "\r\n" + moved;
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
        WriteBytes(m_folder.IndexPath(), c.indexNamesNew ? moved : m_strPath);
        std::remove(m_strPath.c_str());
        std::remove(moved.c_str());
        if (c.oldFile) {
            WriteBytes(m_strPath, "Link: www.example.com\r\np|||m|||1|||");
        }
        if (c.newFile) {
            WriteBytes(moved, "Link: www.example.net\r\np|||m|||1|||");
        }
        WriteBytes(m_folder.ChangeNotePath(), note);
        m_files.FinishInterruptedChange();
        const bool keptNew = std::string(c.kept) == "new";
        EXPECT_EQ(ProfileList(m_folder).Read(),
                  std::vector<std::string>{keptNew ? moved : m_strPath})
            << c.name;
        EXPECT_EQ(Exists(moved), keptNew) << c.name;
        EXPECT_EQ(Exists(m_strPath), !keptNew) << c.name;
        EXPECT_FALSE(Exists(m_folder.ChangeNotePath())) << c.name;
        // The address can be changed again, both ways.
        EXPECT_EQ(m_files.ChangeAddress(keptNew ? "www.example.net" : "www.example.com",
                                        keptNew ? "www.example.com" : "www.example.net"),
                  AddressChange::Moved)
            << c.name;
    }
    // A note naming files outside the Profiles folder touches nothing.
    const std::string outside = m_temp.Root() + "/elsewhere.txt";
    WriteBytes(outside, "keep");
    WriteBytes(m_folder.ChangeNotePath(), outside + "\r\n" + m_strPath);
    m_files.FinishInterruptedChange();
    EXPECT_EQ(ReadBytes(outside), "keep");
    EXPECT_FALSE(Exists(m_folder.ChangeNotePath()));
}

TEST_F(ProfileFileTest, ChangeAddressWithoutIndexOrFileChangesNothing) {
    WriteBytes(m_strPath, "Link: a");
    EXPECT_EQ(m_files.ChangeAddress("www.example.com", "b.com"), AddressChange::NoIndex);
    EXPECT_EQ(ReadBytes(m_strPath), "Link: a");
    ProfileList(m_folder).Add(m_strPath);
    EXPECT_EQ(m_files.ChangeAddress("www.gone.com", "b.com"), AddressChange::FileMissing);
}

TEST_F(ProfileFileTest, NumberedThreeLabelProfilesAreFoundFromTheirDisplayText) {
    const std::string numbered = m_folder.ProfilePath("example.co.uk (2)");
    WriteBytes(numbered, "Link: a\r\np0|||\r\np1|||");
    EXPECT_TRUE(m_files.DeletePages("www.example.co.uk (2)", {1}));
    EXPECT_EQ(ReadBytes(numbered), "Link: a\r\np0|||");
}

}  // namespace
}  // namespace tarnwick
