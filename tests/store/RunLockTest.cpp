// The data folder's scan lock between real processes: held by one, refused
// to another with the holder's name, free again when the holder ends however
// it ends; a lock file that cannot be used never blocks.
#include "store/RunLock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

class RunLockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_temp.folder().ensureExists()); }
    std::string folder() const { return m_temp.folder().folder(); }
    std::string lockPath() const { return folder() + "/" + kRunLockFileName; }
    test::TempDataFolder m_temp;
};

TEST_F(RunLockTest, OneHolderAtATimeNamedToTheOthers) {
    RunLock held = RunLock::tryLock(folder(), "first program");
    ASSERT_TRUE(held.isHeld()) << held.error();
    // flock counts open files, not processes: a second open of this process
    // is refused as another process's would be.
    const RunLock second = RunLock::tryLock(folder(), "second program");
    EXPECT_EQ(second.state(), RunLock::State::Busy);
    EXPECT_EQ(second.holder(), "first program, process " + std::to_string(getpid()));
    // Whatever the file holds meanwhile, only a living process is named.
    for (const char* text : {"", "\x1b[2J", "1 init", "999999999 ghost", "x 12"}) {
        test::writeBytes(lockPath(), text);
        const RunLock busy = RunLock::tryLock(folder(), "second program");
        EXPECT_EQ(busy.state(), RunLock::State::Busy) << text;
        EXPECT_EQ(busy.holder(),
                  std::string(text) == "1 init" ? "init, process 1" : "another program")
            << text;
    }
    RunLock moved = std::move(held);
    EXPECT_FALSE(held.isHeld());
    EXPECT_EQ(RunLock::tryLock(folder(), "x").state(), RunLock::State::Busy);
    moved.release();
    EXPECT_TRUE(RunLock::tryLock(folder(), "third program").isHeld());
    EXPECT_EQ(test::readBytes(lockPath()), std::to_string(getpid()) + " third program\n");
}

// A holder that ends without letting go (SIGKILL) leaves the lock free.
TEST_F(RunLockTest, AKilledHolderLeavesItFree) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        RunLock lock = RunLock::tryLock(folder(), "child");
        const char byte = lock.isHeld() ? '1' : '0';
        [[maybe_unused]] const ssize_t n = write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    EXPECT_EQ(byte, '1');
    const RunLock busy = RunLock::tryLock(folder(), "parent");
    EXPECT_EQ(busy.state(), RunLock::State::Busy);
    EXPECT_EQ(busy.holder(), "child, process " + std::to_string(child));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(RunLock::tryLock(folder(), "parent").isHeld());
}

// A FIFO, a folder or a symbolic link in the lock file's place, or no data
// folder: no lock, at once, with the reason naming the file.
TEST_F(RunLockTest, AnUnusableLockFileFailsAtOnce) {
    const struct {
        const char* name;
        int (*make)(const std::string& path);
    } cases[] = {
        {"fifo", [](const std::string& path) { return mkfifo(path.c_str(), 0600); }},
        {"folder", [](const std::string& path) { return mkdir(path.c_str(), 0700); }},
        {"link", [](const std::string& path) { return symlink("/tmp/elsewhere", path.c_str()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.make(lockPath()), 0);
        const auto start = std::chrono::steady_clock::now();
        const RunLock lock = RunLock::tryLock(folder(), "x");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(lock.state(), RunLock::State::Failed);
        EXPECT_EQ(lock.error().rfind("cannot lock " + lockPath() + ": ", 0), 0u) << lock.error();
        ASSERT_EQ(std::string(c.name) == "folder" ? rmdir(lockPath().c_str())
                                                  : unlink(lockPath().c_str()),
                  0);
    }
    EXPECT_EQ(RunLock::tryLock(folder() + "/missing", "x").state(), RunLock::State::Failed);
}

}  // namespace
}  // namespace tarnwick
