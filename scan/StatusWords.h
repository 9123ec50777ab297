// The words a scan run writes into the two panes. The list control colours
// them and the reports count them, so every comparison is exact.
#pragma once

#include "mail/SmtpClient.h"

namespace tarnwick {

// Results pane, "Status" column: the four page results and the stop mark.
inline constexpr const char* kLinkFound = "Link Found";
inline constexpr const char* kLinkNotFound = "Link Not Found";
inline constexpr const char* kPageCannotBeDisplayed = "Page cannot be displayed";
inline constexpr const char* kPageCannotBeFound = "Page Cannot be Found";
inline constexpr const char* kStoppedByUser = "Stopped by user";

// Profile pane, "Status" column.
inline constexpr const char* kWaiting = "Waiting...";
inline constexpr const char* kRunning = "Running...";
inline constexpr const char* kCompletedStep = "Completed.";  // done, run still going
inline constexpr const char* kCompleted = "Completed";       // the profile of the last page
inline constexpr const char* kStopped = "Stopped.";

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
