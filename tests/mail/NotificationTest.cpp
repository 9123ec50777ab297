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

class Notification : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SSL_CERT_FILE", test::TestCertificates::Get().m_strCaFile.c_str(), 1);
        SmtpClient::SetTimeouts(3000, 2, 15000);
    }

    static NotificationJob Job(int row, std::string mail = "webmaster@partner.example") {
        NotificationJob job;
        job.m_strPage = kPage;
        job.m_strAdvertiser = kAdvertiser;
        job.m_strMail = std::move(mail);
        job.m_nRow = row;
        return job;
    }

    void UsePlainServer(const std::string& address) {
        WriteMailSettings(m_strMailPath, {"sender@example.com", address, false, "", ""});
    }

    test::TempDataFolder m_temp;
    std::string m_strMailPath = m_temp.Folder().MailPath();
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
    EXPECT_EQ(BuildNotificationLetter(kAdvertiser, kPage), expected);
}

TEST_F(Notification, EnabledPageGetsTheLetterThroughTheQueue) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    UsePlainServer(server.Address());
    RecordingSink sink;
    NotificationQueue queue(sink);
    queue.BeginRun();
    queue.Enqueue(Job(3));
    queue.WaitUntilDrained();
    EXPECT_TRUE(sink.Writes().empty()) << sink.Cell(3);
    EXPECT_TRUE(sink.Messages().empty());
    const auto mail = server.WaitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_strMailFrom, "sender@example.com");
    EXPECT_EQ(mail[0].m_strRecipients, "webmaster@partner.example");
    EXPECT_EQ(mail[0].m_strBody, kDeliveredLetter);
    EXPECT_NE(mail[0].m_strRaw.find("\r\nSubject: Link to http://www.osgrel.example missing on "
                                    "partner.example\r\n"),
              std::string::npos)
        << mail[0].m_strRaw;
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
        EXPECT_EQ(NotificationSubject(c.advertiser, c.page), c.subject) << c.page;
    }
}

// The sending listener hears of a letter before its SMTP exchange begins,
// and the letter waits for it (the history commits its record meanwhile); a
// letter that stops before (no Mail.txt) is never announced.
TEST_F(Notification, TheSendingListenerComesBeforeTheServerHasTheLetter) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    RecordingSink sink;
    std::atomic<int> heard{0};
    std::atomic<size_t> mailWhenHeard{99};
    std::vector<std::string> outcomes;
    std::mutex mutex;
    {
        NotificationQueue queue(sink);
        queue.setSendingListener([&](const NotificationJob& job) {
            EXPECT_EQ(job.m_strPage, kPage);
            mailWhenHeard = server.Mail().size();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ++heard;
        });
        queue.SetLetterListener([&](const NotificationJob&, const std::string& outcome) {
            std::lock_guard<std::mutex> lock(mutex);
            outcomes.push_back(outcome + " after " + std::to_string(heard.load()));
        });
        queue.BeginRun();
        queue.Enqueue(Job(1));  // no Mail.txt yet: stops before sending
        queue.WaitUntilDrained();
        UsePlainServer(server.Address());
        queue.Enqueue(Job(2));
        queue.WaitUntilDrained();
    }
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(mailWhenHeard, 0u);
    EXPECT_EQ(server.WaitForMail(1).size(), 1u);
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{"Mail Settings Not provided after 0", "sent after 1"}));
}

TEST_F(Notification, AccountComesFromMailTxtWithTheNotificationReader) {
    // SSL with a login, as Save writes it.
    {
        SmtpTestServer server(Mode::StartTls, true);
        ASSERT_TRUE(server.Started()) << server.Failure();
        WriteMailSettings(m_strMailPath, {"sender@example.com", server.Address(), true,
                                          SmtpTestServer::kUser, SmtpTestServer::kPassword});
        RecordingSink sink;
        EXPECT_EQ(SendNotificationProc(Job(1), sink), 0);
        EXPECT_TRUE(sink.Writes().empty()) << sink.Cell(1);
        ASSERT_EQ(server.WaitForMail(1).size(), 1u);
        EXPECT_EQ(server.Mail()[0].m_strLogin, SmtpTestServer::kUser);
        EXPECT_TRUE(server.Mail()[0].m_bTls);
    }
    // Line 3 "0": no SSL, but lines 4 and 5 still give the login, which goes
    // only after STARTTLS...
    const auto noSslWithLogin = [&](const std::string& address) {
        test::WriteBytes(m_strMailPath, "sender@example.com\r\n" + address + "\r\n0\r\n" +
                                            SmtpTestServer::kUser + "\r\n" +
                                            SmtpTestServer::kPassword);
    };
    {
        SmtpTestServer server(Mode::StartTls, true);
        ASSERT_TRUE(server.Started()) << server.Failure();
        noSslWithLogin(server.Address());
        RecordingSink sink;
        EXPECT_EQ(SendNotificationProc(Job(2), sink), 0);
        EXPECT_TRUE(sink.Writes().empty()) << sink.Cell(2);
        ASSERT_EQ(server.WaitForMail(1).size(), 1u);
        EXPECT_EQ(server.Mail()[0].m_strLogin, SmtpTestServer::kUser);
        EXPECT_TRUE(server.Mail()[0].m_bTls);
    }
    // ...so a server without STARTTLS gets neither login nor letter.
    {
        SmtpTestServer server(Mode::Plain, true);
        ASSERT_TRUE(server.Started()) << server.Failure();
        noSslWithLogin(server.Address());
        RecordingSink sink;
        EXPECT_EQ(SendNotificationProc(Job(3), sink), 0);
        EXPECT_NE(sink.Cell(3).find("does not offer STARTTLS"), std::string::npos) << sink.Cell(3);
        EXPECT_TRUE(server.WaitForMail(1, std::chrono::milliseconds(300)).empty());
    }
}

