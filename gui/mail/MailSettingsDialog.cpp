#include "gui/mail/MailSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <exception>
#include <mutex>
#include <vector>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/GuiThread.h"
#include "gui/controls/TextCodec.h"
#include "mail/MailRules.h"
#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "mail/NotificationLetter.h"
#include "store/DataFolder.h"
#include "store/FileError.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

// Collects what the test mail's sender reports on its thread, for the dialog
// to show on the GUI thread once the send is over.
class TestMailSink : public NotificationSink {
public:
    void setResultMail(int /*row*/, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failure = text;  // the last text is the one that stays
    }
    void showMessage(const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(text);
    }
    std::vector<std::string> messages() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> all = m_messages;
        if (!m_failure.empty()) {
            all.push_back(m_failure);
        }
        return all;
    }

private:
    std::mutex m_mutex;
    std::string m_failure;
    std::vector<std::string> m_messages;
};

QLineEdit* makeEdit(const char* id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

QLabel* makeLabel(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString::fromLatin1(text).remove(QLatin1String(" :")));
    return label;
}

}  // namespace

MailSettingsDialog::MailSettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MailSettingsDialog"));
    setWindowTitle(QStringLiteral("Mail Settings"));

    m_mailGroup = new QGroupBox(QStringLiteral("Mail Settings"), this);
    m_sendNotificationBox = new QCheckBox(QStringLiteral("Send Notification"), m_mailGroup);
    m_sendNotificationBox->setObjectName(kSendNotificationBox);
    m_senderEdit = makeEdit(kSenderEdit, m_mailGroup);
    m_smtpServerEdit = makeEdit(kSmtpServerEdit, m_mailGroup);
    m_userNameEdit = makeEdit(kUserNameEdit, m_mailGroup);
    m_passwordEdit = makeEdit(kPasswordEdit, m_mailGroup);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_requiresSslBox = new QCheckBox(QStringLiteral("Requires SSL"), m_mailGroup);
    m_requiresSslBox->setObjectName(kRequiresSslBox);

    auto* mailGrid = new QGridLayout(m_mailGroup);
    mailGrid->addWidget(m_sendNotificationBox, 0, 0, 1, 2);
    mailGrid->addWidget(makeLabel("Sender :", m_senderEdit, m_mailGroup), 1, 0);
    mailGrid->addWidget(m_senderEdit, 1, 1);
    mailGrid->addWidget(makeLabel("Smtp Server :", m_smtpServerEdit, m_mailGroup), 2, 0);
    mailGrid->addWidget(m_smtpServerEdit, 2, 1);
    mailGrid->addWidget(makeLabel("User Name :", m_userNameEdit, m_mailGroup), 3, 0);
    mailGrid->addWidget(m_userNameEdit, 3, 1);
    mailGrid->addWidget(makeLabel("Password :", m_passwordEdit, m_mailGroup), 4, 0);
    mailGrid->addWidget(m_passwordEdit, 4, 1);
    mailGrid->addWidget(m_requiresSslBox, 5, 1);

    m_testGroup = new QGroupBox(QStringLiteral("Test Mail"), this);
    m_save = new QPushButton(QStringLiteral("&Save"), this);
    m_save->setObjectName(kSaveButton);
    m_save->setDefault(true);
    m_sendTestNotification = new QCheckBox(QStringLiteral("Send Test Notification"), m_testGroup);
    m_sendTestNotification->setObjectName(kSendTestBox);
    m_testAddressEdit = makeEdit(kTestAddressEdit, m_testGroup);
    m_send = new QPushButton(QStringLiteral("Sen&d"), m_testGroup);
    m_send->setObjectName(kSendButton);

    auto* testGrid = new QGridLayout(m_testGroup);
    testGrid->addWidget(m_sendTestNotification, 0, 0, 1, 3);
    testGrid->addWidget(makeLabel("Test Mail Address :", m_testAddressEdit, m_testGroup), 1, 0);
    testGrid->addWidget(m_testAddressEdit, 1, 1);
    testGrid->addWidget(m_send, 1, 2);

    // Letters that do not nag: shown whether or not mail is set up.
    m_letterGroup = new QGroupBox(QStringLiteral("Letters"), this);
    m_missingRunsSpin = new QSpinBox(m_letterGroup);
    m_missingRunsSpin->setObjectName(QStringLiteral("LetterMissingRuns"));
    m_missingRunsSpin->setRange(1, 1000);
    m_missingRunsSpin->setSuffix(QStringLiteral(" consecutive runs"));
    m_missingRunsSpin->setAccessibleName(
        QStringLiteral("mail only after the link has been missing in K consecutive runs"));
    m_quietDaysSpin = new QSpinBox(m_letterGroup);
    m_quietDaysSpin->setObjectName(QStringLiteral("LetterQuietDays"));
    m_quietDaysSpin->setRange(0, 36500);
    m_quietDaysSpin->setSuffix(QStringLiteral(" days"));
    m_quietDaysSpin->setSpecialValueText(QStringLiteral("0 days (mail every run)"));
    m_quietDaysSpin->setAccessibleName(
        QStringLiteral("do not mail the same webmaster about the same page again within D days"));
    auto* letterGrid = new QGridLayout(m_letterGroup);
    auto* missingLabel =
        new QLabel(QStringLiteral("Mail only after the link has been missing in"), m_letterGroup);
    missingLabel->setBuddy(m_missingRunsSpin);
    auto* quietLabel = new QLabel(
        QStringLiteral("Do not mail the same webmaster about the same page again within"),
        m_letterGroup);
    quietLabel->setBuddy(m_quietDaysSpin);
    letterGrid->addWidget(missingLabel, 0, 0);
    letterGrid->addWidget(m_missingRunsSpin, 0, 1);
    letterGrid->addWidget(quietLabel, 1, 0);
    letterGrid->addWidget(m_quietDaysSpin, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_mailGroup);
    layout->addWidget(m_testGroup);
    layout->addWidget(m_letterGroup);
    layout->addLayout(buttons);

    // The order of the controls in the resource is their tab order.
    setTabOrder(m_sendNotificationBox, m_senderEdit);
    setTabOrder(m_senderEdit, m_smtpServerEdit);
    setTabOrder(m_smtpServerEdit, m_userNameEdit);
    setTabOrder(m_userNameEdit, m_passwordEdit);
    setTabOrder(m_passwordEdit, m_requiresSslBox);
    setTabOrder(m_requiresSslBox, m_save);
    setTabOrder(m_save, m_sendTestNotification);
    setTabOrder(m_sendTestNotification, m_testAddressEdit);
    setTabOrder(m_testAddressEdit, m_send);
    setTabOrder(m_send, m_missingRunsSpin);
    setTabOrder(m_missingRunsSpin, m_quietDaysSpin);

    // As the resource creates them: only the two check boxes enabled.
    for (QWidget* w : {static_cast<QWidget*>(m_senderEdit), static_cast<QWidget*>(m_smtpServerEdit),
                       static_cast<QWidget*>(m_userNameEdit), static_cast<QWidget*>(m_passwordEdit),
                       static_cast<QWidget*>(m_requiresSslBox), static_cast<QWidget*>(m_save),
                       static_cast<QWidget*>(m_testAddressEdit), static_cast<QWidget*>(m_send)}) {
        w->setEnabled(false);
    }

    connect(m_sendNotificationBox, &QCheckBox::clicked, this,
            &MailSettingsDialog::onSendNotification);
    connect(m_requiresSslBox, &QCheckBox::clicked, this, &MailSettingsDialog::onRequiresSsl);
    connect(m_sendTestNotification, &QCheckBox::clicked, this,
            &MailSettingsDialog::onSendTestNotification);
    connect(m_save, &QPushButton::clicked, this, &MailSettingsDialog::onSave);
    connect(m_send, &QPushButton::clicked, this, &MailSettingsDialog::onSend);

    // 323 by 166 dialog units.
    resize(485, 340);
    onInitDialog();
}

