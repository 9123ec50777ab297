// Kills a process with SIGKILL at random moments while it rewrites a store
// file over and over, then checks what a crash would leave: every file is
// exactly one of the versions the process wrote, never a mix, never empty.
// Each scenario stops after a few hundred kills or its time budget.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "mail/MailSettings.h"
#include "store/ProfileFile.h"
#include "store/ProfileList.h"
#include "store/SiteIndex.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::exists;
using test::readBytes;
using test::writeBytes;

constexpr int kKills = 300;
constexpr auto kBudget = std::chrono::seconds(25);

// Forks a child that runs step(0), step(1), ... until it is killed after a
// random delay, then calls check(); kKills times or until the budget is spent.
// Returns how many kills were checked.
int killRepeatedly(const std::function<void(long)>& step, const std::function<void()>& check) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicros(0, 6000);
    const auto end = std::chrono::steady_clock::now() + kBudget;
    int kills = 0;
    while (kills < kKills && std::chrono::steady_clock::now() < end) {
        const pid_t child = ::fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return kills;
        }
        if (child == 0) {
            try {
                for (long i = 0;; ++i) {
                    step(i);
                }
            } catch (...) {
                ::_exit(3);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFSIGNALED(status)) {
            ADD_FAILURE() << "the writer stopped by itself, status " << status;
            return kills;
        }
        ++kills;
        check();
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "after kill " << kills;
            return kills;
        }
    }
    return kills;
}

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder.ensureProfilesFolder(); }

    void finish(int kills) {
        // A run that got nowhere near its kills proves little.
        EXPECT_GE(kills, 50);
        RecordProperty("kills", kills);
    }

    test::TempDataFolder m_temp;
    const DataFolder& m_folder = m_temp.folder();
};

// Two versions of a profile, written alternately by the Edit Profile dialog's
// rewrite and the Add wizard's Overwrite.
TEST_F(CrashTest, ProfileRewritesLeaveTheOldOrTheNewFile) {
    const std::string path = m_folder.profilePath("example.com");
    const std::vector<ProfilePage> pagesA(
        40, {"http://a.example.net/links.html", "a@x.org", "Enabled"});
    const std::vector<ImportRow> rowsB(25, {"http://b.example.net/partners.html", ""});
    ProfileFile files(m_folder);
    files.overwrite(path, "example.com", rowsB, false);
    const std::string b = readBytes(path);
    files.rewrite("www.example.com", pagesA);
    const std::string a = readBytes(path);
    files.overwrite(path, "example.com", rowsB, false);
    ProfileList(m_folder).add(path);
    const std::string index = readBytes(m_folder.indexPath());
    finish(killRepeatedly(
        [&](long i) {
            if (i % 2 == 0) {
                files.rewrite("www.example.com", pagesA);
            } else {
                files.overwrite(path, "example.com", rowsB, false);
            }
        },
        [&] {
            const std::string now = readBytes(path);
            EXPECT_TRUE(now == a || now == b) << now.size() << " bytes";
            EXPECT_EQ(readBytes(m_folder.indexPath()), index);
        }));
}

// Pages deleted and appended in turn: the file always holds whole lines, the
// first line untouched.
TEST_F(CrashTest, DeletingAndAppendingPagesLeaveWholeFiles) {
    const std::string path = m_folder.profilePath("example.com");
    const std::string head = "Link: http://www.example.com/";
    const std::string line = "http://p.example.net/page.html|||m@example.net|||1|||";
    std::string full = head;
    for (int k = 0; k < 30; ++k) {
        full += "\r\n" + line;
    }
    writeBytes(path, full);
    ProfileList(m_folder).add(path);
    ProfileFile files(m_folder);
    finish(killRepeatedly(
        [&](long i) {
            if (i % 2 == 0) {
                files.deletePages("www.example.com", {0, 1, 2, 3, 4});
            } else {
                files.append(
                    path, "unused",
                    std::vector<ImportRow>(5, {"http://p.example.net/page.html", "m@example.net"}),
                    true);
            }
        },
        [&] {
            const std::string now = readBytes(path);
            std::string expected = head;
            bool matched = false;
            for (int k = 0; k <= 30 && !matched; ++k) {
                matched = now == expected;
                expected += "\r\n" + line;
            }
            EXPECT_TRUE(matched) << now.size() << " bytes";
            // Put the file back so every round starts from the same profile.
            writeBytes(path, full);
        }));
}

