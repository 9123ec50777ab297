// A real SMTP server on 127.0.0.1 for one test (Debian's aiosmtpd, run by
// smtp_fixture.py): plain, STARTTLS or TLS from the first byte, with or
// without a required login. Started by the constructor, stopped by the
// destructor. Messages it accepts are read back with WaitForMail.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tarnwick::test {

// A test CA and a certificate for 127.0.0.1 signed by it, made once per
// process with openssl in a temporary folder.
struct TestCertificates {
    std::string m_caFile;
    std::string m_certFile;
    std::string m_keyFile;
    static const TestCertificates& get();
};

struct ReceivedMail {
    std::string m_mailFrom;
    std::string m_recipients;  // joined with ","
    std::string m_login;       // "" without a login
    bool m_tls = false;
    std::string m_raw;   // the message as the server received it
    std::string m_body;  // decoded body bytes
    std::string m_text;  // decoded body text, UTF-8
};

class SmtpTestServer {
public:
    enum class Mode { Plain, StartTls, ImplicitTls };
    static constexpr char kUser[] = "sender@example.com";
    static constexpr char kPassword[] = "s3cret pass";

    // port 0: any free port. Started() is false when the port could not be
    // had (for 465 without the right to bind it).
    explicit SmtpTestServer(Mode mode, bool auth = false, int port = 0);
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    bool started() const { return m_port > 0; }
    int port() const { return m_port; }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    const std::string& failure() const { return m_failure; }

    // Waits until count messages have arrived (or the time is up) and
    // returns those that have.
    std::vector<ReceivedMail> waitForMail(
        size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) const;
    std::vector<ReceivedMail> mail() const;
    // From now on the reply to DATA comes this long after the message has
    // arrived (and is in Mail()); 0: at once.
    void delayReplies(std::chrono::milliseconds delay) const;

private:
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_folder;
    std::string m_failure;
};

}  // namespace tarnwick::test
