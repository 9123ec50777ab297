#include "mail/MailSender.h"

namespace tarnwick {

MailSender::MailSender(NotificationSink& sink, int row) : m_row(row), m_sink(sink) {
    initialize();
}

MailSender::~MailSender() = default;

bool MailSender::initialize() {
    m_mail = SmtpClient::create();
    if (m_mail == nullptr) {
        m_sink.setResultMail(m_row, kMsgSmtpNotInstalled);
        m_sink.setResultMail(m_row, kMsgFailToInitialize);
        return false;
    }
    return true;
}

void MailSender::send() {
    if (m_mail == nullptr) {
        return;
    }
    SmtpClient& mail = *m_mail;
    const MailSettings& a = m_account;
    mail.setLimits(m_limits);
    mail.setFromAddr(a.m_sender);
    mail.setServerAddr(a.m_smtpServer);
    mail.setSubject(m_subject);
    mail.setBodyText(m_body);
    mail.addRecipient(m_recipient, 0);
    const bool login = !a.m_userName.empty() && !a.m_password.empty() && !a.m_smtpServer.empty();
    mail.setUserName(login ? a.m_userName : std::string());
    mail.setPassword(login ? a.m_password : std::string());
    mail.prepare();
    if (a.m_requiresSsl && mail.initSslTls() != 0) {
        m_sink.setResultMail(m_row, kMsgSslInitFailed);
        return;
    }
    if (mail.sendMail() == 0) {
        // Only the test mail, which has no row, is announced.
        if (m_announceSent && m_row < 0) {
            m_sink.showMessage(kMsgMessageSent);
        }
        return;
    }
    m_sink.setResultMail(m_row, mail.getLastErrDescription());
}

}  // namespace tarnwick
