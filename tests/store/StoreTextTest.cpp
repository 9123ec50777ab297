#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include <string>
#include <vector>

#include "store/FileError.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::readBytes;
using test::writeBytes;

std::vector<std::string> storeLines(const std::string& path) {
    StoreLineReader reader(path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readStoreLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

class StoreText : public ::testing::Test {
protected:
    test::TempDataFolder m_temp;
    std::string m_path = m_temp.folder().folder() + "/f.txt";
};

TEST_F(StoreText, ReadersAcceptBothLineEndsAndStopAtTheFirstEmptyLine) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a\r\nb\r\nc", {"a", "b", "c"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a"}},
        {"a\n\nb", {"a"}},
        {"\r\na", {}},
        {"", {}},
        {"a\rb\r\n", {"a", "b"}},
    };
    for (const Case& c : cases) {
        writeBytes(m_path, c.bytes);
        EXPECT_EQ(storeLines(m_path), c.lines) << c.bytes;
    }
    EXPECT_TRUE(storeLines(m_path + ".missing").empty());
}

TEST_F(StoreText, ReadersTakeEveryLineEndAndIgnoreAByteOrderMark) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a\rb\rc", {"a", "b", "c"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\rb", {"a"}},
        {"a\r\n\nb", {"a"}},
        {"\xEF\xBB\xBF"
         "a\r\nb",
         {"a", "b"}},
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBF\r\na", {}},
        {"x\xEF\xBB\xBF"
         "a",
         {"x\xEF\xBB\xBF"
          "a"}},
        {"a\r\n\xEF\xBB\xBF"
         "b",
         {"a",
          "\xEF\xBB\xBF"
          "b"}},
        {std::string(65535, 'x') + "\r\nb", {std::string(65535, 'x'), "b"}},
        {std::string(65536, 'x') + "\r\nb", {std::string(65536, 'x'), "b"}},
    };
    for (const Case& c : cases) {
        writeBytes(m_path, c.bytes);
        EXPECT_EQ(storeLines(m_path), c.lines) << c.bytes.substr(0, 20);
    }
}

// What is not a regular file reads as a missing file, at once: a FIFO with no
// writer would otherwise block the reader for good, a device could be endless.
TEST_F(StoreText, OnlyRegularFilesAreRead) {
    const std::string fifo = m_temp.folder().folder() + "/fifo.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = m_temp.folder().folder() + "/folder.txt";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    writeBytes(m_path, "a");
    const struct {
        std::string path;
        int error;
    } cases[] = {
        {fifo, EINVAL},
        {folder, EISDIR},
        {"/dev/zero", EINVAL},
        {m_path + std::string(1, '\0') + "x", EINVAL},
        {m_path + ".missing", ENOENT},
    };
    for (const auto& c : cases) {
        StoreLineReader reader(c.path);
        EXPECT_FALSE(reader.isOpen()) << c.path;
        EXPECT_EQ(reader.openError(), c.error) << c.path;
        std::string line;
        EXPECT_FALSE(reader.readLine(line));
    }
    EXPECT_EQ(storeLines(m_path), std::vector<std::string>{"a"});
}

TEST_F(StoreText, LinesOfAnyLengthComeBackWhole) {
    const std::string longLine(std::size_t{3} * 1024 * 1024, 'x');
    writeBytes(m_path, "first\r\n" + longLine + "\r\nlast");
    EXPECT_EQ(storeLines(m_path), (std::vector<std::string>{"first", longLine, "last"}));
}

TEST_F(StoreText, WriterPutsALineBreakBeforeEveryLineButTheFirst) {
    StoreFileWriter writer(m_path);
    writer.writeLine("one");
    writer.writeLine("two");
    writer.writeLine("three");
    writer.close();
    EXPECT_EQ(readBytes(m_path), "one\r\ntwo\r\nthree");
}

TEST_F(StoreText, AppendingNeverLeavesAnEmptyLineBeforeTheNewLine) {
    struct Case {
        const char* before;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"a", "a\r\nnew"},     {"a\r\nb", "a\r\nb\r\nnew"},
        {"a\r\n", "a\r\nnew"},  // an editor's final line break
        {"a\n", "a\nnew"},     {"", "new"},
    };
    for (const Case& c : cases) {
        writeBytes(m_path, c.before);
        appendStoreLine(m_path, "new", m_path + ".tmp");
        EXPECT_EQ(readBytes(m_path), c.after) << c.before;
    }
    std::remove(m_path.c_str());
    appendStoreLine(m_path, "created", m_path + ".tmp");
    EXPECT_EQ(readBytes(m_path), "created");
}

TEST_F(StoreText, FileErrorsNameTheFile) {
    const std::string missingFolder = m_temp.root() + "/no/such/folder/f.txt";
    try {
        StoreFileWriter writer(missingFolder);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), missingFolder);
        EXPECT_NE(std::string(e.what()).find(missingFolder), std::string::npos);
    }
    EXPECT_THROW(deleteStoreFile(m_path + ".missing"), FileError);
    EXPECT_THROW(appendStoreLine(missingFolder, "x", missingFolder + ".tmp"), FileError);
}

TEST_F(StoreText, CommitReplacesTheTargetOrLeavesItWhole) {
    writeBytes(m_path, "old");
    {
        StoreFileWriter temp(m_path + ".tmp");
        temp.writeLine("new");
        temp.commitOver(m_path);
    }
    EXPECT_EQ(readBytes(m_path), "new");
    EXPECT_FALSE(test::exists(m_path + ".tmp"));

    // A target that cannot be replaced (a non-empty folder) keeps its content
    // and the temporary is cleaned up.
    const std::string dir = m_temp.root() + "/dir";
    ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    writeBytes(dir + "/inside", "keep");
    StoreFileWriter temp(m_path + ".tmp");
    temp.writeLine("x");
    EXPECT_THROW(temp.commitOver(dir), FileError);
    EXPECT_EQ(readBytes(dir + "/inside"), "keep");
    EXPECT_FALSE(test::exists(m_path + ".tmp"));
}

}  // namespace
}  // namespace tarnwick
