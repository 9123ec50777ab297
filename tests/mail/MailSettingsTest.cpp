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

using test::ReadBytes;
using test::WriteBytes;

class MailFile : public ::testing::Test {
protected:
    test::TempDataFolder m_temp;
    std::string m_strPath = m_temp.Folder().MailPath();
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
    WriteBytes(m_strPath, std::string(500, 'x'));
    for (const Case& c : cases) {
        WriteMailSettings(m_strPath, c.settings);
        EXPECT_EQ(ReadBytes(m_strPath), c.bytes);
    }
}

TEST_F(MailFile, WriterLeavesTheFileToItsOwnerAlone) {
    WriteBytes(m_strPath, "old");
    ASSERT_EQ(::chmod(m_strPath.c_str(), 0644), 0);
    WriteMailSettings(m_strPath, {"a@b.example", "smtp.b.example", true, "a@b.example", "pw"});
    struct stat st {};
    ASSERT_EQ(::stat(m_strPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    ASSERT_EQ(::unlink(m_strPath.c_str()), 0);
    ::umask(0);  // a permissive umask must not widen it either
    WriteMailSettings(m_strPath, {"a@b.example", "smtp.b.example", false, "", ""});
    ::umask(022);
    ASSERT_EQ(::stat(m_strPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(MailFile, WriterFailureNamesTheFile) {
    const std::vector<std::string> paths = {
        m_temp.Root() + "/no such folder/Osgrel Tarnwick Ambrel/Mail.txt",
        m_temp.Root(),  // a folder, not a file
    };
    for (const std::string& path : paths) {
        try {
            WriteMailSettings(path, {"a@b.example", "smtp.b.example", false, "", ""});
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileError& e) {
            EXPECT_EQ(e.FileName(), path);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

// A save that fails part way (a full disk) keeps the account that was saved
// before, byte for byte and still 0600, and leaves no temporary behind.
TEST_F(MailFile, AFailedSaveKeepsThePreviousFile) {
    WriteMailSettings(m_strPath, {"old@b.example", "smtp.b.example", true, "old@b.example", "pw"});
    const std::string before = test::ReadBytes(m_strPath);
    const auto folder = test::Snapshot(m_temp.Root());
    const MailSettings longer{"a.much.longer.sender@b.example", "smtp.b.example", true,
                              "a.much.longer.sender@b.example", "a long password"};
    EXPECT_EQ(test::RunWithFileSizeLimit(8, [&] { WriteMailSettings(m_strPath, longer); }),
              test::LimitedRun::FileError);
    EXPECT_EQ(test::ReadBytes(m_strPath), before);
    EXPECT_EQ(test::Snapshot(m_temp.Root()), folder);
    struct stat st {};
    ASSERT_EQ(::stat(m_strPath.c_str(), &st), 0);
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
        WriteBytes(m_strPath, c.bytes);
        EXPECT_EQ(ReadMailSettingsForDialog(m_strPath), c.expected) << c.bytes;
    }
    EXPECT_EQ(ReadMailSettingsForDialog(m_strPath + ".missing"), MailSettings{});
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
        WriteBytes(m_strPath, c.bytes);
        const NotificationMailSettings s = ReadMailSettingsForNotification(m_strPath);
        EXPECT_EQ(s.m_state, c.state) << c.bytes;
        EXPECT_EQ(s.m_account.m_strSender, c.from) << c.bytes;
        EXPECT_EQ(s.m_account.m_strSmtpServer, c.server) << c.bytes;
        EXPECT_EQ(s.m_account.m_bRequiresSsl, c.ssl != 0) << c.bytes;
        EXPECT_EQ(s.m_account.m_strUserName, c.user) << c.bytes;
        EXPECT_EQ(s.m_account.m_strPassword, c.password) << c.bytes;
    }
    EXPECT_EQ(ReadMailSettingsForNotification(m_strPath + ".missing").m_state,
              MailFileState::Missing);
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
        EXPECT_EQ(SslFlagFromLine(line), on) << '"' << line << '"';
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
        EXPECT_EQ(IsValidMailAddress(address), good) << '"' << address << '"';
    }
}

TEST(MailRules, SmtpServerRule) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"smtp.example.com", true}, {"127.0.0.1:2525", true}, {"a.b", true}, {"localhost", false},
        {".example", false},        {"smtp.", false},         {"", false},   {"smtp:25", false},
    };
    for (const auto& [server, good] : cases) {
        EXPECT_EQ(IsValidSmtpServer(server), good) << '"' << server << '"';
    }
}

TEST(MailRules, TrimTakesWhiteSpaceFromBothEnds) {
    EXPECT_EQ(TrimWhiteSpace(" \t\r\n a b \v\f"), "a b");
    EXPECT_EQ(TrimWhiteSpace("   "), "");
    EXPECT_EQ(TrimWhiteSpace("x\x92"), "x\x92");
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
        EXPECT_EQ(CheckSettingsForSave(c.in), c.message) << c.in.m_strSender;
    }
    MailSettings padded{"  me@x.example\t", " smtp.x.example ", true, " u@x.example ", " pw "};
    EXPECT_EQ(CheckSettingsForSave(padded), "");
    EXPECT_EQ(padded, (MailSettings{"me@x.example", "smtp.x.example", true, "u@x.example", "pw"}));
}

TEST(MailRules, TestMailChecksInOrderWithSenderAndServerAsTyped) {
    // The dialog's fields for a test mail.
    struct TestMailFields {
        bool m_bSendNotification = false;
        MailSettings m_account;
        std::string m_strTestAddress;
    };
    const auto check = [](TestMailFields& f) {
        return CheckTestMail(f.m_bSendNotification, f.m_account, f.m_strTestAddress);
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
             f.m_bSendNotification = false;
             f.m_account.m_strSender = "";
         }),
         kMsgSpecifySettings},
        {with([](TestMailFields& f) { f.m_account.m_strSender = ""; }), kMsgIncorrectMail},
        {with([](TestMailFields& f) { f.m_account.m_strSmtpServer = "nodot"; }), kMsgIncorrectSmtp},
        {with([](TestMailFields& f) { f.m_account.m_strSmtpServer = " smtp.x.example"; }), ""},
        {with([](TestMailFields& f) { f.m_account.m_strUserName = "  "; }), kMsgSpecifyUser},
        {with([](TestMailFields& f) { f.m_account.m_strUserName = "user"; }), kMsgIncorrectMail},
        {with([](TestMailFields& f) { f.m_account.m_strPassword = " "; }), kMsgSpecifyPassword},
        {with([](TestMailFields& f) {
             f.m_account.m_bRequiresSsl = false;
             f.m_account.m_strUserName = "";
             f.m_account.m_strPassword = "";
         }),
         ""},
        {with([](TestMailFields& f) { f.m_strTestAddress = " \t"; }), kMsgEmptyReceiver},
        {with([](TestMailFields& f) { f.m_strTestAddress = "to"; }), kMsgIncorrectMail},
        {good, ""},
    };
    for (Case c : cases) {
        EXPECT_EQ(check(c.in), c.message)
            << c.in.m_account.m_strSender << "|" << c.in.m_account.m_strSmtpServer << "|"
            << c.in.m_account.m_strUserName;
    }
    TestMailFields padded = with([](TestMailFields& f) {
        f.m_account.m_strSender = " me@x.example";
        f.m_account.m_strUserName = " u@x.example ";
        f.m_strTestAddress = " to@y.example ";
    });
    EXPECT_EQ(check(padded), "");
    EXPECT_EQ(padded.m_account.m_strSender, " me@x.example");
    EXPECT_EQ(padded.m_account.m_strUserName, "u@x.example");
    EXPECT_EQ(padded.m_strTestAddress, "to@y.example");
}

}  // namespace
}  // namespace tarnwick
