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
#include "scan/ScanSession.h"
#include "scan/ScriptedPanes.h"
#include "scan/StatusWords.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

extern char** environ;

namespace tarnwick {
namespace {

// Takes the right to write a file away, also from root (who ignores the
// mode): the immutable flag where the file system has it.
bool setWritable(const std::string& path, bool writable) {
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

    // One run of the panes with page results from m_results (by page address).
    void runOnce(HistoryRecorder& recorder) {
        test::PanesSession run(m_panes, [this](const std::string& page, const std::string&) {
            std::lock_guard<std::mutex> lock(m_mutex);
            const std::string& word = m_results.at(page);
            if (word == kOffNetwork) {
                PageResult unreachable(LinkResult::CannotBeDisplayed, "host name not found");
                unreachable.m_networkDown = true;
                return unreachable;
            }
            return test::pageResultOf(word, "checked " + page, 200);
        });
        run.setHistory(&recorder);
        recorder.setProfileTexts({"www.a0.com", "www.a1.com"});
        run.onPlay();
        run.waitForScanThread();
        recorder.flush();
    }

    void set(const std::string& page, const std::string& result) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results[page] = result;
    }

    HistoryRecorder::Reporter reporter() {
        return [this](const std::string& message) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_reports.push_back(message);
        };
    }

    test::TempDataFolder m_folder;
    std::string m_path = HistoryDatabase::pathIn(m_folder.folder().folder());
    test::ScriptedPanes m_panes{test::ScriptedPanes::make({2})};
    std::mutex m_mutex;
    std::map<std::string, std::string> m_results;
    std::vector<std::string> m_reports;
    std::vector<std::string> m_skipped;
};

TEST_F(HistoryRecorderTest, SecondRunShowsWhatChanged) {
    HistoryRecorder recorder(m_path, kSourceDesktop, reporter());
    set("http://p0-0/", "Link Found");
    set("http://p0-1/", "Link Not Found");
    runOnce(recorder);
    ASSERT_TRUE(m_reports.empty()) << m_reports[0];
    EXPECT_EQ(m_panes.changes(), (std::map<int, std::string>{{0, "New"}, {1, "New"}}));
    EXPECT_EQ(m_panes.summaries(), (std::vector<std::string>{"First run: 2 pages recorded"}));

    set("http://p0-0/", "Link Not Found");
    set("http://p0-1/", "Link Found");
    runOnce(recorder);
    EXPECT_EQ(m_panes.changes(), (std::map<int, std::string>{{0, "Lost"}, {1, "Restored"}}));
    EXPECT_EQ(m_panes.summaries().back(), "1 link lost, 1 restored since the last run");
    EXPECT_TRUE(m_reports.empty());

    HistoryDatabase db(m_path);
    const std::vector<RunInfo> runs = db.runs();
    ASSERT_EQ(runs.size(), 2u);
    for (const RunInfo& run : runs) {
        EXPECT_EQ(run.m_source, "desktop");
        EXPECT_EQ(run.m_outcome, "completed");
        EXPECT_GE(run.m_ended, run.m_started);
        EXPECT_EQ(run.m_counts, (ResultCounts{1, 1, 0, 0}));
    }
    EXPECT_EQ(recorder.lastRunId(), runs[1].m_id);
    const std::vector<PageRecord> kept = db.resultsOf(runs[1].m_id);
    EXPECT_EQ(kept[0].m_profile, "www.a0.com");
    EXPECT_EQ(kept[0].m_reason, "checked http://p0-0/");
    EXPECT_EQ(kept[0].m_httpStatus, 200);
}

// A run that reached no page for want of a network is recorded as offline,
// without results: the status bar says so, the next run is compared with the
// run before it and names it as unchecked. A run in which only some pages
// are off the network is an ordinary run.
TEST_F(HistoryRecorderTest, RunThatReachedNoPageIsOfflineAndComparedWithNothing) {
    HistoryRecorder recorder(m_path, kSourceDesktop, reporter());
    set("http://p0-0/", "Link Found");
    set("http://p0-1/", "Link Found");
    runOnce(recorder);
    EXPECT_FALSE(recorder.runWasOffline());

    set("http://p0-0/", kOffNetwork);
    set("http://p0-1/", kOffNetwork);
    runOnce(recorder);
    EXPECT_TRUE(recorder.runWasOffline());
    EXPECT_EQ(m_panes.summaries().back(), kOfflineSummary);

    set("http://p0-0/", "Link Not Found");
    runOnce(recorder);
    EXPECT_FALSE(recorder.runWasOffline());
    EXPECT_EQ(m_panes.changes().at(0), "Lost");
    EXPECT_EQ(m_panes.summaries().back(), "1 link lost since the last run");
    EXPECT_TRUE(m_reports.empty()) << m_reports[0];

    HistoryDatabase db(m_path);
    const std::vector<RunInfo> runs = db.runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].m_outcome, "completed");
    EXPECT_EQ(runs[1].m_outcome, "offline");
    EXPECT_EQ(runs[2].m_outcome, "completed");
    EXPECT_EQ(runs[1].m_counts, (ResultCounts{0, 0, 0, 0}));
    EXPECT_TRUE(db.resultsOf(runs[1].m_id).empty());
    const RunChanges changes = db.changesOf();
    EXPECT_EQ(changes.m_runId, runs[2].m_id);
    EXPECT_EQ(changes.m_previousId, runs[0].m_id);
    EXPECT_EQ(changes.m_offlineStarts, (std::vector<std::int64_t>{runs[1].m_started}));
    EXPECT_EQ(changes.m_counts.m_lost, 1);
}

