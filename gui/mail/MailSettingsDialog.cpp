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
    void SetResultMail(int /*row*/, const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strFailure = text;  // the last text is the one that stays
    }
    void ShowMessage(const std::string& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(text);
    }
    std::vector<std::string> Messages() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> all = m_messages;
        if (!m_strFailure.empty()) {
            all.push_back(m_strFailure);
        }
        return all;
    }

private:
    std::mutex m_mutex;
    std::string m_strFailure;
    std::vector<std::string> m_messages;
};

QLineEdit* MakeEdit(const char* id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

QLabel* MakeLabel(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString::fromLatin1(text).remove(QLatin1String(" :")));
    return label;
}

}  // namespace

MailSettingsDialog::MailSettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("148"));
    setWindowTitle(QStringLiteral("Mail Settings"));

    m_pMailGroup = new QGroupBox(QStringLiteral("Mail Settings"), this);
    m_pSendNotification = new QCheckBox(QStringLiteral("Send Notification"), m_pMailGroup);
    m_pSendNotification->setObjectName(QStringLiteral("1031"));
    m_pSender = MakeEdit("1032", m_pMailGroup);
    m_pSmtpServer = MakeEdit("1033", m_pMailGroup);
    m_pUserName = MakeEdit("1034", m_pMailGroup);
    m_pPassword = MakeEdit("1035", m_pMailGroup);
    m_pPassword->setEchoMode(QLineEdit::Password);
    m_pRequiresSsl = new QCheckBox(QStringLiteral("Requires SSL"), m_pMailGroup);
    m_pRequiresSsl->setObjectName(QStringLiteral("1036"));

    auto* mailGrid = new QGridLayout(m_pMailGroup);
    mailGrid->addWidget(m_pSendNotification, 0, 0, 1, 2);
    mailGrid->addWidget(MakeLabel("Sender :", m_pSender, m_pMailGroup), 1, 0);
    mailGrid->addWidget(m_pSender, 1, 1);
    mailGrid->addWidget(MakeLabel("Smtp Server :", m_pSmtpServer, m_pMailGroup), 2, 0);
    mailGrid->addWidget(m_pSmtpServer, 2, 1);
    mailGrid->addWidget(MakeLabel("User Name :", m_pUserName, m_pMailGroup), 3, 0);
    mailGrid->addWidget(m_pUserName, 3, 1);
    mailGrid->addWidget(MakeLabel("Password :", m_pPassword, m_pMailGroup), 4, 0);
    mailGrid->addWidget(m_pPassword, 4, 1);
    mailGrid->addWidget(m_pRequiresSsl, 5, 1);

    m_pTestGroup = new QGroupBox(QStringLiteral("Test Mail"), this);
    m_pSave = new QPushButton(QStringLiteral("&Save"), this);
    m_pSave->setObjectName(QStringLiteral("1037"));
    m_pSave->setDefault(true);
    m_pSendTestNotification = new QCheckBox(QStringLiteral("Send Test Notification"), m_pTestGroup);
    m_pSendTestNotification->setObjectName(QStringLiteral("1038"));
    m_pTestAddress = MakeEdit("1039", m_pTestGroup);
    m_pSend = new QPushButton(QStringLiteral("Sen&d"), m_pTestGroup);
    m_pSend->setObjectName(QStringLiteral("1040"));

    auto* testGrid = new QGridLayout(m_pTestGroup);
    testGrid->addWidget(m_pSendTestNotification, 0, 0, 1, 3);
    testGrid->addWidget(MakeLabel("Test Mail Address :", m_pTestAddress, m_pTestGroup), 1, 0);
    testGrid->addWidget(m_pTestAddress, 1, 1);
    testGrid->addWidget(m_pSend, 1, 2);

    // Letters that do not nag: shown whether or not mail is set up.
    m_pLetterGroup = new QGroupBox(QStringLiteral("Letters"), this);
    m_pMissingRuns = new QSpinBox(m_pLetterGroup);
    m_pMissingRuns->setObjectName(QStringLiteral("LetterMissingRuns"));
    m_pMissingRuns->setRange(1, 1000);
    m_pMissingRuns->setSuffix(QStringLiteral(" consecutive runs"));
    m_pMissingRuns->setAccessibleName(
        QStringLiteral("mail only after the link has been missing in K consecutive runs"));
    m_pQuietDays = new QSpinBox(m_pLetterGroup);
    m_pQuietDays->setObjectName(QStringLiteral("LetterQuietDays"));
    m_pQuietDays->setRange(0, 36500);
    m_pQuietDays->setSuffix(QStringLiteral(" days"));
    m_pQuietDays->setSpecialValueText(QStringLiteral("0 days (mail every run)"));
    m_pQuietDays->setAccessibleName(
        QStringLiteral("do not mail the same webmaster about the same page again within D days"));
    auto* letterGrid = new QGridLayout(m_pLetterGroup);
    auto* missingLabel =
        new QLabel(QStringLiteral("Mail only after the link has been missing in"), m_pLetterGroup);
    missingLabel->setBuddy(m_pMissingRuns);
    auto* quietLabel = new QLabel(
        QStringLiteral("Do not mail the same webmaster about the same page again within"),
        m_pLetterGroup);
    quietLabel->setBuddy(m_pQuietDays);
    letterGrid->addWidget(missingLabel, 0, 0);
    letterGrid->addWidget(m_pMissingRuns, 0, 1);
    letterGrid->addWidget(quietLabel, 1, 0);
    letterGrid->addWidget(m_pQuietDays, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pSave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pMailGroup);
    layout->addWidget(m_pTestGroup);
    layout->addWidget(m_pLetterGroup);
    layout->addLayout(buttons);

    // The order of the controls in the resource is their tab order.
    setTabOrder(m_pSendNotification, m_pSender);
    setTabOrder(m_pSender, m_pSmtpServer);
    setTabOrder(m_pSmtpServer, m_pUserName);
    setTabOrder(m_pUserName, m_pPassword);
    setTabOrder(m_pPassword, m_pRequiresSsl);
    setTabOrder(m_pRequiresSsl, m_pSave);
    setTabOrder(m_pSave, m_pSendTestNotification);
    setTabOrder(m_pSendTestNotification, m_pTestAddress);
    setTabOrder(m_pTestAddress, m_pSend);
    setTabOrder(m_pSend, m_pMissingRuns);
    setTabOrder(m_pMissingRuns, m_pQuietDays);

    // As the resource creates them: only the two check boxes enabled.
    for (QWidget* w : {static_cast<QWidget*>(m_pSender), static_cast<QWidget*>(m_pSmtpServer),
                       static_cast<QWidget*>(m_pUserName), static_cast<QWidget*>(m_pPassword),
                       static_cast<QWidget*>(m_pRequiresSsl), static_cast<QWidget*>(m_pSave),
                       static_cast<QWidget*>(m_pTestAddress), static_cast<QWidget*>(m_pSend)}) {
        w->setEnabled(false);
    }

    connect(m_pSendNotification, &QCheckBox::clicked, this,
            &MailSettingsDialog::OnSendNotification);
    connect(m_pRequiresSsl, &QCheckBox::clicked, this, &MailSettingsDialog::OnRequiresSsl);
    connect(m_pSendTestNotification, &QCheckBox::clicked, this,
            &MailSettingsDialog::OnSendTestNotification);
    connect(m_pSave, &QPushButton::clicked, this, &MailSettingsDialog::OnSave);
    connect(m_pSend, &QPushButton::clicked, this, &MailSettingsDialog::OnSend);

    // 323 by 166 dialog units.
    resize(485, 340);
    OnInitDialog();
}

