#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "mail/MailSender.h"
#include "mail/RecordingSink.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpEndpoint.h"
#include "mail/SmtpMessage.h"
#include "mail/SmtpTestServer.h"

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
        setenv("SSL_CERT_FILE", test::TestCertificates::Get().m_strCaFile.c_str(), 1);
        unsetenv("CURL_CA_BUNDLE");
        SmtpClient::SetTimeouts(3000, 2, 15000);
    }
    void TearDown() override { g_bAnnounceSent = false; }

    // A sender for row kRow with a short letter, to the given server.
    static void Fill(MailSender& sender, const std::string& server, bool ssl = false) {
        sender.m_account.m_strSender = "sender@example.com";
        sender.m_account.m_strSmtpServer = server;
        sender.m_strRecipient = "webmaster@partner.example";
        sender.m_strSubject = "Osgrel Tarnwick Ambrel";
        sender.m_strBody = "Dear Webmaster\n\nShort letter.";
        sender.m_account.m_bRequiresSsl = ssl;
        if (ssl) {
            sender.m_account.m_strUserName = SmtpTestServer::kUser;
            sender.m_account.m_strPassword = SmtpTestServer::kPassword;
        }
    }

    static std::string Header(const std::string& raw, const std::string& name) {
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
    ASSERT_TRUE(server.Started()) << server.Failure();
    RecordingSink sink;
    MailSender sender(sink, kRow);
    Fill(sender, server.Address());
    sender.Send();
    EXPECT_TRUE(sink.Cells().empty()) << sink.Cell(kRow);
    const auto mail = server.WaitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_strMailFrom, "sender@example.com");
    EXPECT_EQ(mail[0].m_strRecipients, "webmaster@partner.example");
    EXPECT_EQ(mail[0].m_strLogin, "");
    EXPECT_FALSE(mail[0].m_bTls);
}

TEST_F(SmtpMail, MessageArrivesByteForByte) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    RecordingSink sink;
    MailSender sender(sink, kRow);
    Fill(sender, server.Address());
    const std::string longLine = std::string(70, 'a') + " = " + std::string(90, 'b') + " ";
    sender.m_strBody = "partners\x92 websites\n.leading dot\n.\n..two\n\n" + longLine +
                       "\ntrailing blank \nend\twith tab\t\nFrom here\nlast";
    sender.m_strSubject = "Osgrel Tarnwick Ambrel";
    sender.Send();
    ASSERT_TRUE(sink.Cells().empty()) << sink.Cell(kRow);
    const auto mail = server.WaitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    const ReceivedMail& m = mail[0];

    // Body: every byte back, lines ending in CR LF.
    EXPECT_EQ(m.m_strBody, "partners\x92 websites\r\n.leading dot\r\n.\r\n..two\r\n\r\n" +
                               longLine +
                               "\r\ntrailing blank \r\nend\twith tab\t\r\nFrom here\r\nlast\r\n");
    // A mail reader shows byte 0x92 as U+2019.
    EXPECT_EQ(m.m_strText.rfind("partners\xE2\x80\x99 websites\r\n", 0), 0u) << m.m_strText;

    // Headers.
    EXPECT_EQ(Header(m.m_strRaw, "From"), "sender@example.com");
    EXPECT_EQ(Header(m.m_strRaw, "To"), "webmaster@partner.example");
    EXPECT_EQ(Header(m.m_strRaw, "Subject"), "Osgrel Tarnwick Ambrel");
    EXPECT_EQ(Header(m.m_strRaw, "MIME-Version"), "1.0");
    EXPECT_EQ(Header(m.m_strRaw, "Content-Type"), "text/plain; charset=windows-1252");
    EXPECT_EQ(Header(m.m_strRaw, "Content-Transfer-Encoding"), "quoted-printable");
    EXPECT_TRUE(std::regex_match(
        Header(m.m_strRaw, "Date"),
        std::regex(
            R"((Mon|Tue|Wed|Thu|Fri|Sat|Sun), \d\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{4} \d\d:\d\d:\d\d [+-]\d{4})")))
        << Header(m.m_strRaw, "Date");
    EXPECT_TRUE(std::regex_match(Header(m.m_strRaw, "Message-ID"),
                                 std::regex(R"(<[^<>@ ]+@example\.com>)")))
        << Header(m.m_strRaw, "Message-ID");

    // On the wire: CR LF only, 7-bit, no line longer than 76 characters.
    size_t start = 0;
    while (start < m.m_strRaw.size()) {
        const size_t lf = m.m_strRaw.find('\n', start);
        ASSERT_NE(lf, std::string::npos) << "the message must end with CR LF";
        EXPECT_EQ(m.m_strRaw[lf - 1], '\r') << "bare LF at " << lf;
        EXPECT_LE(lf - 1 - start, 76u) << m.m_strRaw.substr(start, lf - start);
        start = lf + 1;
    }
    for (char c : m.m_strRaw) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

