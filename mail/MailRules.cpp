#include "mail/MailRules.h"

namespace tarnwick {
namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string trimWhiteSpace(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isWhiteSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isWhiteSpace(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

bool isValidMailAddress(std::string_view address) {
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

bool isValidSmtpServer(std::string_view server) {
    const size_t dot = server.find('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    return !server.substr(dot + 1).empty();
}

std::string checkSettingsForSave(MailSettings& settings) {
    settings.m_smtpServer = trimWhiteSpace(settings.m_smtpServer);
    settings.m_password = trimWhiteSpace(settings.m_password);
    settings.m_userName = trimWhiteSpace(settings.m_userName);
    settings.m_sender = trimWhiteSpace(settings.m_sender);
    if (settings.m_sender.empty()) {
        return kMsgSpecifySender;
    }
    if (!isValidMailAddress(settings.m_sender)) {
        return kMsgIncorrectMail;
    }
    if (!isValidSmtpServer(settings.m_smtpServer)) {
        return kMsgIncorrectSmtp;
    }
    if (settings.m_requiresSsl) {
        if (settings.m_userName.empty()) {
            return kMsgSpecifyUser;
        }
        if (!isValidMailAddress(settings.m_userName)) {
            return kMsgIncorrectMail;
        }
        if (settings.m_password.empty()) {
            return kMsgSpecifyPassword;
        }
    }
    return {};
}

std::string checkTestMail(bool sendNotification, MailSettings& account, std::string& testAddress) {
    if (!sendNotification) {
        return kMsgSpecifySettings;
    }
    if (!isValidMailAddress(account.m_sender)) {
        return kMsgIncorrectMail;
    }
    if (!isValidSmtpServer(account.m_smtpServer)) {
        return kMsgIncorrectSmtp;
    }
    if (account.m_requiresSsl) {
        account.m_userName = trimWhiteSpace(account.m_userName);
        if (account.m_userName.empty()) {
            return kMsgSpecifyUser;
        }
        if (!isValidMailAddress(account.m_userName)) {
            return kMsgIncorrectMail;
        }
        account.m_password = trimWhiteSpace(account.m_password);
        if (account.m_password.empty()) {
            return kMsgSpecifyPassword;
        }
    }
    testAddress = trimWhiteSpace(testAddress);
    if (testAddress.empty()) {
        return kMsgEmptyReceiver;
    }
    if (!isValidMailAddress(testAddress)) {
        return kMsgIncorrectMail;
    }
    return {};
}

}  // namespace tarnwick
