#include "scan/RobotsTxt.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "scan/PageFetcher.h"
#include "scan/PageServer.h"
#include "scan/RobotsCache.h"

namespace tarnwick {
namespace {

struct MatchCase {
    const char* robots;
    const char* path;
    bool all;        // allowed for "*"
    bool googlebot;  // allowed for Googlebot
};

TEST(RobotsTxtTest, RulesAsSearchEnginesReadThem) {
    const std::vector<MatchCase> cases = {
        {"", "/a", true, true},
        {"User-agent: *\nDisallow: /", "/any/page.html", false, false},
        {"User-agent: *\nDisallow: /private", "/private/x", false, false},
        {"User-agent: *\nDisallow: /private", "/public/x", true, true},
        {"User-agent: *\nDisallow:", "/x", true, true},
        // Longest match wins; Allow overrides a shorter Disallow.
        {"User-agent: *\nDisallow: /shop/\nAllow: /shop/partners/", "/shop/partners/a.html", true,
         true},
        {"User-agent: *\nAllow: /shop/\nDisallow: /shop/private/", "/shop/private/a", false, false},
        // A tie goes to Allow.
        {"User-agent: *\nDisallow: /page\nAllow: /page", "/page", true, true},
        // Wildcards and the end anchor.
        {"User-agent: *\nDisallow: /*.php$", "/index.php", false, false},
        {"User-agent: *\nDisallow: /*.php$", "/index.php?x=1", true, true},
        {"User-agent: *\nDisallow: /*?", "/a?b=1", false, false},
        {"User-agent: *\nDisallow: /a*b*c", "/a-x-b-y-c.html", false, false},
        // Googlebot takes its own group and ignores "*" then.
        {"User-agent: *\nDisallow: /\n\nUser-agent: Googlebot\nAllow: /", "/x", false, true},
        {"User-agent: Googlebot\nDisallow: /links", "/links/a", true, false},
        {"User-agent: googlebot-news\nDisallow: /", "/x", true, true},
        {"User-agent: Googlebot/2.1\nDisallow: /x", "/x", true, false},
        // Two user agents in one group, and two groups for one agent merge.
        {"User-agent: bingbot\nUser-agent: *\nDisallow: /a\nUser-agent: *\nDisallow: /b", "/b",
         false, false},
        // Letter case of fields and paths, comments, CR LF, misspelling.
        {"USER-AGENT: *\r\nDISALLOW: /Private # comment\r\n", "/private", true, true},
        {"user-agent: *\r\ndisalow: /Private\r\n", "/Private", false, false},
        {"Disallow: /\nUser-agent: *\nAllow: /", "/x", true, true},
        {"User-agent: *\nSitemap: http://h/s.xml\nDisallow: /x", "/x", false, false},
        // Escapes compare alike.
        {"User-agent: *\nDisallow: /caf%c3%a9", "/caf\xC3\xA9/menu", false, false},
        {"User-agent: *\nDisallow: /", "/robots.txt", true, true},
        // A byte order mark before the first group, and keys without colons.
        {"\xEF\xBB\xBFUser-agent: *\nDisallow: /links", "/links/a", false, false},
        {"User-agent *\nDisallow /links", "/links/a", false, false},
        {"User-agent: *\nNoindex /links", "/links/a", true, true},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(std::string(c.robots) + " | " + c.path);
        const RobotsTxt robots = RobotsTxt::parse(c.robots);
        EXPECT_EQ(robots.isAllowed("*", c.path), c.all);
        EXPECT_EQ(robots.isAllowed("Googlebot", c.path), c.googlebot);
    }
}

TEST(RobotsTxtTest, PathAndOriginOfAnAddress) {
    EXPECT_EQ(RobotsTxt::pathOf("http://h.example/a/b?x=1#frag"), "/a/b?x=1");
    EXPECT_EQ(RobotsTxt::pathOf("https://h.example"), "/");
    EXPECT_EQ(RobotsTxt::pathOf("http://h.example?q"), "/?q");
    EXPECT_EQ(RobotsCache::originOf("HTTP://User:pw@WWW.Example.com:8080/a?b"),
              "http://www.example.com:8080");
    EXPECT_EQ(RobotsCache::originOf("ftp://h/a"), "");
    EXPECT_EQ(RobotsCache::originOf("www.example.com/a"), "");
}

// One fetcher is one run: its host's robots.txt is fetched once, by the
// first checked page that needs it.
TEST(RobotsCacheTest, FetchesEachHostOnceAndReadsTheAnswer) {
    test::PageServer server(false, false);
    server.addFile("robots.txt", "User-agent: *\nDisallow: /files/\nAllow: /files/open.html\n");
    for (const char* page : {"link.html", "open.html", "other.html"}) {
        server.addFile(page, "<a href=\"http://www.example.com/\">partner</a>");
    }
    PageFetcher::Options options;
    options.cloakCheck = false;
    const auto robotsOf = [&server](PageFetcher& fetcher, const char* path) {
        PageEvidence evidence;
        fetcher.check(server.http(path), "www.example.com", &evidence);
        return std::pair(evidence.m_robotsAll, evidence.m_robotsGooglebot);
    };
    PageFetcher fetcher(options);
    const int before = server.requests();
    EXPECT_EQ(robotsOf(fetcher, "/files/link.html"),
              std::pair(RobotsVerdict::Disallowed, RobotsVerdict::Disallowed));
    EXPECT_EQ(robotsOf(fetcher, "/files/open.html").first, RobotsVerdict::Allowed);
    // A changed file is not fetched again within the run.
    server.addFile("robots.txt", "");
    EXPECT_EQ(robotsOf(fetcher, "/files/other.html").first, RobotsVerdict::Disallowed);
    EXPECT_EQ(server.requests(), before + 5);  // three pages, one robots.txt, one count

    // A new run fetches anew; a server error disallows, a 404 allows.
    server.addFile("robots.status", "503");
    PageFetcher second(options);
    EXPECT_EQ(robotsOf(second, "/files/link.html").first, RobotsVerdict::Disallowed);
    server.addFile("robots.status", "404");
    PageFetcher third(options);
    EXPECT_EQ(robotsOf(third, "/files/link.html").second, RobotsVerdict::Allowed);
}

}  // namespace
}  // namespace tarnwick