// The real fetcher: what it saw of each page is kept, and a link that turns
// nofollow between two runs is a change in quality.
TEST_F(HistoryRecorderTest, RealScansKeepTheEvidenceAndItsChanges) {
    test::PageServer server(false, false);
    const std::string follow = "<p><a href=\"http://www.a0.com/\">Our partner</a></p>";
    server.addFile("a.html", follow);
    server.addFile("b.html", follow);
    auto profiles = test::ScriptedPanes::make({2});
    profiles[0].pages[0].m_page = server.http("/files/a.html");
    profiles[0].pages[1].m_page = server.http("/files/b.html");
    test::ScriptedPanes panes(profiles);
    HistoryRecorder recorder(m_path, kSourceCli, reporter());
    for (const char* rel : {"", " rel=\"nofollow\""}) {
        server.addFile("a.html", "<p><a href=\"http://www.a0.com/\"" + std::string(rel) +
                                     ">Our partner</a></p>");
        test::PanesSession run(panes);
        run.setHistory(&recorder);
        run.onPlay();
        run.waitForScanThread();
        recorder.flush();
    }
    ASSERT_TRUE(m_reports.empty()) << m_reports[0];
    EXPECT_EQ(panes.resultStatuses(), (std::vector<std::string>{"Link Found", "Link Found"}));
    EXPECT_EQ(panes.changes(),
              (std::map<int, std::string>{{0, "Quality changed"}, {1, "Unchanged"}}));

    HistoryDatabase db(m_path);
    const std::vector<PageRecord> kept = db.resultsOf(recorder.lastRunId());
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].m_rel, "nofollow");
    EXPECT_EQ(kept[0].m_verdict, "nofollow");
    EXPECT_EQ(kept[1].m_rel, "");
    EXPECT_EQ(kept[1].m_verdict, "follow");
    for (const PageRecord& page : kept) {
        EXPECT_EQ(page.m_httpStatus, 200);
        EXPECT_EQ(page.m_finalUrl, page.m_page);
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
    auto profiles = test::ScriptedPanes::make({2});
    profiles[0].pages[0].m_page = server.http("/files/a.html");
    // The same page through a redirect.
    std::string target = server.http("/files/a.html");
    target.replace(target.find("://"), 3, "%3A%2F%2F");
    profiles[0].pages[1].m_page = server.http("/redirect/302?to=" + target);
    test::ScriptedPanes panes(profiles);
    HistoryRecorder recorder(m_path, kSourceCli, reporter());
    const std::vector<std::string> pages = {link, "<div hidden>" + link + "</div>" + farm,
                                            link + farm, link};
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(pages[i]);
        server.addFile("a.html", pages[i]);
        test::PanesSession run(panes);
        run.setHistory(&recorder);
        run.setLinkRules(LinkRules{2});
        run.onPlay();
        run.waitForScanThread();
        recorder.flush();
        ASSERT_TRUE(m_reports.empty()) << m_reports[0];
        const std::string expected = i == 0 ? "New" : "Quality changed";
        EXPECT_EQ(panes.changes(), (std::map<int, std::string>{{0, expected}, {1, expected}}));
    }
    HistoryDatabase db(m_path);
    const std::vector<RunInfo> runs = db.runs();
    ASSERT_EQ(runs.size(), 4u);
    const auto findings = [&db](const RunInfo& run, size_t row) {
        return db.resultsOf(run.m_id).at(row).m_findings.value_or("(none)");
    };
    const std::string redirected = "redirected to " + server.http("/files/a.html");
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
    HistoryRecorder recorder(m_path, kSourceCli, reporter(), [&now] { return now.load(); });
    recorder.setLetterRules({2, 7});
    set("http://p0-0/", "Link Not Found");
    set("http://p0-1/", "Link Found");

    // Missing once: held back, and the cell says why.
    runOnce(recorder);
    EXPECT_TRUE(m_panes.notifications().empty());
    EXPECT_EQ(m_panes.resultMails()[0],
              "Not mailed: the link has been missing in 1 run, letters wait for 2");

    // Missing twice: it goes, and the recorder hears it went.
    now += 3600;
    runOnce(recorder);
    ASSERT_EQ(m_panes.notifications().size(), 1u);
    EXPECT_EQ(m_panes.resultMails()[0], "w0-0@x.com");
    recorder.letterDone(m_panes.notifications()[0], "sent");

    // A day later: the same webmaster is not mailed again within 7 days.
    now += std::int64_t{24} * 3600;
    runOnce(recorder);
    EXPECT_EQ(m_panes.notifications().size(), 1u);
    EXPECT_EQ(m_panes.resultMails()[0].rfind("Not mailed: this webmaster was mailed about the page "
                                             "on ",
                                             0),
              0u)
        << m_panes.resultMails()[0];
    EXPECT_NE(m_panes.resultMails()[0].find(", within 7 days"), std::string::npos);

    // Eight days after the letter it goes again.
    now += std::int64_t{7} * 24 * 3600;
    runOnce(recorder);
    EXPECT_EQ(m_panes.notifications().size(), 2u);

    // Played again while that letter is still on its way (a slow mail
    // server): it counts as sent, the webmaster gets no second one.
    now += 60;
    runOnce(recorder);
    EXPECT_EQ(m_panes.notifications().size(), 2u);
    EXPECT_NE(m_panes.resultMails()[0].find(", within 7 days"), std::string::npos)
        << m_panes.resultMails()[0];

    // The timeline holds both kinds of letters.
    HistoryDatabase db(m_path);
    std::vector<std::string> letters;
    for (const TimelineEntry& e : db.timeline({"www.a0.com", "http://p0-0/"})) {
        if (e.m_letter) {
            letters.push_back(e.m_text.substr(0, 15));
        }
    }
    EXPECT_EQ(letters, (std::vector<std::string>{"Not mailed: the", "sent", "Not mailed: thi",
                                                 "Not mailed: thi"}));
}

