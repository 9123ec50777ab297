// Our SMTP component: one message, sent through libcurl. It offers the
// operations the mail sender calls, in this order:
//   SetFromAddr, SetServerAddr, SetSubject, SetBodyText, AddRecipient,
//   SetUserName, SetPassword, Prepare, InitSslTls (only when SSL is wanted),
//   SendMail, and GetLastErrDescription after a failed send.
//
// The server text is "host" or "host:port". Without SSL the mail goes as plain
// SMTP (port 25 unless given). After InitSslTls it goes over TLS: from the
// first byte on port 465 (no port or port 465 given), else through STARTTLS,
// which the server must offer. Certificates are always verified, against the
// system's CA store or the file named by SSL_CERT_FILE or CURL_CA_BUNDLE. With
// a user name and a password the component logs in (AUTH) when the server
// offers it, and only over an encrypted connection: without SSL it then
// requires STARTTLS, and a server without it gets no login and no mail. Every
// step is bounded by time-outs, the whole send by a total one (60 s unless
// the caller's limits say otherwise).
//
// Addresses holding control characters, blanks inside or angle brackets never
// reach the server: SendMail refuses them before it connects.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class MailDeadline;

class SmtpClient {
public:
    // How long a send may take: reaching the server, waiting for one reply
    // of the server, and the whole send (a letter is short: a send that takes
    // longer than a minute is a server that keeps the line open without
    // doing its part); and the deadline of the group of sends it belongs to,
    // if any (its owner keeps it alive while they run).
    struct Limits {
        long m_connectMs = 20000;
        long m_replySeconds = 60;
        long m_totalMs = 60000;
        const MailDeadline* m_deadline = nullptr;
    };

    // The component, or nullptr when it cannot be made (libcurl unusable).
    static std::unique_ptr<SmtpClient> create();
    ~SmtpClient();
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    void setFromAddr(const std::string& address);
    void setServerAddr(const std::string& server);
    void setSubject(const std::string& subject);
    void setBodyText(const std::string& body);  // 8-bit text, "\n" line breaks
    // kind is kept for the caller's sake (0: "To"). Returns how many
    // recipients the message has now.
    int addRecipient(const std::string& address, int kind);
    void setUserName(const std::string& userName);  // "" for no login
    void setPassword(const std::string& password);  // "" for no login
    // Readies the message for sending: forgets the last error and any earlier
    // SSL choice.
    void prepare();
    // Asks for TLS on the next send. 0 when TLS is available, else non-zero.
    int initSslTls();
    // Sends the message. 0 when the server accepted it, else non-zero with
    // the reason in GetLastErrDescription.
    int sendMail();
    // A readable sentence: what failed and the server's reply when there was
    // one. Empty after a successful send.
    std::string getLastErrDescription() const;

    // The limits of every later send of this component.
    void setLimits(const Limits& limits);
    // The error of a send the deadline ended.
    static constexpr const char* kNoTimeLeft = "Not sent: no time was left for the letter";

private:
    struct Impl;
    explicit SmtpClient(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tarnwick