TEST_F(SmtpMail, MessageIdsDiffer) {
    EXPECT_NE(MakeMessageId("a@b.example"), MakeMessageId("a@b.example"));
    EXPECT_NE(MakeMessageId("a@b.example").find("@b.example"), std::string::npos);
    EXPECT_NE(MakeMessageId("odd<address").find("@tarnwick.localdomain"), std::string::npos);
}

TEST_F(SmtpMail, SubjectOutsideAsciiIsEncodedAndControlsDropped) {
    EXPECT_EQ(EncodeSubject("Osgrel Tarnwick Ambrel"), "Osgrel Tarnwick Ambrel");
    EXPECT_EQ(EncodeSubject("a\r\nBcc: x@y"), "a  Bcc: x@y");
    EXPECT_EQ(EncodeSubject("Osgrel\x92s"), "=?windows-1252?Q?Osgrel=92s?=");
    const std::string folded = EncodeSubject(std::string(100, '\xE9'));
    EXPECT_NE(folded.find("?=\r\n =?windows-1252?Q?"), std::string::npos);
}

TEST_F(SmtpMail, StartTlsWithLogin) {
    SmtpTestServer server(Mode::StartTls, true);
    ASSERT_TRUE(server.Started()) << server.Failure();
    RecordingSink sink;
    MailSender sender(sink, kRow);
    Fill(sender, server.Address(), true);
    sender.Send();
    EXPECT_TRUE(sink.Cells().empty()) << sink.Cell(kRow);
    const auto mail = server.WaitForMail(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].m_strLogin, SmtpTestServer::kUser);
}

TEST_F(SmtpMail, ImplicitTlsWithLoginOnPort465) {
    SmtpTestServer server(Mode::ImplicitTls, true, 465);
    if (!server.Started()) {
        GTEST_SKIP() << "port 465 on 127.0.0.1 is not available: " << server.Failure();
    }
    for (const std::string address : {"127.0.0.1", "127.0.0.1:465"}) {
        RecordingSink sink;
        MailSender sender(sink, kRow);
        Fill(sender, address, true);
        sender.Send();
        EXPECT_TRUE(sink.Cells().empty()) << address << ": " << sink.Cell(kRow);
    }
    const auto mail = server.WaitForMail(2);
    ASSERT_EQ(mail.size(), 2u);
    for (const ReceivedMail& m : mail) {
        EXPECT_TRUE(m.m_bTls);
        EXPECT_EQ(m.m_strLogin, SmtpTestServer::kUser);
    }
}

TEST_F(SmtpMail, LoginOnlyWithUserNameAndPasswordAndNeverInClear) {
    // Without SSL the sender still logs in, but only when user name, password
    // and server are all given, and only after STARTTLS.
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    SmtpTestServer clearAuthServer(Mode::Plain, true);
    ASSERT_TRUE(clearAuthServer.Started()) << clearAuthServer.Failure();
    SmtpTestServer startTlsServer(Mode::StartTls, true);
    ASSERT_TRUE(startTlsServer.Started()) << startTlsServer.Failure();

    RecordingSink sink;
    {
        MailSender sender(sink, kRow);
        Fill(sender, startTlsServer.Address());
        sender.m_account.m_strUserName = SmtpTestServer::kUser;
        sender.m_account.m_strPassword = SmtpTestServer::kPassword;
        sender.Send();
    }
    EXPECT_TRUE(sink.Cells().empty()) << sink.Cell(kRow);
    ASSERT_EQ(startTlsServer.WaitForMail(1).size(), 1u);
    EXPECT_EQ(startTlsServer.Mail()[0].m_strLogin, SmtpTestServer::kUser);
    EXPECT_TRUE(startTlsServer.Mail()[0].m_bTls);
    {
        // A server without STARTTLS gets neither the login nor the mail.
        MailSender sender(sink, kRow);
        Fill(sender, clearAuthServer.Address());
        sender.m_account.m_strUserName = SmtpTestServer::kUser;
        sender.m_account.m_strPassword = SmtpTestServer::kPassword;
        sender.Send();
    }
    EXPECT_NE(sink.Cell(kRow).find("does not offer STARTTLS: the user name and password are never "
                                   "sent without encryption, so nothing was sent."),
              std::string::npos)
        << sink.Cell(kRow);
    EXPECT_TRUE(clearAuthServer.WaitForMail(1, std::chrono::milliseconds(300)).empty());
    {
        // Half a login: both are passed as "" and the server asks for none.
        RecordingSink halfSink;
        MailSender sender(halfSink, kRow);
        Fill(sender, server.Address());
        sender.m_account.m_strUserName = SmtpTestServer::kUser;
        sender.Send();
        EXPECT_TRUE(halfSink.Cells().empty()) << halfSink.Cell(kRow);
    }
    ASSERT_EQ(server.WaitForMail(1).size(), 1u);
    EXPECT_EQ(server.Mail()[0].m_strLogin, "");
}

