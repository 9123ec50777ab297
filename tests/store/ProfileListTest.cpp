#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/FileError.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

class ProfileListTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder.EnsureProfilesFolder(); }

    // Five profiles a..e, each with a file.
    std::vector<std::string> MakeFive() {
        std::vector<std::string> paths;
        for (const char* name : {"a.com", "b.com", "c.com", "d.com", "e.com"}) {
            const std::string path = m_folder.ProfilePath(name);
            WriteBytes(path, std::string("Link: ") + name);
            m_list.Add(path);
            paths.push_back(path);
        }
        return paths;
    }

    test::TempDataFolder m_temp;
    const DataFolder& m_folder = m_temp.Folder();
    ProfileList m_list{m_folder};
};

TEST_F(ProfileListTest, MissingIndexIsAnEmptyList) {
    EXPECT_TRUE(m_list.Read().empty());
}

TEST_F(ProfileListTest, AddWritesFullPathsSeparatedByCrLf) {
    const std::string a = m_folder.ProfilePath("example.com");
    const std::string b = m_folder.ProfilePath("example.com (2)");
    EXPECT_EQ(m_list.Add(a), 0);
    EXPECT_EQ(ReadBytes(m_folder.IndexPath()), a);
    EXPECT_EQ(m_list.Add(b), 1);
    EXPECT_EQ(ReadBytes(m_folder.IndexPath()), a + "\r\n" + b);
    EXPECT_EQ(m_list.Read(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(m_temp.Root() + "/Osgrel Tarnwick Ambrel/Profiles/example.com.txt", a);
}

TEST_F(ProfileListTest, AddAfterAnEditorsFinalLineBreakStaysVisible) {
    WriteBytes(m_folder.IndexPath(), "/x/a.com.txt\r\n");
    EXPECT_EQ(m_list.Add("/x/b.com.txt"), 1);
    EXPECT_EQ(m_list.Read(), (std::vector<std::string>{"/x/a.com.txt", "/x/b.com.txt"}));
}

TEST_F(ProfileListTest, AnEmptyLineHidesLaterProfilesAndAddSaysSo) {
    WriteBytes(m_folder.IndexPath(), "/x/a.com.txt\r\n\r\n/x/b.com.txt");
    EXPECT_EQ(m_list.Read(), (std::vector<std::string>{"/x/a.com.txt"}));
    EXPECT_EQ(m_list.Add("/x/c.com.txt"), -1);
}

TEST_F(ProfileListTest, DisplayText) {
    EXPECT_EQ(ProfileList::DisplayText("/d/Profiles/example.com.txt"), "www.example.com");
    EXPECT_EQ(ProfileList::DisplayText("/d/Profiles/example.com (2).txt"), "www.example.com (2)");
    EXPECT_EQ(ProfileList::DisplayText("/d/Profiles/mytxtsite.com.txt"), "www.mytxtsite.com");
    EXPECT_EQ(ProfileList::DisplayText("noslash"), "www.noslash");
}

TEST_F(ProfileListTest, ReplaceRewritesMatchingLinesOnly) {
    const auto paths = MakeFive();
    m_list.Replace(paths[1], "/new/path.txt");
    auto expected = paths;
    expected[1] = "/new/path.txt";
    EXPECT_EQ(m_list.Read(), expected);
    EXPECT_FALSE(Exists(m_folder.Index1Path()));
}

TEST_F(ProfileListTest, RemoveDropsTheRowsAndDeletesTheirFiles) {
    const auto paths = MakeFive();
    WriteBytes(m_folder.StIndexPath(), "a.com**a.com||");
    m_list.Remove({1, 3});
    EXPECT_EQ(ReadBytes(m_folder.IndexPath()), paths[0] + "\r\n" + paths[2] + "\r\n" + paths[4]);
    EXPECT_FALSE(Exists(paths[1]));
    EXPECT_FALSE(Exists(paths[3]));
    EXPECT_TRUE(Exists(paths[0]));
    EXPECT_TRUE(Exists(m_folder.StIndexPath()));  // the site index only grows
}

TEST_F(ProfileListTest, RemovingTheLastProfilesEmptiesTheStore) {
    MakeFive();
    WriteBytes(m_folder.StIndexPath(), "a.com**a.com||");
    m_list.Remove({0, 1, 2, 3, 4});
    EXPECT_FALSE(Exists(m_folder.IndexPath()));
    EXPECT_FALSE(Exists(m_folder.StIndexPath()));
    EXPECT_FALSE(Exists(m_folder.ProfilesFolderNoSlash()));
}

TEST_F(ProfileListTest, AStrayFileKeepsTheProfilesFolder) {
    MakeFive();
    WriteBytes(m_folder.NewTxtPath(), "stray");
    m_list.Remove({0, 1, 2, 3, 4});
    EXPECT_FALSE(Exists(m_folder.IndexPath()));
    EXPECT_TRUE(Exists(m_folder.NewTxtPath()));
}

TEST_F(ProfileListTest, AProfileFileAlreadyGoneStillLeavesTheList) {
    const auto paths = MakeFive();
    std::remove(paths[2].c_str());
    m_list.Remove({2});
    EXPECT_EQ(m_list.Read().size(), 4u);
}

TEST_F(ProfileListTest, AFileThatCannotBeDeletedStopsTheRemovalConsistently) {
    const auto paths = MakeFive();
    // A folder in place of c.com's file cannot be unlinked, not even by root.
    std::remove(paths[2].c_str());
    ASSERT_EQ(::mkdir(paths[2].c_str(), 0755), 0);
    try {
        m_list.Remove({1, 2, 3});
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), paths[2]);
    }
    // b is gone from list and disk; c and d (after the failure) both stay.
    EXPECT_EQ(m_list.Read(), (std::vector<std::string>{paths[0], paths[2], paths[3], paths[4]}));
    EXPECT_FALSE(Exists(paths[1]));
    EXPECT_TRUE(Exists(paths[3]));
}

