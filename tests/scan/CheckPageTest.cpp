#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "scan/CheckPage.h"
#include "scan/PageFetcher.h"
#include "scan/PageServer.h"

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
        s_server->AddFile("link.html", kLink);
        s_server->AddFile("nolink.html", "<html><a href=\"http://www.other.com/\">x</a></html>");
        s_server->AddFile("notfound.html", "<html><title>404 Not Found</title>" + kLink);
        s_server->AddFile("phrase0.html", "404 Not Found" + kLink);
        s_server->AddFile("caps.html", "<A HREF=\"HTTP://WWW.EXAMPLE.COM/\">");
        s_server->AddFile("zero.html", std::string("a\0b", 3) + kLink);
        s_server->AddFile("empty.html", "");
        s_server->AddFile("my page.html", kLink);
        s_server->AddFile("long.html", std::string(300000, ' ') + kLink);
        s_env = new ScopedEnv("SSL_CERT_FILE", s_server->CaFile());
    }
    static void TearDownTestSuite() {
        delete s_env;
        delete s_server;
    }
    static const PageServer& Server() { return *s_server; }

    // Generous for answers that come (the FTP server may take a second to
    // answer on a connection used before), short for the stalling rows.
    static PageFetcher::Options Quick(long stallSeconds = 10) {
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

std::string Encoded(const std::string& url) {
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
    const PageServer& s = Server();
    const std::string root = s.Http("/");
    struct Row {
        const char* name;
        std::string page;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"http link", s.Http("/files/link.html"), "Link Found"},
        {"https link", s.Https("/files/link.html"), "Link Found"},
        {"ftp link", s.Ftp("/link.html"), "Link Found"},
        {"http no link", s.Http("/files/nolink.html"), "Link Not Found"},
        {"https no link", s.Https("/files/nolink.html"), "Link Not Found"},
        {"ftp no link", s.Ftp("/nolink.html"), "Link Not Found"},
        {"ftp missing file", s.Ftp("/missing.html"), "Page cannot be displayed"},
        {"404 with its phrase", s.Http("/status/404/notfound.html"), "Page Cannot be Found"},
        {"404 body with a link", s.Http("/status/404/link.html"), "Link Found"},
        {"500 body without a link", s.Http("/status/500/nolink.html"), "Link Not Found"},
        {"phrase at position 0", s.Http("/files/phrase0.html"), "Link Found"},
        {"capitals", s.Https("/files/caps.html"), "Link Found"},
        {"zero byte", s.Http("/files/zero.html"), "Link Found"},
        {"empty body", s.Http("/files/empty.html"), "Page cannot be displayed"},
        {"space in the address", s.Http("/files/my page.html"), "Link Found"},
        {"many chunks", s.Https("/files/long.html"), "Link Found"},
        {"gzip", s.Http("/gzip/link.html"), "Link Found"},
        {"http to https", s.Http("/redirect/301?to=" + Encoded(s.Https("/files/link.html"))),
         "Link Found"},
        {"http to ftp", s.Http("/redirect/302?to=" + Encoded(s.Ftp("/link.html"))), "Link Found"},
        {"to file://", s.Http("/redirect/302?to=" + Encoded("file:///etc/hostname")),
         "Page cannot be displayed"},
        {"loop", s.Http("/loop"), "Page cannot be displayed"},
        {"5 redirections", s.Http("/chain/5"), "Link Found"},
        {"25 redirections", s.Http("/chain/25"), "Page cannot be displayed"},
        {"closed mid-body", s.Http("/close/link.html"), "Link Found"},
        {"stalled after the link", s.Http("/stall/link.html"), "Link Found"},
        {"stalled before any byte", s.Http("/silent"), "Page cannot be displayed"},
        {"refused", "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/",
         "Page cannot be displayed"},
        {"name that does not resolve", "http://no-such-host.invalid/", "Page cannot be displayed"},
        {"no scheme", root.substr(7) + "files/link.html", "Page cannot be displayed"},
        {"scheme without //", "http:" + root.substr(7) + "files/link.html",
         "Page cannot be displayed"},
        {"file scheme", "file:///etc/hostname", "Page cannot be displayed"},
        {"other scheme", "gopher://127.0.0.1:" + std::to_string(s.HttpPort()) + "/",
         "Page cannot be displayed"},
        {"agent name", s.Http("/headers"), "Link Found"},
    };
    PageFetcher reused(Quick());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string advertiser = std::string(row.name) == "agent name"
                                           ? "user-agent: internet explorer6.0.2900.2180\n"
                                           : kAdvertiser;
        if (std::string(row.name).find("stalled") != std::string::npos) {
            PageFetcher fetcher(Quick(1));
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(fetcher.Check(row.page, advertiser), row.expected);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
            continue;
        }
        PageFetcher fresh(Quick());
        EXPECT_EQ(fresh.Check(row.page, advertiser), row.expected) << row.page;
        EXPECT_EQ(reused.Check(row.page, advertiser), row.expected) << row.page;
    }
}

TEST_F(CheckPageTest, CheckPageWithDefaults) {
    EXPECT_EQ(CheckPage(Server().Https("/files/link.html"), kAdvertiser), "Link Found");
    EXPECT_EQ(CheckPage(Server().Http("/status/404/notfound.html"), kAdvertiser),
              "Page Cannot be Found");
}

TEST_F(CheckPageTest, CertificateFromAnotherAuthorityIsRefused) {
    ScopedEnv systemStore("SSL_CERT_FILE", "/etc/ssl/certs/ca-certificates.crt");
    ScopedEnv noBundle("CURL_CA_BUNDLE", "");
    PageFetcher fetcher(Quick());
    EXPECT_EQ(fetcher.Check(Server().Https("/files/link.html"), kAdvertiser),
              "Page cannot be displayed");
}

TEST_F(CheckPageTest, CaBundleVariableIsReadWhenCertFileIsNot) {
    ScopedEnv noFile("SSL_CERT_FILE", "");
    ScopedEnv bundle("CURL_CA_BUNDLE", Server().CaFile());
    PageFetcher fetcher(Quick());
    EXPECT_EQ(fetcher.Check(Server().Https("/files/link.html"), kAdvertiser), "Link Found");
}

TEST_F(CheckPageTest, CancelEndsAFetchAtOnce) {
    PageFetcher::Options slow = Quick();
    slow.stallSeconds = 60;
    PageFetcher fetcher(slow);
    const auto start = std::chrono::steady_clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        fetcher.Cancel();
    });
    EXPECT_EQ(fetcher.Check(Server().Http("/silent"), kAdvertiser), "Page cannot be displayed");
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Later pages are not fetched.
    EXPECT_EQ(fetcher.Check(Server().Http("/files/link.html"), kAdvertiser),
              "Page cannot be displayed");
}

TEST(HasSchemeTest, Cases) {
    EXPECT_TRUE(HasScheme("http://x"));
    EXPECT_TRUE(HasScheme("HTTPS://x"));
    EXPECT_TRUE(HasScheme("svn+ssh://x"));
    EXPECT_FALSE(HasScheme("www.example.com/page.html"));
    EXPECT_FALSE(HasScheme("://x"));
    EXPECT_FALSE(HasScheme("1http://x"));
    EXPECT_FALSE(HasScheme("http:/x"));
    EXPECT_FALSE(HasScheme("www.example.com/?u=http://x"));
    EXPECT_FALSE(HasScheme(""));
}

}  // namespace
}  // namespace tarnwick
