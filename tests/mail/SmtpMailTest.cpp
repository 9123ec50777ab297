#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "mail/MailDeadline.h"
#include "mail/MailSender.h"
#include "mail/RecordingSink.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpEndpoint.h"
#include "mail/SmtpMessage.h"
#include "mail/SmtpTestServer.h"
#include "support/MuteListener.h"

namespace tarnwick {
namespace {

using test::ReceivedMail;
using test::RecordingSink;
using test::SmtpTestServer;
using Mode = SmtpTestServer::Mode;

constexpr int kRow = 7;

class SmtpMail : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SSL_CERT_FILE", test::TestCertificates::get().m_caFile.c_str(), 1);
        unsetenv("CURL_CA_BUNDLE");
    }

    // A sender for row kRow with a short letter, to the given server.
    static void fill(MailSender& sender, const std::string& server, bool ssl = false) {
        // Short enough that a server which never answers costs a test little.
        sender.m_limits = {3000, 2, 15000};
        sender.m_account.m_sender = "sender@example.com";
        sender.m_account.m_smtpServer = server;
        sender.m_recipient = "webmaster@partner.example";
        sender.m_subject = "Osgrel Tarnwick Ambrel";
        sender.m_body = "Dear Webmaster\n\nShort letter.";
        sender.m_account.m_requiresSsl = ssl;
        if (ssl) {
            sender.m_account.m_userName = SmtpTestServer::kUser;
            sender.m_account.m_password = SmtpTestServer::kPassword;
        }
    }

    static std::string header(const std::string& raw, const std::string& name) {
        const std::string key = "\r\n" + name + ": ";
        const size_t at = ("\r\n" + raw).find(key);
        if (at == std::string::npos) {
            return "<missing>";
        }
        const size_t start = at + key.size() - 2;
        return raw.substr(start, raw.find("\r\n", start) - start);
    }
};

TEST_F(SmtpMail, PlainSmtpDeliversWithoutLogin) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    RecordingSink sink;
    MailSender sender(sink, kRow);
    fill(sender, server.address());
    sender.send();
    EXPECT_TRUE(sink.cells().empty()) << sink.cell(kRow);
    const auto mail = server.waitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_mailFrom, "sender@example.com");
    EXPECT_EQ(mail[0].m_recipients, "webmaster@partner.example");
    EXPECT_EQ(mail[0].m_login, "");
    EXPECT_FALSE(mail[0].m_tls);
}

TEST_F(SmtpMail, MessageArrivesByteForByte) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    RecordingSink sink;
    MailSender sender(sink, kRow);
    fill(sender, server.address());
    const std::string longLine = std::string(70, 'a') + " = " + std::string(90, 'b') + " ";
    sender.m_body = "partners\x92 websites\n.leading dot\n.\n..two\n\n" + longLine +
                    "\ntrailing blank \nend\twith tab\t\nFrom here\nlast";
    sender.m_subject = "Osgrel Tarnwick Ambrel";
    sender.send();
    ASSERT_TRUE(sink.cells().empty()) << sink.cell(kRow);
    const auto mail = server.waitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    const ReceivedMail& m = mail[0];

    // Body: every byte back, lines ending in CR LF.
    EXPECT_EQ(m.m_body, "partners\x92 websites\r\n.leading dot\r\n.\r\n..two\r\n\r\n" + longLine +
                            "\r\ntrailing blank \r\nend\twith tab\t\r\nFrom here\r\nlast\r\n");
    // A mail reader shows byte 0x92 as U+2019.
    EXPECT_EQ(m.m_text.rfind("partners\xE2\x80\x99 websites\r\n", 0), 0u) << m.m_text;

    // Headers.
    EXPECT_EQ(header(m.m_raw, "From"), "sender@example.com");
    EXPECT_EQ(header(m.m_raw, "To"), "webmaster@partner.example");
    EXPECT_EQ(header(m.m_raw, "Subject"), "Osgrel Tarnwick Ambrel");
    EXPECT_EQ(header(m.m_raw, "MIME-Version"), "1.0");
    EXPECT_EQ(header(m.m_raw, "Content-Type"), "text/plain; charset=windows-1252");
    EXPECT_EQ(header(m.m_raw, "Content-Transfer-Encoding"), "quoted-printable");
    EXPECT_TRUE(std::regex_match(
        header(m.m_raw, "Date"),
        std::regex(
            R"((Mon|Tue|Wed|Thu|Fri|Sat|Sun), \d\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{4} \d\d:\d\d:\d\d [+-]\d{4})")))
        << header(m.m_raw, "Date");
    EXPECT_TRUE(
        std::regex_match(header(m.m_raw, "Message-ID"), std::regex(R"(<[^<>@ ]+@example\.com>)")))
        << header(m.m_raw, "Message-ID");

    // On the wire: CR LF only, 7-bit, no line longer than 76 characters.
    size_t start = 0;
    while (start < m.m_raw.size()) {
        const size_t lf = m.m_raw.find('\n', start);
        ASSERT_NE(lf, std::string::npos) << "the message must end with CR LF";
        EXPECT_EQ(m.m_raw[lf - 1], '\r') << "bare LF at " << lf;
        EXPECT_LE(lf - 1 - start, 76u) << m.m_raw.substr(start, lf - start);
        start = lf + 1;
    }
    for (char c : m.m_raw) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