TEST_F(Notification, MissingMailTxtMarksEveryRow) {
    RecordingSink sink;
    {
        NotificationQueue queue(sink);
        for (int row : {0, 4, 9}) {
            queue.Enqueue(Job(row));
        }
    }
    EXPECT_EQ(sink.Cells(), (std::map<int, std::string>{{0, "Mail Settings Not provided"},
                                                        {4, "Mail Settings Not provided"},
                                                        {9, "Mail Settings Not provided"}}));
    EXPECT_TRUE(sink.Messages().empty());
}

TEST_F(Notification, EmptyMailTxtIsReportedOncePerRun) {
    test::WriteBytes(m_strMailPath, "");
    RecordingSink sink;
    NotificationQueue queue(sink);
    queue.BeginRun();
    for (int row = 0; row < 6; ++row) {
        queue.Enqueue(Job(row));
    }
    queue.WaitUntilDrained();
    EXPECT_EQ(sink.Messages(), std::vector<std::string>{"First Enter The Mail Settings"});
    queue.BeginRun();
    queue.Enqueue(Job(0));
    queue.Enqueue(Job(1));
    queue.WaitUntilDrained();
    EXPECT_EQ(sink.Messages().size(), 2u);
    EXPECT_TRUE(sink.Writes().empty());
    // Without a queue's run, every letter reports it.
    EXPECT_EQ(SendNotificationProc(Job(0), sink), 1);
    EXPECT_EQ(sink.Messages().size(), 3u);
}

TEST_F(Notification, WebmasterAddressWithControlCharactersIsNotMailed) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    UsePlainServer(server.Address());
    RecordingSink sink;
    {
        NotificationQueue queue(sink);
        queue.Enqueue(Job(0, "webmaster@partner.example\rBcc: all@else.example"));
        queue.Enqueue(Job(1, "webmaster@partner.example\n"));
        queue.Enqueue(Job(2));
    }
    EXPECT_NE(sink.Cell(0).find("control characters"), std::string::npos) << sink.Cell(0);
    EXPECT_NE(sink.Cell(1).find("control characters"), std::string::npos) << sink.Cell(1);
    EXPECT_EQ(sink.Cell(2), "");
    const auto mail = server.WaitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_strRecipients, "webmaster@partner.example");
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
        m_nPort = ntohs(addr.sin_port);
        m_thread = std::thread([this] {
            while (!m_bStop) {
                pollfd pfd{m_fd, POLLIN, 0};
                if (poll(&pfd, 1, 20) > 0) {
                    const int client = accept(m_fd, nullptr, nullptr);
                    if (client >= 0) {
                        m_clients.push_back(client);
                        ++m_nAccepted;
                    }
                }
            }
        });
    }
    // Hangs up on everybody and stops listening.
    ~SilentServer() { Stop(); }
    void Stop() {
        if (m_bStop.exchange(true)) {
            return;
        }
        m_thread.join();
        for (int client : m_clients) {
            close(client);
        }
        close(m_fd);
    }
    int Accepted() const { return m_nAccepted; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_nPort); }

private:
    int m_fd = -1;
    int m_nPort = 0;
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nAccepted{0};
    std::vector<int> m_clients;
    std::thread m_thread;
};

TEST_F(Notification, AtMostFourLettersAreOnTheirWayAndEnqueueNeverWaits) {
    SilentServer server;
    UsePlainServer(server.Address());
    RecordingSink sink;
    NotificationQueue queue(sink);
    for (int row = 0; row < 10; ++row) {
        queue.Enqueue(Job(row));
    }
    // Nothing can have been sent yet: every letter is still outstanding.
    EXPECT_EQ(queue.Outstanding(), 10);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (server.Accepted() < 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(server.Accepted(), 4);
    EXPECT_FALSE(queue.WaitUntilDrainedFor(std::chrono::milliseconds(0)));
    server.Stop();
    queue.WaitUntilDrained();
    EXPECT_EQ(queue.Outstanding(), 0);
    // Every row got its failure.
    const auto cells = sink.Cells();
    EXPECT_EQ(cells.size(), 10u);
    for (const auto& [row, text] : cells) {
        EXPECT_NE(text.find("SMTP server " + server.Address()), std::string::npos) << text;
    }
}

TEST_F(Notification, QueuedLettersAreSentBeforeTheQueueGoes) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    UsePlainServer(server.Address());
    RecordingSink sink;
    {
        NotificationQueue queue(sink, 2);
        for (int row = 0; row < 7; ++row) {
            queue.Enqueue(Job(row));
        }
    }
    EXPECT_EQ(server.Mail().size(), 7u);
    EXPECT_TRUE(sink.Writes().empty());
}

}  // namespace
}  // namespace tarnwick
