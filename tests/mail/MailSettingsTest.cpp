#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "mail/MailRules.h"
#include "mail/MailSettings.h"
#include "store/FileError.h"
#include "support/FileSizeLimit.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::readBytes;
using test::writeBytes;

class MailFile : public ::testing::Test {
protected:
    test::TempDataFolder m_temp;
    std::string m_path = m_temp.folder().mailPath();
};

TEST_F(MailFile, WriterPutsCrLfBetweenLinesAndLoginOnlyWithSsl) {
    struct Case {
        MailSettings settings;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {{"me@osgrel.example", "smtp.osgrel.example", false, "typed@user.example", "pw"},
         "me@osgrel.example\r\nsmtp.osgrel.example"},
        {{"me@osgrel.example", "smtp.osgrel.example:587", true, "me@osgrel.example", "p\x92ss"},
         "me@osgrel.example\r\nsmtp.osgrel.example:587\r\n1\r\nme@osgrel.example\r\np\x92ss"},
        {{"", "", false, "", ""}, "\r\n"},
    };
    // A longer file is truncated, not overwritten in part.
    writeBytes(m_path, std::string(500, 'x'));
    for (const Case& c : cases) {
        writeMailSettings(m_path, c.settings);
        EXPECT_EQ(readBytes(m_path), c.bytes);
    }
}

