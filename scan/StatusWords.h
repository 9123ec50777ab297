// The words a scan run writes into the results pane besides the Status
// (LinkResult, ProfileStatus and ResultRow make those).
#pragma once

#include "mail/SmtpClient.h"

namespace tarnwick {

// Results pane, "Mail Address" column: the start of the text that replaces
// the address when a letter is held back, followed by the reason.
inline constexpr const char* kNotMailed = "Not mailed: ";

// Results pane, "Email Notification" column.
inline constexpr const char* kEnabled = "Enabled";
inline constexpr const char* kDisabled = "Disabled";

// A letter still queued when the command line could wait no longer.
inline constexpr const char* kNotSentNoTime = SmtpClient::kNoTimeLeft;
// A letter still queued when the command line's scan was interrupted
// (SIGINT, SIGTERM).
inline constexpr const char* kNotSentInterrupted = "Not sent: the scan was interrupted";
// A letter still queued when the user quit the desktop program without it.
inline constexpr const char* kNotSentQuit = "Not sent: the program was quit before it went out";

}  // namespace tarnwick
