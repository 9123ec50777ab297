#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "store/FileError.h"
#include "store/Trash.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::exists;
using test::readBytes;
using test::writeBytes;

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_saved = old != nullptr ? old : "";
        m_hadValue = old != nullptr;
        // A data home that does not exist yet, as on a fresh account.
        setenv("XDG_DATA_HOME", (m_temp.root() + "/home/.local/share").c_str(), 1);
        m_temp.folder().ensureProfilesFolder();
    }
    void TearDown() override {
        if (m_hadValue) {
            setenv("XDG_DATA_HOME", m_saved.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

    test::TempDataFolder m_temp;
    std::string m_saved;
    bool m_hadValue = false;
};

TEST_F(TrashTest, FilesGoToTheHomeTrashWithWhereTheyCameFrom) {
    const std::string trash = m_temp.root() + "/home/.local/share/Trash";
    EXPECT_EQ(homeTrashFolder(), trash);
    const std::string path = m_temp.folder().profilePath("example.com (2)");
    writeBytes(path, "Link: first");
    moveToTrash(path);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(readBytes(trash + "/files/example.com (2).txt"), "Link: first");
    const std::string info = readBytes(trash + "/info/example.com (2).txt.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
    EXPECT_NE(info.find("/Profiles/example.com%20%282%29.txt\nDeletionDate="), std::string::npos)
        << info;

    // The same name again gets a name of its own; nothing in the trash is lost.
    writeBytes(path, "Link: second");
    moveToTrash(path);
    EXPECT_EQ(readBytes(trash + "/files/example.com (2).txt"), "Link: first");
    EXPECT_EQ(readBytes(trash + "/files/example.com (2).txt 2"), "Link: second");
    EXPECT_TRUE(exists(trash + "/info/example.com (2).txt 2.trashinfo"));
    struct stat st {};
    ASSERT_EQ(::stat(trash.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(TrashTest, AnUnusableTrashLeavesTheFileWhereItIs) {
    writeBytes(m_temp.root() + "/home", "a file where the home folder should be");
    const std::string path = m_temp.folder().profilePath("example.com");
    writeBytes(path, "Link: kept");
    try {
        moveToTrash(path);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), path);
    }
    EXPECT_EQ(readBytes(path), "Link: kept");
}

}  // namespace
}  // namespace tarnwick
