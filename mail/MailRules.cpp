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

std::string CheckTestMail(TestMailFields& fields) {
    if (!fields.m_bSendNotification) {
        return kMsgSpecifySettings;
    }
    if (!IsValidMailAddress(fields.m_strSender)) {
        return kMsgIncorrectMail;
    }
    if (!IsValidSmtpServer(fields.m_strSmtpServer)) {
        return kMsgIncorrectSmtp;
    }
    if (fields.m_bRequiresSsl) {
        fields.m_strUserName = TrimWhiteSpace(fields.m_strUserName);
        if (fields.m_strUserName.empty()) {
            return kMsgSpecifyUser;
        }
        if (!IsValidMailAddress(fields.m_strUserName)) {
            return kMsgIncorrectMail;
        }
        fields.m_strPassword = TrimWhiteSpace(fields.m_strPassword);
        if (fields.m_strPassword.empty()) {
            return kMsgSpecifyPassword;
        }
    }
    fields.m_strTestAddress = TrimWhiteSpace(fields.m_strTestAddress);
    if (fields.m_strTestAddress.empty()) {
        return kMsgEmptyReceiver;
    }
    if (!IsValidMailAddress(fields.m_strTestAddress)) {
        return kMsgIncorrectMail;
    }
    return {};
}

}  // namespace tarnwick
