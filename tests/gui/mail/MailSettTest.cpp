#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <memory>

#include "gui/controls/AppMessageBox.h"
#include "gui/mail/MailSettingsDialog.h"
#include "mail/MailSender.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpTestServer.h"
#include "support/TempDataFolder.h"

using tarnwick::AppMessageBox;
using tarnwick::MailSettingsDialog;
using tarnwick::test::SmtpTestServer;

namespace {

const char* const kIds[] = {"1031", "1032", "1033", "1034", "1035",
                            "1036", "1037", "1038", "1039", "1040"};

QWidget* w(MailSettingsDialog& dialog, const char* id) {
    QWidget* w = dialog.findChild<QWidget*>(QString::fromLatin1(id));
    if (w == nullptr) {
        qFatal("no control %s", id);
    }
    return w;
}
QLineEdit* edit(MailSettingsDialog& dialog, const char* id) {
    return qobject_cast<QLineEdit*>(w(dialog, id));
}
QAbstractButton* button(MailSettingsDialog& dialog, const char* id) {
    return qobject_cast<QAbstractButton*>(w(dialog, id));
}

// The IDs of the enabled controls, "1031 1038".
QString enabledIds(MailSettingsDialog& dialog) {
    QStringList on;
    for (const char* id : kIds) {
        if (w(dialog, id)->isEnabled()) {
            on << QString::fromLatin1(id);
        }
    }
    return on.join(' ');
}

}  // namespace

class MailSettTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    std::string mailPath() const { return m_temp->folder().mailPath(); }

    // Fills the account fields through the controls, as a user would.
    void fill(MailSettingsDialog& d, const QString& sender, const QString& server, bool ssl,
              const QString& user, const QString& password) {
        if (!button(d, "1031")->isChecked()) {
            button(d, "1031")->click();
        }
        edit(d, "1032")->setText(sender);
        edit(d, "1033")->setText(server);
        if (button(d, "1036")->isChecked() != ssl) {
            button(d, "1036")->click();
        }
        edit(d, "1034")->setText(user);
        edit(d, "1035")->setText(password);
    }
    void fillTest(MailSettingsDialog& d, const QString& address) {
        if (!button(d, "1038")->isChecked()) {
            button(d, "1038")->click();
        }
        edit(d, "1039")->setText(address);
    }

