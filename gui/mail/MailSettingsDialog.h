// The mail settings dialog (resource 148): the SMTP account stored in
// Mail.txt, and a test mail sent with the values as they stand. Controls carry
// their resource IDs as object names ("1031" ... "1040").
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

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tarnwick {

class MailSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit MailSettingsDialog(QWidget* parent = nullptr);

    int doModal() { return exec(); }

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

    QGroupBox* m_mailGroup = nullptr;
    QCheckBox* m_sendNotificationBox = nullptr;  // 1031
    QLineEdit* m_senderEdit = nullptr;           // 1032
    QLineEdit* m_smtpServerEdit = nullptr;       // 1033
    QLineEdit* m_userNameEdit = nullptr;         // 1034
    QLineEdit* m_passwordEdit = nullptr;         // 1035
    QCheckBox* m_requiresSslBox = nullptr;       // 1036
    QGroupBox* m_testGroup = nullptr;
    QPushButton* m_save = nullptr;                // 1037
    QCheckBox* m_sendTestNotification = nullptr;  // 1038
    QLineEdit* m_testAddressEdit = nullptr;       // 1039
    QPushButton* m_send = nullptr;                // 1040
    QGroupBox* m_letterGroup = nullptr;
    QSpinBox* m_missingRunsSpin = nullptr;
    QSpinBox* m_quietDaysSpin = nullptr;
    LetterRules m_storedRules;
    // Mail.txt as it was read, when it exists.
    std::optional<MailSettings> m_storedSettings;
    bool m_sending = false;
};

}  // namespace tarnwick
