#include "mail/SmtpTestServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tarnwick::test {
namespace {

std::string makeTempFolder(const char* tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                          "/tarnwick-" + tag + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

struct CertificateFolder {
    TestCertificates m_certs;
    std::string m_folder;
    CertificateFolder() {
        m_folder = makeTempFolder("certs");
        const std::string d = m_folder;
        std::ofstream(d + "/ext.cnf") << "basicConstraints=CA:FALSE\n"
                                         "keyUsage=digitalSignature,keyEncipherment\n"
                                         "extendedKeyUsage=serverAuth\n"
                                         "subjectAltName=IP:127.0.0.1,DNS:localhost\n";
        const std::string quiet = " >/dev/null 2>&1";
        run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
            " -subj '/CN=Tarnwick Test CA' -addext basicConstraints=critical,CA:TRUE"
            " -addext keyUsage=critical,keyCertSign,cRLSign -keyout " +
            d + "/ca.key -out " + d + "/ca.pem" + quiet);
        run("openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
            " -subj '/CN=localhost' -keyout " +
            d + "/server.key -out " + d + "/server.csr" + quiet);
        run("openssl x509 -req -in " + d + "/server.csr -CA " + d + "/ca.pem -CAkey " + d +
            "/ca.key -CAcreateserial -days 2 -extfile " + d + "/ext.cnf -out " + d + "/server.pem" +
            quiet);
        m_certs.m_caFile = d + "/ca.pem";
        m_certs.m_certFile = d + "/server.pem";
        m_certs.m_keyFile = d + "/server.key";
    }
    ~CertificateFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
};

const char* modeName(SmtpTestServer::Mode mode) {
    switch (mode) {
        case SmtpTestServer::Mode::Plain:
            return "plain";
        case SmtpTestServer::Mode::StartTls:
            return "starttls";
        case SmtpTestServer::Mode::ImplicitTls:
            return "implicit";
    }
    return "plain";
}

}  // namespace

const TestCertificates& TestCertificates::get() {
    static CertificateFolder folder;
    return folder.m_certs;
}

SmtpTestServer::SmtpTestServer(Mode mode, bool auth, int port) {
    const TestCertificates& certs = TestCertificates::get();
    m_folder = makeTempFolder("smtp");
    const char* python = std::getenv("TARNWICK_TEST_PYTHON");
    const char* source = std::getenv("TARNWICK_SOURCE_DIR");
    const std::string interpreter = python != nullptr ? python : "/usr/bin/python3";
    const std::string script =
        std::string(source != nullptr ? source : ".") + "/tests/mail/smtp_fixture.py";
    const std::string portText = std::to_string(port);
    const std::string logPath = m_folder + "/server.log";

    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(pipeFds[1], STDOUT_FILENO);
        // The server's own log (tracebacks of refused handshakes) stays out of
        // the test output.
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (log >= 0) {
            dup2(log, STDERR_FILENO);
        }
        close(pipeFds[0]);
        close(pipeFds[1]);
        execl(interpreter.c_str(), interpreter.c_str(), script.c_str(), modeName(mode),
              auth ? "1" : "0", m_folder.c_str(), certs.m_certFile.c_str(), certs.m_keyFile.c_str(),
              portText.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd pfd{pipeFds[0], POLLIN, 0};
        if (poll(&pfd, 1, 200) > 0) {
            char buffer[256];
            const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            line.append(buffer, static_cast<size_t>(n));
        }
    }
    close(pipeFds[0]);
    if (line.rfind("PORT ", 0) == 0) {
        m_port = std::atoi(line.c_str() + 5);
    } else {
        m_failure = line.empty() ? "the SMTP fixture did not start" : line;
        m_failure += readFile(logPath);
    }
}

SmtpTestServer::~SmtpTestServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}

void SmtpTestServer::delayReplies(std::chrono::milliseconds delay) const {
    std::ofstream(m_folder + "/reply-delay") << static_cast<double>(delay.count()) / 1000.0;
}

std::vector<ReceivedMail> SmtpTestServer::mail() const {
    std::vector<ReceivedMail> all;
    for (int n = 1;; ++n) {
        const std::string base = m_folder + "/" + std::to_string(n);
        if (!std::filesystem::exists(base + ".done")) {
            break;
        }
        ReceivedMail mail;
        std::istringstream env(readFile(base + ".env"));
        std::string tls;
        std::getline(env, mail.m_mailFrom);
        std::getline(env, mail.m_recipients);
        std::getline(env, mail.m_login);
        std::getline(env, tls);
        mail.m_tls = tls == "tls";
        mail.m_raw = readFile(base + ".raw");
        mail.m_body = readFile(base + ".body");
        mail.m_text = readFile(base + ".text");
        all.push_back(std::move(mail));
    }
    return all;
}

std::vector<ReceivedMail> SmtpTestServer::waitForMail(size_t count,
                                                      std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<ReceivedMail> all = mail();
    while (all.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        all = mail();
    }
    return all;
}

}  // namespace tarnwick::test
