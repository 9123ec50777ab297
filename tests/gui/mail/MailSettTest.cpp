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
#include "support/MuteListener.h"
#include "support/TempDataFolder.h"

using tarnwick::AppMessageBox;
using tarnwick::MailSettingsDialog;
using tarnwick::test::SmtpTestServer;

namespace {

const char* const kIds[] = {
    MailSettingsDialog::kSendNotificationBox, MailSettingsDialog::kSenderEdit,
    MailSettingsDialog::kSmtpServerEdit,      MailSettingsDialog::kUserNameEdit,
    MailSettingsDialog::kPasswordEdit,        MailSettingsDialog::kRequiresSslBox,
    MailSettingsDialog::kSaveButton,          MailSettingsDialog::kSendTestBox,
    MailSettingsDialog::kTestAddressEdit,     MailSettingsDialog::kSendButton};

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

// The IDs of the enabled controls, "sendNotificationBox sendTestBox".
QString enabledNames(MailSettingsDialog& dialog) {
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
        // Short enough that a server which never answers costs a test little.
        d.setMailLimits({3000, 2, 15000});
        if (!button(d, MailSettingsDialog::kSendNotificationBox)->isChecked()) {
            button(d, MailSettingsDialog::kSendNotificationBox)->click();
        }
        edit(d, MailSettingsDialog::kSenderEdit)->setText(sender);
        edit(d, MailSettingsDialog::kSmtpServerEdit)->setText(server);
        if (button(d, MailSettingsDialog::kRequiresSslBox)->isChecked() != ssl) {
            button(d, MailSettingsDialog::kRequiresSslBox)->click();
        }
        edit(d, MailSettingsDialog::kUserNameEdit)->setText(user);
        edit(d, MailSettingsDialog::kPasswordEdit)->setText(password);
    }
    void fillTest(MailSettingsDialog& d, const QString& address) {
        if (!button(d, MailSettingsDialog::kSendTestBox)->isChecked()) {
            button(d, MailSettingsDialog::kSendTestBox)->click();
        }
        edit(d, MailSettingsDialog::kTestAddressEdit)->setText(address);
    }

private slots:
    void initTestCase() {
        setenv("SSL_CERT_FILE", tarnwick::test::TestCertificates::get().m_caFile.c_str(), 1);
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
        QCOMPARE(button(d, MailSettingsDialog::kSendNotificationBox)->text(),
                 QString("Send Notification"));
        QCOMPARE(button(d, MailSettingsDialog::kRequiresSslBox)->text(), QString("Requires SSL"));
        QCOMPARE(button(d, MailSettingsDialog::kSaveButton)->text(), QString("&Save"));
        QCOMPARE(button(d, MailSettingsDialog::kSendTestBox)->text(),
                 QString("Send Test Notification"));
        QCOMPARE(button(d, MailSettingsDialog::kSendButton)->text(), QString("Sen&d"));
        QCOMPARE(edit(d, MailSettingsDialog::kPasswordEdit)->echoMode(), QLineEdit::Password);
        const QList<std::pair<const char*, QString>> fields = {
            {MailSettingsDialog::kSenderEdit, "Sender :"},
            {MailSettingsDialog::kSmtpServerEdit, "Smtp Server :"},
            {MailSettingsDialog::kUserNameEdit, "User Name :"},
            {MailSettingsDialog::kPasswordEdit, "Password :"},
            {MailSettingsDialog::kTestAddressEdit, "Test Mail Address :"}};
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
        QTest::newRow("as opened") << QStringList{} << "sendNotificationBox sendTestBox";
        QTest::newRow("notification on") << QStringList{MailSettingsDialog::kSendNotificationBox}
                                         << "sendNotificationBox senderEdit smtpServerEdit "
                                            "requiresSslBox saveButton sendTestBox";
        QTest::newRow("ssl on") << QStringList{MailSettingsDialog::kSendNotificationBox,
                                               MailSettingsDialog::kRequiresSslBox}
                                << "sendNotificationBox senderEdit smtpServerEdit userNameEdit "
                                   "passwordEdit requiresSslBox saveButton sendTestBox";
        QTest::newRow("ssl off again")
            << QStringList{MailSettingsDialog::kSendNotificationBox,
                           MailSettingsDialog::kRequiresSslBox, MailSettingsDialog::kRequiresSslBox}
            << "sendNotificationBox senderEdit smtpServerEdit requiresSslBox saveButton "
               "sendTestBox";
        QTest::newRow("notification off") << QStringList{MailSettingsDialog::kSendNotificationBox,
                                                         MailSettingsDialog::kRequiresSslBox,
                                                         MailSettingsDialog::kSendNotificationBox}
                                          << "sendNotificationBox sendTestBox";
        // Ticking it again leaves user name and password as they are.
        QTest::newRow("notification on again")
            << QStringList{MailSettingsDialog::kSendNotificationBox,
                           MailSettingsDialog::kRequiresSslBox,
                           MailSettingsDialog::kSendNotificationBox,
                           MailSettingsDialog::kSendNotificationBox}
            << "sendNotificationBox senderEdit smtpServerEdit requiresSslBox saveButton "
               "sendTestBox";
        QTest::newRow("test on") << QStringList{MailSettingsDialog::kSendTestBox}
                                 << "sendNotificationBox sendTestBox testAddressEdit sendButton";
        QTest::newRow("test off") << QStringList{MailSettingsDialog::kSendTestBox,
                                                 MailSettingsDialog::kSendTestBox}
                                  << "sendNotificationBox sendTestBox";
    }
    void enablingRules() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, enabled);
        MailSettingsDialog d;
        for (const QString& id : clicks) {
            button(d, id.toLatin1().constData())->click();
        }
        QCOMPARE(enabledNames(d), enabled);
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
        QVERIFY(button(d, MailSettingsDialog::kSendNotificationBox)->isChecked());
        QCOMPARE(edit(d, MailSettingsDialog::kSenderEdit)->text(), fields[0]);
        QCOMPARE(edit(d, MailSettingsDialog::kSmtpServerEdit)->text(), fields[1]);
        QCOMPARE(edit(d, MailSettingsDialog::kUserNameEdit)->text(), fields[2]);
        QCOMPARE(edit(d, MailSettingsDialog::kPasswordEdit)->text(), fields[3]);
        QCOMPARE(button(d, MailSettingsDialog::kRequiresSslBox)->isChecked(), ssl);
        // All six are enabled whatever the SSL state.
        QCOMPARE(enabledNames(d),
                 QString("sendNotificationBox senderEdit smtpServerEdit userNameEdit passwordEdit "
                         "requiresSslBox saveButton sendTestBox"));
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
        button(d, MailSettingsDialog::kSaveButton)->click();
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
            QCOMPARE(edit(d, MailSettingsDialog::kSenderEdit)->text(), fields[0]);
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
            button(d, MailSettingsDialog::kSaveButton)->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(!tarnwick::test::exists(rules));
        }
        {
            MailSettingsDialog d;
            d.show();
            spin(d, "LetterMissingRuns")->setValue(3);
            spin(d, "LetterQuietDays")->setValue(14);
            button(d, MailSettingsDialog::kSaveButton)->click();
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
        button(d, MailSettingsDialog::kSaveButton)->click();
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(AppMessageBox::lastText().contains(
                     QString::fromStdString(missing + "/Osgrel Tarnwick Ambrel/Mail.txt")),
                 qPrintable(AppMessageBox::lastText()));
        QVERIFY(d.isVisible());
        QVERIFY(button(d, MailSettingsDialog::kSaveButton)->isEnabled());
    }

    void otherWaysOutWriteNothing() {
        const std::string before = "me@x.example\r\nsmtp.x.example";
        tarnwick::test::writeBytes(mailPath(), before);
        {
            MailSettingsDialog d;
            d.show();
            edit(d, MailSettingsDialog::kSenderEdit)->setText("other@x.example");
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        {
            MailSettingsDialog d;
            d.show();
            edit(d, MailSettingsDialog::kSenderEdit)->setText("other@x.example");
            d.close();
            QVERIFY(!d.isVisible());
        }
        {
            // With the settings off there is nothing to save: Enter in a
            // field closes with OK, without saving.
            MailSettingsDialog d;
            d.show();
            button(d, MailSettingsDialog::kSendNotificationBox)->click();
            QVERIFY(!w(d, MailSettingsDialog::kSaveButton)->isEnabled());
            edit(d, MailSettingsDialog::kTestAddressEdit)->setFocus();
            QTest::keyClick(edit(d, MailSettingsDialog::kTestAddressEdit), Qt::Key_Return);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(tarnwick::test::readBytes(mailPath()), before);
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
        {
            // Enter on the focused Save button saves.
            MailSettingsDialog d;
            d.show();
            edit(d, MailSettingsDialog::kSenderEdit)->setText("other@x.example");
            w(d, MailSettingsDialog::kSaveButton)->setFocus();
            QTest::keyClick(w(d, MailSettingsDialog::kSaveButton), Qt::Key_Return);
            QVERIFY(!d.isVisible());
        }
        QCOMPARE(tarnwick::test::readBytes(mailPath()),
                 std::string("other@x.example\r\nsmtp.x.example"));
        {
            // Save is the default button: Enter in a field saves what was typed.
            MailSettingsDialog d;
            d.show();
            QVERIFY(static_cast<QPushButton*>(w(d, MailSettingsDialog::kSaveButton))->isDefault());
            edit(d, MailSettingsDialog::kSenderEdit)->setText("third@x.example");
            edit(d, MailSettingsDialog::kSenderEdit)->setFocus();
            QTest::keyClick(edit(d, MailSettingsDialog::kSenderEdit), Qt::Key_Return);
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
            button(d, MailSettingsDialog::kSendTestBox)->click();
            edit(d, MailSettingsDialog::kTestAddressEdit)->setText("not a mail");
            edit(d, MailSettingsDialog::kTestAddressEdit)->setFocus();
            QTest::keyClick(edit(d, MailSettingsDialog::kTestAddressEdit), Qt::Key_Return);
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
            button(d, MailSettingsDialog::kSendNotificationBox)->click();
        }
        fillTest(d, fields[5]);
        button(d, MailSettingsDialog::kSendButton)->click();
        QCOMPARE(AppMessageBox::shownTexts(), QStringList{message});
        // Both buttons end enabled, Save even when it was off before.
        QVERIFY(w(d, MailSettingsDialog::kSendButton)->isEnabled());
        QVERIFY(w(d, MailSettingsDialog::kSaveButton)->isEnabled());
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
        button(d, MailSettingsDialog::kSendButton)->click();
        QCOMPARE(AppMessageBox::shownTexts(), QStringList{"Message sent"});
        QVERIFY(w(d, MailSettingsDialog::kSendButton)->isEnabled());
        QVERIFY(w(d, MailSettingsDialog::kSaveButton)->isEnabled());
        QVERIFY(w(d, MailSettingsDialog::kSenderEdit)->isEnabled());
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
        const QString dead = "127.0.0.1:" + QString::number(tarnwick::test::unusedPort());
        MailSettingsDialog d;
        d.show();
        fill(d, "sender@example.com", dead, false, "", "");
        fillTest(d, "tester@example.com");
        button(d, MailSettingsDialog::kSendButton)->click();
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(
            AppMessageBox::lastText().startsWith("Could not connect to the SMTP server " + dead),
            qPrintable(AppMessageBox::lastText()));
        QVERIFY(w(d, MailSettingsDialog::kSendButton)->isEnabled());
        QVERIFY(w(d, MailSettingsDialog::kSaveButton)->isEnabled());
        QCOMPARE(enabledNames(d),
                 QString("sendNotificationBox senderEdit smtpServerEdit requiresSslBox saveButton "
                         "sendTestBox testAddressEdit sendButton"));
    }

    void windowStaysAliveButShutWhileSending() {
        // A server that takes the connection and never answers.
        tarnwick::test::MuteListener mute(4);
        QVERIFY(mute.port() > 0);

        MailSettingsDialog d;
        d.show();
        fill(d, "sender@example.com", QString::fromStdString(mute.address()), false, "", "");
        fillTest(d, "tester@example.com");
        bool checked = false;
        QString during;
        QTimer::singleShot(300, &d, [&] {
            // The event loop turns while the component works.
            during = enabledNames(d);
            checked = QApplication::overrideCursor() != nullptr &&
                      QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            QTest::keyClick(&d, Qt::Key_Escape);
            d.reject();
            d.close();
            d.accept();
        });
        button(d, MailSettingsDialog::kSendButton)->click();
        mute.close();
        QVERIFY(checked);
        QCOMPARE(during, QString(""));
        QVERIFY(d.isVisible());
        QVERIFY2(AppMessageBox::lastText().contains("did not answer in time"),
                 qPrintable(AppMessageBox::lastText()));
        QVERIFY(w(d, MailSettingsDialog::kSendButton)->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(MailSettTest)
#include "MailSettTest.moc"