void MailSettingsDialog::OnInitDialog() {
    const DataFolder folder = DataFolder::FromEnvironment();
    m_storedRules = ReadLetterRules(folder.Folder());
    m_letterRules = m_storedRules;
    m_pMissingRuns->setValue(m_letterRules.m_nMissingRuns);
    m_pQuietDays->setValue(m_letterRules.m_nQuietDays);
    const std::string path = folder.MailPath();
    if (!FileExists(path)) {
        return;
    }
    m_bSendNotification = 1;
    m_settings = ReadMailSettingsForDialog(path);
    m_storedSettings = m_settings;
    UpdateData(false);
    // All six, whatever the SSL state.
    for (QWidget* w : {static_cast<QWidget*>(m_pSender), static_cast<QWidget*>(m_pSmtpServer),
                       static_cast<QWidget*>(m_pUserName), static_cast<QWidget*>(m_pPassword),
                       static_cast<QWidget*>(m_pRequiresSsl), static_cast<QWidget*>(m_pSave)}) {
        w->setEnabled(true);
    }
}

void MailSettingsDialog::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        m_bSendNotification = m_pSendNotification->isChecked() ? 1 : 0;
        m_settings.m_strSender = FromQ(m_pSender->text());
        m_settings.m_strSmtpServer = FromQ(m_pSmtpServer->text());
        m_settings.m_strUserName = FromQ(m_pUserName->text());
        m_settings.m_strPassword = FromQ(m_pPassword->text());
        m_settings.m_bRequiresSsl = m_pRequiresSsl->isChecked();
        m_strTestAddress = FromQ(m_pTestAddress->text());
        m_letterRules.m_nMissingRuns = m_pMissingRuns->value();
        m_letterRules.m_nQuietDays = m_pQuietDays->value();
    } else {
        m_pSendNotification->setChecked(m_bSendNotification != 0);
        m_pSender->setText(ToQ(m_settings.m_strSender));
        m_pSmtpServer->setText(ToQ(m_settings.m_strSmtpServer));
        m_pUserName->setText(ToQ(m_settings.m_strUserName));
        m_pPassword->setText(ToQ(m_settings.m_strPassword));
        m_pRequiresSsl->setChecked(m_settings.m_bRequiresSsl);
        m_pTestAddress->setText(ToQ(m_strTestAddress));
        m_pMissingRuns->setValue(m_letterRules.m_nMissingRuns);
        m_pQuietDays->setValue(m_letterRules.m_nQuietDays);
    }
}

