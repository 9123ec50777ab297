#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "scan/CheckPage.h"
#include "scan/PageFetcher.h"
#include "scan/PageServer.h"
#include "support/ResultWords.h"

namespace tarnwick {
namespace {

using test::PageServer;
using test::ScopedEnv;

const std::string kAdvertiser = "www.example.com";
const std::string kLink = "<html><a href=\"http://www.example.com/\">partner</a></html>";

class CheckPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new PageServer();
        s_server->addFile("link.html", kLink);
        s_server->addFile("nolink.html", "<html><a href=\"http://www.other.com/\">x</a></html>");
        s_server->addFile("notfound.html", "<html><title>404 Not Found</title><p>Gone.</p></html>");
        s_server->addFile("phrase0.html", "404 Not Found" + kLink);
        s_server->addFile("caps.html", "<A HREF=\"HTTP://WWW.EXAMPLE.COM/\">");
        s_server->addFile("zero.html", std::string("a\0b", 3) + kLink);
        s_server->addFile("empty.html", "");
        s_server->addFile("my page.html", kLink);
        s_server->addFile("long.html", std::string(300000, ' ') + kLink);
        s_server->addFile("text.html", "www.example.com and www.example.com, no anchor");
        s_env = new ScopedEnv("SSL_CERT_FILE", s_server->caFile());
    }
    static void TearDownTestSuite() {
        delete s_env;
        delete s_server;
    }
    static const PageServer& server() { return *s_server; }

    // Generous for answers that come (the FTP server may take a second to
    // answer on a connection used before), short for the stalling rows.
    static PageFetcher::Options quick(long stallSeconds = 10) {
        PageFetcher::Options o;
        o.connectTimeoutSeconds = 5;
        o.stallSeconds = stallSeconds;
        return o;
    }

private:
    static PageServer* s_server;
    static ScopedEnv* s_env;
};

PageServer* CheckPageTest::s_server = nullptr;
ScopedEnv* CheckPageTest::s_env = nullptr;

std::string encoded(const std::string& url) {
    std::string out;
    for (char c : url) {
        if (c == ':' || c == '/') {
            out += c == ':' ? "%3A" : "%2F";
        } else {
            out += c;
        }
    }
    return out;
}

