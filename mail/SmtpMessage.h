// The message the SMTP component hands to the server: header lines, then the
// 8-bit Windows-1252 body in quoted-printable, so that every byte arrives
// intact through any server; CR LF line ends throughout. Dot-stuffing is done
// on the wire by libcurl, not here.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

struct SmtpMessage {
    std::string m_from;
    std::vector<std::string> m_recipients;
    std::string m_subject;
    std::string m_body;  // line breaks as "\n", "\r\n" or "\r"
    std::time_t m_tDate = 0;
    std::string m_messageId;  // without the angle brackets

    // Date, From, To, Subject, Message-ID, MIME-Version, Content-Type,
    // Content-Transfer-Encoding, an empty line and the encoded body.
    std::string build() const;
};

// Each line of text encoded on its own; lines end with CR LF (also the last),
// no encoded line is longer than 76 characters.
std::string encodeQuotedPrintable(std::string_view text);

// "Tue, 03 Mar 2026 14:05:09 +0100", in local time, with English names.
std::string formatMailDate(std::time_t when);

// The subject as it may stand in a header: plain when it is printable ASCII,
// else encoded words in Windows-1252. Control characters become blanks.
std::string encodeSubject(std::string_view subject);

// A unique message identifier in the sender's domain (without brackets).
std::string makeMessageId(std::string_view from);

}  // namespace tarnwick
