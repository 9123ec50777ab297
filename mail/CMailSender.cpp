#include "mail/CMailSender.h"

namespace tarnwick {

std::atomic<bool> g_bAnnounceSent{false};

CMailSender::CMailSender(NotificationSink& sink, int row) : m_nRow(row), m_sink(sink) {
    Initialize();
}

CMailSender::~CMailSender() = default;

bool CMailSender::Initialize() {
    m_pMail = CSmtpMail::Create();
    if (m_pMail == nullptr) {
        m_sink.SetResultMail(m_nRow, kMsgSmtpNotInstalled);
        m_sink.SetResultMail(m_nRow, kMsgFailToInitialize);
        return false;
    }
    return true;
}

void CMailSender::Send() {
    if (m_pMail == nullptr) {
        return;
    }
    CSmtpMail& mail = *m_pMail;
    mail.SetFromAddr(m_strFrom);
    mail.SetServerAddr(m_strServer);
    mail.SetSubject(m_strSubject);
    mail.SetBodyText(m_strBody);
    mail.AddRecipient(m_strRecipient, 0);
    const bool login = !m_strUserName.empty() && !m_strPassword.empty() && !m_strServer.empty();
    mail.SetUserName(login ? m_strUserName : std::string());
    mail.SetPassword(login ? m_strPassword : std::string());
    mail.Prepare();
    if (m_bSsl != 0 && mail.InitSslTls() != 0) {
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