// index.txt rewritten through index1.txt (a line replaced back and forth) and
// appended to; stindex.txt extended through dummy.txt.
TEST_F(CrashTest, IndexAndSiteIndexRewritesLeaveTheOldOrTheNewFile) {
    ProfileList list(m_folder);
    std::vector<std::string> paths;
    for (int k = 0; k < 20; ++k) {
        paths.push_back(m_folder.profilePath("site" + std::to_string(k) + ".com"));
        list.add(paths.back());
    }
    const std::string a = readBytes(m_folder.indexPath());
    const std::string other = m_folder.profilePath("other.org");
    list.replace(paths[10], other);
    const std::string b = readBytes(m_folder.indexPath());
    list.replace(other, paths[10]);
    SiteIndex sites(m_folder);
    sites.record("example.com", "first", sites.lookup("example.com", "first"));
    sites.record("example.org", "org", sites.lookup("example.org", "org"));
    finish(killRepeatedly(
        [&](long i) {
            if (i % 2 == 0) {
                list.replace(paths[10], other);
            } else {
                list.replace(other, paths[10]);
            }
            const std::string address = "a" + std::to_string(i);
            sites.record("example.com", address, sites.lookup("example.com", address));
        },
        [&] {
            const std::string now = readBytes(m_folder.indexPath());
            EXPECT_TRUE(now == a || now == b) << now.size() << " bytes";
            // example.com**first||a0||a1||...||a(n-1)|| for some n.
            const std::string stindex = readBytes(m_folder.stIndexPath());
            std::string expected = "example.com**first||";
            bool matched = false;
            for (int n = 0; n < 100000 && !matched && expected.size() <= stindex.size(); ++n) {
                matched = stindex == expected + "\r\nexample.org**org||";
                expected += "a" + std::to_string(n) + "||";
            }
            EXPECT_TRUE(matched) << stindex.substr(0, 200);
            writeBytes(m_folder.stIndexPath(), "example.com**first||\r\nexample.org**org||");
        }));
}

TEST_F(CrashTest, MailSettingsSavesLeaveTheOldOrTheNewAccount) {
    const std::string path = m_folder.mailPath();
    const MailSettings a{"sender@example.com", "smtp.example.com", true, "user@example.com",
                         "a password"};
    const MailSettings b{"other.sender@example.org", "mail.example.org", false, "", ""};
    writeMailSettings(path, a);
    const std::string bytesA = readBytes(path);
    writeMailSettings(path, b);
    const std::string bytesB = readBytes(path);
    finish(killRepeatedly([&](long i) { writeMailSettings(path, i % 2 == 0 ? a : b); },
                          [&] {
                              const std::string now = readBytes(path);
                              EXPECT_TRUE(now == bytesA || now == bytesB) << now;
                              struct stat st {};
                              ASSERT_EQ(::stat(path.c_str(), &st), 0);
                              EXPECT_EQ(st.st_mode & 0777, 0600u);
                          }));
}

// A change of address back and forth: after a kill and the next start's
// clean-up exactly one of the two profiles is there, listed once, pages whole,
// and its address can be changed again.
TEST_F(CrashTest, AChangeOfAddressLeavesExactlyOneProfile) {
    const std::string pathA = m_folder.profilePath("example.com");
    const std::string pathB = m_folder.profilePath("example.net");
    const std::string pages =
        "\r\nhttp://a.example.org/links.html|||a@example.org|||1|||"
        "\r\nhttp://b.example.org/friends.html||| |||0|||";
    writeBytes(pathA, "Link: www.example.com" + pages);
    const std::string keep = m_folder.profilePath("keep.org");
    writeBytes(keep, "Link: keep.org");
    ProfileList list(m_folder);
    list.add(keep);
    list.add(pathA);
    ProfileFile files(m_folder);
    finish(killRepeatedly(
        [&](long) {
            files.changeAddress("www.example.com", "www.example.net");
            files.changeAddress("www.example.net", "www.example.com");
        },
        [&] {
            files.finishInterruptedChange();  // what the next start does
            const std::vector<std::string> lines = list.read();
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines[0], keep);
            const bool atB = lines[1] == pathB;
            EXPECT_TRUE(atB || lines[1] == pathA) << lines[1];
            EXPECT_EQ(
                readBytes(atB ? pathB : pathA),
                std::string("Link: ") + (atB ? "www.example.net" : "www.example.com") + pages);
            EXPECT_FALSE(exists(atB ? pathA : pathB));
            EXPECT_FALSE(exists(m_folder.changeNotePath()));
            // Back to A, so every round starts alike; never "name taken".
            if (atB) {
                EXPECT_EQ(files.changeAddress("www.example.net", "www.example.com"),
                          AddressChange::Moved);
            }
        }));
}

}  // namespace
}  // namespace tarnwick
