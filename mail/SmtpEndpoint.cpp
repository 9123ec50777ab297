#include "mail/SmtpEndpoint.h"

#include "mail/MailRules.h"

namespace tarnwick {
namespace {

constexpr int kSmtpPort = 25;
constexpr int kSmtpsPort = 465;

bool isHostNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool isIpv6Char(char c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' ||
           c == '.';
}

bool parsePort(std::string_view text, int& port) {
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

std::string printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b < 0x20 || b == 0x7F ? '?' : c);
    }
    return out;
}

}  // namespace

std::string SmtpEndpoint::url() const {
    return std::string(m_implicitTls ? "smtps://" : "smtp://") + hostAndPort();
}

std::string SmtpEndpoint::hostAndPort() const {
    return m_host + ":" + std::to_string(m_port);
}

bool parseSmtpServer(std::string_view server, bool ssl, SmtpEndpoint& endpoint,
                     std::string& error) {
    const std::string text = trimWhiteSpace(server);
    const auto bad = [&] {
        error = "The SMTP server address \"" + printable(text) +
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
            if (!isIpv6Char(text[i])) {
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
            if (!isHostNameChar(c)) {
                return bad();
            }
        }
    }
    int port = 0;
    if (hasPort && !parsePort(portText, port)) {
        return bad();
    }
    SmtpEndpoint result;
    result.m_host = host;
    if (!ssl) {
        result.m_port = hasPort ? port : kSmtpPort;
    } else if (!hasPort || port == kSmtpsPort) {
        result.m_port = kSmtpsPort;
        result.m_implicitTls = true;
    } else {
        result.m_port = port;
        result.m_startTls = true;
    }
    endpoint = result;
    error.clear();
    return true;
}

}  // namespace tarnwick
