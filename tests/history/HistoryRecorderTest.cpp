// The history beside real scan runs: transitions and summaries, letters held
// back by the letter rules, and databases that cannot be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <map>

#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "scan/PageServer.h"
#include "scan/ScanRun.h"
#include "scan/ScanState.h"
#include "scan/ScriptedPanes.h"
#include "scan/StatusWords.h"
#include "support/TempDataFolder.h"

extern char** environ;

namespace tarnwick {
namespace {

// Takes the right to write a file away, also from root (who ignores the
// mode): the immutable flag where the file system has it.
bool SetWritable(const std::string& path, bool writable) {
    chmod(path.c_str(), writable ? 0644 : 0444);
    if (geteuid() != 0) {
        return true;
    }
    const int fd = open(path.c_str(), O_RDONLY);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = writable ? (flags & ~FS_IMMUTABLE_FL) : (flags | FS_IMMUTABLE_FL);
        done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0) {
        close(fd);
    }
    return done;
}

class HistoryRecorderTest : public ::testing::Test {
protected:
    // A page result standing for a page whose host name did not resolve.
    static constexpr const char* kOffNetwork = "off the network";

    HistoryRecorderTest() {
        g_bScanRunning = false;
        g_bPlayEnabled = true;
    }

    // One run of the panes with page results from m_results (by page address).
    void Run(HistoryRecorder& recorder) {
        ScanRun run(m_panes, [this](const std::string& page, const std::string&) {
            std::lock_guard<std::mutex> lock(m_mutex);
            const std::string& word = m_results.at(page);
            if (word == kOffNetwork) {
                PageResult unreachable(kPageCannotBeDisplayed, "host name not found");
                unreachable.m_bNetworkDown = true;
                return unreachable;
            }
            return PageResult(word, "checked " + page, 200);
        });
        run.SetObserver(&recorder);
        recorder.SetProfileTexts({"www.a0.com", "www.a1.com"});
        run.OnPlay();
        run.WaitForScanThread();
        recorder.Flush();
    }

    void Set(const std::string& page, const std::string& result) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results[page] = result;
    }

    HistoryRecorder::Reporter Reporter() {
        return [this](const std::string& message) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_reports.push_back(message);
        };
    }

    test::TempDataFolder m_folder;
    std::string m_strPath = HistoryDatabase::PathIn(m_folder.Folder().Folder());
    test::ScriptedPanes m_panes{test::ScriptedPanes::Make({2})};
    std::mutex m_mutex;
    std::map<std::string, std::string> m_results;
    std::vector<std::string> m_reports;
    std::vector<std::string> m_skipped;
};

TEST_F(HistoryRecorderTest, SecondRunShowsWhatChanged) {
    HistoryRecorder recorder(m_strPath, kSourceDesktop, Reporter());
    Set("http://p0-0/", "Link Found");
    Set("http://p0-1/", "Link Not Found");
    Run(recorder);
    ASSERT_TRUE(m_reports.empty()) << m_reports[0];
    EXPECT_EQ(m_panes.Changes(), (std::map<int, std::string>{{0, "New"}, {1, "New"}}));
    EXPECT_EQ(m_panes.Summaries(), (std::vector<std::string>{"First run: 2 pages recorded"}));

    Set("http://p0-0/", "Link Not Found");
    Set("http://p0-1/", "Link Found");
    Run(recorder);
    EXPECT_EQ(m_panes.Changes(), (std::map<int, std::string>{{0, "Lost"}, {1, "Restored"}}));
    EXPECT_EQ(m_panes.Summaries().back(), "1 link lost, 1 restored since the last run");
    EXPECT_TRUE(m_reports.empty());

    HistoryDatabase db(m_strPath);
    const std::vector<RunInfo> runs = db.Runs();
    ASSERT_EQ(runs.size(), 2u);
    for (const RunInfo& run : runs) {
        EXPECT_EQ(run.m_strSource, "desktop");
        EXPECT_EQ(run.m_strOutcome, "completed");
        EXPECT_GE(run.m_nEnded, run.m_nStarted);
        EXPECT_EQ(run.m_counts, (ResultCounts{1, 1, 0, 0}));
    }
    EXPECT_EQ(recorder.LastRunId(), runs[1].m_nId);
    const std::vector<PageRecord> kept = db.ResultsOf(runs[1].m_nId);
    EXPECT_EQ(kept[0].m_strProfile, "www.a0.com");
    EXPECT_EQ(kept[0].m_reason, "checked http://p0-0/");
    EXPECT_EQ(kept[0].m_httpStatus, 200);
}

