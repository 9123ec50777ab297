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

    int DoModal() { return exec(); }

    // Shows "Incorrect Mail Address" and returns 0 when the address fails the
    // mail address rule, else returns 1.
    int IsValidMailAddress(std::string address);

    // Members exchanged with the controls (8-bit text; flag 0 or 1). The
    // account's fields (m_strSender, m_strSmtpServer, m_bRequiresSsl,
    // m_strUserName, m_strPassword) travel as one value to Mail.txt and to
    // the test mail's sender.
    int m_bSendNotification = 0;
    MailSettings m_settings;
    std::string m_strTestAddress;
    LetterRules m_letterRules;

public slots:
    void OnSendNotification();
    void OnRequiresSsl();
    void OnSendTestNotification();
    void OnSave();
    void OnSend();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public:
    void reject() override;
    void done(int result) override;

private:
    void OnInitDialog();
    // true: controls into members; false: members into controls.
    void UpdateData(bool saveAndValidate);
    // Writes the members to Mail.txt; false (after a message naming the file)
    // when it cannot.
    bool WriteMailSettings();
    void SendTestMail();

    QGroupBox* m_pMailGroup = nullptr;
    QCheckBox* m_pSendNotification = nullptr;  // 1031
    QLineEdit* m_pSender = nullptr;            // 1032
    QLineEdit* m_pSmtpServer = nullptr;        // 1033
    QLineEdit* m_pUserName = nullptr;          // 1034
    QLineEdit* m_pPassword = nullptr;          // 1035
    QCheckBox* m_pRequiresSsl = nullptr;       // 1036
    QGroupBox* m_pTestGroup = nullptr;
    QPushButton* m_pSave = nullptr;                // 1037
    QCheckBox* m_pSendTestNotification = nullptr;  // 1038
    QLineEdit* m_pTestAddress = nullptr;           // 1039
    QPushButton* m_pSend = nullptr;                // 1040
    QGroupBox* m_pLetterGroup = nullptr;
    QSpinBox* m_pMissingRuns = nullptr;
    QSpinBox* m_pQuietDays = nullptr;
    LetterRules m_storedRules;
    // Mail.txt as it was read, when it exists.
    std::optional<MailSettings> m_storedSettings;
    bool m_bSending = false;
};

}  // namespace tarnwick
