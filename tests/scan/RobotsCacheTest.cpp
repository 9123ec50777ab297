// What a page's robots.txt verdict is for every answer its host can give
// (RFC 9309, 2.3.1), and that its fetch ends within the time it is given.
#include "scan/RobotsCache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "scan/PageFetcher.h"
#include "scan/PageServer.h"

namespace tarnwick {
namespace {

using Clock = std::chrono::steady_clock;

// The rules for a 2xx; everything allowed when the file is unavailable (3xx
// left over, 4xx); everything disallowed when it is unreachable (5xx, no
// connection), with the reason; unknown when there is nothing to ask.
TEST(RobotsCacheTest, EveryAnswerHasItsVerdictAndReason) {
    test::PageServer server(false, false);
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
        RobotsCache cache;  // a new run asks again
        const RobotsCache::Verdicts v = cache.Check(server.Http("/files/page.html"));
        EXPECT_EQ(v.all, c.verdict);
        EXPECT_EQ(v.googlebot, c.verdict);
        EXPECT_EQ(v.reason, c.reason);
        PageEvidence evidence;
        cache.Apply(evidence, server.Http("/files/other.html"));
        EXPECT_EQ(evidence.m_robotsAll, c.verdict);
        EXPECT_EQ(evidence.m_strRobotsReason, c.reason);
        EXPECT_EQ(EvidenceVerdict(evidence), "");  // not a checked page
    }

    RobotsCache::Options options;
    options.connectTimeoutSeconds = 5;
    RobotsCache cache(options);
    const auto refused =
        cache.Check("http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/a");
    EXPECT_EQ(refused.all, RobotsVerdict::Disallowed);
    EXPECT_EQ(refused.reason.rfind("robots.txt could not be fetched: ", 0), 0u) << refused.reason;
    for (const char* nothingToAsk : {"ftp://127.0.0.1/a", "no address"}) {
        const auto v = cache.Check(nothingToAsk);
        EXPECT_EQ(v.all, RobotsVerdict::Unknown) << nothingToAsk;
        EXPECT_EQ(v.reason, "") << nothingToAsk;
    }
    // A stopped run has learnt nothing.
    RobotsCache stopped;
    stopped.Cancel();
    EXPECT_EQ(stopped.Check(server.Http("/files/page.html")).all, RobotsVerdict::Unknown);
}

// A robots.txt that trickles in ends within the time given (what is left of
// the asking page's limit), never past the options' limit, and counts as
// unreachable.
TEST(RobotsCacheTest, ATricklingFileEndsWithinTheTimeGiven) {
    test::PageServer server(false, false);
    server.AddFile("robots.txt", "User-agent: *\nAllow: /\n");
    server.AddFile("robots.trickle", "0.2");
    RobotsCache::Options oneSecond;
    oneSecond.totalSeconds = 1;
    const struct {
        RobotsCache::Options options;
        std::optional<std::chrono::milliseconds> limit;
        const char* reason;
        std::chrono::milliseconds at;
    } cases[] = {
        {{},
         std::chrono::milliseconds(1500),
         "robots.txt did not arrive within 1.5 s",
         std::chrono::milliseconds(1500)},
        {oneSecond, std::nullopt, "robots.txt did not arrive within 1 s",
         std::chrono::milliseconds(1000)},
        {oneSecond, std::chrono::milliseconds(30000), "robots.txt did not arrive within 1 s",
         std::chrono::milliseconds(1000)},
        {{},
         std::chrono::milliseconds(300),
         "robots.txt did not arrive within 300 ms",
         std::chrono::milliseconds(300)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        RobotsCache cache(c.options);
        const auto start = Clock::now();
        const auto v = cache.Check(server.Http("/files/page.html"), c.limit);
        const auto took = Clock::now() - start;
        EXPECT_GE(took, c.at - std::chrono::milliseconds(50));
        EXPECT_LT(took, c.at + std::chrono::milliseconds(700));
        EXPECT_EQ(v.all, RobotsVerdict::Disallowed);
        EXPECT_EQ(v.reason, c.reason);
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
