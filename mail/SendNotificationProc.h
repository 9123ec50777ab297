// The webmaster letter for one page whose link is gone: reads Mail.txt,
// makes a sender and sends. Runs on a sending thread of the
// NotificationQueue; failures go to column 2 of the job's row through sink.
#pragma once

#include <atomic>
#include <functional>

#include "mail/NotificationJob.h"
#include "mail/NotificationSink.h"
#include "mail/SmtpClient.h"

namespace tarnwick {

inline constexpr char kMsgMailSettingsNotProvided[] = "Mail Settings Not provided";
inline constexpr char kMsgFirstEnterMailSettings[] = "First Enter The Mail Settings";

// Returns 1 when it stopped before sending (no or empty Mail.txt), 0 after a
// send attempt. An empty Mail.txt shows "First Enter The Mail Settings";
// when emptyShown is given, only the first caller that finds it unset shows
// it (once per run). beforeSend, when given, runs right before the SMTP
// exchange begins (not when it stops before). The send is bounded by limits.
int sendNotificationProc(const NotificationJob& job, NotificationSink& sink,
                         const SmtpClient::Limits& limits = {},
                         std::atomic<bool>* emptyShown = nullptr,
                         const std::function<void()>& beforeSend = {});

}  // namespace tarnwick
