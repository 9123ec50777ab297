// Pages fetched side by side: whatever the number of pages on the wire, the
// run shows exactly what the one-page-at-a-time run shows, in the same order.
// Real loopback hosts (127.0.0.2, 127.0.0.3, ...) answer after delays chosen
// so that later pages finish before earlier ones.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "scan/FetchSettings.h"
#include "scan/PageServer.h"
#include "scan/RunHistory.h"
#include "scan/ScanSession.h"
#include "scan/ScriptedPanes.h"
#include "support/ResultWords.h"

namespace tarnwick {
namespace {

using test::PageServer;
using test::ScriptedPanes;
using Log = std::vector<std::string>;

constexpr int kHosts = 4;

// The history's seat at the run: every call goes into the panes' log, so the
// order of both is checked at once.
class LoggingObserver : public RunHistory {
public:
    explicit LoggingObserver(ScriptedPanes& panes) : m_panes(panes) {}
    void runStarted(const ScanPlan& plan) override {
        m_panes.note("observer started " + std::to_string(plan.size()));
    }
    void pageEvidenceSeen(const ScanJob& job, const PageEvidence& evidence) override {
        m_panes.note("observer evidence " + std::to_string(job.m_row) + " " +
                     std::to_string(evidence.m_httpStatus));
    }
    std::string pageChecked(const ScanJob& job, const PageResult& result) override {
        m_panes.note("observer checked " + std::to_string(job.m_row) + " " + result.word() + " (" +
                     result.m_reason + ")");
        if (onChecked) {
            onChecked(job.m_row);
        }
        return job.m_row % 3 == 0 ? "new" : "";
    }
    std::string letterHeldBack(const ScanJob& job) override {
        m_panes.note("observer letter " + std::to_string(job.m_row));
        return job.m_row % 2 == 0 ? "" : "mailed 2 days ago";
    }
    std::string runEnded(bool completed) override {
        m_panes.note(std::string("observer ended ") + (completed ? "completed" : "stopped"));
        return completed ? "all checked" : "stopped";
    }
    std::function<void(int row)> onChecked;

private:
    ScriptedPanes& m_panes;
};

// One page of a case: on which further host, after how long, which answer.
struct Page {
    int host;
    int delayMs;
    const char* file;  // "link.html", "none.html", "gone.html"; "silent": never answers
};

struct Case {
    const char* name;
    std::vector<std::vector<Page>> profiles;  // pages of each ticked profile
    int stopAtRow = -1;                       // Stop as this row's turn comes
    long pageTimeoutSeconds = 30;
};

class ParallelScanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new PageServer(false, false, kHosts);
        s_server->addFile("link.html", "<p>Partner</p><a href=\"http://www.example.com/\">us</a>");
        s_server->addFile("none.html", "<p>No link here</p>");
        s_server->addFile("gone.html", "<title>404 Not Found</title>");
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }

    static std::string address(const Page& page) {
        if (std::string(page.file) == "silent") {
            return s_server->hostHttp(page.host, "/silent");
        }
        return s_server->hostHttp(page.host, "/delay/" + std::to_string(page.delayMs) + "/" +
                                                 page.file + "?" + std::to_string(++s_nPage));
    }

    // A ticked profile of advertiser www.example.com with these pages; with
    // letters, each page's webmaster is webmaster@example.com.
    static test::ScriptedProfile profile(const std::vector<std::string>& pages,
                                         bool letters = false) {
        test::ScriptedProfile profile;
        profile.text = "www.example.com";
        for (const std::string& page : pages) {
            ResultRow r;
            r.m_advertiser = "www.example.com";
            r.m_page = page;
            if (letters) {
                r.m_mail = "webmaster@example.com";
            }
            r.m_notify = letters ? "Enabled" : "Disabled";
            profile.pages.push_back(r);
        }
        return profile;
    }

    // The panes' log of one run of the case with the given number of pages
    // side by side.
    static Log runCase(const Case& c, int jobs) {
        std::vector<test::ScriptedProfile> profiles;
        for (const auto& pages : c.profiles) {
            std::vector<std::string> addresses;
            for (const Page& page : pages) {
                addresses.push_back(address(page));
            }
            profiles.push_back(profile(addresses, true));
        }
        ScriptedPanes panes(profiles);
        LoggingObserver observer(panes);
        test::PanesSession run(panes);
        PageFetcher::Options options;
        options.jobs = jobs;
        options.pageTimeoutSeconds = c.pageTimeoutSeconds;
        run.setFetchOptions(options);
        run.setHistory(&observer);
        panes.onPageStarted([&](int row) {
            if (row == c.stopAtRow) {
                // From another thread, as the window's Stop comes.
                std::thread([&run] { run.onStop(); }).join();
            }
        });
        run.onPlay();
        run.waitForScanThread();
        return panes.log();
    }