TEST_F(MailFile, WriterLeavesTheFileToItsOwnerAlone) {
    writeBytes(m_path, "old");
    ASSERT_EQ(::chmod(m_path.c_str(), 0644), 0);
    writeMailSettings(m_path, {"a@b.example", "smtp.b.example", true, "a@b.example", "pw"});
    struct stat st {};
    ASSERT_EQ(::stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    ASSERT_EQ(::unlink(m_path.c_str()), 0);
    ::umask(0);  // a permissive umask must not widen it either
    writeMailSettings(m_path, {"a@b.example", "smtp.b.example", false, "", ""});
    ::umask(022);
    ASSERT_EQ(::stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(MailFile, WriterFailureNamesTheFile) {
    const std::vector<std::string> paths = {
        m_temp.root() + "/no such folder/Osgrel Tarnwick Ambrel/Mail.txt",
        m_temp.root(),  // a folder, not a file
    };
    for (const std::string& path : paths) {
        try {
            writeMailSettings(path, {"a@b.example", "smtp.b.example", false, "", ""});
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), path);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

// A save that fails part way (a full disk) keeps the account that was saved
// before, byte for byte and still 0600, and leaves no temporary behind.
TEST_F(MailFile, AFailedSaveKeepsThePreviousFile) {
    writeMailSettings(m_path, {"old@b.example", "smtp.b.example", true, "old@b.example", "pw"});
    const std::string before = test::readBytes(m_path);
    const auto folder = test::snapshot(m_temp.root());
    const MailSettings longer{"a.much.longer.sender@b.example", "smtp.b.example", true,
                              "a.much.longer.sender@b.example", "a long password"};
    EXPECT_EQ(test::runWithFileSizeLimit(8, [&] { writeMailSettings(m_path, longer); }),
              test::LimitedRun::FileError);
    EXPECT_EQ(test::readBytes(m_path), before);
    EXPECT_EQ(test::snapshot(m_temp.root()), folder);
    struct stat st {};
    ASSERT_EQ(::stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(MailFile, DialogReaderStopsAtAnEmptyLineAndLoadsLoginOnlyAfterAOne) {
    struct Case {
        std::string bytes;
        MailSettings expected;
    };
    const std::vector<Case> cases = {
        {"s@x.example\r\nsmtp.x.example", {"s@x.example", "smtp.x.example", false, "", ""}},
        {"s@x.example\r\nsmtp.x.example\r\n1\r\nu@x.example\r\npw",
         {"s@x.example", "smtp.x.example", true, "u@x.example", "pw"}},
        {"s@x.example\nsmtp.x.example\n1\nu@x.example\npw\nlater\nlines",
         {"s@x.example", "smtp.x.example", true, "u@x.example", "pw"}},
        {"s@x.example\r\nsmtp.x.example\r\n0\r\nu@x.example\r\npw",
         {"s@x.example", "smtp.x.example", false, "", ""}},
        {"s@x.example\r\nsmtp.x.example\r\n 1\r\nu@x.example\r\npw",
         {"s@x.example", "smtp.x.example", false, "", ""}},
        {"s@x.example\r\n\r\n1\r\nu@x.example\r\npw", {"s@x.example", "", false, "", ""}},
        {"s@x.example\r\nsmtp.x.example\r\n1\r\n\r\npw",
         {"s@x.example", "smtp.x.example", true, "", ""}},
        {"s@x.example\r\nsmtp.x.example\r\n1\r\nu@x.example",
         {"s@x.example", "smtp.x.example", true, "u@x.example", ""}},
        {"", {}},
        {"\r\nsmtp.x.example", {}},
    };
    for (const Case& c : cases) {
        writeBytes(m_path, c.bytes);
        EXPECT_EQ(readMailSettingsForDialog(m_path), c.expected) << c.bytes;
    }
    EXPECT_EQ(readMailSettingsForDialog(m_path + ".missing"), MailSettings{});
}

TEST_F(MailFile, NotificationReaderTakesEveryLineAndReadsLineThreeAsANumber) {
    struct Case {
        std::string bytes;
        MailFileState state;
        std::string from, server;
        int ssl;
        std::string user, password;
    };
    const std::vector<Case> cases = {
        {"", MailFileState::Empty, "", "", 0, "", ""},
        {"\r\n", MailFileState::Read, "", "", 0, "", ""},
        {"s@x.example\r\nsmtp.x.example", MailFileState::Read, "s@x.example", "smtp.x.example", 0,
         "", ""},
        {"s@x.example\r\nsmtp.x.example\r\n0\r\nu@x.example\r\npw", MailFileState::Read,
         "s@x.example", "smtp.x.example", 0, "u@x.example", "pw"},
        {"s@x.example\r\n\r\n1\r\nu@x.example\r\npw\r\nignored", MailFileState::Read, "s@x.example",
         "", 1, "u@x.example", "pw"},
        {"s@x.example\nsmtp.x.example\n  12abc\n\npw", MailFileState::Read, "s@x.example",
         "smtp.x.example", 1, "", "pw"},
    };
    for (const Case& c : cases) {
        writeBytes(m_path, c.bytes);
        const NotificationMailSettings s = readMailSettingsForNotification(m_path);
        EXPECT_EQ(s.m_state, c.state) << c.bytes;
        EXPECT_EQ(s.m_account.m_sender, c.from) << c.bytes;
        EXPECT_EQ(s.m_account.m_smtpServer, c.server) << c.bytes;
        EXPECT_EQ(s.m_account.m_requiresSsl, c.ssl != 0) << c.bytes;
        EXPECT_EQ(s.m_account.m_userName, c.user) << c.bytes;
        EXPECT_EQ(s.m_account.m_password, c.password) << c.bytes;
    }
    EXPECT_EQ(readMailSettingsForNotification(m_path + ".missing").m_state, MailFileState::Missing);
}

TEST(MailRules, SslLineIsReadLikeAtoi) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"1", true},
        {"0", false},
        {"", false},
        {"abc", false},
        {" \t7x", true},
        {"-1", true},
        {"+0", false},
        {"00", false},
        {"0x1", false},
        {"- 1", false},
        {"000000000000000000001", true},
        {"\v\f3", true},
        {"+", false},
    };
    for (const auto& [line, on] : cases) {
        EXPECT_EQ(sslFlagFromLine(line), on) << '"' << line << '"';
    }
}

TEST(MailRules, MailAddressRule) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"a@b.c", true},  {"john.doe@mail.example.com", true},
        {"a@b..", true},                      // the text after the first dot is a dot
        {"a@b.c.", true}, {" a@b.c ", true},  // applied untrimmed: the blank counts as text
        {"@b.c", false},  {"a", false},
        {"", false},      {"a@bc", false},
        {"a@.bc", false}, {"a@bc.", false},
        {"a.b@c", false},  // the dot must follow the at sign
        {"a@@b.c", true},  // first at sign; the domain "@b.c" has a dot inside
    };
    for (const auto& [address, good] : cases) {
        EXPECT_EQ(isValidMailAddress(address), good) << '"' << address << '"';
    }
}

TEST(MailRules, SmtpServerRule) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"smtp.example.com", true}, {"127.0.0.1:2525", true}, {"a.b", true}, {"localhost", false},
        {".example", false},        {"smtp.", false},         {"", false},   {"smtp:25", false},
    };
    for (const auto& [server, good] : cases) {
        EXPECT_EQ(isValidSmtpServer(server), good) << '"' << server << '"';
    }
}