TEST_F(SmtpMail, MessageIdsDiffer) {
    EXPECT_NE(makeMessageId("a@b.example"), makeMessageId("a@b.example"));
    EXPECT_NE(makeMessageId("a@b.example").find("@b.example"), std::string::npos);
    EXPECT_NE(makeMessageId("odd<address").find("@tarnwick.localdomain"), std::string::npos);
}

TEST_F(SmtpMail, SubjectOutsideAsciiIsEncodedAndControlsDropped) {
    EXPECT_EQ(encodeSubject("Osgrel Tarnwick Ambrel"), "Osgrel Tarnwick Ambrel");
    EXPECT_EQ(encodeSubject("a\r\nBcc: x@y"), "a  Bcc: x@y");
    EXPECT_EQ(encodeSubject("Osgrel\x92s"), "=?windows-1252?Q?Osgrel=92s?=");
    const std::string folded = encodeSubject(std::string(100, '\xE9'));
    EXPECT_NE(folded.find("?=\r\n =?windows-1252?Q?"), std::string::npos);
}

TEST_F(SmtpMail, StartTlsWithLogin) {
    SmtpTestServer server(Mode::StartTls, true);
    ASSERT_TRUE(server.started()) << server.failure();
    RecordingSink sink;
    MailSender sender(sink, kRow);
    fill(sender, server.address(), true);
    sender.send();
    EXPECT_TRUE(sink.cells().empty()) << sink.cell(kRow);
    const auto mail = server.waitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_login, SmtpTestServer::kUser);
}

TEST_F(SmtpMail, ImplicitTlsWithLoginOnPort465) {
    SmtpTestServer server(Mode::ImplicitTls, true, 465);
    if (!server.started()) {
        GTEST_SKIP() << "port 465 on 127.0.0.1 is not available: " << server.failure();
    }
    for (const std::string address : {"127.0.0.1", "127.0.0.1:465"}) {
        RecordingSink sink;
        MailSender sender(sink, kRow);
        fill(sender, address, true);
        sender.send();
        EXPECT_TRUE(sink.cells().empty()) << address << ": " << sink.cell(kRow);
    }
    const auto mail = server.waitForMail(2);
    ASSERT_EQ(mail.size(), 2u);
    for (const ReceivedMail& m : mail) {
        EXPECT_TRUE(m.m_tls);
        EXPECT_EQ(m.m_login, SmtpTestServer::kUser);
    }
}

TEST_F(SmtpMail, LoginOnlyWithUserNameAndPasswordAndNeverInClear) {
    // Without SSL the sender still logs in, but only when user name, password
    // and server are all given, and only after STARTTLS.
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    SmtpTestServer clearAuthServer(Mode::Plain, true);
    ASSERT_TRUE(clearAuthServer.started()) << clearAuthServer.failure();
    SmtpTestServer startTlsServer(Mode::StartTls, true);
    ASSERT_TRUE(startTlsServer.started()) << startTlsServer.failure();

    RecordingSink sink;
    {
        MailSender sender(sink, kRow);
        fill(sender, startTlsServer.address());
        sender.m_account.m_userName = SmtpTestServer::kUser;
        sender.m_account.m_password = SmtpTestServer::kPassword;
        sender.send();
    }
    EXPECT_TRUE(sink.cells().empty()) << sink.cell(kRow);
    ASSERT_EQ(startTlsServer.waitForMail(1).size(), 1u);
    EXPECT_EQ(startTlsServer.mail()[0].m_login, SmtpTestServer::kUser);
    EXPECT_TRUE(startTlsServer.mail()[0].m_tls);
    {
        // A server without STARTTLS gets neither the login nor the mail.
        MailSender sender(sink, kRow);
        fill(sender, clearAuthServer.address());
        sender.m_account.m_userName = SmtpTestServer::kUser;
        sender.m_account.m_password = SmtpTestServer::kPassword;
        sender.send();
    }
    EXPECT_NE(sink.cell(kRow).find("does not offer STARTTLS: the user name and password are never "
                                   "sent without encryption, so nothing was sent."),
              std::string::npos)
        << sink.cell(kRow);
    EXPECT_TRUE(clearAuthServer.waitForMail(1, std::chrono::milliseconds(300)).empty());
    {
        // Half a login: both are passed as "" and the server asks for none.
        RecordingSink halfSink;
        MailSender sender(halfSink, kRow);
        fill(sender, server.address());
        sender.m_account.m_userName = SmtpTestServer::kUser;
        sender.send();
        EXPECT_TRUE(halfSink.cells().empty()) << halfSink.cell(kRow);
    }
    ASSERT_EQ(server.waitForMail(1).size(), 1u);
    EXPECT_EQ(server.mail()[0].m_login, "");
}

