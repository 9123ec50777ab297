#include "mail/MailSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/FileError.h"
#include "store/StoreLineReader.h"

namespace tarnwick {
namespace {

void WriteAll(int fd, const std::string& bytes, const std::string& path) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = errno;
            ::close(fd);
            throw FileError(path, err);
        }
        done += static_cast<size_t>(n);
    }
}

}  // namespace

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
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw FileError(path, errno);
    }
    // A file made earlier with wider permissions is narrowed before the
    // password goes in.
    if (::fchmod(fd, 0600) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError(path, err);
    }
    WriteAll(fd, bytes, path);
    if (::fsync(fd) != 0 && errno != EINVAL) {
        const int err = errno;
        ::close(fd);
        throw FileError(path, err);
    }
    if (::close(fd) != 0) {
        throw FileError(path, errno);
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