// A run that reached no page for want of a network is recorded as offline,
// without results: the status bar says so, the next run is compared with the
// run before it and names it as unchecked. A run in which only some pages
// are off the network is an ordinary run.
TEST_F(HistoryRecorderTest, RunThatReachedNoPageIsOfflineAndComparedWithNothing) {
    HistoryRecorder recorder(m_strPath, kSourceDesktop, Reporter());
    Set("http://p0-0/", "Link Found");
    Set("http://p0-1/", "Link Found");
    Run(recorder);
    EXPECT_FALSE(recorder.RunWasOffline());

    Set("http://p0-0/", kOffNetwork);
    Set("http://p0-1/", kOffNetwork);
    Run(recorder);
    EXPECT_TRUE(recorder.RunWasOffline());
    EXPECT_EQ(m_panes.Summaries().back(), kOfflineSummary);

    Set("http://p0-0/", "Link Not Found");
    Run(recorder);
    EXPECT_FALSE(recorder.RunWasOffline());
    EXPECT_EQ(m_panes.Changes().at(0), "Lost");
    EXPECT_EQ(m_panes.Summaries().back(), "1 link lost since the last run");
    EXPECT_TRUE(m_reports.empty()) << m_reports[0];

    HistoryDatabase db(m_strPath);
    const std::vector<RunInfo> runs = db.Runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].m_strOutcome, "completed");
    EXPECT_EQ(runs[1].m_strOutcome, "offline");
    EXPECT_EQ(runs[2].m_strOutcome, "completed");
    EXPECT_EQ(runs[1].m_counts, (ResultCounts{0, 0, 0, 0}));
    EXPECT_TRUE(db.ResultsOf(runs[1].m_nId).empty());
    const RunChanges changes = db.ChangesOf();
    EXPECT_EQ(changes.m_nRunId, runs[2].m_nId);
    EXPECT_EQ(changes.m_nPreviousId, runs[0].m_nId);
    EXPECT_EQ(changes.m_offlineStarts, (std::vector<std::int64_t>{runs[1].m_nStarted}));
    EXPECT_EQ(changes.m_counts.m_nLost, 1);
}

// The real fetcher: what it saw of each page is kept, and a link that turns
// nofollow between two runs is a change in quality.
TEST_F(HistoryRecorderTest, RealScansKeepTheEvidenceAndItsChanges) {
    test::PageServer server(false, false);
    const std::string follow = "<p><a href=\"http://www.a0.com/\">Our partner</a></p>";
    server.AddFile("a.html", follow);
    server.AddFile("b.html", follow);
    auto profiles = test::ScriptedPanes::Make({2});
    profiles[0].pages[0].m_strPage = server.Http("/files/a.html");
    profiles[0].pages[1].m_strPage = server.Http("/files/b.html");
    test::ScriptedPanes panes(profiles);
    HistoryRecorder recorder(m_strPath, kSourceCli, Reporter());
    for (const char* rel : {"", " rel=\"nofollow\""}) {
        server.AddFile("a.html", "<p><a href=\"http://www.a0.com/\"" + std::string(rel) +
                                     ">Our partner</a></p>");
        ScanRun run(panes);
        run.SetObserver(&recorder);
        run.OnPlay();
        run.WaitForScanThread();
        recorder.Flush();
    }
    ASSERT_TRUE(m_reports.empty()) << m_reports[0];
    EXPECT_EQ(panes.ResultStatuses(), (std::vector<std::string>{"Link Found", "Link Found"}));
    EXPECT_EQ(panes.Changes(),
              (std::map<int, std::string>{{0, "Quality changed"}, {1, "Unchanged"}}));

    HistoryDatabase db(m_strPath);
    const std::vector<PageRecord> kept = db.ResultsOf(recorder.LastRunId());
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].m_rel, "nofollow");
    EXPECT_EQ(kept[0].m_verdict, "nofollow");
    EXPECT_EQ(kept[1].m_rel, "");
    EXPECT_EQ(kept[1].m_verdict, "follow");
    for (const PageRecord& page : kept) {
        EXPECT_EQ(page.m_httpStatus, 200);
        EXPECT_EQ(page.m_finalUrl, page.m_strPage);
        EXPECT_EQ(page.m_anchorText, "Our partner");
        EXPECT_EQ(page.m_noindex, false);
        EXPECT_TRUE(page.m_robotsTxt.has_value());
        EXPECT_TRUE(page.m_elapsedMs.has_value());
    }
}

