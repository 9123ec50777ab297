#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "mail/NotificationQueue.h"
#include "scan/PageServer.h"
#include "scan/ScanSession.h"
#include "scan/ScriptedPanes.h"
#include "scan/SinglePageCheck.h"
#include "support/ResultWords.h"

namespace tarnwick {
namespace {

using test::MarshalledPanes;
using test::pageResultOf;
using test::PanesSession;
using test::PaneThread;
using test::ScriptedPanes;
using Statuses = std::vector<std::string>;

// A one-way door between threads.
class Gate {
public:
    void open() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_cv.notify_all();
    }
    bool wait(std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return m_open; });
    }
    bool isOpen() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_open;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_open = false;
};

// The engine's page seam: results by page address ("Link Found" otherwise),
// with a hook that runs inside the check of a given results row.
class FakeChecker {
public:
    std::map<std::string, std::string> results;
    std::function<void(int index)> during;  // index: how many pages were checked before

    PageChecker fn() {
        return [this](const std::string& page, const std::string&) {
            int index;
            std::function<void(int)> hook;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                index = static_cast<int>(m_checked.size());
                m_checked.push_back(page);
                m_threads.insert(std::this_thread::get_id());
                hook = during;
            }
            if (hook) {
                hook(index);
            }
            const auto it = results.find(page);
            return pageResultOf(it == results.end() ? std::string("Link Found") : it->second);
        };
    }
    std::vector<std::string> checked() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_checked;
    }
    std::set<std::thread::id> threads() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_threads;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_checked;
    std::set<std::thread::id> m_threads;
};

struct Flags {
    bool running, stop, play, stopEnabled;
    bool operator==(const Flags&) const = default;
};
Flags now(const ScanSession& run) {
    const RunState& state = run.runState();
    return {state.isRunning(), run.stopRequested(), state.isPlayEnabled(), state.isStopEnabled()};
}
const Flags kRunningFlags{true, false, false, true};
const Flags kEndedFlags{false, true, true, false};

std::ostream& operator<<(std::ostream& os, const Flags& f) {
    return os << "running " << f.running << " stop " << f.stop << " play " << f.play
              << " stopEnabled " << f.stopEnabled;
}

size_t indexOf(const Statuses& log, const std::string& entry, size_t from = 0) {
    const auto it = std::find(log.begin() + static_cast<long>(from), log.end(), entry);
    return static_cast<size_t>(it - log.begin());
}

// Each session starts idle; its panes give Play something to play.
class ScanRunTest : public ::testing::Test {};

