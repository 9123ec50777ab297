#include "mail/SendNotificationProc.h"

#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "mail/NotificationLetter.h"
#include "store/DataFolder.h"

namespace tarnwick {

int SendNotificationProc(const NotificationJob& job, NotificationSink& sink,
                         std::atomic<bool>* emptyShown, const std::function<void()>& beforeSend) {
    const DataFolder folder = DataFolder::FromEnvironment();
    MailSender sender(sink, job.m_nRow);
    sender.m_strSubject = NotificationSubject(job.m_strAdvertiser, job.m_strPage);
    sender.m_strBody = BuildNotificationLetter(job.m_strAdvertiser, job.m_strPage);

    const NotificationMailSettings settings = ReadMailSettingsForNotification(folder.MailPath());
    if (settings.m_state == MailFileState::Missing) {
        sink.SetResultMail(job.m_nRow, kMsgMailSettingsNotProvided);
        return 1;
    }
    if (settings.m_state == MailFileState::Empty) {
        if (emptyShown == nullptr || !emptyShown->exchange(true)) {
            sink.ShowMessage(kMsgFirstEnterMailSettings);
        }
        return 1;
    }
    sender.m_account = settings.m_account;
    sender.m_strRecipient = job.m_strMail;
    if (sender.m_pMail != nullptr) {
        if (beforeSend) {
            beforeSend();
        }
        sender.Send();
    }
    return 0;
}

}  // namespace tarnwick