// A scan run judges the fetched evidence with its link rules and the stored
// address: a finding that appears and one that goes are both changes in
// quality, and each run keeps its findings.
TEST_F(HistoryRecorderTest, FindingsThatComeAndGoAreQualityChanges) {
    test::PageServer server(false, false);
    const std::string link = "<a href=\"http://www.a0.com/\">Our partner</a>";
    const std::string farm =
        "<a href=\"http://x.example/\">1</a><a href=\"http://y.example/\">2</a>";
    auto profiles = test::ScriptedPanes::Make({2});
    profiles[0].pages[0].m_strPage = server.Http("/files/a.html");
    // The same page through a redirect.
    std::string target = server.Http("/files/a.html");
    target.replace(target.find("://"), 3, "%3A%2F%2F");
    profiles[0].pages[1].m_strPage = server.Http("/redirect/302?to=" + target);
    test::ScriptedPanes panes(profiles);
    HistoryRecorder recorder(m_strPath, kSourceCli, Reporter());
    const std::vector<std::string> pages = {link, "<div hidden>" + link + "</div>" + farm,
                                            link + farm, link};
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(pages[i]);
        server.AddFile("a.html", pages[i]);
        ScanRun run(panes);
        run.SetObserver(&recorder);
        run.SetLinkRules(LinkRules{2});
        run.OnPlay();
        run.WaitForScanThread();
        recorder.Flush();
        ASSERT_TRUE(m_reports.empty()) << m_reports[0];
        const std::string expected = i == 0 ? "New" : "Quality changed";
        EXPECT_EQ(panes.Changes(), (std::map<int, std::string>{{0, expected}, {1, expected}}));
    }
    HistoryDatabase db(m_strPath);
    const std::vector<RunInfo> runs = db.Runs();
    ASSERT_EQ(runs.size(), 4u);
    const auto findings = [&db](const RunInfo& run, size_t row) {
        return db.ResultsOf(run.m_nId).at(row).m_findings.value_or("(none)");
    };
    const std::string redirected = "redirected to " + server.Http("/files/a.html");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"", redirected},
        {"hidden by markup\nlink farm: 3 links",
         "hidden by markup\n" + redirected + "\nlink farm: 3 links"},
        {"link farm: 3 links", redirected + "\nlink farm: 3 links"},
        {"", redirected},
    };
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(findings(runs[i], 0), expected[i].first);
        EXPECT_EQ(findings(runs[i], 1), expected[i].second);
    }
}

TEST_F(HistoryRecorderTest, LettersWaitForMissingRunsAndQuietDays) {
    std::atomic<std::int64_t> now{1'000'000};
    HistoryRecorder recorder(m_strPath, kSourceCli, Reporter(), [&now] { return now.load(); });
    recorder.SetLetterRules({2, 7});
    Set("http://p0-0/", "Link Not Found");
    Set("http://p0-1/", "Link Found");

    // Missing once: held back, and the cell says why.
    Run(recorder);
    EXPECT_TRUE(m_panes.Notifications().empty());
    EXPECT_EQ(m_panes.ResultMails()[0],
              "Not mailed: the link has been missing in 1 run, letters wait for 2");

    // Missing twice: it goes, and the recorder hears it went.
    now += 3600;
    Run(recorder);
    ASSERT_EQ(m_panes.Notifications().size(), 1u);
    EXPECT_EQ(m_panes.ResultMails()[0], "w0-0@x.com");
    recorder.LetterDone(m_panes.Notifications()[0], "sent");

    // A day later: the same webmaster is not mailed again within 7 days.
    now += 24 * 3600;
    Run(recorder);
    EXPECT_EQ(m_panes.Notifications().size(), 1u);
    EXPECT_EQ(m_panes.ResultMails()[0].rfind("Not mailed: this webmaster was mailed about the page "
                                             "on ",
                                             0),
              0u)
        << m_panes.ResultMails()[0];
    EXPECT_NE(m_panes.ResultMails()[0].find(", within 7 days"), std::string::npos);

    // Eight days after the letter it goes again.
    now += 7 * 24 * 3600;
    Run(recorder);
    EXPECT_EQ(m_panes.Notifications().size(), 2u);

    // Played again while that letter is still on its way (a slow mail
    // server): it counts as sent, the webmaster gets no second one.
    now += 60;
    Run(recorder);
    EXPECT_EQ(m_panes.Notifications().size(), 2u);
    EXPECT_NE(m_panes.ResultMails()[0].find(", within 7 days"), std::string::npos)
        << m_panes.ResultMails()[0];

    // The timeline holds both kinds of letters.
    HistoryDatabase db(m_strPath);
    std::vector<std::string> letters;
    for (const TimelineEntry& e : db.Timeline({"www.a0.com", "http://p0-0/"})) {
        if (e.m_bLetter) {
            letters.push_back(e.m_strText.substr(0, 15));
        }
    }
    EXPECT_EQ(letters, (std::vector<std::string>{"Not mailed: the", "sent", "Not mailed: thi",
                                                 "Not mailed: thi"}));
}

