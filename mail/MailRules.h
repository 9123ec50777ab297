// Rules of the mail settings and the test mail, free of any window: the
// dialog copies its controls in, calls one of the checks below and shows the
// message it returns.
#pragma once

#include <string>
#include <string_view>

#include "mail/MailSettings.h"

namespace tarnwick {

// Messages of the settings dialog.
inline constexpr char kMsgSpecifySender[] = "Please specify sender's e-mail address";
inline constexpr char kMsgIncorrectMail[] = "Incorrect Mail Address";
inline constexpr char kMsgIncorrectSmtp[] = "Incorrect SMTP Address";
inline constexpr char kMsgSpecifyUser[] = "Please Specify User name";
inline constexpr char kMsgSpecifyPassword[] = "Please Specify Password";
inline constexpr char kMsgSpecifySettings[] = "Please specify the settings above";
inline constexpr char kMsgEmptyReceiver[] = "Empty Reciever's Mail Address";

// Leading and trailing blanks, tabs, CR, LF, VT and FF removed.
std::string trimWhiteSpace(std::string_view text);

// The mail address rule: something before the first at sign, and after it a
// part with a dot that is neither its first character nor followed by nothing.
// Applied to the address as it is (not trimmed).
bool isValidMailAddress(std::string_view address);

// The SMTP server rule: a first dot that is neither the first character nor
// the last.
bool isValidSmtpServer(std::string_view server);

// Save: trims sender, server, user name and password in place, then checks
// them in the order the user meets the messages. Returns the message to show,
// or "" when the settings may be written.
std::string checkSettingsForSave(MailSettings& settings);

// Send: the checks before a test mail, in order, on the fields as the dialog
// holds them. Sender and server are used as typed; user name and password are
// trimmed in place when SSL is on, the test address always. Returns the
// message to show, or "" when the test mail may go.
std::string checkTestMail(bool sendNotification, MailSettings& account, std::string& testAddress);

}  // namespace tarnwick
