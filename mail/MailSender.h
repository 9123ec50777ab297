// One message and the SMTP component that sends it. Constructing a sender
// makes the component at once; the sender's owner (the thread that sends)
// fills the account (sender, server, SSL, login) and the message and calls
// Send. Outcomes go to a NotificationSink: failure
// texts into column 2 of m_row, "Message sent" for the test mail.
#pragma once

#include <memory>
#include <string>

#include "mail/MailSettings.h"
#include "mail/NotificationSink.h"
#include "mail/SmtpClient.h"

namespace tarnwick {

inline constexpr char kMsgSmtpNotInstalled[] = "Please make sure an smtp has properly installed.";
inline constexpr char kMsgFailToInitialize[] = "Fail to initialize";
inline constexpr char kMsgSslInitFailed[] = "Initialize SSL/TLS Plus failed";
inline constexpr char kMsgMessageSent[] = "Message sent";

class MailSender {
public:
    // row: the results row that receives failure texts; -1 for the test mail.
    explicit MailSender(NotificationSink& sink, int row = -1);
    ~MailSender();
    MailSender(const MailSender&) = delete;
    MailSender& operator=(const MailSender&) = delete;

    // Makes the component; on failure writes "Please make sure an smtp has
    // properly installed." and then "Fail to initialize" into m_row.
    bool initialize();

    // Hands the fields to the component and sends: user name and password
    // only when they and the server are all non-empty; SSL set up first when
    // the account requires it. Failures land in column 2 of m_row.
    void send();

    MailSettings m_account;
    // Time-outs and deadline of the send.
    SmtpClient::Limits m_limits;
    std::string m_recipient;
    std::string m_subject;
    std::string m_body;
    int m_row = -1;
    // Set by the settings dialog for its test mail: a successful send is
    // announced with "Message sent". A letter of a run, which has a row, never
    // is.
    bool m_announceSent = false;
    std::unique_ptr<SmtpClient> m_mail;  // empty when creation failed

private:
    NotificationSink& m_sink;
};

}  // namespace tarnwick