// A process id that no process has any more.
pid_t EndedProcess() {
    pid_t pid = -1;
    char program[] = "/bin/true";
    char* argv[] = {program, nullptr};
    EXPECT_EQ(posix_spawn(&pid, program, nullptr, nullptr, argv, environ), 0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// A letter's record is committed before its SMTP exchange may begin: another
// program reading the history as soon as letterSending returns finds it
// "sending", and LetterDone completes that row. A row left "sending" by a
// program that has ended is taken as sent when the next run starts, and told;
// one of a program still running is left to it. Either way the webmaster is
// not mailed again within the quiet days.
TEST_F(HistoryRecorderTest, LettersAreRecordedBeforeTheyAreSent) {
    std::atomic<std::int64_t> now{1'000'000};
    const auto clock = [&now] { return now.load(); };
    Set("http://p0-0/", "Link Not Found");
    Set("http://p0-1/", "Link Not Found");
    {
        HistoryRecorder recorder(m_strPath, kSourceCli, Reporter(), clock);
        Run(recorder);
        ASSERT_EQ(m_panes.Notifications().size(), 2u);
        const NotificationJob job = m_panes.Notifications()[0];
        recorder.letterSending(job);
        const std::vector<SendingLetter> sending = HistoryDatabase(m_strPath).lettersSending();
        ASSERT_EQ(sending.size(), 1u);
        EXPECT_EQ(sending[0].m_letter.m_strPage, "http://p0-0/");
        EXPECT_EQ(sending[0].m_letter.m_strRecipient, "w0-0@x.com");
        EXPECT_EQ(sending[0].m_letter.m_nProcess, getpid());
        recorder.LetterDone(job, "sent");
        recorder.Flush();
        EXPECT_TRUE(HistoryDatabase(m_strPath).lettersSending().empty());
        std::vector<std::string> letters;
        for (const TimelineEntry& e :
             HistoryDatabase(m_strPath).Timeline({"www.a0.com", job.m_strPage})) {
            if (e.m_bLetter) {
                letters.push_back(e.m_strText);
            }
        }
        EXPECT_EQ(letters, std::vector<std::string>{"sent"});
    }

    std::remove(m_strPath.c_str());
    const pid_t ended = EndedProcess();
    const pid_t running = getppid();
    {
        HistoryDatabase db(m_strPath);
        db.AddLetter(0,
                     {"www.a0.com", "http://p0-0/", "w0-0@x.com", now - 60, kLetterSending, ended});
        db.AddLetter(
            0, {"www.a0.com", "http://p0-1/", "w0-1@x.com", now - 60, kLetterSending, running});
    }
    now += 3600;
    m_reports.clear();
    {
        HistoryRecorder recorder(m_strPath, kSourceCli, Reporter(), clock);
        recorder.SetLetterRules({1, 7});
        const size_t before = m_panes.Notifications().size();
        Run(recorder);
        EXPECT_EQ(m_panes.Notifications().size(), before);
        for (const std::string& cell : m_panes.ResultMails()) {
            EXPECT_EQ(cell.rfind("Not mailed: this webmaster was mailed about the page on ", 0), 0u)
                << cell;
        }
    }
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_reports[0],
              "The letter to w0-0@x.com about http://p0-0/ was being sent when its "
              "program (process " +
                  std::to_string(ended) + ") ended; it is taken as sent");
    HistoryDatabase db(m_strPath);
    const std::vector<SendingLetter> left = db.lettersSending();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].m_letter.m_nProcess, running);
    std::vector<std::string> letters;
    for (const TimelineEntry& e : db.Timeline({"www.a0.com", "http://p0-0/"})) {
        if (e.m_bLetter) {
            letters.push_back(e.m_strText.substr(0, 20));
        }
    }
    EXPECT_EQ(letters, (std::vector<std::string>{std::string(kLetterTakenAsSent).substr(0, 20),
                                                 "Not mailed: this web"}));
}