    static PageServer* s_server;
    static int s_nPage;
};

PageServer* ParallelScanTest::s_server = nullptr;
int ParallelScanTest::s_nPage = 0;

// Later pages answer sooner than earlier ones, on several hosts, with every
// kind of result, letters sent and held back, "Since last run" texts,
// profiles passed over, a time limit, and Stop at several points.
TEST_F(ParallelScanTest, WhatTheRunShowsIsTheSameWithOneOrManyPagesOnTheWire) {
    const std::vector<Page> mixed = {
        {0, 300, "link.html"}, {1, 250, "none.html"}, {2, 200, "gone.html"}, {3, 150, "link.html"},
        {0, 100, "none.html"}, {1, 50, "link.html"},  {2, 0, "none.html"}};
    const std::vector<Page> fast = {
        {1, 0, "link.html"}, {2, 10, "none.html"}, {3, 0, "link.html"}, {0, 20, "gone.html"}};
    const std::vector<Case> cases = {
        {"mixed results over four hosts and three profiles",
         {mixed, {}, fast, {{3, 0, "none.html"}}}},
        {"a slow first page with fast ones after it",
         {{{0, 1500, "none.html"}, {1, 0, "link.html"}}, fast}},
        {"a page that reaches the time limit", {fast, {{3, 0, "silent"}}, fast}, -1, 1},
        {"Stop as the first page's turn comes", {mixed, fast}, 0},
        {"Stop in the middle, pages ahead already fetched", {mixed, fast}, 5},
        {"Stop as the second profile's first page comes", {mixed, fast}, 7},
        {"Stop during the last page", {fast, mixed}, 10},
        {"Stop during a slow last page still on the wire", {fast, {{0, 800, "link.html"}}}, 4},
        {"Stop during a page that reaches the time limit",
         {fast, {{3, 0, "silent"}, {1, 0, "none.html"}}},
         4,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Log serial = runCase(c, 1);
        const Log parallel = runCase(c, 32);
        EXPECT_EQ(parallel, serial);

        // What the serial run itself must show (independent of the order
        // check above).
        int rows = 0;
        for (const auto& pages : c.profiles) {
            rows += static_cast<int>(pages.size());
        }
        const auto has = [&serial](const std::string& entry) {
            return std::find(serial.begin(), serial.end(), entry) != serial.end();
        };
        if (c.stopAtRow < 0) {
            EXPECT_TRUE(has("observer ended completed"));
            EXPECT_EQ(std::count(serial.begin(), serial.end(), "report"), 1);
            continue;
        }
        // After Stop only the row in hand is written: no page fetched ahead
        // of it shows anything.
        const auto stop = std::find(serial.begin(), serial.end(), "observer ended stopped");
        ASSERT_NE(stop, serial.end());
        for (auto it = stop; it != serial.end(); ++it) {
            for (const std::string kind : {"result ", "evidence ", "notify ", "mail ", "change ",
                                           "started ", "observer checked ", "observer letter "}) {
                if (it->rfind(kind, 0) == 0) {
                    EXPECT_EQ(std::atoi(it->c_str() + kind.size()), c.stopAtRow) << *it;
                }
            }
        }
        EXPECT_TRUE(has("result " + std::to_string(c.stopAtRow) + " Stopped by user"));
        const auto reports =
            static_cast<size_t>(std::count(serial.begin(), serial.end(), "report"));
        EXPECT_EQ(reports, c.stopAtRow == rows - 1 ? 2u : 1u);
    }
}

// While the first page is still on the wire every later page is fetched:
// when the first page's result is written, the hosts have served them all.
TEST_F(ParallelScanTest, LaterPagesAreFetchedWhileAnEarlierOneIsOnTheWire) {
    PageServer server(false, false, 2);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    std::vector<std::string> pages;
    for (int k = 0; k < 12; ++k) {
        pages.push_back(k == 0 ? server.hostHttp(0, "/delay/1500/link.html")
                               : server.hostHttp(1, "/files/link.html?" + std::to_string(k)));
    }
    ScriptedPanes panes({profile(pages)});
    LoggingObserver observer(panes);
    int servedAtFirstResult = -1;
    observer.onChecked = [&](int row) {
        if (row == 0) {
            servedAtFirstResult = server.hostStat(1, "requests");
        }
    };
    test::PanesSession run(panes);
    run.setHistory(&observer);
    run.onPlay();
    run.waitForScanThread();
    // Eleven pages, each also asked as Googlebot, and the host's robots.txt.
    EXPECT_EQ(servedAtFirstResult, 23);
    EXPECT_EQ(panes.resultStatuses(), std::vector<std::string>(12, "Link Found"));
}

// A long run hands the fetcher its pages a window at a time (each page
// waiting there costs memory), counted in the fetcher and not from the page
// being shown: while the first page is slow, the pages past the window are
// fetched too as the window's come back, and all are shown in order.
TEST_F(ParallelScanTest, ASlowFirstPageDoesNotHoldTheFetchesBehindIt) {
    constexpr int kWindow = 2048;  // the least window, above 8 x the jobs here
    constexpr int kPages = kWindow + 300;
    PageServer server(false, false, 2);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    server.addFile("none.html", "<p>No link here</p>");
    std::vector<std::string> pages;
    for (int k = 0; k < kPages; ++k) {
        // Pages without a link are asked once (a found link is asked again
        // as Googlebot).
        pages.push_back(k == 0 ? server.hostHttp(0, "/delay/10000/link.html")
                               : server.hostHttp(1, "/files/none.html?" + std::to_string(k)));
    }
    ScriptedPanes panes({profile(pages)});
    LoggingObserver observer(panes);
    int servedAtFirstResult = -1;
    observer.onChecked = [&](int row) {
        if (row == 0) {
            servedAtFirstResult = server.hostStat(1, "requests");
        }
    };
    test::PanesSession run(panes);
    PageFetcher::Options options;
    options.jobs = 64;
    options.hostConnections = 4;
    run.setFetchOptions(options);
    run.setHistory(&observer);
    run.onPlay();
    run.waitForScanThread();
    // Every page below the first, and the host's robots.txt, was asked for
    // while the first page kept its row waiting.
    EXPECT_EQ(servedAtFirstResult, kPages);
    std::vector<std::string> expected(kPages, "Link Not Found");
    expected[0] = "Link Found";
    EXPECT_EQ(panes.resultStatuses(), expected);
    EXPECT_EQ(server.hostStat(1, "requests"), kPages);
}

// The pages back from the wire are told as they come, ahead of the rows
// written: while the first page holds the run, the progress already counts
// every other one.
TEST_F(ParallelScanTest, FetchedPagesAreToldBeforeTheirRowsAreWritten) {
    PageServer server(false, false, 2);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    std::vector<std::string> pages;
    for (int k = 0; k < 8; ++k) {
        pages.push_back(k == 0 ? server.hostHttp(0, "/delay/1500/link.html")
                               : server.hostHttp(1, "/files/link.html?" + std::to_string(k)));
    }
    ScriptedPanes panes({profile(pages)});
    LoggingObserver observer(panes);
    std::vector<int> toldAtFirstResult;
    observer.onChecked = [&](int row) {
        if (row == 0) {
            toldAtFirstResult = panes.fetchedCounts();
        }
    };
    test::PanesSession run(panes);
    run.setHistory(&observer);
    run.onPlay();
    run.waitForScanThread();
    ASSERT_FALSE(toldAtFirstResult.empty());
    EXPECT_EQ(toldAtFirstResult.back(), 8);  // the seven behind it, and itself
    const std::vector<int> told = panes.fetchedCounts();
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 8);
}

