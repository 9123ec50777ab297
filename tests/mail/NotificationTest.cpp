#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "mail/MailSettings.h"
#include "mail/NotificationLetter.h"
#include "mail/NotificationQueue.h"
#include "mail/RecordingSink.h"
#include "mail/SendNotificationProc.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpTestServer.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::RecordingSink;
using test::SmtpTestServer;
using Mode = SmtpTestServer::Mode;

constexpr char kAdvertiser[] = "http://www.osgrel.example";
constexpr char kPage[] = "http://partner.example/links.html";

// The letter as a mail reader gets it, with the two addresses above.
const std::string kDeliveredLetter =
    "Dear Webmaster\r\n\r\nWe regularly check our link partners\x92 websites to verify the "
    "availability of our back-links on their websites.\r\n\r\nDuring our routine back link "
    "verification, we found that you have removed our link [http://www.osgrel.example] from "
    "your website URL [http://partner.example/links.html].\r\n\r\nPlease check your website and "
    "add our link again on your website. If you have transferred our link location somewhere "
    "else on your website, please let us know the new location of our back-link.\r\n\r\n For "
    "any query or comments, feel free to contact us.\r\n\r\nSincerely,\r\nWebmaster\r\n"
    "[http://www.osgrel.example]\r\n\r\nThis notification has been sent using Osgrel\x92s "
    "Tarnwick Ambrel software. More information about software is available on "
    "https://www.osgrel.example/tarnwick\r\n";

// Short enough that a server which never answers costs a test little.
const SmtpClient::Limits kShortLimits{3000, 2, 15000};

class Notification : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SSL_CERT_FILE", test::TestCertificates::get().m_caFile.c_str(), 1);
    }

    static NotificationJob job(int row, std::string mail = "webmaster@partner.example") {
        NotificationJob job;
        job.m_page = kPage;
        job.m_advertiser = kAdvertiser;
        job.m_mail = std::move(mail);
        job.m_row = row;
        return job;
    }

    void usePlainServer(const std::string& address) {
        writeMailSettings(m_mailPath, {"sender@example.com", address, false, "", ""});
    }

    test::TempDataFolder m_temp;
    std::string m_mailPath = m_temp.folder().mailPath();
};

TEST_F(Notification, LetterIsTheFourPiecesAroundTheAddresses) {
    // The delivered letter with "\n" line breaks and nothing after the web
    // site address.
    std::string expected;
    for (size_t i = 0; i < kDeliveredLetter.size(); ++i) {
        if (kDeliveredLetter[i] != '\r') {
            expected.push_back(kDeliveredLetter[i]);
        }
    }
    expected.pop_back();
    EXPECT_EQ(buildNotificationLetter(kAdvertiser, kPage), expected);
}

TEST_F(Notification, EnabledPageGetsTheLetterThroughTheQueue) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    usePlainServer(server.address());
    RecordingSink sink;
    NotificationQueue queue(sink);
    queue.setLimits(kShortLimits);
    queue.beginRun();
    queue.enqueue(job(3));
    queue.waitUntilDrained();
    EXPECT_TRUE(sink.writes().empty()) << sink.cell(3);
    EXPECT_TRUE(sink.messages().empty());
    const auto mail = server.waitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_mailFrom, "sender@example.com");
    EXPECT_EQ(mail[0].m_recipients, "webmaster@partner.example");
    EXPECT_EQ(mail[0].m_body, kDeliveredLetter);
    EXPECT_NE(mail[0].m_raw.find("\r\nSubject: Link to http://www.osgrel.example missing on "
                                 "partner.example\r\n"),
              std::string::npos)
        << mail[0].m_raw;
}