// On a first run every page is new, the unreadable ones too, and the
// summary says how many pages the history now holds.
TEST_F(HistoryRecorderTest, FirstRunMarksEveryPageNew) {
    HistoryRecorder recorder(m_strPath, kSourceDesktop, Reporter());
    Set("http://p0-0/", "Page cannot be displayed");
    Set("http://p0-1/", "Link Found");
    Run(recorder);
    EXPECT_EQ(m_panes.Changes(), (std::map<int, std::string>{{0, "New"}, {1, "New"}}));
    EXPECT_EQ(m_panes.Summaries(), (std::vector<std::string>{"First run: 2 pages recorded"}));
    Run(recorder);
    EXPECT_EQ(m_panes.Changes(), (std::map<int, std::string>{{0, "Unchanged"}, {1, "Unchanged"}}));
    EXPECT_EQ(m_panes.Summaries().back(), "No change since the last run");
}

// By default the webmaster gets one letter a day about a page, however
// often Play is pressed; with 0 quiet days every run mails.
TEST_F(HistoryRecorderTest, DefaultRulesMailOnceADay) {
    std::atomic<std::int64_t> now{1'000'000};
    HistoryRecorder recorder(m_strPath, kSourceCli, Reporter(), [&now] { return now.load(); });
    Set("http://p0-0/", "Page Cannot be Found");
    Set("http://p0-1/", "Link Not Found");
    const struct {
        std::int64_t later;
        LetterRules rules;
        size_t letters;  // letters handed over so far
    } runs[] = {
        {0, {}, 2},        {34, {}, 2},     {20 * 3600, {}, 2},
        {4 * 3600, {}, 4}, {60, {1, 0}, 6}, {60, {1, 0}, 8},
    };
    for (const auto& run : runs) {
        now += run.later;
        recorder.SetLetterRules(run.rules);
        const size_t before = m_panes.Notifications().size();
        Run(recorder);
        for (size_t i = before; i < m_panes.Notifications().size(); ++i) {
            recorder.LetterDone(m_panes.Notifications()[i], "sent");
        }
        EXPECT_EQ(m_panes.Notifications().size(), run.letters) << "at " << now;
    }
}

TEST_F(HistoryRecorderTest, UnusableDatabaseIsReportedOnceAndTheRunGoesOn) {
    struct Case {
        std::string name;
        std::function<void(const std::string& path)> spoil;
        std::function<void()> after;
    };
    sqlite3* locker = nullptr;
    const std::vector<Case> cases = {
        {"corrupt", [](const std::string& path) { test::WriteBytes(path, std::string(8192, 'z')); },
         [] {}},
        {"read-only",
         [this](const std::string& path) {
             { HistoryDatabase db(path); }
             if (!SetWritable(path, false)) {
                 m_skipped.push_back("read-only: the file system has no immutable flag");
             }
         },
         [this] { SetWritable(m_strPath, true); }},
        {"locked",
         [&locker](const std::string& path) {
             { HistoryDatabase db(path); }
             sqlite3_open(path.c_str(), &locker);
             sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
         },
         [&locker] {
             sqlite3_close(locker);
             locker = nullptr;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(m_strPath.c_str());
        m_skipped.clear();
        c.spoil(m_strPath);
        if (!m_skipped.empty()) {
            c.after();
            std::cout << m_skipped[0] << '\n';
            continue;
        }
        const std::string before = test::ReadBytes(m_strPath);
        m_reports.clear();
        {
            HistoryRecorder recorder(m_strPath, kSourceDesktop, Reporter());
            recorder.SetLetterRules({3, 30});
            Set("http://p0-0/", "Link Not Found");
            Set("http://p0-1/", "Link Found");
            const size_t letters = m_panes.Notifications().size();
            Run(recorder);
            EXPECT_EQ(m_panes.ResultStatuses(),
                      (std::vector<std::string>{"Link Not Found", "Link Found"}));
            // Without history the letter goes as it always did.
            EXPECT_EQ(m_panes.Notifications().size(), letters + 1);
            EXPECT_TRUE(m_panes.Changes().empty());
            EXPECT_EQ(m_panes.Summaries().size(), 0u);
            EXPECT_FALSE(recorder.Recording());
        }
        c.after();
        ASSERT_EQ(m_reports.size(), 1u);
        EXPECT_EQ(m_reports[0].rfind("History not recorded: ", 0), 0u) << m_reports[0];
        EXPECT_EQ(test::ReadBytes(m_strPath), before);
    }
}

}  // namespace
}  // namespace tarnwick