int MailSettingsDialog::IsValidMailAddress(std::string address) {
    if (tarnwick::IsValidMailAddress(address)) {
        return 1;
    }
    AppMessageBox::Show(kMsgIncorrectMail, AppMessageBox::Buttons::Ok, this);
    return 0;
}

void MailSettingsDialog::OnSendNotification() {
    const bool on = m_pSendNotification->isChecked();
    m_pSender->setEnabled(on);
    m_pSmtpServer->setEnabled(on);
    m_pRequiresSsl->setEnabled(on);
    m_pSave->setEnabled(on);
    if (!on) {
        m_pUserName->setEnabled(false);
        m_pPassword->setEnabled(false);
    }
}

void MailSettingsDialog::OnRequiresSsl() {
    const bool on = m_pRequiresSsl->isChecked();
    m_pUserName->setEnabled(on);
    m_pPassword->setEnabled(on);
}

void MailSettingsDialog::OnSendTestNotification() {
    const bool on = m_pSendTestNotification->isChecked();
    m_pTestAddress->setEnabled(on);
    m_pSend->setEnabled(on);
}

void MailSettingsDialog::OnSave() {
    UpdateData(true);
    const std::string message = CheckSettingsForSave(m_settings);
    if (!message.empty()) {
        AppMessageBox::Show(message, AppMessageBox::Buttons::Ok, this);
        return;
    }
    if (WriteMailSettings()) {
        accept();
    }
}

bool MailSettingsDialog::WriteMailSettings() {
    try {
        const DataFolder folder = DataFolder::FromEnvironment();
        // Saved unchanged, Mail.txt keeps its bytes (and its time).
        if (!m_storedSettings || *m_storedSettings != m_settings ||
            !FileExists(folder.MailPath())) {
            tarnwick::WriteMailSettings(folder.MailPath(), m_settings);
            m_storedSettings = m_settings;
        }
        if (m_letterRules != m_storedRules) {
            WriteLetterRules(folder.Folder(), m_letterRules);
            m_storedRules = m_letterRules;
        }
    } catch (const FileError& e) {
        AppMessageBox::Show(e, AppMessageBox::Buttons::Ok, this);
        return false;
    }
    return true;
}

void MailSettingsDialog::OnSend() {
    m_pSend->setEnabled(false);
    m_pSave->setEnabled(false);
    UpdateData(true);
    const std::string message =
        CheckTestMail(m_bSendNotification != 0, m_settings, m_strTestAddress);
    if (!message.empty()) {
        AppMessageBox::Show(message, AppMessageBox::Buttons::Ok, this);
    } else {
        SendTestMail();
    }
    m_pSend->setEnabled(true);
    m_pSave->setEnabled(true);
}

void MailSettingsDialog::SendTestMail() {
    // The send runs on a thread of its own while this dialog keeps painting;
    // its controls are out of reach and it cannot be closed until the
    // component has answered.
    m_bSending = true;
    m_pMailGroup->setEnabled(false);
    m_pTestGroup->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    g_bAnnounceSent = true;

    TestMailSink sink;
    // The login goes with the test mail only when SSL is ticked.
    MailSettings account = m_settings;
    if (!account.m_bRequiresSsl) {
        account.m_strUserName.clear();
        account.m_strPassword.clear();
    }
    const std::string recipient = m_strTestAddress;
    GuiThread::RunAside([&] {
        try {
            MailSender sender(sink);
            sender.m_account = account;
            sender.m_strRecipient = recipient;
            sender.m_strSubject = kTestMailSubject;
            sender.m_strBody = kTestMailBody;
            sender.Send();
        } catch (const std::exception& e) {
            sink.SetResultMail(-1, e.what());
        }
    });

    g_bAnnounceSent = false;
    QApplication::restoreOverrideCursor();
    m_pMailGroup->setEnabled(true);
    m_pTestGroup->setEnabled(true);
    m_bSending = false;
    for (const std::string& text : sink.Messages()) {
        if (text == kMsgMessageSent) {
            AppMessageBox::Inform(text, this);
            continue;
        }
        AppMessageBox::Show(text, AppMessageBox::Buttons::Ok, this);
    }
}

void MailSettingsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The buttons take their own Enter before it comes here. Elsewhere
        // Enter sends the test mail from its address box and saves from the
        // other fields, so what was typed is not lost; only while there is
        // nothing to save does it close the dialog with OK.
        if (m_bSending) {
            return;
        }
        if (focusWidget() == m_pTestAddress && m_pSend->isEnabled()) {
            m_pSend->click();
        } else if (m_pSave->isEnabled()) {
            m_pSave->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void MailSettingsDialog::closeEvent(QCloseEvent* event) {
    if (m_bSending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void MailSettingsDialog::reject() {
    if (!m_bSending) {
        QDialog::reject();
    }
}

void MailSettingsDialog::done(int result) {
    if (!m_bSending) {
        QDialog::done(result);
    }
}

}  // namespace tarnwick