// The subject names the advertiser as typed and the page's site, so that
// letters about different pages are told apart in the webmaster's inbox.
TEST_F(Notification, SubjectNamesTheAdvertiserAndThePagesSite) {
    const struct {
        const char* advertiser;
        const char* page;
        const char* subject;
    } cases[] = {
        {kAdvertiser, kPage, "Link to http://www.osgrel.example missing on partner.example"},
        {" www.shop-a.example ", "partner.example/p0.html",
         "Link to www.shop-a.example missing on partner.example"},
        {"shop-a.example", "https://Blog.Partner.example:8443/a?b#c",
         "Link to shop-a.example missing on Blog.Partner.example"},
        {"shop-a.example", "ftp://files.partner.example/links.txt",
         "Link to shop-a.example missing on files.partner.example"},
        {"shop-a.example", "not an address", "Link to shop-a.example missing on not an address"},
        {"shop-a.example", "", "Link to shop-a.example missing on "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(notificationSubject(c.advertiser, c.page), c.subject) << c.page;
    }
}

// The sending listener hears of a letter before its SMTP exchange begins,
// and the letter waits for it (the history commits its record meanwhile); a
// letter that stops before (no Mail.txt) is never announced.
TEST_F(Notification, TheSendingListenerComesBeforeTheServerHasTheLetter) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    RecordingSink sink;
    std::atomic<int> heard{0};
    std::atomic<size_t> mailWhenHeard{99};
    std::vector<std::string> outcomes;
    std::mutex mutex;
    {
        NotificationQueue queue(sink);
        queue.setLimits(kShortLimits);
        queue.setSendingListener([&](const NotificationJob& job) {
            EXPECT_EQ(job.m_page, kPage);
            mailWhenHeard = server.mail().size();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ++heard;
        });
        queue.setLetterListener([&](const NotificationJob&, const std::string& outcome) {
            std::lock_guard<std::mutex> lock(mutex);
            outcomes.push_back(outcome + " after " + std::to_string(heard.load()));
        });
        queue.beginRun();
        queue.enqueue(job(1));  // no Mail.txt yet: stops before sending
        queue.waitUntilDrained();
        usePlainServer(server.address());
        queue.enqueue(job(2));
        queue.waitUntilDrained();
    }
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(mailWhenHeard, 0u);
    EXPECT_EQ(server.waitForMail(1).size(), 1u);
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{"Mail Settings Not provided after 0", "sent after 1"}));
}

TEST_F(Notification, AccountComesFromMailTxtWithTheNotificationReader) {
    // SSL with a login, as Save writes it.
    {
        SmtpTestServer server(Mode::StartTls, true);
        ASSERT_TRUE(server.started()) << server.failure();
        writeMailSettings(m_mailPath, {"sender@example.com", server.address(), true,
                                       SmtpTestServer::kUser, SmtpTestServer::kPassword});
        RecordingSink sink;
        EXPECT_EQ(sendNotificationProc(job(1), sink, kShortLimits), 0);
        EXPECT_TRUE(sink.writes().empty()) << sink.cell(1);
        ASSERT_EQ(server.waitForMail(1).size(), 1u);
        EXPECT_EQ(server.mail()[0].m_login, SmtpTestServer::kUser);
        EXPECT_TRUE(server.mail()[0].m_tls);
    }
    // Line 3 "0": no SSL, but lines 4 and 5 still give the login, which goes
    // only after STARTTLS...
    const auto noSslWithLogin = [&](const std::string& address) {
        test::writeBytes(m_mailPath, "sender@example.com\r\n" + address + "\r\n0\r\n" +
                                         SmtpTestServer::kUser + "\r\n" +
                                         SmtpTestServer::kPassword);
    };
    {
        SmtpTestServer server(Mode::StartTls, true);
        ASSERT_TRUE(server.started()) << server.failure();
        noSslWithLogin(server.address());
        RecordingSink sink;
        EXPECT_EQ(sendNotificationProc(job(2), sink, kShortLimits), 0);
        EXPECT_TRUE(sink.writes().empty()) << sink.cell(2);
        ASSERT_EQ(server.waitForMail(1).size(), 1u);
        EXPECT_EQ(server.mail()[0].m_login, SmtpTestServer::kUser);
        EXPECT_TRUE(server.mail()[0].m_tls);
    }
    // ...so a server without STARTTLS gets neither login nor letter.
    {
        SmtpTestServer server(Mode::Plain, true);
        ASSERT_TRUE(server.started()) << server.failure();
        noSslWithLogin(server.address());
        RecordingSink sink;
        EXPECT_EQ(sendNotificationProc(job(3), sink, kShortLimits), 0);
        EXPECT_NE(sink.cell(3).find("does not offer STARTTLS"), std::string::npos) << sink.cell(3);
        EXPECT_TRUE(server.waitForMail(1, std::chrono::milliseconds(300)).empty());
    }
}

TEST_F(Notification, MissingMailTxtMarksEveryRow) {
    RecordingSink sink;
    {
        NotificationQueue queue(sink);
        queue.setLimits(kShortLimits);
        for (int row : {0, 4, 9}) {
            queue.enqueue(job(row));
        }
    }
    EXPECT_EQ(sink.cells(), (std::map<int, std::string>{{0, "Mail Settings Not provided"},
                                                        {4, "Mail Settings Not provided"},
                                                        {9, "Mail Settings Not provided"}}));
    EXPECT_TRUE(sink.messages().empty());
}