TEST_F(SmtpMail, FailuresBecomeReadableSentencesInTheRow) {
    SmtpTestServer plain(Mode::Plain);
    SmtpTestServer secure(Mode::StartTls, true);
    ASSERT_TRUE(plain.started()) << plain.failure();
    ASSERT_TRUE(secure.started()) << secure.failure();
    const std::string dead = "127.0.0.1:" + std::to_string(test::unusedPort());

    struct Case {
        const char* what;
        std::string server;
        bool ssl;
        std::string password;
        std::string recipient;
        std::vector<std::string> expected;  // parts of the text
    };
    const std::vector<Case> cases = {
        {"wrong password",
         secure.address(),
         true,
         "wrong",
         "webmaster@partner.example",
         {"refused the user name or password", "535"}},
        {"server down",
         dead,
         false,
         "",
         "webmaster@partner.example",
         {"Could not connect to the SMTP server " + dead, "refused"}},
        {"recipient refused",
         plain.address(),
         false,
         "",
         "refused@partner.example",
         {"refused the recipient refused@partner.example", "550 5.1.1"}},
        {"no STARTTLS offered",
         plain.address(),
         true,
         SmtpTestServer::kPassword,
         "webmaster@partner.example",
         {"does not offer STARTTLS"}},
        {"no recipient", plain.address(), false, "", " ", {"No recipient"}},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        MailSender sender(sink, kRow);
        fill(sender, c.server, c.ssl);
        if (c.ssl) {
            sender.m_account.m_password = c.password;
        }
        sender.m_recipient = c.recipient;
        sender.send();
        const std::string cell = sink.cell(kRow);
        for (const std::string& part : c.expected) {
            EXPECT_NE(cell.find(part), std::string::npos) << c.what << ": " << cell;
        }
        EXPECT_TRUE(sink.messages().empty()) << c.what;
    }
    EXPECT_TRUE(plain.mail().empty());
    EXPECT_TRUE(secure.mail().empty());
}

TEST_F(SmtpMail, UntrustedCertificateIsRefused) {
    SmtpTestServer server(Mode::StartTls, true);
    ASSERT_TRUE(server.started()) << server.failure();
    // The system's CA store does not know the test CA.
    setenv("SSL_CERT_FILE", "/etc/ssl/certs/ca-certificates.crt", 1);
    RecordingSink sink;
    {
        MailSender sender(sink, kRow);
        fill(sender, server.address(), true);
        sender.send();
    }
    setenv("SSL_CERT_FILE", test::TestCertificates::get().m_caFile.c_str(), 1);
    EXPECT_NE(sink.cell(kRow).find("certificate"), std::string::npos) << sink.cell(kRow);
    EXPECT_TRUE(server.mail().empty());
}

TEST_F(SmtpMail, AddressesWithControlCharactersNeverReachTheServer) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    const std::vector<std::string> bad = {
        "webmaster@partner.example\r\nRCPT TO:<victim@else.example>",
        "webmaster@partner.example\n",
        "web\tmaster@partner.example",
        "webmaster@partner.example\x7f",
        std::string("webmaster@partner.example\0x", 27),
    };
    for (const std::string& address : bad) {
        for (bool asSender : {false, true}) {
            RecordingSink sink;
            MailSender sender(sink, kRow);
            fill(sender, server.address());
            (asSender ? sender.m_account.m_sender : sender.m_recipient) = address;
            sender.send();
            const std::string cell = sink.cell(kRow);
            EXPECT_NE(cell.find("control characters"), std::string::npos) << cell;
            EXPECT_EQ(cell.find_first_of("\r\n\t\x7f"), std::string::npos) << cell;
        }
    }
    // Nor does an address that would close the angle brackets of a command.
    RecordingSink sink;
    MailSender sender(sink, kRow);
    fill(sender, server.address());
    sender.m_recipient = "a@b.example> NOTIFY=NEVER";
    sender.send();
    EXPECT_NE(sink.cell(kRow).find("not a usable mail address"), std::string::npos);
    EXPECT_TRUE(server.mail().empty());
}