void MailSettingsDialog::onInitDialog() {
    const DataFolder folder = DataFolder::fromEnvironment();
    m_storedRules = readLetterRules(folder.folder());
    m_letterRules = m_storedRules;
    m_missingRunsSpin->setValue(m_letterRules.m_missingRuns);
    m_quietDaysSpin->setValue(m_letterRules.m_quietDays);
    const std::string path = folder.mailPath();
    if (!fileExists(path)) {
        return;
    }
    m_sendNotification = 1;
    m_settings = readMailSettingsForDialog(path);
    m_storedSettings = m_settings;
    updateData(false);
    // All six, whatever the SSL state.
    for (QWidget* w : {static_cast<QWidget*>(m_senderEdit), static_cast<QWidget*>(m_smtpServerEdit),
                       static_cast<QWidget*>(m_userNameEdit), static_cast<QWidget*>(m_passwordEdit),
                       static_cast<QWidget*>(m_requiresSslBox), static_cast<QWidget*>(m_save)}) {
        w->setEnabled(true);
    }
}

void MailSettingsDialog::updateData(bool saveAndValidate) {
    if (saveAndValidate) {
        m_sendNotification = m_sendNotificationBox->isChecked() ? 1 : 0;
        m_settings.m_sender = fromQ(m_senderEdit->text());
        m_settings.m_smtpServer = fromQ(m_smtpServerEdit->text());
        m_settings.m_userName = fromQ(m_userNameEdit->text());
        m_settings.m_password = fromQ(m_passwordEdit->text());
        m_settings.m_requiresSsl = m_requiresSslBox->isChecked();
        m_testAddress = fromQ(m_testAddressEdit->text());
        m_letterRules.m_missingRuns = m_missingRunsSpin->value();
        m_letterRules.m_quietDays = m_quietDaysSpin->value();
    } else {
        m_sendNotificationBox->setChecked(m_sendNotification != 0);
        m_senderEdit->setText(toQ(m_settings.m_sender));
        m_smtpServerEdit->setText(toQ(m_settings.m_smtpServer));
        m_userNameEdit->setText(toQ(m_settings.m_userName));
        m_passwordEdit->setText(toQ(m_settings.m_password));
        m_requiresSslBox->setChecked(m_settings.m_requiresSsl);
        m_testAddressEdit->setText(toQ(m_testAddress));
        m_missingRunsSpin->setValue(m_letterRules.m_missingRuns);
        m_quietDaysSpin->setValue(m_letterRules.m_quietDays);
    }
}