TEST_F(CheckPageTest, ResultsFromRealServers) {
    const PageServer& s = server();
    const std::string root = s.http("/");
    struct Row {
        const char* name;
        std::string page;
        std::string expected;
        std::string reason;  // the reason begins with this
        long httpStatus;
    };
    const std::vector<Row> rows = {
        {"http link", s.http("/files/link.html"), "Link Found",
         "link to http://www.example.com/ found", 200},
        {"https link", s.https("/files/link.html"), "Link Found", "link to", 200},
        {"ftp link", s.ftp("/link.html"), "Link Found", "link to", 0},
        {"http no link", s.http("/files/nolink.html"), "Link Not Found",
         "no link to the advertiser", 200},
        {"https no link", s.https("/files/nolink.html"), "Link Not Found", "no link", 200},
        {"ftp no link", s.ftp("/nolink.html"), "Link Not Found", "no link", 0},
        {"address without href=", s.http("/files/text.html"), "Link Not Found",
         "the address is in the page's text, not linked", 200},
        {"ftp missing file", s.ftp("/missing.html"), "Page cannot be displayed",
         "no such file on the server", 0},
        {"404 with its phrase", s.http("/status/404/notfound.html"), "Page Cannot be Found",
         "HTTP 404", 404},
        {"404 body with a link", s.http("/status/404/link.html"), "Page Cannot be Found",
         "HTTP 404", 404},
        {"410 body with a link", s.http("/status/410/link.html"), "Page Cannot be Found",
         "HTTP 410", 410},
        {"404 empty body", s.http("/status/404/empty.html"), "Page Cannot be Found", "HTTP 404",
         404},
        {"200 with the phrase", s.http("/files/notfound.html"), "Page Cannot be Found",
         "\"404 not found\" in the page", 200},
        {"403 body with a link", s.http("/status/403/link.html"), "Page cannot be displayed",
         "HTTP 403", 403},
        {"429 body with a link", s.https("/status/429/link.html"), "Page cannot be displayed",
         "HTTP 429", 429},
        {"503 body with a link", s.http("/status/503/link.html"), "Page cannot be displayed",
         "HTTP 503", 503},
        {"503 body without a link", s.http("/status/503/nolink.html"), "Page cannot be displayed",
         "HTTP 503", 503},
        {"500 body without a link", s.http("/status/500/nolink.html"), "Page cannot be displayed",
         "HTTP 500", 500},
        {"final 3xx without a new address", s.http("/status/300/link.html"),
         "Page cannot be displayed", "HTTP 300", 300},
        {"phrase at position 0", s.http("/files/phrase0.html"), "Link Found", "link to", 200},
        {"capitals", s.https("/files/caps.html"), "Link Found", "link to", 200},
        {"zero byte", s.http("/files/zero.html"), "Link Found", "link to", 200},
        {"empty body", s.http("/files/empty.html"), "Page cannot be displayed", "the page is empty",
         200},
        {"space in the address", s.http("/files/my page.html"), "Link Found", "link to", 200},
        {"many chunks", s.https("/files/long.html"), "Link Found", "link to", 200},
        {"gzip", s.http("/gzip/link.html"), "Link Found", "link to", 200},
        {"http to https", s.http("/redirect/301?to=" + encoded(s.https("/files/link.html"))),
         "Link Found", "link to", 200},
        {"http to ftp", s.http("/redirect/302?to=" + encoded(s.ftp("/link.html"))), "Link Found",
         "link to", 0},
        {"to file://", s.http("/redirect/302?to=" + encoded("file:///etc/hostname")),
         "Page cannot be displayed", "redirected to an address that is not http, https or ftp",
         302},
        {"redirection's own body is not the page",
         s.http("/redirect/302?to=" + encoded(s.http("/files/nolink.html"))), "Link Not Found",
         "no link to the advertiser", 200},
        {"loop", s.http("/loop"), "Page cannot be displayed", "more than 20 redirections", 302},
        {"5 redirections", s.http("/chain/5"), "Link Found", "link to", 200},
        {"25 redirections", s.http("/chain/25"), "Page cannot be displayed",
         "more than 20 redirections", 302},
        {"closed mid-body after the link", s.http("/close/link.html"), "Page cannot be displayed",
         "connection closed before the end of the page", 200},
        {"reset after half the page", s.http("/reset/long.html"), "Page cannot be displayed",
         "receiving failed", 200},
        {"broken chunking after the link", s.http("/badchunk/link.html"),
         "Page cannot be displayed", "receiving failed", 200},
        {"stalled after the link", s.http("/stall/link.html"), "Page cannot be displayed",
         "no data for 1 s", 200},
        {"stalled before any byte", s.http("/silent"), "Page cannot be displayed",
         "no data for 1 s", 0},
        {"refused", "http://127.0.0.1:" + std::to_string(test::unusedPort()) + "/",
         "Page cannot be displayed", "connection refused", 0},
        {"name that does not resolve", "http://no-such-host.invalid/", "Page cannot be displayed",
         "host name not found", 0},
        {"no scheme", root.substr(7) + "files/link.html", "Page cannot be displayed",
         "no scheme in the address", 0},
        {"scheme without //", "http:" + root.substr(7) + "files/link.html",
         "Page cannot be displayed", "no scheme in the address", 0},
        {"file scheme", "file:///etc/hostname", "Page cannot be displayed",
         "the address is not http, https or ftp", 0},
        {"other scheme", "gopher://127.0.0.1:" + std::to_string(s.httpPort()) + "/",
         "Page cannot be displayed", "the address is not http, https or ftp", 0},
        {"agent name", s.http("/headers"), "Link Found", "link to", 200},
        {"answer without a status line", s.http("/http09/link.html"), "Page cannot be displayed",
         "the server answered without HTTP headers (HTTP/0.9)", 0},
        {"a header line of 1 MiB", s.http("/bigheader/link.html"), "Page cannot be displayed",
         "the server's headers are too long", 200},
    };
    PageFetcher reused(quick());
    const auto expect = [](const PageResult& got, const Row& row) {
        EXPECT_EQ(got.word(), row.expected) << row.page;
        EXPECT_EQ(got.m_reason.rfind(row.reason, 0), 0u) << got.m_reason;
        EXPECT_EQ(got.m_httpStatus, row.httpStatus);
        // Only a name that does not resolve speaks of this computer's network;
        // a refused connection or a broken server is the partner's fault.
        EXPECT_EQ(got.m_networkDown, std::string(row.name) == "name that does not resolve");
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string advertiser = std::string(row.name) == "agent name"
                                           ? "user-agent: internet explorer6.0.2900.2180\n"
                                           : kAdvertiser;
        if (std::string(row.name).find("stalled") != std::string::npos) {
            PageFetcher fetcher(quick(1));
            const auto start = std::chrono::steady_clock::now();
            expect(fetcher.check(row.page, advertiser), row);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
            continue;
        }
        PageFetcher fresh(quick());
        expect(fresh.check(row.page, advertiser), row);
        expect(reused.check(row.page, advertiser), row);
    }
}