// A process id that no process has any more.
pid_t endedProcess() {
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
    set("http://p0-0/", "Link Not Found");
    set("http://p0-1/", "Link Not Found");
    {
        HistoryRecorder recorder(m_path, kSourceCli, reporter(), clock);
        runOnce(recorder);
        ASSERT_EQ(m_panes.notifications().size(), 2u);
        const NotificationJob job = m_panes.notifications()[0];
        recorder.letterSending(job);
        const std::vector<SendingLetter> sending = HistoryDatabase(m_path).lettersSending();
        ASSERT_EQ(sending.size(), 1u);
        EXPECT_EQ(sending[0].m_letter.m_page, "http://p0-0/");
        EXPECT_EQ(sending[0].m_letter.m_recipient, "w0-0@x.com");
        EXPECT_EQ(sending[0].m_letter.m_process, getpid());
        recorder.letterDone(job, "sent");
        recorder.flush();
        EXPECT_TRUE(HistoryDatabase(m_path).lettersSending().empty());
        std::vector<std::string> letters;
        for (const TimelineEntry& e :
             HistoryDatabase(m_path).timeline({"www.a0.com", job.m_page})) {
            if (e.m_letter) {
                letters.push_back(e.m_text);
            }
        }
        EXPECT_EQ(letters, std::vector<std::string>{"sent"});
    }

    std::remove(m_path.c_str());
    const pid_t ended = endedProcess();
    const pid_t running = getppid();
    {
        HistoryDatabase db(m_path);
        db.addLetter(0,
                     {"www.a0.com", "http://p0-0/", "w0-0@x.com", now - 60, kLetterSending, ended});
        db.addLetter(
            0, {"www.a0.com", "http://p0-1/", "w0-1@x.com", now - 60, kLetterSending, running});
    }
    now += 3600;
    m_reports.clear();
    {
        HistoryRecorder recorder(m_path, kSourceCli, reporter(), clock);
        recorder.setLetterRules({1, 7});
        const size_t before = m_panes.notifications().size();
        runOnce(recorder);
        EXPECT_EQ(m_panes.notifications().size(), before);
        for (const std::string& cell : m_panes.resultMails()) {
            EXPECT_EQ(cell.rfind("Not mailed: this webmaster was mailed about the page on ", 0), 0u)
                << cell;
        }
    }
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_reports[0],
              "The letter to w0-0@x.com about http://p0-0/ was being sent when its "
              "program (process " +
                  std::to_string(ended) + ") ended; it is taken as sent");
    HistoryDatabase db(m_path);
    const std::vector<SendingLetter> left = db.lettersSending();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].m_letter.m_process, running);
    std::vector<std::string> letters;
    for (const TimelineEntry& e : db.timeline({"www.a0.com", "http://p0-0/"})) {
        if (e.m_letter) {
            letters.push_back(e.m_text.substr(0, 20));
        }
    }
    EXPECT_EQ(letters, (std::vector<std::string>{std::string(kLetterTakenAsSent).substr(0, 20),
                                                 "Not mailed: this web"}));
}