// Stop ends the fetches running ahead of the page in hand at once: their
// connections are closed while that page is still on the wire.
TEST_F(ParallelScanTest, StopEndsTheFetchesAheadAtOnce) {
    PageServer server(false, false, 2);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    std::vector<std::string> pages;
    for (int k = 0; k < 5; ++k) {
        pages.push_back(k == 0 ? server.hostHttp(0, "/delay/1500/link.html")
                               : server.hostHttp(1, "/delay/20000/link.html?" + std::to_string(k)));
    }
    ScriptedPanes panes({profile(pages)});
    LoggingObserver observer(panes);
    int openAhead = -1;
    int openInHand = -1;
    observer.onChecked = [&](int row) {
        if (row == 0) {
            openAhead = server.hostStat(1, "open");
            openInHand = server.hostStat(0, "peak");
        }
    };
    test::PanesSession run(panes);
    run.setHistory(&observer);
    run.onPlay();
    // Stop once the pages ahead are on the wire, the first still being fetched.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (server.hostStat(1, "open") < 2 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    run.onStop();
    run.waitForScanThread();
    EXPECT_EQ(openAhead, 0);
    EXPECT_EQ(openInHand, 1);
    EXPECT_EQ(panes.resultStatuses(),
              (std::vector<std::string>{"Link Found", "Stopped by user", "Stopped by user",
                                        "Stopped by user", "Stopped by user"}));
}

