#include "mail/MailSettings.h"

#include "store/FileError.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {

void WriteMailSettings(const std::string& path, const MailSettings& settings) {
    std::string bytes = settings.m_strSender;
    bytes += "\r\n";
    bytes += settings.m_strSmtpServer;
    if (settings.m_bRequiresSsl) {
        bytes += "\r\n1\r\n";
        bytes += settings.m_strUserName;
        bytes += "\r\n";
        bytes += settings.m_strPassword;
    }
    // Through a temporary beside the file, so a crash or a full disk never
    // leaves the account half written; 0600 from the first byte.
    try {
        StoreFileWriter file(path + ".new", 0600);
        file.WriteRaw(bytes);
        file.CommitOver(path);
    } catch (const FileError& error) {
        throw FileError(path, error.ErrorCode());  // the user knows Mail.txt only
    }
}

MailSettings ReadMailSettingsForDialog(const std::string& path) {
    MailSettings settings;
    StoreLineReader reader(path);
    std::string line;
    if (!reader.ReadStoreLine(line)) {
        return settings;
    }
    settings.m_strSender = line;
    if (!reader.ReadStoreLine(line)) {
        return settings;
    }
    settings.m_strSmtpServer = line;
    if (!reader.ReadStoreLine(line) || line != "1") {
        return settings;
    }
    settings.m_bRequiresSsl = true;
    if (!reader.ReadStoreLine(line)) {
        return settings;
    }
    settings.m_strUserName = line;
    if (!reader.ReadStoreLine(line)) {
        return settings;
    }
    settings.m_strPassword = line;
    return settings;
}

bool SslFlagFromLine(const std::string& line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) {
        ++i;
    }
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        ++i;
    }
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (line[i] != '0') {
            return true;
        }
    }
    return false;
}

NotificationMailSettings ReadMailSettingsForNotification(const std::string& path) {
    NotificationMailSettings settings;
    StoreLineReader reader(path);
    if (!reader.IsOpen()) {
        return settings;
    }
    std::string line;
    if (!reader.ReadLine(line)) {
        settings.m_state = MailFileState::Empty;
        return settings;
    }
    settings.m_state = MailFileState::Read;
    MailSettings& account = settings.m_account;
    account.m_strSender = line;
    if (reader.ReadLine(line)) {
        account.m_strSmtpServer = line;
    } else {
        return settings;
    }
    if (reader.ReadLine(line)) {
        account.m_bRequiresSsl = SslFlagFromLine(line);
    } else {
        return settings;
    }
    if (reader.ReadLine(line)) {
        account.m_strUserName = line;
    } else {
        return settings;
    }
    if (reader.ReadLine(line)) {
        account.m_strPassword = line;
    }
    return settings;
}

}  // namespace tarnwick
