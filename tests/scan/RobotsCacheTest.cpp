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
PageEvidence checkedPage(const test::PageServer& server, const std::string& path,
                         PageFetcher::Options options = {}) {
    options.cloakCheck = false;
    PageFetcher fetcher(options);  // a new run asks again
    PageEvidence evidence;
    EXPECT_EQ(fetcher.check(server.http(path), "www.example.com", &evidence).word(), "Link Found");
    return evidence;
}

// The rules for a 2xx; everything allowed when the file is unavailable (3xx
// left over, 4xx); everything disallowed when it is unreachable (5xx, no
// connection), with the reason; unknown when there is nothing to ask.
TEST(RobotsCacheTest, EveryAnswerHasItsVerdictAndReason) {
    test::PageServer server(false, false);
    server.addFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.addFile("robots.txt", "User-agent: *\nDisallow: /files/\n");
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
        server.addFile("robots.status", c.status);
        const PageEvidence evidence = checkedPage(server, "/files/page.html");
        EXPECT_EQ(evidence.m_robotsAll, c.verdict);
        EXPECT_EQ(evidence.m_robotsGooglebot, c.verdict);
        EXPECT_EQ(evidence.m_robotsReason, c.reason);
    }

    // The answers no loopback server gives, told to the cache as the
    // fetcher tells them.
    RobotsCache cache;
    const std::string origin = "http://127.0.0.1:9";
    ASSERT_EQ(RobotsCache::originOf(origin + "/a"), origin);
    EXPECT_FALSE(cache.known(origin + "/a"));  // to be fetched
    cache.complete(origin, CURLE_COULDNT_CONNECT, 0, {});
    const auto refused = cache.known(origin + "/a");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->all, RobotsVerdict::Disallowed);
    EXPECT_EQ(refused->reason.rfind("robots.txt could not be fetched: ", 0), 0u) << refused->reason;
    for (const char* nothingToAsk : {"ftp://127.0.0.1/a", "no address"}) {
        const auto v = cache.known(nothingToAsk);
        ASSERT_TRUE(v) << nothingToAsk;
        EXPECT_EQ(v->all, RobotsVerdict::Unknown) << nothingToAsk;
        EXPECT_EQ(v->reason, "") << nothingToAsk;
    }
    // A stopped run has learnt nothing.
    RobotsCache stopped;
    stopped.cancel();
    stopped.complete(origin, CURLE_OK, 200, {});
    EXPECT_EQ(stopped.known(origin + "/a")->all, RobotsVerdict::Unknown);
}

// A robots.txt that trickles in ends within the time the page has left and
// counts as unreachable.
TEST(RobotsCacheTest, ATricklingFileEndsWithinTheTimeGiven) {
    test::PageServer server(false, false);
    server.addFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.addFile("robots.txt", "User-agent: *\nAllow: /\n");
    server.addFile("robots.trickle", "0.2");
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
        const PageEvidence evidence = checkedPage(server, c.path, options);
        const auto took = Clock::now() - start;
        EXPECT_GE(took, c.at - std::chrono::milliseconds(50));
        EXPECT_LT(took, c.at + std::chrono::milliseconds(700));
        EXPECT_EQ(evidence.m_robotsAll, RobotsVerdict::Disallowed);
        EXPECT_EQ(evidence.m_robotsReason.rfind("robots.txt did not arrive within ", 0), 0u)
            << evidence.m_robotsReason;
    }
}

// The page's limit covers its robots.txt too: a page that took 1 s of a 2 s
// limit leaves its trickling robots.txt the 1 s that is left.
TEST(RobotsCacheTest, APageAndItsRobotsFileEndWithinThePageLimit) {
    test::PageServer server(false, false);
    server.addFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.addFile("robots.txt", "User-agent: *\nAllow: /\n");
    server.addFile("robots.trickle", "0.2");
    PageFetcher::Options options;
    options.pageTimeoutSeconds = 2;
    PageFetcher fetcher(options);
    PageEvidence evidence;
    const auto start = Clock::now();
    EXPECT_EQ(
        fetcher.check(server.http("/delay/1000/page.html"), "www.example.com", &evidence).word(),
        "Link Found");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2700));
    EXPECT_EQ(evidenceVerdict(evidence), "robots.txt blocks");
    EXPECT_NE(evidence.m_robotsReason.find("robots.txt did not arrive within"), std::string::npos)
        << evidence.m_robotsReason;
}

// A checked page whose host's robots.txt cannot be had (maintenance): its
// link is found, and a search engine would not see it.
TEST(RobotsCacheTest, AnUnreachableFileBlocksTheCheckedPage) {
    test::PageServer server(false, false);
    server.addFile("page.html", "<a href=\"http://www.example.com/\">partner</a>");
    server.addFile("robots.txt", "User-agent: *\nAllow: /\n");
    for (const char* status : {"503", "404"}) {
        SCOPED_TRACE(status);
        server.addFile("robots.status", status);
        PageFetcher fetcher;
        PageEvidence evidence;
        EXPECT_EQ(
            fetcher.check(server.http("/files/page.html"), "www.example.com", &evidence).word(),
            "Link Found");
        EXPECT_EQ(evidenceVerdict(evidence),
                  std::string(status) == "503" ? "robots.txt blocks" : "follow");
    }
}

}  // namespace
}  // namespace tarnwick