// A server that keeps sending, slowly or at full speed, holds a page no
// longer than its time limit, and the limit is the reason given.
TEST_F(CheckPageTest, TimeLimitEndsPagesThatNeverEnd) {
    PageFetcher::Options options = quick();
    options.pageTimeoutSeconds = 2;
    for (const std::string& path :
         {std::string("/trickle/link.html?every=0.2"), std::string("/endless")}) {
        SCOPED_TRACE(path);
        PageFetcher fetcher(options);
        const auto start = std::chrono::steady_clock::now();
        const PageResult result = fetcher.check(server().http(path), kAdvertiser);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(result.word(), "Page cannot be displayed");
        EXPECT_EQ(result.m_reason, "time limit of 2 s reached");
        EXPECT_GE(took, std::chrono::milliseconds(1900));
        EXPECT_LT(took, std::chrono::seconds(5));
        // The fetcher goes on with the next page.
        EXPECT_EQ(fetcher.check(server().http("/files/link.html"), kAdvertiser).word(),
                  "Link Found");
    }
}

TEST_F(CheckPageTest, CheckPageWithDefaults) {
    EXPECT_EQ(checkPage(server().https("/files/link.html"), kAdvertiser).word(), "Link Found");
    EXPECT_EQ(checkPage(server().http("/status/404/notfound.html"), kAdvertiser).word(),
              "Page Cannot be Found");
}

TEST_F(CheckPageTest, CertificateFromAnotherAuthorityIsRefused) {
    ScopedEnv systemStore("SSL_CERT_FILE", "/etc/ssl/certs/ca-certificates.crt");
    ScopedEnv noBundle("CURL_CA_BUNDLE", "");
    PageFetcher fetcher(quick());
    const PageResult result = fetcher.check(server().https("/files/link.html"), kAdvertiser);
    EXPECT_EQ(result.word(), "Page cannot be displayed");
    EXPECT_EQ(result.m_reason.rfind("certificate not trusted", 0), 0u) << result.m_reason;
}

TEST_F(CheckPageTest, CaBundleVariableIsReadWhenCertFileIsNot) {
    ScopedEnv noFile("SSL_CERT_FILE", "");
    ScopedEnv bundle("CURL_CA_BUNDLE", server().caFile());
    PageFetcher fetcher(quick());
    EXPECT_EQ(fetcher.check(server().https("/files/link.html"), kAdvertiser).word(), "Link Found");
}

TEST_F(CheckPageTest, CancelEndsAFetchAtOnce) {
    PageFetcher::Options slow = quick();
    slow.stallSeconds = 60;
    PageFetcher fetcher(slow);
    const auto start = std::chrono::steady_clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        fetcher.cancel();
    });
    EXPECT_EQ(fetcher.check(server().http("/silent"), kAdvertiser),
              test::pageResultOf("Page cannot be displayed", "the run was stopped"));
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Later pages are not fetched.
    EXPECT_EQ(fetcher.check(server().http("/files/link.html"), kAdvertiser),
              test::pageResultOf("Page cannot be displayed", "the run was stopped"));
}

// A host name outside ASCII goes out in its IDNA form, whether the profile
// holds it in Windows-1252 or in UTF-8. The loopback server stands in as the
// proxy, so the name need not resolve, and echoes the Host header it was sent.
TEST_F(CheckPageTest, InternationalHostNamesGoOutInTheirIdnaForm) {
    ScopedEnv proxy("http_proxy", "http://127.0.0.1:" + std::to_string(server().httpPort()));
    ScopedEnv noProxy("no_proxy", "");
    ScopedEnv noProxyCaps("NO_PROXY", "");
    PageFetcher fetcher(quick());
    for (const std::string& host : {std::string("b\xFC"
                                                "cher.example"),  // Windows-1252
                                    std::string("b\xC3\xBC"
                                                "cher.example"),  // UTF-8
                                    std::string("B\xDC"
                                                "CHER.example")}) {
        SCOPED_TRACE(host);
        const PageResult result =
            fetcher.check("http://" + host + "/headers", "host: xn--bcher-kva.example");
        EXPECT_EQ(result.word(), "Link Found") << result.m_reason;
    }
}

TEST(HasSchemeTest, Cases) {
    EXPECT_TRUE(hasScheme("http://x"));
    EXPECT_TRUE(hasScheme("HTTPS://x"));
    EXPECT_TRUE(hasScheme("svn+ssh://x"));
    EXPECT_FALSE(hasScheme("www.example.com/page.html"));
    EXPECT_FALSE(hasScheme("://x"));
    EXPECT_FALSE(hasScheme("1http://x"));
    EXPECT_FALSE(hasScheme("http:/x"));
    EXPECT_FALSE(hasScheme("www.example.com/?u=http://x"));
    EXPECT_FALSE(hasScheme(""));
}

}  // namespace
}  // namespace tarnwick