TEST_F(SmtpMail, FailuresBecomeReadableSentencesInTheRow) {
    SmtpTestServer plain(Mode::Plain);
    SmtpTestServer secure(Mode::StartTls, true);
    ASSERT_TRUE(plain.Started()) << plain.Failure();
    ASSERT_TRUE(secure.Started()) << secure.Failure();
    const std::string dead = "127.0.0.1:" + std::to_string(test::DeadPort());

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
         secure.Address(),
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
         plain.Address(),
         false,
         "",
         "refused@partner.example",
         {"refused the recipient refused@partner.example", "550 5.1.1"}},
        {"no STARTTLS offered",
         plain.Address(),
         true,
         SmtpTestServer::kPassword,
         "webmaster@partner.example",
         {"does not offer STARTTLS"}},
        {"no recipient", plain.Address(), false, "", " ", {"No recipient"}},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        MailSender sender(sink, kRow);
        Fill(sender, c.server, c.ssl);
        if (c.ssl) {
            sender.m_account.m_strPassword = c.password;
        }
        sender.m_strRecipient = c.recipient;
        sender.Send();
        const std::string cell = sink.Cell(kRow);
        for (const std::string& part : c.expected) {
            EXPECT_NE(cell.find(part), std::string::npos) << c.what << ": " << cell;
        }
        EXPECT_TRUE(sink.Messages().empty()) << c.what;
    }
    EXPECT_TRUE(plain.Mail().empty());
    EXPECT_TRUE(secure.Mail().empty());
}

TEST_F(SmtpMail, UntrustedCertificateIsRefused) {
    SmtpTestServer server(Mode::StartTls, true);
    ASSERT_TRUE(server.Started()) << server.Failure();
    // The system's CA store does not know the test CA.
    setenv("SSL_CERT_FILE", "/etc/ssl/certs/ca-certificates.crt", 1);
    RecordingSink sink;
    {
        MailSender sender(sink, kRow);
        Fill(sender, server.Address(), true);
        sender.Send();
    }
    setenv("SSL_CERT_FILE", test::TestCertificates::Get().m_strCaFile.c_str(), 1);
    EXPECT_NE(sink.Cell(kRow).find("certificate"), std::string::npos) << sink.Cell(kRow);
    EXPECT_TRUE(server.Mail().empty());
}

TEST_F(SmtpMail, AddressesWithControlCharactersNeverReachTheServer) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
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
            Fill(sender, server.Address());
            (asSender ? sender.m_account.m_strSender : sender.m_strRecipient) = address;
            sender.Send();
            const std::string cell = sink.Cell(kRow);
            EXPECT_NE(cell.find("control characters"), std::string::npos) << cell;
            EXPECT_EQ(cell.find_first_of("\r\n\t\x7f"), std::string::npos) << cell;
        }
    }
    // Nor does an address that would close the angle brackets of a command.
    RecordingSink sink;
    MailSender sender(sink, kRow);
    Fill(sender, server.Address());
    sender.m_strRecipient = "a@b.example> NOTIFY=NEVER";
    sender.Send();
    EXPECT_NE(sink.Cell(kRow).find("not a usable mail address"), std::string::npos);
    EXPECT_TRUE(server.Mail().empty());
}

TEST_F(SmtpMail, ASilentServerEndsInATimeOut) {
    // The kernel accepts the connection, but nobody ever greets.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(fd, 4), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    const std::string address = "127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
    RecordingSink sink;
    MailSender sender(sink, kRow);
    Fill(sender, address);
    sender.Send();
    close(fd);
    EXPECT_NE(sink.Cell(kRow).find("did not answer in time"), std::string::npos) << sink.Cell(kRow);
}

TEST_F(SmtpMail, OnlyTheTestMailIsAnnounced) {
    SmtpTestServer server(Mode::Plain);
    ASSERT_TRUE(server.Started()) << server.Failure();
    g_bAnnounceSent = true;
    RecordingSink sink;
    {
        MailSender letter(sink, kRow);
        Fill(letter, server.Address());
        letter.Send();
    }
    EXPECT_TRUE(sink.Messages().empty());
    {
        MailSender test(sink);
        Fill(test, server.Address());
        test.Send();
    }
    EXPECT_EQ(sink.Messages(), std::vector<std::string>{"Message sent"});
    g_bAnnounceSent = false;
    {
        MailSender test(sink);
        Fill(test, server.Address());
        test.Send();
    }
    EXPECT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(server.WaitForMail(3).size(), 3u);
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
        ASSERT_TRUE(ParseSmtpServer(c.server, c.ssl, endpoint, error)) << c.server << error;
        EXPECT_EQ(endpoint.Url(), c.url) << c.server;
        EXPECT_EQ(endpoint.m_bImplicitTls, c.implicitTls) << c.server;
        EXPECT_EQ(endpoint.m_bStartTls, c.startTls) << c.server;
    }
    for (const std::string bad :
         {"", "smtp.example.com:", "smtp.example.com:0", "smtp.example.com:65536",
          "smtp.example.com:25x", "user@smtp.example.com", "smtp.example.com/path", "a b.example",
          "smtp.example.com:25:26", "[::1", "[::1]x", "smtp\r\n.example.com", ".example.com"}) {
        SmtpEndpoint endpoint;
        std::string error;
        EXPECT_FALSE(ParseSmtpServer(bad, true, endpoint, error)) << bad;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find_first_of("\r\n"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace tarnwick
