#include "mail/SmtpClient.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

#include "common/CurlSetup.h"
#include "mail/MailDeadline.h"
#include "mail/SmtpEndpoint.h"
#include "mail/SmtpMessage.h"

namespace tarnwick {
namespace {

bool deadlinePassed(const MailDeadline* deadline) {
    return deadline != nullptr && deadline->passed();
}

bool isControl(unsigned char b) {
    return b < 0x20 || b == 0x7F;
}

// The text with control characters shown as '?', for messages.
std::string printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        out.push_back(isControl(static_cast<unsigned char>(c)) ? '?' : c);
    }
    return out;
}

std::string trimBlanks(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

enum class AddressCheck { Good, Empty, Control, Unusable };

// Whether an address may go into the SMTP dialogue and a header. Blanks
// around it are dropped; anything that could change the meaning of a command
// or a header line is refused.
AddressCheck checkAddress(std::string_view raw, std::string& clean) {
    for (char c : raw) {
        if (isControl(static_cast<unsigned char>(c))) {
            return AddressCheck::Control;
        }
    }
    clean = trimBlanks(raw);
    if (clean.empty()) {
        return AddressCheck::Empty;
    }
    for (char c : clean) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || c == ' ' || c == '<' || c == '>' || c == ',' || c == ';') {
            return AddressCheck::Unusable;
        }
    }
    const size_t at = clean.rfind('@');
    if (at == std::string::npos || at == 0 || at + 1 == clean.size()) {
        return AddressCheck::Unusable;
    }
    return AddressCheck::Good;
}

std::string ehloName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    for (const char* p = name; *p != '\0'; ++p) {
        const char c = *p;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '.')) {
            return "localhost";
        }
    }
    return name;
}

// What the debug channel tells about the dialogue: the last command sent (its
// verb only, never an argument that could hold a secret) and the server's
// reply to it.
struct Dialogue {
    std::string m_pending;
    std::string m_replyLines;
    std::string m_verb;
    std::string m_recipient;
    std::string m_reply;  // "550 5.1.1 ...", lines joined with blanks
    long m_replyCode = 0;
    bool m_replyToVerb = false;  // m_reply answers m_verb
    bool m_quitting = false;     // QUIT and its reply tell nothing about the mail

    void onLine(std::string_view line) {
        if (m_quitting) {
            return;
        }
        if (line.size() < 3 || line[0] < '0' || line[0] > '9' || line[1] < '0' || line[1] > '9' ||
            line[2] < '0' || line[2] > '9') {
            return;
        }
        std::string_view text = line.size() > 4 ? line.substr(4) : std::string_view();
        if (!m_replyLines.empty() && !text.empty()) {
            m_replyLines += ' ';
        }
        m_replyLines += printable(text);
        if (line.size() > 3 && line[3] == '-') {
            return;
        }
        m_replyCode = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
        m_reply = std::string(line.substr(0, 3));
        if (!m_replyLines.empty()) {
            m_reply += ' ' + m_replyLines;
        }
        if (m_reply.size() > 400) {
            m_reply.resize(400);
        }
        m_replyLines.clear();
        m_replyToVerb = true;
    }

    void onIncoming(std::string_view data) {
        m_pending.append(data);
        size_t nl;
        while ((nl = m_pending.find('\n')) != std::string::npos) {
            std::string_view line(m_pending.data(), nl);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            onLine(line);
            m_pending.erase(0, nl + 1);
        }
    }

    void onOutgoing(std::string_view data) {
        const size_t end = data.find_first_of(" \r\n");
        std::string verb(data.substr(0, end));
        for (char& c : verb) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        static constexpr std::string_view kVerbs[] = {"EHLO", "HELO", "STARTTLS", "AUTH",
                                                      "MAIL", "RCPT", "DATA",     "RSET"};
        if (verb == "QUIT") {
            m_quitting = true;
            return;
        }
        for (std::string_view known : kVerbs) {
            if (verb == known) {
                m_verb = verb;
                m_replyToVerb = false;
                if (verb == "RCPT") {
                    const size_t open = data.find('<');
                    const size_t close = data.find('>', open == std::string_view::npos ? 0 : open);
                    if (open != std::string_view::npos && close != std::string_view::npos) {
                        m_recipient = printable(data.substr(open + 1, close - open - 1));
                    }
                }
                return;
            }
        }
        // Continuation lines of a login (user name, password) are not kept.
    }

    bool hasRefusal() const { return m_replyToVerb && m_replyCode >= 400; }
};

int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* dialogue = static_cast<Dialogue*>(user);
    if (type == CURLINFO_HEADER_IN) {
        dialogue->onIncoming(std::string_view(data, size));
    } else if (type == CURLINFO_HEADER_OUT) {
        dialogue->onOutgoing(std::string_view(data, size));
    }
    return 0;
}

struct Upload {
    const std::string* m_data = nullptr;
    size_t m_offset = 0;
    const MailDeadline* m_deadline = nullptr;
};