TEST_F(ScanRunTest, TwoProfilesProgressOnePagePastTheirLast) {
    ScriptedPanes panes(ScriptedPanes::make({3, 2}));
    FakeChecker checker;
    Gate firstPage;
    std::map<int, Statuses> profilesDuring;
    checker.during = [&](int index) {
        if (index == 0) {
            firstPage.wait();
        }
        profilesDuring[index] = panes.profileStatuses();
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Running...", "Waiting..."}));
    EXPECT_EQ(run.runRows(), "0+1+");
    EXPECT_EQ(now(run), kRunningFlags);
    firstPage.open();
    run.waitForScanThread();

    EXPECT_EQ(profilesDuring[2], (Statuses{"Running...", "Waiting..."}));
    EXPECT_EQ(profilesDuring[3], (Statuses{"Running...", "Waiting..."}));  // B's first page
    EXPECT_EQ(profilesDuring[4], (Statuses{"Completed.", "Running..."}));
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Completed"}));
    EXPECT_EQ(run.runRows(), "1+");
    EXPECT_EQ(now(run), kEndedFlags);
    EXPECT_EQ(panes.reportCount(), 1);
    EXPECT_EQ(panes.report(0).size(), 5u);
    EXPECT_EQ(panes.resultStatuses(), Statuses(5, "Link Found"));
    EXPECT_FALSE(run.isScanThreadActive());

    // The step is taken after the result of B's first page is written.
    const Statuses log = panes.log();
    const size_t result3 = indexOf(log, "result 3 Link Found");
    EXPECT_LT(result3, indexOf(log, "profile 0 Completed."));
    EXPECT_LT(indexOf(log, "profile 0 Completed."), indexOf(log, "profile 1 Running..."));
    EXPECT_LT(indexOf(log, "profile 1 Running..."), indexOf(log, "started 4"));
    // Pages in results-row order, each announced before it is checked.
    for (int k = 0; k < 5; ++k) {
        EXPECT_LT(indexOf(log, "started " + std::to_string(k)),
                  indexOf(log, "result " + std::to_string(k) + " Link Found"));
    }
}

TEST_F(ScanRunTest, UntickedProfilesKeepTheirStatusAndPages) {
    auto profiles = ScriptedPanes::make({1, 2, 1});
    profiles[1].ticked = false;
    profiles[1].status = "Completed";
    ScriptedPanes panes(profiles);
    FakeChecker checker;
    Statuses runRowsDuring;
    PanesSession run(panes, checker.fn());
    checker.during = [&](int) { runRowsDuring.push_back(run.runRows()); };
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(runRowsDuring, (Statuses{"0+2+", "0+2+"}));
    EXPECT_EQ(checker.checked(), (Statuses{"http://p0-0/", "http://p2-0/"}));
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Completed", "Completed"}));
    EXPECT_EQ(panes.log().front(), "profile 0 Running...");
}

TEST_F(ScanRunTest, SinglePageCompletesWithoutDot) {
    ScriptedPanes panes(ScriptedPanes::make({1}));
    FakeChecker checker;
    checker.results["http://p0-0/"] = "Page cannot be displayed";
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed"}));
    EXPECT_EQ(panes.resultStatuses(), (Statuses{"Page cannot be displayed"}));
    EXPECT_EQ(panes.reportCount(), 1);
    EXPECT_EQ(now(run), kEndedFlags);
}

TEST_F(ScanRunTest, StopWhileThirdOfTenPagesIsChecked) {
    ScriptedPanes panes(ScriptedPanes::make({10}));
    FakeChecker checker;
    checker.results["http://p0-2/"] = "Link Not Found";
    Gate inThird;
    Gate release;
    checker.during = [&](int index) {
        if (index == 2) {
            inThird.open();
            release.wait();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    ASSERT_TRUE(inThird.wait());
    run.onStop();
    Statuses expected(10, "Stopped by user");
    expected[0] = expected[1] = "Link Found";
    EXPECT_EQ(panes.resultStatuses(), expected);
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Stopped."}));
    EXPECT_EQ(panes.reportCount(), 1);
    EXPECT_EQ(now(run), kEndedFlags);

    release.open();
    run.waitForScanThread();
    expected[2] = "Link Not Found";
    EXPECT_EQ(panes.resultStatuses(), expected);
    EXPECT_EQ(checker.checked().size(), 3u);
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Stopped."}));
    EXPECT_EQ(panes.reportCount(), 1);
    EXPECT_EQ(panes.notifications().size(), 1u);  // the page finished after Stop
    EXPECT_EQ(now(run), kEndedFlags);
}

TEST_F(ScanRunTest, PageFinishingAfterStopStillMovesTheProfiles) {
    ScriptedPanes panes(ScriptedPanes::make({2, 3}));
    FakeChecker checker;
    Gate inThird;
    Gate release;
    checker.during = [&](int index) {
        if (index == 2) {
            inThird.open();
            release.wait();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    ASSERT_TRUE(inThird.wait());
    run.onStop();
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Stopped.", "Stopped."}));
    release.open();
    run.waitForScanThread();
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Running..."}));
    EXPECT_EQ(panes.resultStatuses(), (Statuses{"Link Found", "Link Found", "Link Found",
                                                "Stopped by user", "Stopped by user"}));
}

TEST_F(ScanRunTest, StopDuringTheLastPageOffersTheReportTwice) {
    ScriptedPanes panes(ScriptedPanes::make({3}));
    FakeChecker checker;
    Gate inLast;
    Gate release;
    checker.during = [&](int index) {
        if (index == 2) {
            inLast.open();
            release.wait();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    ASSERT_TRUE(inLast.wait());
    run.onStop();
    EXPECT_EQ(panes.reportCount(), 1);
    EXPECT_EQ(panes.report(0)[2].statusText(), "Stopped by user");
    release.open();
    run.waitForScanThread();
    EXPECT_EQ(panes.reportCount(), 2);
    EXPECT_EQ(panes.report(1)[2].statusText(), "Link Found");
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed"}));
    EXPECT_EQ(now(run), kEndedFlags);
}

TEST_F(ScanRunTest, NotificationsOnlyForLostLinksWithNotificationEnabled) {
    const Statuses results = {"Link Found", "Link Not Found", "Page cannot be displayed",
                              "Page Cannot be Found"};
    auto profiles = ScriptedPanes::make({9});
    FakeChecker checker;
    for (int k = 0; k < 9; ++k) {
        ResultRow& page = profiles[0].pages[k];
        page.m_notify = k < 4 ? "Enabled" : k < 8 ? "Disabled" : "enabled";
        checker.results[page.m_page] = k == 8 ? "Link Not Found" : results[k % 4];
    }
    ScriptedPanes panes(profiles);
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    const auto sent = panes.notifications();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].m_row, 1);
    EXPECT_EQ(sent[0].m_page, "http://p0-1/");
    EXPECT_EQ(sent[0].m_advertiser, "www.a0.com");
    EXPECT_EQ(sent[0].m_mail, "w0-1@x.com");
    EXPECT_EQ(sent[1].m_row, 3);
    // Handed over right after the page's result, before the next page starts.
    const Statuses log = panes.log();
    EXPECT_LT(indexOf(log, "result 1 Link Not Found"), indexOf(log, "notify 1"));
    EXPECT_LT(indexOf(log, "notify 1"), indexOf(log, "started 2"));
}

// The end of a letter comes later, on the thread that sent it, after the run
// has ended too: the history records it first, then every listener hears it
// there, as sent or as not sent and why.
TEST_F(ScanRunTest, LetterEndsAreToldOnTheSendingThread) {
    struct LetterEnds : RunHistory, ScanListener {
        void runStarted(const ScanPlan&) override {}
        std::string pageChecked(const ScanJob&, const PageResult&) override { return {}; }
        std::string letterHeldBack(const ScanJob&) override { return {}; }
        std::string runEnded(bool) override { return {}; }
        void letterDone(const NotificationJob& job, const std::string& outcome) override {
            tell("recorded " + std::to_string(job.m_row) + " " + outcome);
        }
        void letterSent(const NotificationJob& job) override {
            tell("sent " + std::to_string(job.m_row) + " " + job.m_mail);
        }
        void letterNotSent(const NotificationJob& job, const std::string& why) override {
            tell("not sent " + std::to_string(job.m_row) + " " + why);
        }
        void tell(const std::string& entry) {
            told.push_back(entry);
            threads.insert(std::this_thread::get_id());
        }
        Statuses told;
        std::set<std::thread::id> threads;
    };
    auto profiles = ScriptedPanes::make({3});
    FakeChecker checker;
    for (const ResultRow& page : profiles[0].pages) {
        checker.results[page.m_page] = "Link Not Found";
    }
    ScriptedPanes panes(profiles);
    PanesSession run(panes, checker.fn());
    LetterEnds ends;
    run.setHistory(&ends);
    run.addListener(&ends);
    run.onPlay();
    run.waitForScanThread();
    const auto queued = panes.notifications();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_TRUE(ends.told.empty());

    std::thread::id sender;
    std::thread mail([&] {
        sender = std::this_thread::get_id();
        run.letterDone(queued[2], "The SMTP server 127.0.0.1:25 did not answer in time.");
        run.letterDone(queued[0], kLetterOutcomeSent);
    });
    mail.join();
    EXPECT_EQ(ends.told,
              (Statuses{"recorded 2 The SMTP server 127.0.0.1:25 did not answer in time.",
                        "not sent 2 The SMTP server 127.0.0.1:25 did not answer in time.",
                        "recorded 0 sent", "sent 0 w0-0@x.com"}));
    EXPECT_EQ(ends.threads, (std::set<std::thread::id>{sender}));
}

// A profile whose advertiser's address is empty has nothing to ask back: its
// lost pages are not mailed, and the Mail Address cell says why.
TEST_F(ScanRunTest, NoLetterForAProfileWithoutAdvertiser) {
    auto profiles = ScriptedPanes::make({2, 1});
    for (ResultRow& page : profiles[0].pages) {
        page.m_advertiser.clear();
    }
    FakeChecker checker;
    checker.results[profiles[0].pages[0].m_page] = "Link Not Found";
    checker.results[profiles[0].pages[1].m_page] = "Page Cannot be Found";
    checker.results[profiles[1].pages[0].m_page] = "Link Not Found";
    ScriptedPanes panes(profiles);
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    const auto sent = panes.notifications();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].m_row, 2);
    const auto reports = panes.report(0);
    EXPECT_EQ(reports[0].m_mail, "Not mailed: the profile has no advertiser's address");
    EXPECT_EQ(reports[1].m_mail, "Not mailed: the profile has no advertiser's address");
    EXPECT_EQ(reports[2].m_mail, "w1-0@x.com");
}

// The reason and the HTTP status of a page are kept with its row.
TEST_F(ScanRunTest, ReasonAndHttpStatusAreKeptWithTheRow) {
    ScriptedPanes panes(ScriptedPanes::make({2}));
    PanesSession run(panes, [](const std::string& page, const std::string&) {
        return page == "http://p0-0/" ? pageResultOf("Page cannot be displayed", "HTTP 503", 503)
                                      : pageResultOf("Link Found",
                                                     "link found 8 characters after "
                                                     "href=",
                                                     200);
    });
    run.onPlay();
    run.waitForScanThread();
    const auto rows = panes.report(0);
    EXPECT_EQ(rows[0].statusText(), "Page cannot be displayed");
    EXPECT_EQ(rows[0].m_reason, "HTTP 503");
    EXPECT_EQ(rows[0].m_httpStatus, 503);
    EXPECT_EQ(rows[1].m_reason, "link found 8 characters after href=");
    EXPECT_EQ(rows[1].m_httpStatus, 200);
    EXPECT_TRUE(panes.notifications().empty());
}

TEST_F(ScanRunTest, PlayAgainStartsFromScratch) {
    ScriptedPanes panes(ScriptedPanes::make({2, 1}));
    FakeChecker checker;
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    ASSERT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Completed"}));

    Statuses resultsAtFirstPage;
    Statuses profilesAtFirstPage;
    checker.during = [&](int index) {
        if (index == 3) {
            resultsAtFirstPage = panes.resultStatuses();
            profilesAtFirstPage = panes.profileStatuses();
        }
    };
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(resultsAtFirstPage, Statuses(3, ""));
    EXPECT_EQ(profilesAtFirstPage, (Statuses{"Running...", "Waiting..."}));
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Completed"}));
    EXPECT_EQ(checker.checked().size(), 6u);
    EXPECT_EQ(panes.reportCount(), 2);
}

TEST_F(ScanRunTest, RunWithoutPagesEndsAtOnce) {
    ScriptedPanes panes(ScriptedPanes::make({0, 0}));
    FakeChecker checker;
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed", "Completed."}));
    EXPECT_EQ(now(run), kEndedFlags);
    EXPECT_EQ(panes.reportCount(), 1);
    EXPECT_TRUE(checker.checked().empty());

    // No profile ticked: no profile status is touched.
    auto unticked = ScriptedPanes::make({2, 1});
    unticked[0].ticked = unticked[1].ticked = false;
    unticked[1].status = "Stopped.";
    ScriptedPanes none(unticked);
    PanesSession run2(none, checker.fn());
    run2.onPlay();
    run2.waitForScanThread();
    EXPECT_EQ(none.profileStatuses(), (Statuses{"", "Stopped."}));
    EXPECT_EQ(now(run2), kEndedFlags);
    EXPECT_EQ(none.reportCount(), 1);
}

// Several listeners follow one session: each hears every event, in the same
// order; the plan is a value taken at Play, so profiles changed during the run
// change nothing of it.
TEST_F(ScanRunTest, EveryListenerHearsTheWholeRunOfThePlanTakenAtPlay) {
    ScriptedPanes panes(ScriptedPanes::make({2, 1}));
    ScriptedPanes second(ScriptedPanes::make({2, 1}));
    FakeChecker checker;
    checker.results["http://p0-1/"] = "Link Not Found";
    checker.during = [&](int index) {
        if (index == 0) {
            panes.setProfiles(ScriptedPanes::make({2, 1, 5}));
        }
    };
    PanesSession run(panes, checker.fn());
    run.addListener(&second);
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(checker.checked(), (Statuses{"http://p0-0/", "http://p0-1/", "http://p1-0/"}));
    EXPECT_EQ(second.log(), panes.log());
    EXPECT_EQ(second.resultStatuses(), (Statuses{"Link Found", "Link Not Found", "Link Found"}));
    EXPECT_EQ(second.profileStatuses(), (Statuses{"Completed.", "Completed"}));
    ASSERT_EQ(second.notifications().size(), 1u);
    EXPECT_EQ(second.notifications()[0].m_row, 1);
    EXPECT_EQ(second.reportCount(), 1);
}

TEST_F(ScanRunTest, ProfilesWithoutPagesArePassedOver) {
    ScriptedPanes panes(ScriptedPanes::make({1, 0, 1, 0}));
    FakeChecker checker;
    Statuses profilesAtLastPage;
    checker.during = [&](int index) {
        if (index == 1) {
            profilesAtLastPage = panes.profileStatuses();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(profilesAtLastPage,
              (Statuses{"Running...", "Waiting...", "Waiting...", "Waiting..."}));
    EXPECT_EQ(panes.profileStatuses(),
              (Statuses{"Completed.", "Completed.", "Completed", "Completed."}));
}

int threadCount() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (dirent* e = readdir(d)) {
            n += e->d_name[0] != '.';
        }
        closedir(d);
    }
    return n;
}

TEST_F(ScanRunTest, OneScanThreadChecksEveryPageInOrder) {
    ScriptedPanes panes(ScriptedPanes::make({8000, 4000, 8000}));
    FakeChecker checker;
    const int before = threadCount();
    std::atomic<int> most{0};
    checker.during = [&](int index) {
        if (index % 1000 == 0) {
            most = std::max(most.load(), threadCount());
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    run.waitForScanThread();
    const auto threads = checker.threads();
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_NE(*threads.begin(), std::this_thread::get_id());
    EXPECT_LE(most.load(), before + 1);
    const Statuses checked = checker.checked();
    ASSERT_EQ(checked.size(), 20000u);
    EXPECT_EQ(checked[8000], "http://p1-0/");
    EXPECT_EQ(checked[19999], "http://p2-7999/");
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Completed.", "Completed"}));
}

// The panes behind a pane thread, as in the desktop program: the test thread
// is that thread and serves the scan thread's calls while it waits.
TEST_F(ScanRunTest, PanesOnTheirOwnThreadCompleteAndStop) {
    PaneThread paneThread;
    ScriptedPanes inner(ScriptedPanes::make({2, 2}));
    MarshalledPanes panes(inner, paneThread);
    FakeChecker checker;
    Gate inLast;
    Gate release;
    checker.during = [&](int index) {
        if (index == 3) {
            inLast.open();
            release.wait();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    ASSERT_TRUE(paneThread.pumpUntil([&] { return inLast.isOpen(); }));
    run.onStop();
    release.open();
    ASSERT_TRUE(paneThread.pumpUntil([&] { return !run.isScanThreadActive(); }));
    EXPECT_EQ(inner.reportCount(), 2);
    EXPECT_EQ(inner.profileStatuses(), (Statuses{"Completed.", "Completed"}));
    EXPECT_EQ(inner.resultStatuses(), Statuses(4, "Link Found"));
}

TEST_F(ScanRunTest, PlayRightAfterStopWaitsForTheStoppedPage) {
    PaneThread paneThread;
    ScriptedPanes inner(ScriptedPanes::make({3}));
    MarshalledPanes panes(inner, paneThread);
    FakeChecker checker;
    checker.results["http://p0-1/"] = "Link Not Found";
    Gate inSecond;
    Gate release;
    checker.during = [&](int index) {
        if (index == 1) {
            inSecond.open();
            release.wait();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    ASSERT_TRUE(paneThread.pumpUntil([&] { return inSecond.isOpen(); }));
    run.onStop();
    run.onPlay();  // the stopped run is still checking its page
    EXPECT_EQ(now(run), kRunningFlags);
    const size_t logAtPlay = inner.log().size();
    release.open();
    ASSERT_TRUE(paneThread.pumpUntil([&] { return !run.isScanThreadActive(); }));

    const Statuses log = inner.log();
    // Nothing of the stopped run's last page is shown; the new run starts clean.
    EXPECT_EQ(log[logAtPlay], "profile 0 Running...");
    EXPECT_EQ(log[logAtPlay + 1], "rebuild");
    EXPECT_EQ(inner.resultStatuses(), (Statuses{"Link Found", "Link Not Found", "Link Found"}));
    EXPECT_EQ(inner.profileStatuses(), (Statuses{"Completed"}));
    EXPECT_EQ(checker.checked().size(), 5u);
    EXPECT_EQ(inner.notifications().size(), 1u);  // only the new run's
    EXPECT_EQ(inner.reportCount(), 2);            // Stop, end of the new run
    EXPECT_EQ(now(run), kEndedFlags);
}

TEST_F(ScanRunTest, StopBeforeTheDeferredRunBeginsStopsIt) {
    ScriptedPanes panes(ScriptedPanes::make({3}));
    FakeChecker checker;
    Gate inFirst;
    Gate release;
    checker.during = [&](int index) {
        if (index == 0) {
            inFirst.open();
            release.wait();
        }
    };
    PanesSession run(panes, checker.fn());
    run.onPlay();
    ASSERT_TRUE(inFirst.wait());
    run.onStop();
    run.onPlay();
    run.onStop();
    release.open();
    run.waitForScanThread();
    EXPECT_EQ(checker.checked().size(), 1u);
    EXPECT_EQ(now(run), kEndedFlags);
    EXPECT_EQ(panes.reportCount(), 2);
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Stopped."}));
}

TEST_F(ScanRunTest, ShutdownWhileTheScanThreadWaitsForThePanes) {
    PaneThread paneThread;
    ScriptedPanes inner(ScriptedPanes::make({50}));
    MarshalledPanes panes(inner, paneThread);
    FakeChecker checker;
    auto run = std::make_unique<PanesSession>(panes, checker.fn());
    run->onPlay();
    ASSERT_TRUE(paneThread.pumpUntil([&] { return checker.checked().size() >= 3; }));
    run->requestShutdown();
    ASSERT_TRUE(paneThread.pumpUntil([&] { return !run->isScanThreadActive(); }));
    run.reset();
    EXPECT_LT(checker.checked().size(), 50u);
}

// The real fetcher against a loopback server.
TEST_F(ScanRunTest, RunAgainstRealServer) {
    test::PageServer server(false, true);
    server.addFile("link.html", "<a href=\"http://www.a0.com/\">x</a>");
    server.addFile("gone.html", "<title>404 Not Found</title>");
    auto profiles = ScriptedPanes::make({3, 2});
    profiles[0].pages[0].m_page = server.http("/files/link.html");
    profiles[0].pages[1].m_page = server.http("/files/none.html");  // the server's 404 page
    profiles[0].pages[2].m_page = server.ftp("/link.html");
    profiles[1].pages[0].m_page = server.http("/files/link.html");  // not www.a1.com
    profiles[1].pages[1].m_page = "127.0.0.1/files/link.html";
    ScriptedPanes panes(profiles);
    PanesSession run(panes);
    run.onPlay();
    run.waitForScanThread();
    EXPECT_EQ(panes.resultStatuses(), (Statuses{"Link Found", "Page Cannot be Found", "Link Found",
                                                "Link Not Found", "Page cannot be displayed"}));
    EXPECT_EQ(panes.profileStatuses(), (Statuses{"Completed.", "Completed"}));
    ASSERT_EQ(panes.notifications().size(), 2u);
    EXPECT_EQ(panes.notifications()[0].m_row, 1);
    EXPECT_EQ(panes.notifications()[1].m_row, 3);
}

TEST_F(ScanRunTest, DestroyingTheRunCancelsAHangingFetch) {
    test::PageServer server(false, false);
    auto profiles = ScriptedPanes::make({2});
    profiles[0].pages[0].m_page = server.http("/silent");
    ScriptedPanes panes(profiles);
    const auto start = std::chrono::steady_clock::now();
    {
        PanesSession run(panes);
        run.onPlay();
        while (panes.log().back() != "started 0") {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(panes.resultStatuses(), Statuses(2, ""));
}

// One page checked on its own, from a real server: its result and evidence
// come back on the check's thread; a second check waits for the first; a
// check cancelled (the window closing) tells nothing.
TEST_F(ScanRunTest, OnePageCheckedOnItsOwn) {
    test::PageServer server(false, false);
    server.addFile("found.html", "<a href=\"http://www.example.com/\">us</a>");
    std::mutex mutex;
    std::condition_variable told;
    std::vector<PageResult> results;
    bool evidence = false;
    const auto done = [&](const PageResult& result, const PageEvidence& seen) {
        std::lock_guard<std::mutex> lock(mutex);
        results.push_back(result);
        evidence = seen.m_checked;
        told.notify_all();
    };
    {
        SinglePageCheck check;
        ASSERT_TRUE(check.start(server.http("/files/found.html"), "www.example.com",
                                PageFetcher::Options{}, LinkRules{}, done));
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(
            told.wait_for(lock, std::chrono::seconds(20), [&] { return !results.empty(); }));
        EXPECT_EQ(results[0].word(), "Link Found");
        EXPECT_TRUE(evidence);
    }
    {
        SinglePageCheck check;
        ASSERT_TRUE(check.start(server.http("/silent"), "www.example.com", PageFetcher::Options{},
                                LinkRules{}, done));
        EXPECT_TRUE(check.busy());
        EXPECT_FALSE(check.start(server.http("/files/found.html"), "www.example.com",
                                 PageFetcher::Options{}, LinkRules{}, done));
        check.cancel();  // the destructor then waits for the fetch's thread
    }
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(results.size(), 1u);
}

}  // namespace
}  // namespace tarnwick
