#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/FileError.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::exists;
using test::readBytes;
using test::writeBytes;

class ProfileListTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder.ensureProfilesFolder(); }

    // Five profiles a..e, each with a file.
    std::vector<std::string> makeFive() {
        std::vector<std::string> paths;
        for (const char* name : {"a.com", "b.com", "c.com", "d.com", "e.com"}) {
            const std::string path = m_folder.profilePath(name);
            writeBytes(path, std::string("Link: ") + name);
            m_list.add(path);
            paths.push_back(path);
        }
        return paths;
    }

    test::TempDataFolder m_temp;
    const DataFolder& m_folder = m_temp.folder();
    ProfileList m_list{m_folder};
};

TEST_F(ProfileListTest, MissingIndexIsAnEmptyList) {
    EXPECT_TRUE(m_list.read().empty());
}

TEST_F(ProfileListTest, AddWritesFullPathsSeparatedByCrLf) {
    const std::string a = m_folder.profilePath("example.com");
    const std::string b = m_folder.profilePath("example.com (2)");
    EXPECT_EQ(m_list.add(a), 0);
    EXPECT_EQ(readBytes(m_folder.indexPath()), a);
    EXPECT_EQ(m_list.add(b), 1);
    EXPECT_EQ(readBytes(m_folder.indexPath()), a + "\r\n" + b);
    EXPECT_EQ(m_list.read(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(m_temp.root() + "/Osgrel Tarnwick Ambrel/Profiles/example.com.txt", a);
}

TEST_F(ProfileListTest, AddAfterAnEditorsFinalLineBreakStaysVisible) {
    writeBytes(m_folder.indexPath(), "/x/a.com.txt\r\n");
    EXPECT_EQ(m_list.add("/x/b.com.txt"), 1);
    EXPECT_EQ(m_list.read(), (std::vector<std::string>{"/x/a.com.txt", "/x/b.com.txt"}));
}

TEST_F(ProfileListTest, AnEmptyLineHidesLaterProfilesAndAddSaysSo) {
    writeBytes(m_folder.indexPath(), "/x/a.com.txt\r\n\r\n/x/b.com.txt");
    EXPECT_EQ(m_list.read(), (std::vector<std::string>{"/x/a.com.txt"}));
    EXPECT_EQ(m_list.add("/x/c.com.txt"), -1);
}

TEST_F(ProfileListTest, DisplayText) {
    EXPECT_EQ(ProfileList::displayText("/d/Profiles/example.com.txt"), "www.example.com");
    EXPECT_EQ(ProfileList::displayText("/d/Profiles/example.com (2).txt"), "www.example.com (2)");
    EXPECT_EQ(ProfileList::displayText("/d/Profiles/mytxtsite.com.txt"), "www.mytxtsite.com");
    EXPECT_EQ(ProfileList::displayText("noslash"), "www.noslash");
}

TEST_F(ProfileListTest, ReplaceRewritesMatchingLinesOnly) {
    const auto paths = makeFive();
    m_list.replace(paths[1], "/new/path.txt");
    auto expected = paths;
    expected[1] = "/new/path.txt";
    EXPECT_EQ(m_list.read(), expected);
    EXPECT_FALSE(exists(m_folder.index1Path()));
}

TEST_F(ProfileListTest, RemoveDropsTheRowsAndDeletesTheirFiles) {
    const auto paths = makeFive();
    writeBytes(m_folder.stIndexPath(), "a.com**a.com||");
    m_list.remove({1, 3});
    EXPECT_EQ(readBytes(m_folder.indexPath()), paths[0] + "\r\n" + paths[2] + "\r\n" + paths[4]);
    EXPECT_FALSE(exists(paths[1]));
    EXPECT_FALSE(exists(paths[3]));
    EXPECT_TRUE(exists(paths[0]));
    EXPECT_TRUE(exists(m_folder.stIndexPath()));  // the site index only grows
}

TEST_F(ProfileListTest, RemovingTheLastProfilesEmptiesTheStore) {
    makeFive();
    writeBytes(m_folder.stIndexPath(), "a.com**a.com||");
    m_list.remove({0, 1, 2, 3, 4});
    EXPECT_FALSE(exists(m_folder.indexPath()));
    EXPECT_FALSE(exists(m_folder.stIndexPath()));
    EXPECT_FALSE(exists(m_folder.profilesFolderNoSlash()));
}

TEST_F(ProfileListTest, AStrayFileKeepsTheProfilesFolder) {
    makeFive();
    writeBytes(m_folder.newTxtPath(), "stray");
    m_list.remove({0, 1, 2, 3, 4});
    EXPECT_FALSE(exists(m_folder.indexPath()));
    EXPECT_TRUE(exists(m_folder.newTxtPath()));
}

TEST_F(ProfileListTest, AProfileFileAlreadyGoneStillLeavesTheList) {
    const auto paths = makeFive();
    std::remove(paths[2].c_str());
    m_list.remove({2});
    EXPECT_EQ(m_list.read().size(), 4u);
}

TEST_F(ProfileListTest, AFileThatCannotBeDeletedStopsTheRemovalConsistently) {
    const auto paths = makeFive();
    // A folder in place of c.com's file cannot be unlinked, not even by root.
    std::remove(paths[2].c_str());
    ASSERT_EQ(::mkdir(paths[2].c_str(), 0755), 0);
    try {
        m_list.remove({1, 2, 3});
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), paths[2]);
    }
    // b is gone from list and disk; c and d (after the failure) both stay.
    EXPECT_EQ(m_list.read(), (std::vector<std::string>{paths[0], paths[2], paths[3], paths[4]}));
    EXPECT_FALSE(exists(paths[1]));
    EXPECT_TRUE(exists(paths[3]));
}