// Ends a send at the deadline while the letter is not handed over whole: the
// server cannot have taken a letter whose end it never saw.
int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* upload = static_cast<const Upload*>(user);
    return upload->m_offset < upload->m_data->size() && deadlinePassed(upload->m_deadline) ? 1 : 0;
}

size_t onRead(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const size_t room = size * count;
    const size_t left = upload->m_data->size() - upload->m_offset;
    const size_t n = left < room ? left : room;
    std::memcpy(buffer, upload->m_data->data() + upload->m_offset, n);
    upload->m_offset += n;
    return n;
}

std::string sentence(std::string text) {
    if (!text.empty() && text.back() != '.' && text.back() != '!' && text.back() != '?') {
        text += '.';
    }
    return text;
}

std::string replied(const Dialogue& dialogue) {
    return " The server replied: " + sentence(dialogue.m_reply);
}

std::string describe(CURLcode code, const char* errorBuffer, long osErrno,
                     const SmtpEndpoint& endpoint, const Dialogue& dialogue,
                     const std::string& from, bool loginWithoutSsl) {
    const std::string where = endpoint.hostAndPort();
    const std::string detail = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return "The SMTP server \"" + endpoint.m_host + "\" could not be found.";
        case CURLE_COULDNT_CONNECT:
            return "Could not connect to the SMTP server " + where +
                   (osErrno != 0
                        ? " (" + std::string(std::strerror(static_cast<int>(osErrno))) + ")."
                        : ".");
        case CURLE_OPERATION_TIMEDOUT:
            return "The SMTP server " + where + " did not answer in time.";
        case CURLE_USE_SSL_FAILED:
            if (loginWithoutSsl) {
                return "The SMTP server " + where +
                       " does not offer STARTTLS: the user name and password are never sent "
                       "without encryption, so nothing was sent. Tick \"Requires SSL\" or use "
                       "a server that offers STARTTLS.";
            }
            return "The SMTP server " + where +
                   " does not offer STARTTLS, so no secure connection could be made; nothing was "
                   "sent.";
        case CURLE_PEER_FAILED_VERIFICATION:
            return "The certificate of the SMTP server " + where +
                   " could not be verified: " + sentence(detail);
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
            return "The secure connection to the SMTP server " + where +
                   " failed: " + sentence(detail);
        case CURLE_LOGIN_DENIED:
            return "The SMTP server " + where + " refused the user name or password." +
                   (dialogue.m_reply.empty() ? std::string() : replied(dialogue));
        default:
            break;
    }
    if (dialogue.hasRefusal()) {
        const std::string& verb = dialogue.m_verb;
        if (verb == "RCPT") {
            return "The SMTP server " + where + " refused the recipient " + dialogue.m_recipient +
                   "." + replied(dialogue);
        }
        if (verb == "MAIL") {
            return "The SMTP server " + where + " refused the sender " + from + "." +
                   replied(dialogue);
        }
        if (verb == "DATA") {
            return "The SMTP server " + where + " refused the message." + replied(dialogue);
        }
        if (verb == "AUTH") {
            return "The SMTP server " + where + " refused the login." + replied(dialogue);
        }
        if (verb == "STARTTLS") {
            return "The SMTP server " + where + " refused to start a secure connection." +
                   replied(dialogue);
        }
        if (verb == "EHLO" || verb == "HELO") {
            return "The SMTP server " + where + " refused the greeting." + replied(dialogue);
        }
    }
    if (dialogue.m_verb.empty() && dialogue.m_replyCode >= 400) {
        return "The SMTP server " + where + " refused the connection." + replied(dialogue);
    }
    switch (code) {
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
            return "The connection to the SMTP server " + where + " was lost: " + sentence(detail);
        default:
            return "Sending the mail through the SMTP server " + where +
                   " failed: " + sentence(detail);
    }
}

}  // namespace

struct SmtpClient::Impl {
    CURL* m_curl = nullptr;
    std::string m_from;
    std::string m_server;
    std::string m_subject;
    std::string m_body;
    std::vector<std::string> m_recipients;
    std::string m_userName;
    std::string m_password;
    bool m_ssl = false;
    std::string m_lastError;
    Limits m_limits;

    ~Impl() {
        if (m_curl != nullptr) {
            curl_easy_cleanup(m_curl);
        }
    }

    // Refuses what must not reach the server. Returns "" when all may go.
    std::string checkAddresses(std::string& from, std::vector<std::string>& recipients) const {
        switch (checkAddress(m_from, from)) {
            case AddressCheck::Good:
                break;
            case AddressCheck::Empty:
                return "No sender's address is given; nothing was sent.";
            case AddressCheck::Control:
                return "The sender's address \"" + printable(m_from) +
                       "\" holds control characters; nothing was sent.";
            case AddressCheck::Unusable:
                return "The sender's address \"" + from +
                       "\" is not a usable mail address; nothing was sent.";
        }
        if (m_recipients.empty()) {
            return "No recipient's address is given; nothing was sent.";
        }
        for (const std::string& raw : m_recipients) {
            std::string clean;
            switch (checkAddress(raw, clean)) {
                case AddressCheck::Good:
                    recipients.push_back(clean);
                    break;
                case AddressCheck::Empty:
                    return "No recipient's address is given; nothing was sent.";
                case AddressCheck::Control:
                    return "The recipient's address \"" + printable(raw) +
                           "\" holds control characters; nothing was sent.";
                case AddressCheck::Unusable:
                    return "The recipient's address \"" + clean +
                           "\" is not a usable mail address; nothing was sent.";
            }
        }
        return {};
    }