// On a first run every page is new, the unreadable ones too, and the
// summary says how many pages the history now holds.
TEST_F(HistoryRecorderTest, FirstRunMarksEveryPageNew) {
    HistoryRecorder recorder(m_path, kSourceDesktop, reporter());
    set("http://p0-0/", "Page cannot be displayed");
    set("http://p0-1/", "Link Found");
    runOnce(recorder);
    EXPECT_EQ(m_panes.changes(), (std::map<int, std::string>{{0, "New"}, {1, "New"}}));
    EXPECT_EQ(m_panes.summaries(), (std::vector<std::string>{"First run: 2 pages recorded"}));
    runOnce(recorder);
    EXPECT_EQ(m_panes.changes(), (std::map<int, std::string>{{0, "Unchanged"}, {1, "Unchanged"}}));
    EXPECT_EQ(m_panes.summaries().back(), "No change since the last run");
}

// By default the webmaster gets one letter a day about a page, however
// often Play is pressed; with 0 quiet days every run mails.
TEST_F(HistoryRecorderTest, DefaultRulesMailOnceADay) {
    std::atomic<std::int64_t> now{1'000'000};
    HistoryRecorder recorder(m_path, kSourceCli, reporter(), [&now] { return now.load(); });
    set("http://p0-0/", "Page Cannot be Found");
    set("http://p0-1/", "Link Not Found");
    const struct {
        std::int64_t later;
        LetterRules rules;
        size_t letters;  // letters handed over so far
    } runs[] = {
        {0, {}, 2},
        {34, {}, 2},
        {std::int64_t{20} * 3600, {}, 2},
        {std::int64_t{4} * 3600, {}, 4},
        {60, {1, 0}, 6},
        {60, {1, 0}, 8},
    };
    for (const auto& run : runs) {
        now += run.later;
        recorder.setLetterRules(run.rules);
        const size_t before = m_panes.notifications().size();
        runOnce(recorder);
        for (size_t i = before; i < m_panes.notifications().size(); ++i) {
            recorder.letterDone(m_panes.notifications()[i], "sent");
        }
        EXPECT_EQ(m_panes.notifications().size(), run.letters) << "at " << now;
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
        {"corrupt", [](const std::string& path) { test::writeBytes(path, std::string(8192, 'z')); },
         [] {}},
        {"read-only",
         [this](const std::string& path) {
             { HistoryDatabase db(path); }
             if (!setWritable(path, false)) {
                 m_skipped.emplace_back("read-only: the file system has no immutable flag");
             }
         },
         [this] { setWritable(m_path, true); }},
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
        std::remove(m_path.c_str());
        m_skipped.clear();
        c.spoil(m_path);
        if (!m_skipped.empty()) {
            c.after();
            std::cout << m_skipped[0] << '\n';
            continue;
        }
        const std::string before = test::readBytes(m_path);
        m_reports.clear();
        {
            HistoryRecorder recorder(m_path, kSourceDesktop, reporter());
            recorder.setLetterRules({3, 30});
            set("http://p0-0/", "Link Not Found");
            set("http://p0-1/", "Link Found");
            const size_t letters = m_panes.notifications().size();
            runOnce(recorder);
            EXPECT_EQ(m_panes.resultStatuses(),
                      (std::vector<std::string>{"Link Not Found", "Link Found"}));
            // Without history the letter goes as it always did.
            EXPECT_EQ(m_panes.notifications().size(), letters + 1);
            EXPECT_TRUE(m_panes.changes().empty());
            EXPECT_EQ(m_panes.summaries().size(), 0u);
            EXPECT_FALSE(recorder.recording());
        }
        c.after();
        ASSERT_EQ(m_reports.size(), 1u);
        EXPECT_EQ(m_reports[0].rfind("History not recorded: ", 0), 0u) << m_reports[0];
        EXPECT_EQ(test::readBytes(m_path), before);
    }
}

}  // namespace
}  // namespace tarnwick
