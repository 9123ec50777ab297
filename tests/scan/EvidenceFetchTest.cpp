// The evidence of real fetches from the loopback server: one transfer per
// page gives the result word and the evidence; robots.txt once per host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/CheckPage.h"
#include "scan/PageFetcher.h"
#include "scan/PageServer.h"

namespace tarnwick {
namespace {

using test::PageServer;

const std::string kAdvertiser = "www.example.com";

struct FetchCase {
    const char* path;
    const char* result;
    const char* verdict;
    const char* rel;
    bool noindex;
    bool nofollow;
    RobotsVerdict robots;
};

TEST(EvidenceFetchTest, LoopbackPagesGiveTheirEvidence) {
    PageServer server(false, false);
    const auto link = [](const std::string& attributes) {
        return "<html><body><p>Partners: <a " + attributes +
               " href=\"http://www.example.com/\">Example shop</a></p></body></html>";
    };
    server.addFile("plain.html", link(""));
    server.addFile("nofollow.html", link("rel=\"nofollow\""));
    server.addFile("sponsored.html", link("rel=\"sponsored ugc\""));
    server.addFile("caps.html", "<A HREF=\"http://www.example.com/\" REL=NoFollow>x</A>");
    server.addFile("script.html",
                   "<script>var s = '<a href=\"http://www.example.com/\">x</a>';</script>");
    server.addFile("meta.html",
                   "<head><meta name=\"robots\" content=\"noindex\"></head>" + link(""));
    server.addFile("googlebot.html",
                   "<head><meta name=\"googlebot\" content=\"noindex\"></head>" + link(""));
    server.addFile("blocked.html", link(""));
    server.addFile("open.html", link(""));
    server.addFile("link.html", link(""));  // the end of /chain/N
    server.addFile("robots.txt",
                   "User-agent: *\nDisallow: /files/blocked\nDisallow: /files/open\n"
                   "Allow: /files/open.html\n");

    const std::vector<FetchCase> cases = {
        {"/files/plain.html", "Link Found", "follow", "", false, false, RobotsVerdict::Allowed},
        {"/files/nofollow.html", "Link Found", "nofollow", "nofollow", false, false,
         RobotsVerdict::Allowed},
        {"/files/sponsored.html", "Link Found", "sponsored", "sponsored ugc", false, false,
         RobotsVerdict::Allowed},
        {"/files/caps.html", "Link Found", "nofollow", "nofollow", false, false,
         RobotsVerdict::Allowed},
        {"/files/script.html", "Link Not Found", "script only", "", false, false,
         RobotsVerdict::Allowed},
        {"/files/meta.html", "Link Found", "noindex", "", true, false, RobotsVerdict::Allowed},
        {"/files/googlebot.html", "Link Found", "noindex for Googlebot", "", true, false,
         RobotsVerdict::Allowed},
        {"/xrobots/plain.html?tag=noindex,%20nofollow", "Link Found", "noindex", "", true, true,
         RobotsVerdict::Allowed},
        {"/files/blocked.html", "Link Found", "robots.txt blocks", "", false, false,
         RobotsVerdict::Disallowed},
        {"/files/open.html", "Link Found", "follow", "", false, false, RobotsVerdict::Allowed},
    };
    PageFetcher fetcher;
    const int before = server.requests();
    for (const FetchCase& c : cases) {
        SCOPED_TRACE(c.path);
        PageEvidence e;
        EXPECT_EQ(fetcher.check(server.http(c.path), kAdvertiser, &e).word(), c.result);
        EXPECT_TRUE(e.m_checked);
        EXPECT_EQ(evidenceVerdict(e), c.verdict);
        EXPECT_EQ(e.m_rel, c.rel);
        EXPECT_EQ(e.m_noindex, c.noindex);
        EXPECT_EQ(e.m_nofollow, c.nofollow);
        EXPECT_EQ(e.m_robotsAll, c.robots);
        EXPECT_EQ(e.m_robotsGooglebot, c.robots);
        EXPECT_EQ(e.m_httpStatus, 200);
        EXPECT_EQ(e.m_finalUrl, server.http(c.path));
        EXPECT_GT(e.m_bytes, 0u);
        EXPECT_GE(e.m_elapsedMs, 0);
    }
    // One request per page, a second one as Googlebot for each of the two
    // links worth following, one robots.txt for the host, and this count.
    EXPECT_EQ(server.requests(), before + static_cast<int>(cases.size()) + 2 + 2);

    // A redirect chain: the final address and status are the last answer's.
    PageEvidence chained;
    EXPECT_EQ(fetcher.check(server.http("/chain/3"), kAdvertiser, &chained).word(), "Link Found");
    EXPECT_EQ(chained.m_finalUrl, server.http("/files/link.html"));
    EXPECT_EQ(chained.m_httpStatus, 200);
    EXPECT_EQ(chained.m_contentType, "text/html");
    EXPECT_EQ(evidenceVerdict(chained), "follow");
}

TEST(EvidenceFetchTest, FailuresAndErrorAnswersAreTold) {
    PageServer server(false, false);
    server.addFile("gone.html", "<h1>Service Unavailable</h1>");
    PageEvidence busy;
    EXPECT_EQ(checkPage(server.http("/status/503/gone.html"), kAdvertiser, {}, &busy).word(),
              "Page cannot be displayed");
    EXPECT_EQ(busy.m_httpStatus, 503);
    EXPECT_EQ(evidenceVerdict(busy), "HTTP 503");
    EXPECT_EQ(busy.m_robotsAll, RobotsVerdict::Allowed);  // no robots.txt: a 404

    PageEvidence refused;
    EXPECT_EQ(checkPage("http://127.0.0.1:" + std::to_string(test::unusedPort()) + "/", kAdvertiser,
                        {}, &refused)
                  .word(),
              "Page cannot be displayed");
    EXPECT_TRUE(refused.m_checked);
    EXPECT_EQ(evidenceVerdict(refused), "no answer");
    EXPECT_EQ(refused.m_robotsAll, RobotsVerdict::Unknown);

    PageEvidence noScheme;
    checkPage("www.example.org/", kAdvertiser, {}, &noScheme);
    EXPECT_EQ(evidenceVerdict(noScheme), "no answer");
}

// A query value with every byte but letters and digits escaped.
std::string escaped(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

// The tricks told by the answer's headers and by a redirect, served for real:
// each beside its twin, which is not flagged.
TEST(EvidenceFetchTest, HeadersAndRedirectsNameTheirFindings) {
    PageServer server(false, false);
    server.addFile("link.html",
                   "<html><body><a href=\"http://www.example.com/\">shop</a></body></html>");
    const auto with = [&server](const std::string& header) {
        return server.http("/with/link.html?header=" + escaped(header));
    };
    const struct {
        std::string page;
        std::string verdict;
    } cases[] = {
        {with("Link: <" + server.http("/") + ">; rel=\"canonical\""),
         "canonical \xE2\x86\x92 " + server.http("/")},
        {with("Link: </with/link.html>; rel=\"canonical\""), "follow"},
        {with("X-Robots-Tag: googlebot: noindex"), "noindex for Googlebot"},
        {with("X-Robots-Tag: otherbot: noindex"), "follow"},
        {with("X-Robots-Tag: bingbot: nofollow, unavailable_after: 1 Jan 2000 00:00:00 GMT"),
         "noindex for Bingbot"},
        {with("X-Robots-Tag: bingbot: unavailable_after: 1 Jan 2999 00:00:00 GMT"), "follow"},
        {server.http("/redirect/301?to=" + escaped(server.http("/files/link.html"))),
         "redirected to " + server.http("/files/link.html")},
        {server.http("/files/link.html/"), "follow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        PageEvidence e;
        EXPECT_EQ(checkPage(c.page, kAdvertiser, {}, &e).word(), "Link Found");
        EXPECT_EQ(evidenceVerdict(e), c.verdict);
    }
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

// A page with a link worth following is asked once more as Googlebot, through
// the same host limits; what the crawler is shown differently is named. Each
// trick has its twin: the same page served alike to both.
TEST(EvidenceFetchTest, CloakingForCrawlersIsNamed) {
    PageServer server(false, false, 1);
    const auto page = [](const std::string& head, const std::string& attributes) {
        return "<html><head>" + head + "</head><body><a " + attributes +
               " href=\"http://www.example.com/\">Example shop</a></body></html>";
    };
    server.addFile("link.html", page("", ""));
    server.addFile("same.html", page("", ""));
    server.addFile("none.html", "<p>No partners here</p>");
    server.addFile("nofollow.html", page("", "rel=\"nofollow\""));
    server.addFile("noindex.html", page("<meta name=\"robots\" content=\"noindex\">", ""));
    const struct {
        const char* path;
        const char* cloaking;  // m_cloaking
        const char* verdict;
        int requests;  // of the page, both fetches
    } cases[] = {
        {"/ua/link.html/same.html", "same for Googlebot", "follow", 2},
        {"/ua/link.html/none.html", "cloaked: no link for Googlebot",
         "cloaked: no link for Googlebot", 2},
        {"/ua/link.html/nofollow.html", "cloaked: rel=\"nofollow\" for Googlebot",
         "cloaked: rel=\"nofollow\" for Googlebot", 2},
        {"/ua/link.html/noindex.html", "cloaked: noindex for Googlebot",
         "cloaked: noindex for Googlebot", 2},
        {"/ua/link.html/403", "cloaked: HTTP 403 for Googlebot", "cloaked: HTTP 403 for Googlebot",
         2},
        // No second request when the link is missing or already worthless.
        {"/ua/none.html/link.html", "", "no link", 1},
        {"/ua/nofollow.html/link.html", "", "nofollow", 1},
    };
    PageFetcher fetcher;
    int requests = 1;  // robots.txt, once
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PageEvidence evidence;
        fetcher.check(server.hostHttp(0, c.path), kAdvertiser, &evidence);
        EXPECT_EQ(evidence.m_cloaking, c.cloaking);
        EXPECT_EQ(evidenceVerdict(evidence), c.verdict);
        requests += c.requests;
        EXPECT_EQ(server.hostStat(0, "requests"), requests);
    }
    // Switched off, the page is asked once.
    PageFetcher::Options options;
    options.cloakCheck = false;
    PageFetcher once(options);
    PageEvidence evidence;
    EXPECT_EQ(
        once.check(server.hostHttp(0, "/ua/link.html/none.html"), kAdvertiser, &evidence).word(),
        "Link Found");
    EXPECT_EQ(evidence.m_cloaking, "");
    EXPECT_EQ(server.hostStat(0, "requests"), requests + 2);  // its own robots.txt and the page
}

}  // namespace
}  // namespace tarnwick
