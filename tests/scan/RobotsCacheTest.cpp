// What a page's robots.txt verdict is for every answer its host can give
// (RFC 9309, 2.3.1), and that its fetch ends within the time it is given.
#include "scan/RobotsCache.h"

#include <gtest/gtest.h>

#include <curl/curl.h>

#include <chrono>
#include <string>
#include <vector>

#include "scan/PageFetcher.h"
#include "scan/PageServer.h"

namespace tarnwick {
namespace {

using Clock = std::chrono::steady_clock;

// The robots.txt verdict a checked page gets, the way a scan fetches it.
PageEvidence CheckedPage(const test::PageServer& server, const std::string& path,
                         PageFetcher::Options options = {}) {
    options.cloakCheck = false;
    PageFetcher fetcher(options);  // a new run asks again
    PageEvidence evidence;
    EXPECT_EQ(fetcher.Check(server.Http(path), "www.example.com", &evidence).m_strStatus,
              "Link Found");
    return evidence;
}

// The rules for a 2xx; everything allowed when the file is unavailable (3xx
// left over, 4xx); everything disallowed when it is unreachable (5xx, no
// connection), with the reason; unknown when there is nothing to ask.
TEST(RobotsCacheTest, EveryAnswerHasItsVerdictAndReason) {
    test::PageServer server(false, false);
    server.AddFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.AddFile("robots.txt", "User-agent: *\nDisallow: /files/\n");
    const struct {
        const char* status;
        RobotsVerdict verdict;
        const char* reason;
    } cases[] = {
        {"200", RobotsVerdict::Disallowed, ""},  // the file's rule
        {"304", RobotsVerdict::Allowed, "robots.txt answered HTTP 304"},
        {"401", RobotsVerdict::Allowed, "robots.txt answered HTTP 401"},
        {"403", RobotsVerdict::Allowed, "robots.txt answered HTTP 403"},
        {"404", RobotsVerdict::Allowed, "robots.txt answered HTTP 404"},
        {"410", RobotsVerdict::Allowed, "robots.txt answered HTTP 410"},
        {"429", RobotsVerdict::Allowed, "robots.txt answered HTTP 429"},
        {"500", RobotsVerdict::Disallowed, "robots.txt answered HTTP 500"},
        {"503", RobotsVerdict::Disallowed, "robots.txt answered HTTP 503"},
        {"599", RobotsVerdict::Disallowed, "robots.txt answered HTTP 599"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        server.AddFile("robots.status", c.status);
        const PageEvidence evidence = CheckedPage(server, "/files/page.html");
        EXPECT_EQ(evidence.m_robotsAll, c.verdict);
        EXPECT_EQ(evidence.m_robotsGooglebot, c.verdict);
        EXPECT_EQ(evidence.m_strRobotsReason, c.reason);
    }

    // The answers no loopback server gives, told to the cache as the
    // fetcher tells them.
    RobotsCache cache;
    const std::string origin = "http://127.0.0.1:9";
    ASSERT_EQ(RobotsCache::OriginOf(origin + "/a"), origin);
    EXPECT_FALSE(cache.Known(origin + "/a"));  // to be fetched
    cache.Complete(origin, CURLE_COULDNT_CONNECT, 0, {});
    const auto refused = cache.Known(origin + "/a");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->all, RobotsVerdict::Disallowed);
    EXPECT_EQ(refused->reason.rfind("robots.txt could not be fetched: ", 0), 0u) << refused->reason;
    for (const char* nothingToAsk : {"ftp://127.0.0.1/a", "no address"}) {
        const auto v = cache.Known(nothingToAsk);
        ASSERT_TRUE(v) << nothingToAsk;
        EXPECT_EQ(v->all, RobotsVerdict::Unknown) << nothingToAsk;
        EXPECT_EQ(v->reason, "") << nothingToAsk;
    }
    // A stopped run has learnt nothing.
    RobotsCache stopped;
    stopped.Cancel();
    stopped.Complete(origin, CURLE_OK, 200, {});
    EXPECT_EQ(stopped.Known(origin + "/a")->all, RobotsVerdict::Unknown);
}

// A robots.txt that trickles in ends within the time the page has left and
// counts as unreachable.
TEST(RobotsCacheTest, ATricklingFileEndsWithinTheTimeGiven) {
    test::PageServer server(false, false);
    server.AddFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.AddFile("robots.txt", "User-agent: *\nAllow: /\n");
    server.AddFile("robots.trickle", "0.2");
    const struct {
        long pageSeconds;
        const char* path;
        std::chrono::milliseconds at;
    } cases[] = {
        {1, "/files/page.html", std::chrono::milliseconds(1000)},
        {2, "/files/page.html", std::chrono::milliseconds(2000)},
        {2, "/delay/1500/page.html", std::chrono::milliseconds(2000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + std::string(" in ") + std::to_string(c.pageSeconds) + " s");
        PageFetcher::Options options;
        options.pageTimeoutSeconds = c.pageSeconds;
        const auto start = Clock::now();
        const PageEvidence evidence = CheckedPage(server, c.path, options);
        const auto took = Clock::now() - start;
        EXPECT_GE(took, c.at - std::chrono::milliseconds(50));
        EXPECT_LT(took, c.at + std::chrono::milliseconds(700));
        EXPECT_EQ(evidence.m_robotsAll, RobotsVerdict::Disallowed);
        EXPECT_EQ(evidence.m_strRobotsReason.rfind("robots.txt did not arrive within ", 0), 0u)
            << evidence.m_strRobotsReason;
    }
}

// The page's limit covers its robots.txt too: a page that took 1 s of a 2 s
// limit leaves its trickling robots.txt the 1 s that is left.
TEST(RobotsCacheTest, APageAndItsRobotsFileEndWithinThePageLimit) {
    test::PageServer server(false, false);
    server.AddFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.AddFile("robots.txt", "User-agent: *\nAllow: /\n");
    server.AddFile("robots.trickle", "0.2");
    PageFetcher::Options options;
    options.pageTimeoutSeconds = 2;
    PageFetcher fetcher(options);
    PageEvidence evidence;
    const auto start = Clock::now();
    EXPECT_EQ(fetcher.Check(server.Http("/delay/1000/page.html"), "www.example.com", &evidence)
                  .m_strStatus,
              "Link Found");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2700));
    EXPECT_EQ(EvidenceVerdict(evidence), "robots.txt blocks");
    EXPECT_NE(evidence.m_strRobotsReason.find("robots.txt did not arrive within"),
              std::string::npos)
        << evidence.m_strRobotsReason;
}

// A checked page whose host's robots.txt cannot be had (maintenance): its
// link is found, and a search engine would not see it.
TEST(RobotsCacheTest, AnUnreachableFileBlocksTheCheckedPage) {
    test::PageServer server(false, false);
    server.AddFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.AddFile("robots.txt", "User-agent: *\nAllow: /\n");
    for (const char* status : {"503", "404"}) {
        SCOPED_TRACE(status);
        server.AddFile("robots.status", status);
        PageFetcher fetcher;
        PageEvidence evidence;
        EXPECT_EQ(fetcher.Check(server.Http("/files/page.html"), "www.example.com", &evidence)
                      .m_strStatus,
                  "Link Found");
        EXPECT_EQ(EvidenceVerdict(evidence),
                  std::string(status) == "503" ? "robots.txt blocks" : "follow");
    }
}

}  // namespace
}  // namespace tarnwick