// However many pages are waiting, one host never has more than two
// connections open, they are reused, and its robots.txt is asked once.
TEST_F(ParallelScanTest, NoMoreThanTwoConnectionsToOneHost) {
    PageServer server(false, false, 3);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    std::vector<std::string> pages;
    for (int k = 0; k < 45; ++k) {
        pages.push_back(server.hostHttp(k % 3, "/delay/30/link.html?" + std::to_string(k)));
    }
    ScriptedPanes panes({profile(pages)});
    test::PanesSession run(panes);
    run.onPlay();  // the defaults: 256 pages side by side, 2 per host
    run.waitForScanThread();
    EXPECT_EQ(panes.resultStatuses(), std::vector<std::string>(45, "Link Found"));
    for (int host = 0; host < 3; ++host) {
        EXPECT_EQ(server.hostStat(host, "peak"), 2) << host;
        EXPECT_EQ(server.hostStat(host, "robots"), 1) << host;
        // Fifteen pages, each asked again as Googlebot, and robots.txt.
        EXPECT_EQ(server.hostStat(host, "requests"), 31) << host;
    }
}

// A host that asks to come back after a short while is asked once more; a
// long wait is not waited for, and the answer is the result.
TEST_F(ParallelScanTest, RetryAfterIsHonouredOnceWhenShort) {
    PageServer server(false, false, 1);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    PageFetcher fetcher;
    const struct {
        std::string path;
        PageResult expected;
    } cases[] = {
        {"/retry/503/1/link.html",
         test::pageResultOf("Link Found", "link to http://www.example.com/ found", 200)},
        {"/retry/429/0/link.html",
         test::pageResultOf("Link Found", "link to http://www.example.com/ found", 200)},
        {"/retry/429/31/link.html",
         test::pageResultOf("Page cannot be displayed", "HTTP 429", 429)},
        {"/retry/503/3600/link.html",
         test::pageResultOf("Page cannot be displayed", "HTTP 503", 503)},
        {"/retry/500/1/link.html", test::pageResultOf("Page cannot be displayed", "HTTP 500", 500)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fetcher.check(server.hostHttp(0, c.path), "www.example.com"), c.expected)
            << c.path;
    }
}

// Many partners that redirect to one slow host: the hops wait for a
// connection there in our own queue, and that wait does not run down the
// pages' time, so every page is found even though the host can take only
// two at a time and the pages together need far longer than one's limit.
TEST_F(ParallelScanTest, RedirectsToOneBusyHostWaitInOurQueueNotOnThePageClock) {
    constexpr int kPartners = 16;
    PageServer server(false, false, kPartners + 1);
    server.addFile("link.html", "<a href=\"http://www.shop.example/\">us</a>");
    const std::string shared = server.hostHttp(kPartners, "/delay/1000/link.html");
    PageFetcher::Options options;
    options.pageTimeoutSeconds = 3;
    options.cloakCheck = false;  // one request per page keeps the sums simple
    PageFetcher fetcher(options);
    for (int k = 0; k < kPartners; ++k) {
        // The redirection's own body links to www.example.com: only the
        // last answer's body counts.
        fetcher.add(static_cast<std::size_t>(k), server.hostHttp(k, "/redirect/302?to=" + shared),
                    "www.shop.example", true);
    }
    int found = 0;
    while (fetcher.outstanding() > 0) {
        for (const auto& fetched : fetcher.run(std::chrono::seconds(1))) {
            EXPECT_EQ(fetched.result.word(), "Link Found") << fetched.result.m_reason;
            EXPECT_EQ(fetched.evidence.m_finalUrl, shared);
            // What the page took at the partner's end: the 1 s answer, not
            // the seconds it waited for a free connection.
            EXPECT_GE(fetched.evidence.m_elapsedMs, 1000);
            EXPECT_LT(fetched.evidence.m_elapsedMs, 3000);
            ++found;
        }
    }
    EXPECT_EQ(found, kPartners);
    EXPECT_EQ(server.hostStat(kPartners, "peak"), 2);
}

