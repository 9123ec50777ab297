#include "mail/SmtpEndpoint.h"

#include "mail/MailRules.h"

namespace tarnwick {
namespace {

constexpr int kSmtpPort = 25;
constexpr int kSmtpsPort = 465;

bool IsHostNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool IsIpv6Char(char c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' ||
           c == '.';
}

bool ParsePort(std::string_view text, int& port) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) {
        return false;
    }
    port = value;
    return true;
}

std::string Printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b < 0x20 || b == 0x7F ? '?' : c);
    }
    return out;
}

}  // namespace

std::string SmtpEndpoint::Url() const {
    return std::string(m_bImplicitTls ? "smtps://" : "smtp://") + HostAndPort();
}

std::string SmtpEndpoint::HostAndPort() const {
    return m_strHost + ":" + std::to_string(m_nPort);
}

bool ParseSmtpServer(std::string_view server, bool ssl, SmtpEndpoint& endpoint,
                     std::string& error) {
    const std::string text = TrimWhiteSpace(server);
    const auto bad = [&] {
        error = "The SMTP server address \"" + Printable(text) +
                "\" is not valid: give a host name, optionally followed by \":\" and a port "
                "number.";
        return false;
    };
    if (text.empty()) {
        error = "No SMTP server address is given.";
        return false;
    }
    std::string host;
    std::string_view portText;
    bool hasPort = false;
    if (text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos || close < 3) {
            return bad();
        }
        host = text.substr(0, close + 1);
        for (size_t i = 1; i < close; ++i) {
            if (!IsIpv6Char(text[i])) {
                return bad();
            }
        }
        const std::string_view rest = std::string_view(text).substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return bad();
            }
            portText = rest.substr(1);
            hasPort = true;
        }
    } else {
        const size_t colon = text.find(':');
        host = text.substr(0, colon);
        if (colon != std::string::npos) {
            portText = std::string_view(text).substr(colon + 1);
            hasPort = true;
        }
        if (host.empty() || host.front() == '.' || host.front() == '-') {
            return bad();
        }
        for (char c : host) {
            if (!IsHostNameChar(c)) {
                return bad();
            }
        }
    }
    int port = 0;
    if (hasPort && !ParsePort(portText, port)) {
        return bad();
    }
    SmtpEndpoint result;
    result.m_strHost = host;
    if (!ssl) {
        result.m_nPort = hasPort ? port : kSmtpPort;
    } else if (!hasPort || port == kSmtpsPort) {
        result.m_nPort = kSmtpsPort;
        result.m_bImplicitTls = true;
    } else {
        result.m_nPort = port;
        result.m_bStartTls = true;
    }
    endpoint = result;
    error.clear();
    return true;
}

}  // namespace tarnwick
