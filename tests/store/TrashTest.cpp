#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "store/FileError.h"
#include "store/Trash.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_strSaved = old != nullptr ? old : "";
        m_bHadValue = old != nullptr;
        // A data home that does not exist yet, as on a fresh account.
        setenv("XDG_DATA_HOME", (m_temp.Root() + "/home/.local/share").c_str(), 1);
        m_temp.Folder().EnsureProfilesFolder();
    }
    void TearDown() override {
        if (m_bHadValue) {
            setenv("XDG_DATA_HOME", m_strSaved.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

    test::TempDataFolder m_temp;
    std::string m_strSaved;
    bool m_bHadValue = false;
};

TEST_F(TrashTest, FilesGoToTheHomeTrashWithWhereTheyCameFrom) {
    const std::string trash = m_temp.Root() + "/home/.local/share/Trash";
    EXPECT_EQ(HomeTrashFolder(), trash);
    const std::string path = m_temp.Folder().ProfilePath("example.com (2)");
    WriteBytes(path, "Link: first");
    MoveToTrash(path);
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(ReadBytes(trash + "/files/example.com (2).txt"), "Link: first");
    const std::string info = ReadBytes(trash + "/info/example.com (2).txt.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
    EXPECT_NE(info.find("/Profiles/example.com%20%282%29.txt\nDeletionDate="), std::string::npos)
        << info;

    // The same name again gets a name of its own; nothing in the trash is lost.
    WriteBytes(path, "Link: second");
    MoveToTrash(path);
    EXPECT_EQ(ReadBytes(trash + "/files/example.com (2).txt"), "Link: first");
    EXPECT_EQ(ReadBytes(trash + "/files/example.com (2).txt 2"), "Link: second");
    EXPECT_TRUE(Exists(trash + "/info/example.com (2).txt 2.trashinfo"));
    struct stat st {};
    ASSERT_EQ(::stat(trash.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(TrashTest, AnUnusableTrashLeavesTheFileWhereItIs) {
    WriteBytes(m_temp.Root() + "/home", "a file where the home folder should be");
    const std::string path = m_temp.Folder().ProfilePath("example.com");
    WriteBytes(path, "Link: kept");
    try {
        MoveToTrash(path);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.FileName(), path);
    }
    EXPECT_EQ(ReadBytes(path), "Link: kept");
}

}  // namespace
}  // namespace tarnwick