// A Retry-After wait is the partner's: it counts against the page's limit,
// a wait longer than what is left is not waited for, and the time recorded
// includes it.
TEST_F(ParallelScanTest, RetryAfterWaitsCountAgainstThePageLimit) {
    PageServer server(false, false, 1);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    PageFetcher::Options options;
    options.pageTimeoutSeconds = 2;
    PageFetcher fetcher(options);
    PageEvidence evidence;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fetcher.check(server.hostHttp(0, "/retry/503/5/link.html"), "www.example.com"),
              test::pageResultOf("Page cannot be displayed", "HTTP 503", 503));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(
        fetcher.check(server.hostHttp(0, "/retry/429/1/link.html"), "www.example.com", &evidence)
            .word(),
        "Link Found");
    EXPECT_GE(evidence.m_elapsedMs, 1000);
}

// Room among the open files for the transfers asked for: the soft limit is
// raised as far as the hard limit allows, and below that the number of
// transfers is lowered, with a sentence that says so. Each case runs in a
// child, as a lowered hard limit cannot be raised again.
TEST(FetchSettingsTest, OpenFilesMakeRoomForTheTransfers) {
    const struct {
        rlim_t soft, hard;
        int jobs;
        int expectedJobs;
        bool told;
    } cases[] = {
        {256, 4096, 256, 256, false},  // raised to 1088
        {150, 200, 256, 34, true},     // (200 - 64) / 4
        {100, 100, 1, 1, false},
        {1024, 1024, 1024, 240, true},
    };
    for (const auto& c : cases) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            rlimit limit{c.soft, c.hard};
            if (setrlimit(RLIMIT_NOFILE, &limit) != 0) {
                _exit(101);
            }
            PageFetcher::Options options;
            options.jobs = c.jobs;
            const auto told = FetchSettings::fitOpenFiles(options);
            getrlimit(RLIMIT_NOFILE, &limit);
            const bool roomy =
                limit.rlim_cur >= static_cast<rlim_t>(FetchSettings::openFilesFor(options.jobs));
            const bool sentence =
                told.has_value() == c.told &&
                (!told || told->find("only " + std::to_string(c.expectedJobs) + " of ") == 0);
            _exit(options.jobs == c.expectedJobs && roomy && sentence ? 0 : 100);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << c.soft << "/" << c.hard << " " << c.jobs << ": " << WEXITSTATUS(status);
    }
}

// A pause between two requests to one host holds its pages apart (and only
// its pages: another host's go on).
TEST_F(ParallelScanTest, RequestsToOneHostKeepTheirInterval) {
    PageServer server(false, false, 2);
    server.addFile("link.html", "<a href=\"http://www.example.com/\">us</a>");
    PageFetcher::Options options;
    options.hostIntervalMs = 400;
    PageFetcher fetcher(options);
    for (size_t k = 0; k < 4; ++k) {
        fetcher.add(k, server.hostHttp(0, "/files/link.html?" + std::to_string(k)),
                    "www.example.com", false);
    }
    fetcher.add(9, server.hostHttp(1, "/files/link.html"), "www.example.com", false);
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::pair<size_t, std::chrono::steady_clock::duration>> done;
    while (fetcher.outstanding() > 0) {
        for (const auto& fetched : fetcher.run(std::chrono::seconds(1))) {
            EXPECT_EQ(fetched.result.word(), "Link Found");
            done.emplace_back(fetched.id, std::chrono::steady_clock::now() - start);
        }
    }
    ASSERT_EQ(done.size(), 5u);
    // The other host's page is not held up behind the first host's pauses.
    const auto other = std::find_if(done.begin(), done.end(), [](auto& d) { return d.first == 9; });
    EXPECT_LT(other - done.begin(), 3);
    // Three pauses of 400 ms between the first host's four requests at least.
    EXPECT_GE(done.back().second, std::chrono::milliseconds(1200));
}

}  // namespace
}  // namespace tarnwick
