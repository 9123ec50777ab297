// Where and how the SMTP component connects, from the server text "host" or
// "host:port" and whether SSL is wanted:
//   no SSL                 plain SMTP, port 25 unless given
//   SSL, no port or 465    TLS from the first byte (smtps) on 465
//   SSL, any other port    plain connection that must switch to TLS with
//                          STARTTLS before anything else; never falls back
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

struct SmtpEndpoint {
    std::string m_host;  // as it stands in a URL (an IPv6 address in brackets)
    int m_port = 25;
    bool m_implicitTls = false;
    bool m_startTls = false;

    std::string url() const;          // "smtp://host:port" or "smtps://host:port"
    std::string hostAndPort() const;  // "host:port", for messages
    bool operator==(const SmtpEndpoint&) const = default;
};

// Fills endpoint and returns true; or returns false with a readable sentence
// in error when the text is no host with an optional port (blanks around the
// text are ignored).
bool parseSmtpServer(std::string_view server, bool ssl, SmtpEndpoint& endpoint, std::string& error);

}  // namespace tarnwick
