// The mail settings dialog: the SMTP account stored in
// Mail.txt, and a test mail sent with the values as they stand. Controls carry
// the object names listed below.
//
// Below them, the letter rules (Letters.ini): letters held back until the
// link has been missing in K consecutive runs, and for D days after the same
// webmaster was mailed about the same page. Save writes each file only when
// its values were changed; the defaults (1 and 1) hold back only a second
// letter on the same day.
//
// Callers (Add-profile wizard, Edit Profile dialog) construct it and run it
// modally with DoModal(); the result tells nothing they use. Only "Save"
// writes Mail.txt; Esc, the close box and Enter in a field close it without
// writing.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "history/LetterRules.h"
#include "mail/MailSettings.h"
#include "mail/SmtpClient.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tarnwick {

class MailSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kSendNotificationBox[] = "sendNotificationBox";
    static constexpr char kSenderEdit[] = "senderEdit";
    static constexpr char kSmtpServerEdit[] = "smtpServerEdit";
    static constexpr char kUserNameEdit[] = "userNameEdit";
    static constexpr char kPasswordEdit[] = "passwordEdit";
    static constexpr char kRequiresSslBox[] = "requiresSslBox";
    static constexpr char kSaveButton[] = "saveButton";
    static constexpr char kSendTestBox[] = "sendTestBox";
    static constexpr char kTestAddressEdit[] = "testAddressEdit";
    static constexpr char kSendButton[] = "sendButton";

    explicit MailSettingsDialog(QWidget* parent = nullptr);

    int doModal() { return exec(); }

    // The time-outs of the test mail.
    void setMailLimits(const SmtpClient::Limits& limits) { m_mailLimits = limits; }

    // Shows "Incorrect Mail Address" and returns 0 when the address fails the
    // mail address rule, else returns 1.
    int isValidMailAddress(std::string address);

    // Members exchanged with the controls (8-bit text; flag 0 or 1). The
    // account's fields (m_sender, m_smtpServer, m_requiresSsl,
    // m_userName, m_password) travel as one value to Mail.txt and to
    // the test mail's sender.
    int m_sendNotification = 0;
    MailSettings m_settings;
    std::string m_testAddress;
    LetterRules m_letterRules;

public slots:
    void onSendNotification();
    void onRequiresSsl();
    void onSendTestNotification();
    void onSave();
    void onSend();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public:
    void reject() override;
    void done(int result) override;

private:
    void onInitDialog();
    // true: controls into members; false: members into controls.
    void updateData(bool saveAndValidate);
    // Writes the members to Mail.txt; false (after a message naming the file)
    // when it cannot.
    bool writeMailSettings();
    void sendTestMail();

    SmtpClient::Limits m_mailLimits;
    QGroupBox* m_mailGroup = nullptr;
    QCheckBox* m_sendNotificationBox = nullptr;
    QLineEdit* m_senderEdit = nullptr;
    QLineEdit* m_smtpServerEdit = nullptr;
    QLineEdit* m_userNameEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QCheckBox* m_requiresSslBox = nullptr;
    QGroupBox* m_testGroup = nullptr;
    QPushButton* m_save = nullptr;
    QCheckBox* m_sendTestNotification = nullptr;
    QLineEdit* m_testAddressEdit = nullptr;
    QPushButton* m_send = nullptr;
    QGroupBox* m_letterGroup = nullptr;
    QSpinBox* m_missingRunsSpin = nullptr;
    QSpinBox* m_quietDaysSpin = nullptr;
    LetterRules m_storedRules;
    // Mail.txt as it was read, when it exists.
    std::optional<MailSettings> m_storedSettings;
    bool m_sending = false;
};

}  // namespace tarnwick
