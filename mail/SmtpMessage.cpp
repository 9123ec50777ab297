#include "mail/SmtpMessage.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

namespace tarnwick {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr size_t kMaxEncodedLine = 76;

void appendHexByte(std::string& out, unsigned char b) {
    out.push_back('=');
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0x0F]);
}

void encodeLine(std::string_view line, std::string& out) {
    std::string current;
    for (size_t i = 0; i < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        std::string token;
        if ((b >= 33 && b <= 126 && b != '=') || ((b == ' ' || b == '\t') && !last)) {
            token.push_back(static_cast<char>(b));
        } else {
            appendHexByte(token, b);
        }
        // Leave room for the "=" of a soft line break.
        if (current.size() + token.size() > kMaxEncodedLine - 1) {
            out += current;
            out += "=\r\n";
            current.clear();
        }
        current += token;
    }
    out += current;
    out += "\r\n";
}

bool isDomainChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

}  // namespace

std::string encodeQuotedPrintable(std::string_view text) {
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            if (start < text.size()) {
                encodeLine(text.substr(start), out);
            }
            break;
        }
        encodeLine(text.substr(start, end - start), out);
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return out;
}

std::string formatMailDate(std::time_t when) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    localtime_r(&when, &local);
    long offset = local.tm_gmtoff / 60;
    const char sign = offset < 0 ? '-' : '+';
    if (offset < 0) {
        offset = -offset;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[local.tm_wday % 7], local.tm_mday, kMonths[local.tm_mon % 12],
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, sign,
                  offset / 60, offset % 60);
    return buffer;
}

std::string encodeSubject(std::string_view subject) {
    std::string clean;
    bool plain = true;
    for (char c : subject) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            clean.push_back(' ');
            continue;
        }
        if (b >= 0x80) {
            plain = false;
        }
        clean.push_back(c);
    }
    // "=?" would start an encoded word: such a subject is encoded as well.
    if (plain && clean.find("=?") == std::string::npos) {
        return clean;
    }
    // Encoded words of at most 75 characters, folded onto continuation lines.
    constexpr std::string_view kOpen = "=?windows-1252?Q?";
    constexpr std::string_view kClose = "?=";
    constexpr size_t kMaxWord = 75;
    std::string out;
    std::string word(kOpen);
    for (char c : clean) {
        const auto b = static_cast<unsigned char>(c);
        std::string token;
        if (b == ' ') {
            token = "_";
        } else if ((b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                   b == '!' || b == '*' || b == '+' || b == '-' || b == '/') {
            token.push_back(c);
        } else {
            appendHexByte(token, b);
        }
        if (word.size() + token.size() + kClose.size() > kMaxWord) {
            out += word;
            out += kClose;
            out += "\r\n ";
            word = kOpen;
        }
        word += token;
    }
    out += word;
    out += kClose;
    return out;
}

std::string makeMessageId(std::string_view from) {
    static std::atomic<unsigned> counter{0};
    std::string domain;
    const size_t at = from.rfind('@');
    if (at != std::string_view::npos) {
        domain = std::string(from.substr(at + 1));
    }
    bool usable = !domain.empty() && domain.front() != '.' && domain.back() != '.';
    for (char c : domain) {
        usable = usable && isDomainChar(c);
    }
    if (!usable) {
        domain = "tarnwick.localdomain";
    }
    std::random_device random;
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%lld.%08x%08x.%u.tarnwick@", static_cast<long long>(now),
                  random(), random(), counter.fetch_add(1));
    return buffer + domain;
}

std::string SmtpMessage::build() const {
    std::string to;
    for (const std::string& recipient : m_recipients) {
        if (!to.empty()) {
            to += ", ";
        }
        to += recipient;
    }
    std::string message;
    message += "Date: " + formatMailDate(m_tDate) + "\r\n";
    message += "From: " + m_from + "\r\n";
    message += "To: " + to + "\r\n";
    message += "Subject: " + encodeSubject(m_subject) + "\r\n";
    message += "Message-ID: <" + m_messageId + ">\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: text/plain; charset=windows-1252\r\n";
    message += "Content-Transfer-Encoding: quoted-printable\r\n";
    message += "\r\n";
    message += encodeQuotedPrintable(m_body);
    return message;
}

}  // namespace tarnwick