    int send() {
        m_lastError.clear();
        std::string from;
        std::vector<std::string> recipients;
        if (std::string refusal = checkAddresses(from, recipients); !refusal.empty()) {
            m_lastError = refusal;
            return 1;
        }
        SmtpEndpoint endpoint;
        if (std::string error; !parseSmtpServer(m_server, m_ssl, endpoint, error)) {
            m_lastError = error + " Nothing was sent.";
            return 1;
        }

        SmtpMessage message;
        message.m_from = from;
        message.m_recipients = recipients;
        message.m_subject = m_subject;
        message.m_body = m_body;
        message.m_tDate = std::time(nullptr);
        message.m_messageId = makeMessageId(from);
        const std::string bytes = message.build();

        CURL* curl = m_curl;
        curl_easy_reset(curl);
        char errorBuffer[CURL_ERROR_SIZE] = {};
        Dialogue dialogue;
        Upload upload{&bytes, 0, m_limits.m_deadline};
        curl_slist* rcpt = nullptr;
        for (const std::string& recipient : recipients) {
            rcpt = curl_slist_append(rcpt, ("<" + recipient + ">").c_str());
        }
        const std::string url = endpoint.url() + "/" + ehloName();
        const std::string mailFrom = "<" + from + ">";
        const std::string caFile = CurlSetup::caFile();

        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, onDebug);
        curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &dialogue);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, m_limits.m_connectMs);
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_limits.m_replySeconds);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, m_limits.m_totalMs);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_limits.m_replySeconds);
        // A user name and password never travel in clear: without SSL they
        // go only after STARTTLS, which the server must then offer.
        const bool login = !m_userName.empty() && !m_password.empty();
        if (m_ssl || login) {
            curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
            if (!caFile.empty()) {
                curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
            }
        }
        if (login) {
            curl_easy_setopt(curl, CURLOPT_USERNAME, m_userName.c_str());
            curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
        }
        curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.c_str());
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, onRead);
        curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &upload);
        if (deadlinePassed(m_limits.m_deadline)) {
            curl_easy_reset(curl);
            curl_slist_free_all(rcpt);
            m_lastError = kNoTimeLeft;
            return static_cast<int>(CURLE_ABORTED_BY_CALLBACK);
        }

        const CURLcode code = curl_easy_perform(curl);
        long osErrno = 0;
        curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osErrno);
        // Leave no pointer to this frame's data behind in the handle.
        curl_easy_reset(curl);
        curl_slist_free_all(rcpt);
        if (code == CURLE_OK) {
            return 0;
        }
        m_lastError =
            code == CURLE_ABORTED_BY_CALLBACK
                ? kNoTimeLeft
                : describe(code, errorBuffer, osErrno, endpoint, dialogue, from, login && !m_ssl);
        return static_cast<int>(code);
    }
};

std::unique_ptr<SmtpClient> SmtpClient::create() {
    if (!CurlSetup::globalInit()) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->m_curl = curl_easy_init();
    if (impl->m_curl == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SmtpClient>(new SmtpClient(std::move(impl)));
}

SmtpClient::SmtpClient(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
SmtpClient::~SmtpClient() = default;

void SmtpClient::setFromAddr(const std::string& address) {
    m_impl->m_from = address;
}
void SmtpClient::setServerAddr(const std::string& server) {
    m_impl->m_server = server;
}
void SmtpClient::setSubject(const std::string& subject) {
    m_impl->m_subject = subject;
}
void SmtpClient::setBodyText(const std::string& body) {
    m_impl->m_body = body;
}
int SmtpClient::addRecipient(const std::string& address, int /*kind*/) {
    m_impl->m_recipients.push_back(address);
    return static_cast<int>(m_impl->m_recipients.size());
}
void SmtpClient::setUserName(const std::string& userName) {
    m_impl->m_userName = userName;
}
void SmtpClient::setPassword(const std::string& password) {
    m_impl->m_password = password;
}
void SmtpClient::prepare() {
    m_impl->m_lastError.clear();
    m_impl->m_ssl = false;
}
int SmtpClient::initSslTls() {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    if (info == nullptr || (info->features & CURL_VERSION_SSL) == 0) {
        return 1;
    }
    m_impl->m_ssl = true;
    return 0;
}
int SmtpClient::sendMail() {
    return m_impl->send();
}
std::string SmtpClient::getLastErrDescription() const {
    return m_impl->m_lastError;
}
void SmtpClient::setLimits(const Limits& limits) {
    m_impl->m_limits = limits;
}

}  // namespace tarnwick