private slots:
    void initTestCase() {
        setenv("SSL_CERT_FILE", tarnwick::test::TestCertificates::get().m_caFile.c_str(), 1);
        tarnwick::SmtpClient::setTimeouts(3000, 2, 15000);
    }
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
    }
    void cleanup() {
        AppMessageBox::clearShown();
        m_temp.reset();
    }

    void controlsCarryTheirIdsLabelsAndNames() {
        MailSettingsDialog d;
        QCOMPARE(d.windowTitle(), QString("Mail Settings"));
        QCOMPARE(button(d, "1031")->text(), QString("Send Notification"));
        QCOMPARE(button(d, "1036")->text(), QString("Requires SSL"));
        QCOMPARE(button(d, "1037")->text(), QString("&Save"));
        QCOMPARE(button(d, "1038")->text(), QString("Send Test Notification"));
        QCOMPARE(button(d, "1040")->text(), QString("Sen&d"));
        QCOMPARE(edit(d, "1035")->echoMode(), QLineEdit::Password);
        const QList<std::pair<const char*, QString>> fields = {{"1032", "Sender :"},
                                                               {"1033", "Smtp Server :"},
                                                               {"1034", "User Name :"},
                                                               {"1035", "Password :"},
                                                               {"1039", "Test Mail Address :"}};
        for (const auto& [id, label] : fields) {
            QLabel* buddyLabel = nullptr;
            for (QLabel* l : d.findChildren<QLabel*>()) {
                if (l->buddy() == w(d, id)) {
                    buddyLabel = l;
                }
            }
            QVERIFY2(buddyLabel != nullptr, id);
            QCOMPARE(buddyLabel->text(), label);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w(d, id));
            QVERIFY(a != nullptr);
            QCOMPARE(a->text(QAccessible::Name), QString(label).remove(" :"));
        }
    }

    void enablingRules_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("as opened") << QStringList{} << "1031 1038";
        QTest::newRow("notification on") << QStringList{"1031"} << "1031 1032 1033 1036 1037 1038";
        QTest::newRow("ssl on") << QStringList{"1031", "1036"}
                                << "1031 1032 1033 1034 1035 1036 1037 1038";
        QTest::newRow("ssl off again")
            << QStringList{"1031", "1036", "1036"} << "1031 1032 1033 1036 1037 1038";
        QTest::newRow("notification off") << QStringList{"1031", "1036", "1031"} << "1031 1038";
        // Ticking it again leaves user name and password as they are.
        QTest::newRow("notification on again")
            << QStringList{"1031", "1036", "1031", "1031"} << "1031 1032 1033 1036 1037 1038";
        QTest::newRow("test on") << QStringList{"1038"} << "1031 1038 1039 1040";
        QTest::newRow("test off") << QStringList{"1038", "1038"} << "1031 1038";
    }
    void enablingRules() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, enabled);
        MailSettingsDialog d;
        for (const QString& id : clicks) {
            button(d, id.toLatin1().constData())->click();
        }
        QCOMPARE(enabledIds(d), enabled);
    }

    void openingReadsMailTxt_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");  // sender, server, user, password
        QTest::addColumn<bool>("ssl");
        QTest::newRow("two lines")
            << QByteArray("me@x.example\r\nsmtp.x.example")
            << QStringList{"me@x.example", "smtp.x.example", "", ""} << false;
        QTest::newRow("five lines")
            << QByteArray("me@x.example\r\nsmtp.x.example\r\n1\r\nu@x.example\r\np\x92w")
            << QStringList{"me@x.example", "smtp.x.example", "u@x.example",
                           QString::fromUtf8("p\u2019w")}
            << true;
        QTest::newRow("line 3 not 1")
            << QByteArray("me@x.example\r\nsmtp.x.example\r\n0\r\nu@x.example\r\npw")
            << QStringList{"me@x.example", "smtp.x.example", "", ""} << false;
        QTest::newRow("empty line 2") << QByteArray("me@x.example\r\n\r\n1\r\nu@x.example\r\npw")
                                      << QStringList{"me@x.example", "", "", ""} << false;
        QTest::newRow("empty file") << QByteArray() << QStringList{"", "", "", ""} << false;
    }
    void openingReadsMailTxt() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        QFETCH(bool, ssl);
        tarnwick::test::writeBytes(mailPath(), bytes.toStdString());
        MailSettingsDialog d;
        QVERIFY(button(d, "1031")->isChecked());
        QCOMPARE(edit(d, "1032")->text(), fields[0]);
        QCOMPARE(edit(d, "1033")->text(), fields[1]);
        QCOMPARE(edit(d, "1034")->text(), fields[2]);
        QCOMPARE(edit(d, "1035")->text(), fields[3]);
        QCOMPARE(button(d, "1036")->isChecked(), ssl);
        // All six are enabled whatever the SSL state.
        QCOMPARE(enabledIds(d), QString("1031 1032 1033 1034 1035 1036 1037 1038"));
    }

    void save_data() {
        QTest::addColumn<QStringList>("fields");  // sender, server, ssl, user, password
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("file");
        const QByteArray none;
        QTest::newRow("no sender") << QStringList{" ", "bad", "1", "", ""}
                                   << "Please specify sender's e-mail address" << none;
        QTest::newRow("bad sender")
            << QStringList{"me", "bad", "1", "", ""} << "Incorrect Mail Address" << none;
        QTest::newRow("bad server") << QStringList{"me@x.example", "localhost", "1", "", ""}
                                    << "Incorrect SMTP Address" << none;
        QTest::newRow("server ends with its dot")
            << QStringList{"me@x.example", "smtp.", "0", "", ""} << "Incorrect SMTP Address"
            << none;
        QTest::newRow("no user") << QStringList{"me@x.example", "smtp.x.example", "1", " ", ""}
                                 << "Please Specify User name" << none;
        QTest::newRow("user not a mail address")
            << QStringList{"me@x.example", "smtp.x.example", "1", "user", "pw"}
            << "Incorrect Mail Address" << none;
        QTest::newRow("no password")
            << QStringList{"me@x.example", "smtp.x.example", "1", "u@x.example", "  "}
            << "Please Specify Password" << none;
        QTest::newRow("ssl, trimmed")
            << QStringList{" me@x.example ", " smtp.x.example:587\t", "1", " u@x.example", "pw "}
            << "" << QByteArray("me@x.example\r\nsmtp.x.example:587\r\n1\r\nu@x.example\r\npw");
        QTest::newRow("no ssl, user typed")
            << QStringList{"me@x.example", "smtp.x.example", "0", "typed", "typed"} << ""
            << QByteArray("me@x.example\r\nsmtp.x.example");
    }
    void save() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QByteArray, file);
        MailSettingsDialog d;
        d.show();
        fill(d, fields[0], fields[1], fields[2] == "1", fields[3], fields[4]);
        button(d, "1037")->click();
        if (message.isEmpty()) {
            QVERIFY(AppMessageBox::shownTexts().isEmpty());
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(!d.isVisible());
            QCOMPARE(QByteArray::fromStdString(tarnwick::test::readBytes(mailPath())), file);
        } else {
            QCOMPARE(AppMessageBox::shownTexts(), QStringList{message});
            QVERIFY(d.isVisible());
            QVERIFY(!tarnwick::test::exists(mailPath()));
            // The values stay as typed.
            QCOMPARE(edit(d, "1032")->text(), fields[0]);
        }
    }

    void letterRulesAreShownAndSavedBesideMailTxt() {
        const std::string rules = m_temp->folder().folder() + "/Letters.ini";
        const auto spin = [](MailSettingsDialog& d, const char* name) {
            auto* box = d.findChild<QSpinBox*>(QString::fromLatin1(name));
            return box;
        };
        {
            // The defaults hold back only a second letter on the same day,
            // and saving them writes no file.
            MailSettingsDialog d;
            d.show();
            QVERIFY(spin(d, "LetterMissingRuns") != nullptr);
            QCOMPARE(spin(d, "LetterMissingRuns")->value(), 1);
            QCOMPARE(spin(d, "LetterQuietDays")->value(), 1);
            spin(d, "LetterQuietDays")->setValue(0);
            QCOMPARE(spin(d, "LetterQuietDays")->text(), QString("0 days (mail every run)"));
            spin(d, "LetterQuietDays")->setValue(1);
            fill(d, "me@x.example", "smtp.x.example", false, "", "");
            button(d, "1037")->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(!tarnwick::test::exists(rules));
        }
        {
            MailSettingsDialog d;
            d.show();
            spin(d, "LetterMissingRuns")->setValue(3);
            spin(d, "LetterQuietDays")->setValue(14);
            button(d, "1037")->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(tarnwick::test::readBytes(rules),
                     std::string("missing_runs=3\r\nquiet_days=14"));
            // Mail.txt keeps its format.
            QCOMPARE(tarnwick::test::readBytes(mailPath()),
                     std::string("me@x.example\r\nsmtp.x.example"));
        }
        {
            MailSettingsDialog d;
            QCOMPARE(spin(d, "LetterMissingRuns")->value(), 3);
            QCOMPARE(spin(d, "LetterQuietDays")->value(), 14);
            // Closing without Save keeps the file as it was.
            spin(d, "LetterMissingRuns")->setValue(9);
            d.reject();
            QCOMPARE(tarnwick::test::readBytes(rules),
                     std::string("missing_runs=3\r\nquiet_days=14"));
        }
        tarnwick::test::writeBytes(rules, "missing_runs=-4\nquiet_days=lots\n");
        MailSettingsDialog d;
        QCOMPARE(spin(d, "LetterMissingRuns")->value(), 1);
        QCOMPARE(spin(d, "LetterQuietDays")->value(), 1);
    }

    void saveThatCannotWriteStaysOpen() {
        // The message names the file as the file system spells it (UTF-8).
        const std::string missing = m_temp->root() + "/g\xc3\xb6ne \xe4\xb8\xad";
        setenv("TARNWICK_PROGRAM_FILES", missing.c_str(), 1);
        MailSettingsDialog d;
        d.show();
        fill(d, "me@x.example", "smtp.x.example", false, "", "");
        button(d, "1037")->click();
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(AppMessageBox::lastText().contains(
                     QString::fromStdString(missing + "/Osgrel Tarnwick Ambrel/Mail.txt")),
                 qPrintable(AppMessageBox::lastText()));
        QVERIFY(d.isVisible());
        QVERIFY(button(d, "1037")->isEnabled());
    }

    void otherWaysOutWriteNothing() {
        const std::string before = "me@x.example\r\nsmtp.x.example";
        tarnwick::test::writeBytes(mailPath(), before);
        {
            MailSettingsDialog d;
            d.show();
            edit(d, "1032")->setText("other@x.example");
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        {
            MailSettingsDialog d;
            d.show();
            edit(d, "1032")->setText("other@x.example");
            d.close();
            QVERIFY(!d.isVisible());
        }
        {
            // With the settings off there is nothing to save: Enter in a
            // field closes with OK, without saving.
            MailSettingsDialog d;
            d.show();
            button(d, "1031")->click();
            QVERIFY(!w(d, "1037")->isEnabled());
            edit(d, "1039")->setFocus();
            QTest::keyClick(edit(d, "1039"), Qt::Key_Return);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(tarnwick::test::readBytes(mailPath()), before);
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
        {
            // Enter on the focused Save button saves.
            MailSettingsDialog d;
            d.show();
            edit(d, "1032")->setText("other@x.example");
            w(d, "1037")->setFocus();
            QTest::keyClick(w(d, "1037"), Qt::Key_Return);
            QVERIFY(!d.isVisible());
        }
        QCOMPARE(tarnwick::test::readBytes(mailPath()),
                 std::string("other@x.example\r\nsmtp.x.example"));
        {
            // Save is the default button: Enter in a field saves what was typed.
            MailSettingsDialog d;
            d.show();
            QVERIFY(static_cast<QPushButton*>(w(d, "1037"))->isDefault());
            edit(d, "1032")->setText("third@x.example");
            edit(d, "1032")->setFocus();
            QTest::keyClick(edit(d, "1032"), Qt::Key_Return);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(tarnwick::test::readBytes(mailPath()),
                 std::string("third@x.example\r\nsmtp.x.example"));
        {
            // In the test mail's address box Enter sends the test mail (here
            // to a bad address: the dialog says so and stays).
            MailSettingsDialog d;
            d.show();
            button(d, "1038")->click();
            edit(d, "1039")->setText("not a mail");
            edit(d, "1039")->setFocus();
            QTest::keyClick(edit(d, "1039"), Qt::Key_Return);
            QVERIFY(d.isVisible());
            QCOMPARE(AppMessageBox::shownTexts(), QStringList({"Incorrect Mail Address"}));
            AppMessageBox::clearShown();
        }
        QCOMPARE(tarnwick::test::readBytes(mailPath()),
                 std::string("third@x.example\r\nsmtp.x.example"));
    }

    void testMailChecks_data() {
        QTest::addColumn<bool>("notification");
        QTest::addColumn<QStringList>("fields");  // sender, server, ssl, user, password, to
        QTest::addColumn<QString>("message");
        QTest::newRow("settings off") << false << QStringList{"", "", "0", "", "", "to@y.example"}
                                      << "Please specify the settings above";
        QTest::newRow("empty sender")
            << true << QStringList{"", "", "0", "", "", "to@y.example"} << "Incorrect Mail Address";
        QTest::newRow("bad server")
            << true << QStringList{"me@x.example", "nodot", "0", "", "", "to@y.example"}
            << "Incorrect SMTP Address";
        QTest::newRow("no user") << true
                                 << QStringList{"me@x.example", "smtp.x.example", "1", "", "",
                                                "to@y.example"}
                                 << "Please Specify User name";
        QTest::newRow("no password")
            << true << QStringList{"me@x.example", "smtp.x.example", "1", "u@x.example", " ",
                                   "to@y.example"}
            << "Please Specify Password";
        QTest::newRow("no test address")
            << true << QStringList{"me@x.example", "smtp.x.example", "0", "", "", "  "}
            << "Empty Reciever's Mail Address";
        QTest::newRow("bad test address")
            << true << QStringList{"me@x.example", "smtp.x.example", "0", "", "", "to"}
            << "Incorrect Mail Address";
    }
    void testMailChecks() {
        QFETCH(bool, notification);
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        MailSettingsDialog d;
        d.show();
        fill(d, fields[0], fields[1], fields[2] == "1", fields[3], fields[4]);
        if (!notification) {
            button(d, "1031")->click();
        }
        fillTest(d, fields[5]);
        button(d, "1040")->click();
        QCOMPARE(AppMessageBox::shownTexts(), QStringList{message});
        // Both buttons end enabled, Save even when it was off before.
        QVERIFY(w(d, "1040")->isEnabled());
        QVERIFY(w(d, "1037")->isEnabled());
        QVERIFY(d.isVisible());
        QVERIFY(!tarnwick::test::exists(mailPath()));
    }

    void testMailIsSentAndAnnounced_data() {
        QTest::addColumn<bool>("ssl");
        QTest::newRow("plain") << false;
        QTest::newRow("starttls with login") << true;
    }
    void testMailIsSentAndAnnounced() {
        QFETCH(bool, ssl);
        SmtpTestServer server(ssl ? SmtpTestServer::Mode::StartTls : SmtpTestServer::Mode::Plain,
                              ssl);
        QVERIFY2(server.started(), server.failure().c_str());
        MailSettingsDialog d;
        d.show();
        fill(d, "sender@example.com", QString::fromStdString(server.address()), ssl,
             ssl ? SmtpTestServer::kUser : "", ssl ? SmtpTestServer::kPassword : "");
        fillTest(d, " tester@example.com ");
        button(d, "1040")->click();
        QCOMPARE(AppMessageBox::shownTexts(), QStringList{"Message sent"});
        QVERIFY(w(d, "1040")->isEnabled());
        QVERIFY(w(d, "1037")->isEnabled());
        QVERIFY(w(d, "1032")->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const auto mail = server.waitForMail(1);
        QCOMPARE(mail.size(), size_t(1));
        QCOMPARE(mail[0].m_recipients, std::string("tester@example.com"));
        QCOMPARE(mail[0].m_login, std::string(ssl ? SmtpTestServer::kUser : ""));
        QVERIFY(mail[0].m_raw.find("\r\nSubject: Osgrel Tarnwick Ambrel Test Mail\r\n") !=
                std::string::npos);
        QCOMPARE(mail[0].m_body,
                 std::string("This is an e-mail message sent automatically by Osgrel Tarnwick "
                             "Ambrel while testing the settings for your account.\r\n"));
        // The test mail saves nothing.
        QVERIFY(!tarnwick::test::exists(mailPath()));
        QVERIFY(d.isVisible());
    }

    void failedTestMailShowsTheReason() {
        const QString dead = "127.0.0.1:" + QString::number(tarnwick::test::deadPort());
        MailSettingsDialog d;
        d.show();
        fill(d, "sender@example.com", dead, false, "", "");
        fillTest(d, "tester@example.com");
        button(d, "1040")->click();
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(
            AppMessageBox::lastText().startsWith("Could not connect to the SMTP server " + dead),
            qPrintable(AppMessageBox::lastText()));
        QVERIFY(w(d, "1040")->isEnabled());
        QVERIFY(w(d, "1037")->isEnabled());
        QCOMPARE(enabledIds(d), QString("1031 1032 1033 1036 1037 1038 1039 1040"));
    }

    void windowStaysAliveButShutWhileSending() {
        // A server that takes the connection and never answers.
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        QCOMPARE(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        QCOMPARE(listen(fd, 4), 0);
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);

        MailSettingsDialog d;
        d.show();
        fill(d, "sender@example.com", "127.0.0.1:" + QString::number(ntohs(addr.sin_port)), false,
             "", "");
        fillTest(d, "tester@example.com");
        bool checked = false;
        QString during;
        QTimer::singleShot(300, &d, [&] {
            // The event loop turns while the component works.
            during = enabledIds(d);
            checked = QApplication::overrideCursor() != nullptr &&
                      QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            QTest::keyClick(&d, Qt::Key_Escape);
            d.reject();
            d.close();
            d.accept();
        });
        button(d, "1040")->click();
        ::close(fd);
        QVERIFY(checked);
        QCOMPARE(during, QString(""));
        QVERIFY(d.isVisible());
        QVERIFY2(AppMessageBox::lastText().contains("did not answer in time"),
                 qPrintable(AppMessageBox::lastText()));
        QVERIFY(w(d, "1040")->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(MailSettTest)
#include "MailSettTest.moc"