TEST(MailRules, TrimTakesWhiteSpaceFromBothEnds) {
    EXPECT_EQ(trimWhiteSpace(" \t\r\n a b \v\f"), "a b");
    EXPECT_EQ(trimWhiteSpace("   "), "");
    EXPECT_EQ(trimWhiteSpace("x\x92"), "x\x92");
}

TEST(MailRules, SaveChecksInOrderAndTrims) {
    struct Case {
        MailSettings in;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"", "", false, "", ""}, kMsgSpecifySender},
        {{"  ", "bad", true, "", ""}, kMsgSpecifySender},
        {{"me", "bad", true, "", ""}, kMsgIncorrectMail},
        {{"me@x.example", "bad", true, "", ""}, kMsgIncorrectSmtp},
        {{"me@x.example", "smtp.x.example", true, " ", ""}, kMsgSpecifyUser},
        {{"me@x.example", "smtp.x.example", true, "user", ""}, kMsgIncorrectMail},
        {{"me@x.example", "smtp.x.example", true, "u@x.example", " \t"}, kMsgSpecifyPassword},
        {{"me@x.example", "smtp.x.example", true, "u@x.example", "pw"}, ""},
        {{"me@x.example", "smtp.x.example", false, "user", ""}, ""},
    };
    for (Case c : cases) {
        EXPECT_EQ(checkSettingsForSave(c.in), c.message) << c.in.m_sender;
    }
    MailSettings padded{"  me@x.example\t", " smtp.x.example ", true, " u@x.example ", " pw "};
    EXPECT_EQ(checkSettingsForSave(padded), "");
    EXPECT_EQ(padded, (MailSettings{"me@x.example", "smtp.x.example", true, "u@x.example", "pw"}));
}

TEST(MailRules, TestMailChecksInOrderWithSenderAndServerAsTyped) {
    // The dialog's fields for a test mail.
    struct TestMailFields {
        bool m_sendNotification = false;
        MailSettings m_account;
        std::string m_testAddress;
    };
    const auto check = [](TestMailFields& f) {
        return checkTestMail(f.m_sendNotification, f.m_account, f.m_testAddress);
    };
    struct Case {
        TestMailFields in;
        std::string message;
    };
    const TestMailFields good{
        true, {"me@x.example", "smtp.x.example", true, "u@x.example", "pw"}, "to@y.example"};
    auto with = [&](auto change) {
        TestMailFields f = good;
        change(f);
        return f;
    };
    const std::vector<Case> cases = {
        {with([](TestMailFields& f) {
             f.m_sendNotification = false;
             f.m_account.m_sender = "";
         }),
         kMsgSpecifySettings},
        {with([](TestMailFields& f) { f.m_account.m_sender = ""; }), kMsgIncorrectMail},
        {with([](TestMailFields& f) { f.m_account.m_smtpServer = "nodot"; }), kMsgIncorrectSmtp},
        {with([](TestMailFields& f) { f.m_account.m_smtpServer = " smtp.x.example"; }), ""},
        {with([](TestMailFields& f) { f.m_account.m_userName = "  "; }), kMsgSpecifyUser},
        {with([](TestMailFields& f) { f.m_account.m_userName = "user"; }), kMsgIncorrectMail},
        {with([](TestMailFields& f) { f.m_account.m_password = " "; }), kMsgSpecifyPassword},
        {with([](TestMailFields& f) {
             f.m_account.m_requiresSsl = false;
             f.m_account.m_userName = "";
             f.m_account.m_password = "";
         }),
         ""},
        {with([](TestMailFields& f) { f.m_testAddress = " \t"; }), kMsgEmptyReceiver},
        {with([](TestMailFields& f) { f.m_testAddress = "to"; }), kMsgIncorrectMail},
        {good, ""},
    };
    for (Case c : cases) {
        EXPECT_EQ(check(c.in), c.message)
            << c.in.m_account.m_sender << "|" << c.in.m_account.m_smtpServer << "|"
            << c.in.m_account.m_userName;
    }
    TestMailFields padded = with([](TestMailFields& f) {
        f.m_account.m_sender = " me@x.example";
        f.m_account.m_userName = " u@x.example ";
        f.m_testAddress = " to@y.example ";
    });
    EXPECT_EQ(check(padded), "");
    EXPECT_EQ(padded.m_account.m_sender, " me@x.example");
    EXPECT_EQ(padded.m_account.m_userName, "u@x.example");
    EXPECT_EQ(padded.m_testAddress, "to@y.example");
}

}  // namespace
}  // namespace tarnwick
