#include "mail/MailSender.h"

namespace tarnwick {

std::atomic<bool> g_bAnnounceSent{false};

MailSender::MailSender(NotificationSink& sink, int row) : m_nRow(row), m_sink(sink) {
    Initialize();
}

MailSender::~MailSender() = default;

bool MailSender::Initialize() {
    m_pMail = SmtpClient::Create();
    if (m_pMail == nullptr) {
        m_sink.SetResultMail(m_nRow, kMsgSmtpNotInstalled);
        m_sink.SetResultMail(m_nRow, kMsgFailToInitialize);
        return false;
    }
    return true;
}

void MailSender::Send() {
    if (m_pMail == nullptr) {
        return;
    }
    SmtpClient& mail = *m_pMail;
    const MailSettings& a = m_account;
    mail.SetFromAddr(a.m_strSender);
    mail.SetServerAddr(a.m_strSmtpServer);
    mail.SetSubject(m_strSubject);
    mail.SetBodyText(m_strBody);
    mail.AddRecipient(m_strRecipient, 0);
    const bool login =
        !a.m_strUserName.empty() && !a.m_strPassword.empty() && !a.m_strSmtpServer.empty();
    mail.SetUserName(login ? a.m_strUserName : std::string());
    mail.SetPassword(login ? a.m_strPassword : std::string());
    mail.Prepare();
    if (a.m_bRequiresSsl && mail.InitSslTls() != 0) {
        m_sink.SetResultMail(m_nRow, kMsgSslInitFailed);
        return;
    }
    if (mail.SendMail() == 0) {
        // Only the test mail, which has no row, is announced: a letter of a
        // run that happens to end while a test mail is on its way is not.
        if (g_bAnnounceSent && m_nRow < 0) {
            m_sink.ShowMessage(kMsgMessageSent);
        }
        return;
    }
    m_sink.SetResultMail(m_nRow, mail.GetLastErrDescription());
}

}  // namespace tarnwick
