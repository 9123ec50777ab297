// The one SMTP account, kept in Mail.txt in the data folder:
//   line 1  sender's address (From)
//   line 2  SMTP server, "host" or "host:port"
//   line 3  "1"          } only when the server
//   line 4  user name    } requires SSL
//   line 5  password     }
// CR LF between lines, none after the last. The file holds a password, so it
// is readable and writable by its owner only. Its mere existence means that
// notifications are configured.
//
// Two readers exist on purpose: the settings dialog stops at the first empty
// line and loads lines 4 and 5 only when line 3 is exactly "1"; the
// notification reader takes every line as it comes and reads line 3 as a number.
#pragma once

#include <string>

namespace tarnwick {

// The account as one value, from the dialog's fields through Mail.txt to the
// sender of every letter.
struct MailSettings {
    std::string m_sender;
    std::string m_smtpServer;
    bool m_requiresSsl = false;
    std::string m_userName;
    std::string m_password;
    bool operator==(const MailSettings&) const = default;
};

// Writes the settings as the whole new content of path, mode 0600; user name
// and password only when SSL is on. The file is written as path + ".new" and
// renamed over path, so a failed save leaves the previous file as it was.
// Throws FileError naming the file when it cannot be created or written.
void writeMailSettings(const std::string& path, const MailSettings& settings);

// The settings dialog's reader. A missing file gives empty settings (the
// caller tests whether the file exists).
MailSettings readMailSettingsForDialog(const std::string& path);

// What the notification reader found.
enum class MailFileState {
    Missing,  // the file cannot be opened
    Empty,    // the file has no line at all
    Read,     // the settings below hold what the file gave
};

struct NotificationMailSettings {
    MailFileState m_state = MailFileState::Missing;
    // Line 3 read like C's atoi gives m_requiresSsl; lines 4 and 5 are taken
    // whatever it says.
    MailSettings m_account;
};

NotificationMailSettings readMailSettingsForNotification(const std::string& path);

// Line 3 as the notification reader takes it: leading white space skipped, an
// optional sign, then decimal digits up to the first other character; no
// digits is 0. Returns whether that number is non-zero.
bool sslFlagFromLine(const std::string& line);

}  // namespace tarnwick