int MailSettingsDialog::isValidMailAddress(std::string address) {
    if (tarnwick::isValidMailAddress(address)) {
        return 1;
    }
    AppMessageBox::show(kMsgIncorrectMail, AppMessageBox::Buttons::Ok, this);
    return 0;
}

void MailSettingsDialog::onSendNotification() {
    const bool on = m_sendNotificationBox->isChecked();
    m_senderEdit->setEnabled(on);
    m_smtpServerEdit->setEnabled(on);
    m_requiresSslBox->setEnabled(on);
    m_save->setEnabled(on);
    if (!on) {
        m_userNameEdit->setEnabled(false);
        m_passwordEdit->setEnabled(false);
    }
}

void MailSettingsDialog::onRequiresSsl() {
    const bool on = m_requiresSslBox->isChecked();
    m_userNameEdit->setEnabled(on);
    m_passwordEdit->setEnabled(on);
}

void MailSettingsDialog::onSendTestNotification() {
    const bool on = m_sendTestNotification->isChecked();
    m_testAddressEdit->setEnabled(on);
    m_send->setEnabled(on);
}

void MailSettingsDialog::onSave() {
    updateData(true);
    const std::string message = checkSettingsForSave(m_settings);
    if (!message.empty()) {
        AppMessageBox::show(message, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (writeMailSettings()) {
        accept();
    }
}

bool MailSettingsDialog::writeMailSettings() {
    try {
        const DataFolder folder = DataFolder::fromEnvironment();
        // Saved unchanged, Mail.txt keeps its bytes (and its time).
        if (!m_storedSettings || *m_storedSettings != m_settings ||
            !fileExists(folder.mailPath())) {
            tarnwick::writeMailSettings(folder.mailPath(), m_settings);
            m_storedSettings = m_settings;
        }
        if (m_letterRules != m_storedRules) {
            writeLetterRules(folder.folder(), m_letterRules);
            m_storedRules = m_letterRules;
        }
    } catch (const FileError& e) {
        AppMessageBox::show(e, AppMessageBox::Buttons::Ok, this);
        return false;
    }
    return true;
}

void MailSettingsDialog::onSend() {
    m_send->setEnabled(false);
    m_save->setEnabled(false);
    updateData(true);
    const std::string message = checkTestMail(m_sendNotification != 0, m_settings, m_testAddress);
    if (!message.empty()) {
        AppMessageBox::show(message, AppMessageBox::Buttons::Ok, this);
    } else {
        sendTestMail();
    }
    m_send->setEnabled(true);
    m_save->setEnabled(true);
}

void MailSettingsDialog::sendTestMail() {
    // The send runs on a thread of its own while this dialog keeps painting;
    // its controls are out of reach and it cannot be closed until the
    // component has answered.
    m_sending = true;
    m_mailGroup->setEnabled(false);
    m_testGroup->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    TestMailSink sink;
    // The login goes with the test mail only when SSL is ticked.
    MailSettings account = m_settings;
    if (!account.m_requiresSsl) {
        account.m_userName.clear();
        account.m_password.clear();
    }
    const std::string recipient = m_testAddress;
    GuiThread::runAside([&] {
        try {
            MailSender sender(sink);
            sender.m_announceSent = true;
            sender.m_limits = m_mailLimits;
            sender.m_account = account;
            sender.m_recipient = recipient;
            sender.m_subject = kTestMailSubject;
            sender.m_body = kTestMailBody;
            sender.send();
        } catch (const std::exception& e) {
            sink.setResultMail(-1, e.what());
        }
    });

    QApplication::restoreOverrideCursor();
    m_mailGroup->setEnabled(true);
    m_testGroup->setEnabled(true);
    m_sending = false;
    for (const std::string& text : sink.messages()) {
        if (text == kMsgMessageSent) {
            AppMessageBox::inform(text, this);
            continue;
        }
        AppMessageBox::show(text, AppMessageBox::Buttons::Ok, this);
    }
}

void MailSettingsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The buttons take their own Enter before it comes here. Elsewhere
        // Enter sends the test mail from its address box and saves from the
        // other fields, so what was typed is not lost; only while there is
        // nothing to save does it close the dialog with OK.
        if (m_sending) {
            return;
        }
        if (focusWidget() == m_testAddressEdit && m_send->isEnabled()) {
            m_send->click();
        } else if (m_save->isEnabled()) {
            m_save->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void MailSettingsDialog::closeEvent(QCloseEvent* event) {
    if (m_sending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MailSettingsDialog::reject() {
    if (!m_sending) {
        QDialog::reject();
    }
}

void MailSettingsDialog::done(int result) {
    if (!m_sending) {
        QDialog::done(result);
    }
}

}  // namespace tarnwick