TEST_F(SmtpMail, ASilentServerEndsInATimeOut) {
    // The kernel accepts the connection, but nobody ever greets.
    test::MuteListener mute(4);
    ASSERT_GT(mute.port(), 0);
    RecordingSink sink;
    MailSender sender(sink, kRow);
    fill(sender, mute.address());
    sender.send();
    EXPECT_NE(sink.cell(kRow).find("did not answer in time"), std::string::npos) << sink.cell(kRow);
}

// A deadline belongs to the sends it is given to: once it has passed, they
// end before handing over a letter; a send without it goes on.
TEST_F(SmtpMail, APassedDeadlineEndsOnlyTheSendsGivenIt) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    MailDeadline deadline;
    deadline.set(std::chrono::steady_clock::now());
    RecordingSink late;
    {
        MailSender sender(late, kRow);
        fill(sender, server.address());
        sender.m_limits.m_deadline = &deadline;
        sender.send();
    }
    EXPECT_EQ(late.cell(kRow), SmtpClient::kNoTimeLeft);
    RecordingSink onTime;
    {
        MailSender sender(onTime, kRow);
        fill(sender, server.address());
        sender.send();
    }
    EXPECT_TRUE(onTime.cells().empty()) << onTime.cell(kRow);
    EXPECT_EQ(server.waitForMail(1).size(), 1u);
}

TEST_F(SmtpMail, OnlyTheTestMailIsAnnounced) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.started()) << server.failure();
    RecordingSink sink;
    {
        MailSender letter(sink, kRow);
        letter.m_announceSent = true;
        fill(letter, server.address());
        letter.send();
    }
    EXPECT_TRUE(sink.messages().empty());
    {
        MailSender test(sink);
        test.m_announceSent = true;
        fill(test, server.address());
        test.send();
    }
    EXPECT_EQ(sink.messages(), std::vector<std::string>{"Message sent"});
    {
        MailSender test(sink);
        fill(test, server.address());
        test.send();
    }
    EXPECT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(server.waitForMail(3).size(), 3u);
}

TEST(SmtpEndpointRule, PortAndTlsFollowTheServerTextAndSsl) {
    struct Case {
        std::string server;
        bool ssl;
        std::string url;
        bool implicitTls, startTls;
    };
    const std::vector<Case> cases = {
        {"smtp.example.com", false, "smtp://smtp.example.com:25", false, false},
        {"smtp.example.com:2525", false, "smtp://smtp.example.com:2525", false, false},
        {"smtp.example.com:465", false, "smtp://smtp.example.com:465", false, false},
        {"smtp.example.com", true, "smtps://smtp.example.com:465", true, false},
        {"smtp.example.com:465", true, "smtps://smtp.example.com:465", true, false},
        {"smtp.example.com:587", true, "smtp://smtp.example.com:587", false, true},
        {"smtp.example.com:25", true, "smtp://smtp.example.com:25", false, true},
        {" 127.0.0.1:2525 ", false, "smtp://127.0.0.1:2525", false, false},
        {"[::1]:587", true, "smtp://[::1]:587", false, true},
        {"[::1]", true, "smtps://[::1]:465", true, false},
    };
    for (const Case& c : cases) {
        SmtpEndpoint endpoint;
        std::string error;
        ASSERT_TRUE(parseSmtpServer(c.server, c.ssl, endpoint, error)) << c.server << error;
        EXPECT_EQ(endpoint.url(), c.url) << c.server;
        EXPECT_EQ(endpoint.m_implicitTls, c.implicitTls) << c.server;
        EXPECT_EQ(endpoint.m_startTls, c.startTls) << c.server;
    }
    for (const std::string bad :
         {"", "smtp.example.com:", "smtp.example.com:0", "smtp.example.com:65536",
          "smtp.example.com:25x", "user@smtp.example.com", "smtp.example.com/path", "a b.example",
          "smtp.example.com:25:26", "[::1", "[::1]x", "smtp\r\n.example.com", ".example.com"}) {
        SmtpEndpoint endpoint;
        std::string error;
        EXPECT_FALSE(parseSmtpServer(bad, true, endpoint, error)) << bad;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find_first_of("\r\n"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace tarnwick