// The file removed for a row is the one every reader opens for it, inside
// this data folder: never the path a line of index.txt names.
TEST_F(ProfileListTest, RemoveTouchesOnlyTheProgramsOwnFiles) {
    // A data folder copied from elsewhere keeps the old folder's paths; an
    // edited line names a file that has nothing to do with the program.
    test::TempDataFolder elsewhere;
    const DataFolder& old = elsewhere.folder();
    old.ensureProfilesFolder();
    const std::string original = old.profilePath("a.com");
    writeBytes(original, "Link: a.com");
    const std::string unrelated = elsewhere.root() + "/notes.txt";
    writeBytes(unrelated, "keep me");
    const std::string copy = m_folder.profilePath("a.com");
    writeBytes(copy, "Link: a.com");
    const std::string b = m_folder.profilePath("b.com");
    writeBytes(b, "Link: b.com");
    writeBytes(m_folder.indexPath(), original + "\r\n" + unrelated + "\r\n" + b);
    setenv("TARNWICK_PROGRAM_FILES", m_temp.root().c_str(), 1);

    std::vector<std::string> disposed;
    m_list.remove({0, 1}, [&](const std::string& path) {
        disposed.push_back(path);
        deleteStoreFile(path);
    });
    EXPECT_EQ(disposed, std::vector<std::string>{copy});  // notes.txt has no profile file
    EXPECT_EQ(readBytes(original), "Link: a.com");
    EXPECT_EQ(readBytes(unrelated), "keep me");
    EXPECT_FALSE(exists(copy));
    EXPECT_EQ(m_list.read(), std::vector<std::string>{b});
}

TEST_F(ProfileListTest, PlanNamesTheProfilesWithTheirPageCounts) {
    const auto paths = makeFive();
    writeBytes(paths[3], "Link: d.com\r\np1|||m|||1|||\r\np2|||m|||0|||");
    const auto plan = m_list.planRemove({1, 3});
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].m_displayText, "www.b.com");
    EXPECT_EQ(plan[0].m_pages, 0);
    EXPECT_EQ(plan[0].m_file, paths[1]);
    EXPECT_EQ(plan[1].m_displayText, "www.d.com");
    EXPECT_EQ(plan[1].m_pages, 2);
    EXPECT_TRUE(exists(paths[1]));  // planning changes nothing
}

}  // namespace
}  // namespace tarnwick
