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
    std::string m_strCaFile;
    std::string m_strCertFile;
    std::string m_strKeyFile;
    static const TestCertificates& Get();
};

struct ReceivedMail {
    std::string m_strMailFrom;
    std::string m_strRecipients;  // joined with ","
    std::string m_strLogin;       // "" without a login
    bool m_bTls = false;
    std::string m_strRaw;   // the message as the server received it
    std::string m_strBody;  // decoded body bytes
    std::string m_strText;  // decoded body text, UTF-8
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

    bool Started() const { return m_nPort > 0; }
    int Port() const { return m_nPort; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_nPort); }
    const std::string& Failure() const { return m_strFailure; }

    // Waits until count messages have arrived (or the time is up) and
    // returns those that have.
    std::vector<ReceivedMail> WaitForMail(
        size_t count, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) const;
    std::vector<ReceivedMail> Mail() const;
    // From now on the reply to DATA comes this long after the message has
    // arrived (and is in Mail()); 0: at once.
    void delayReplies(std::chrono::milliseconds delay) const;

private:
    pid_t m_pid = -1;
    int m_nPort = 0;
    std::string m_strFolder;
    std::string m_strFailure;
};

// A port on 127.0.0.1 where nothing listens.
int DeadPort();

}  // namespace tarnwick::test