// The file removed for a row is the one every reader opens for it, inside
// this data folder: never the path a line of index.txt names.
TEST_F(ProfileListTest, RemoveTouchesOnlyTheProgramsOwnFiles) {
    // A data folder copied from elsewhere keeps the old folder's paths; an
    // edited line names a file that has nothing to do with the program.
    test::TempDataFolder elsewhere;
    const DataFolder& old = elsewhere.Folder();
    old.EnsureProfilesFolder();
    const std::string original = old.ProfilePath("a.com");
    WriteBytes(original, "Link: a.com");
    const std::string unrelated = elsewhere.Root() + "/notes.txt";
    WriteBytes(unrelated, "keep me");
    const std::string copy = m_folder.ProfilePath("a.com");
    WriteBytes(copy, "Link: a.com");
    const std::string b = m_folder.ProfilePath("b.com");
    WriteBytes(b, "Link: b.com");
    WriteBytes(m_folder.IndexPath(), original + "\r\n" + unrelated + "\r\n" + b);
    setenv("TARNWICK_PROGRAM_FILES", m_temp.Root().c_str(), 1);

    std::vector<std::string> disposed;
    m_list.Remove({0, 1}, [&](const std::string& path) {
        disposed.push_back(path);
        DeleteStoreFile(path);
    });
    EXPECT_EQ(disposed, std::vector<std::string>{copy});  // notes.txt has no profile file
    EXPECT_EQ(ReadBytes(original), "Link: a.com");
    EXPECT_EQ(ReadBytes(unrelated), "keep me");
    EXPECT_FALSE(Exists(copy));
    EXPECT_EQ(m_list.Read(), std::vector<std::string>{b});
}

TEST_F(ProfileListTest, PlanNamesTheProfilesWithTheirPageCounts) {
    const auto paths = MakeFive();
    WriteBytes(paths[3], "Link: d.com\r\np1|||m|||1|||\r\np2|||m|||0|||");
    const auto plan = m_list.PlanRemove({1, 3});
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].m_strDisplayText, "www.b.com");
    EXPECT_EQ(plan[0].m_nPages, 0);
    EXPECT_EQ(plan[0].m_strFile, paths[1]);
    EXPECT_EQ(plan[1].m_strDisplayText, "www.d.com");
    EXPECT_EQ(plan[1].m_nPages, 2);
    EXPECT_TRUE(Exists(paths[1]));  // planning changes nothing
}

}  // namespace
}  // namespace tarnwick