TEST_F(Notification, EmptyMailTxtIsReportedOncePerRun) {
    test::writeBytes(m_mailPath, "");
    RecordingSink sink;
    NotificationQueue queue(sink);
    queue.setLimits(kShortLimits);
    queue.beginRun();
    for (int row = 0; row < 6; ++row) {
        queue.enqueue(job(row));
    }
    queue.waitUntilDrained();
    EXPECT_EQ(sink.messages(), std::vector<std::string>{"First Enter The Mail Settings"});
    queue.beginRun();
    queue.enqueue(job(0));
    queue.enqueue(job(1));
    queue.waitUntilDrained();
    EXPECT_EQ(sink.messages().size(), 2u);
    EXPECT_TRUE(sink.writes().empty());
    // Without a queue's run, every letter reports it.
    EXPECT_EQ(sendNotificationProc(job(0), sink, kShortLimits), 1);
    EXPECT_EQ(sink.messages().size(), 3u);
}

TEST_F(Notification, WebmasterAddressWithControlCharactersIsNotMailed) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    usePlainServer(server.address());
    RecordingSink sink;
    {
        NotificationQueue queue(sink);
        queue.setLimits(kShortLimits);
        queue.enqueue(job(0, "webmaster@partner.example\rBcc: all@else.example"));
        queue.enqueue(job(1, "webmaster@partner.example\n"));
        queue.enqueue(job(2));
    }
    EXPECT_NE(sink.cell(0).find("control characters"), std::string::npos) << sink.cell(0);
    EXPECT_NE(sink.cell(1).find("control characters"), std::string::npos) << sink.cell(1);
    EXPECT_EQ(sink.cell(2), "");
    const auto mail = server.waitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_recipients, "webmaster@partner.example");
}

// A server that takes connections and never says a word; counts them.
class SilentServer {
public:
    SilentServer() {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_fd, 64);
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] {
            while (!m_stop) {
                pollfd pfd{m_fd, POLLIN, 0};
                if (poll(&pfd, 1, 20) > 0) {
                    const int client = accept(m_fd, nullptr, nullptr);
                    if (client >= 0) {
                        m_clients.push_back(client);
                        ++m_accepted;
                    }
                }
            }
        });
    }
    // Hangs up on everybody and stops listening.
    ~SilentServer() { stop(); }
    void stop() {
        if (m_stop.exchange(true)) {
            return;
        }
        m_thread.join();
        for (int client : m_clients) {
            close(client);
        }
        close(m_fd);
    }
    int accepted() const { return m_accepted; }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    int m_fd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_accepted{0};
    std::vector<int> m_clients;
    std::thread m_thread;
};

TEST_F(Notification, AtMostFourLettersAreOnTheirWayAndEnqueueNeverWaits) {
    SilentServer server;
    usePlainServer(server.address());
    RecordingSink sink;
    NotificationQueue queue(sink);
    queue.setLimits(kShortLimits);
    for (int row = 0; row < 10; ++row) {
        queue.enqueue(job(row));
    }
    // Nothing can have been sent yet: every letter is still outstanding.
    EXPECT_EQ(queue.outstanding(), 10);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (server.accepted() < 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(server.accepted(), 4);
    EXPECT_FALSE(queue.waitUntilDrainedFor(std::chrono::milliseconds(0)));
    server.stop();
    queue.waitUntilDrained();
    EXPECT_EQ(queue.outstanding(), 0);
    // Every row got its failure.
    const auto cells = sink.cells();
    EXPECT_EQ(cells.size(), 10u);
    for (const auto& [row, text] : cells) {
        EXPECT_NE(text.find("SMTP server " + server.address()), std::string::npos) << text;
    }
}

TEST_F(Notification, QueuedLettersAreSentBeforeTheQueueGoes) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    usePlainServer(server.address());
    RecordingSink sink;
    {
        NotificationQueue queue(sink, 2);
        queue.setLimits(kShortLimits);
        for (int row = 0; row < 7; ++row) {
            queue.enqueue(job(row));
        }
    }
    EXPECT_EQ(server.mail().size(), 7u);
    EXPECT_TRUE(sink.writes().empty());
}

}  // namespace
}  // namespace tarnwick
