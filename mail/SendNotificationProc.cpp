#include "mail/SendNotificationProc.h"

#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "mail/NotificationLetter.h"
#include "store/DataFolder.h"

namespace tarnwick {

int sendNotificationProc(const NotificationJob& job, NotificationSink& sink,
                         const SmtpClient::Limits& limits, std::atomic<bool>* emptyShown,
                         const std::function<void()>& beforeSend) {
    const DataFolder folder = DataFolder::fromEnvironment();
    MailSender sender(sink, job.m_row);
    sender.m_subject = notificationSubject(job.m_advertiser, job.m_page);
    sender.m_body = buildNotificationLetter(job.m_advertiser, job.m_page);

    const NotificationMailSettings settings = readMailSettingsForNotification(folder.mailPath());
    if (settings.m_state == MailFileState::Missing) {
        sink.setResultMail(job.m_row, kMsgMailSettingsNotProvided);
        return 1;
    }
    if (settings.m_state == MailFileState::Empty) {
        if (emptyShown == nullptr || !emptyShown->exchange(true)) {
            sink.showMessage(kMsgFirstEnterMailSettings);
        }
        return 1;
    }
    sender.m_account = settings.m_account;
    sender.m_limits = limits;
    sender.m_recipient = job.m_mail;
    if (sender.m_mail != nullptr) {
        if (beforeSend) {
            beforeSend();
        }
        sender.send();
    }
    return 0;
}

}  // namespace tarnwick
