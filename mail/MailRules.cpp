#include "mail/MailRules.h"

namespace tarnwick {
namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string TrimWhiteSpace(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsWhiteSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsWhiteSpace(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

bool IsValidMailAddress(std::string_view address) {
    const size_t at = address.find('@');
    if (at == std::string_view::npos || at == 0) {
        return false;
    }
    const std::string_view domain = address.substr(at + 1);
    const size_t dot = domain.find('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    return !domain.substr(dot + 1).empty();
}

bool IsValidSmtpServer(std::string_view server) {
    const size_t dot = server.find('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    return !server.substr(dot + 1).empty();
}

std::string CheckSettingsForSave(MailSettings& settings) {
    settings.m_strSmtpServer = TrimWhiteSpace(settings.m_strSmtpServer);
    settings.m_strPassword = TrimWhiteSpace(settings.m_strPassword);
    settings.m_strUserName = TrimWhiteSpace(settings.m_strUserName);
    settings.m_strSender = TrimWhiteSpace(settings.m_strSender);
    if (settings.m_strSender.empty()) {
        return kMsgSpecifySender;
    }
    if (!IsValidMailAddress(settings.m_strSender)) {
        return kMsgIncorrectMail;
    }
    if (!IsValidSmtpServer(settings.m_strSmtpServer)) {
        return kMsgIncorrectSmtp;
    }
    if (settings.m_bRequiresSsl) {
        if (settings.m_strUserName.empty()) {
            return kMsgSpecifyUser;
        }
        if (!IsValidMailAddress(settings.m_strUserName)) {
            return kMsgIncorrectMail;
        }
        if (settings.m_strPassword.empty()) {
            return kMsgSpecifyPassword;
        }
    }
    return {};
}

std::string CheckTestMail(bool sendNotification, MailSettings& account, std::string& testAddress) {
    if (!sendNotification) {
        return kMsgSpecifySettings;
    }
    if (!IsValidMailAddress(account.m_strSender)) {
        return kMsgIncorrectMail;
    }
    if (!IsValidSmtpServer(account.m_strSmtpServer)) {
        return kMsgIncorrectSmtp;
    }
    if (account.m_bRequiresSsl) {
        account.m_strUserName = TrimWhiteSpace(account.m_strUserName);
        if (account.m_strUserName.empty()) {
            return kMsgSpecifyUser;
        }
        if (!IsValidMailAddress(account.m_strUserName)) {
            return kMsgIncorrectMail;
        }
        account.m_strPassword = TrimWhiteSpace(account.m_strPassword);
        if (account.m_strPassword.empty()) {
            return kMsgSpecifyPassword;
        }
    }
    testAddress = TrimWhiteSpace(testAddress);
    if (testAddress.empty()) {
        return kMsgEmptyReceiver;
    }
    if (!IsValidMailAddress(testAddress)) {
        return kMsgIncorrectMail;
    }
    return {};
}

}  // namespace tarnwick
