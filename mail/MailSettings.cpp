#include "mail/MailSettings.h"

#include "store/FileError.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {

void writeMailSettings(const std::string& path, const MailSettings& settings) {
    std::string bytes = settings.m_sender;
    bytes += "\r\n";
    bytes += settings.m_smtpServer;
    if (settings.m_requiresSsl) {
        bytes += "\r\n1\r\n";
        bytes += settings.m_userName;
        bytes += "\r\n";
        bytes += settings.m_password;
    }
    // Through a temporary beside the file, so a crash or a full disk never
    // leaves the account half written; 0600 from the first byte.
    try {
        StoreFileWriter file(path + ".new", 0600);
        file.writeRaw(bytes);
        file.commitOver(path);
    } catch (const FileError& error) {
        throw FileError(path, error.errorCode());  // the user knows Mail.txt only
    }
}

MailSettings readMailSettingsForDialog(const std::string& path) {
    MailSettings settings;
    StoreLineReader reader(path);
    std::string line;
    if (!reader.readStoreLine(line)) {
        return settings;
    }
    settings.m_sender = line;
    if (!reader.readStoreLine(line)) {
        return settings;
    }
    settings.m_smtpServer = line;
    if (!reader.readStoreLine(line) || line != "1") {
        return settings;
    }
    settings.m_requiresSsl = true;
    if (!reader.readStoreLine(line)) {
        return settings;
    }
    settings.m_userName = line;
    if (!reader.readStoreLine(line)) {
        return settings;
    }
    settings.m_password = line;
    return settings;
}

bool sslFlagFromLine(const std::string& line) {
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

NotificationMailSettings readMailSettingsForNotification(const std::string& path) {
    NotificationMailSettings settings;
    StoreLineReader reader(path);
    if (!reader.isOpen()) {
        return settings;
    }
    std::string line;
    if (!reader.readLine(line)) {
        settings.m_state = MailFileState::Empty;
        return settings;
    }
    settings.m_state = MailFileState::Read;
    MailSettings& account = settings.m_account;
    account.m_sender = line;
    if (reader.readLine(line)) {
        account.m_smtpServer = line;
    } else {
        return settings;
    }
    if (reader.readLine(line)) {
        account.m_requiresSsl = sslFlagFromLine(line);
    } else {
        return settings;
    }
    if (reader.readLine(line)) {
        account.m_userName = line;
    } else {
        return settings;
    }
    if (reader.readLine(line)) {
        account.m_password = line;
    }
    return settings;
}

}  // namespace tarnwick
