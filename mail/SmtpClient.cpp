#include "mail/SmtpClient.h"

#include <curl/curl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

#include "common/CurlSetup.h"
#include "mail/SmtpEndpoint.h"
#include "mail/SmtpMessage.h"

namespace tarnwick {
namespace {

std::atomic<long> g_nConnectTimeoutMs{20000};
std::atomic<long> g_nReplyTimeoutS{60};
// A letter is short: a whole send that takes longer than a minute is a server
// that keeps the line open without doing its part.
std::atomic<long> g_nTotalTimeoutMs{60000};
// steady_clock ticks of the deadline; 0: none.
std::atomic<std::int64_t> g_nDeadline{0};

bool DeadlinePassed() {
    const std::int64_t deadline = g_nDeadline.load();
    return deadline != 0 && std::chrono::steady_clock::now().time_since_epoch().count() >= deadline;
}

bool IsControl(unsigned char b) {
    return b < 0x20 || b == 0x7F;
}

// The text with control characters shown as '?', for messages.
std::string Printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        out.push_back(IsControl(static_cast<unsigned char>(c)) ? '?' : c);
    }
    return out;
}

std::string TrimBlanks(std::string_view text) {
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
AddressCheck CheckAddress(std::string_view raw, std::string& clean) {
    for (char c : raw) {
        if (IsControl(static_cast<unsigned char>(c))) {
            return AddressCheck::Control;
        }
    }
    clean = TrimBlanks(raw);
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

std::string EhloName() {
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
    std::string m_strPending;
    std::string m_strReplyLines;
    std::string m_strVerb;
    std::string m_strRecipient;
    std::string m_strReply;  // "550 5.1.1 ...", lines joined with blanks
    long m_nReplyCode = 0;
    bool m_bReplyToVerb = false;  // m_strReply answers m_strVerb
    bool m_bQuitting = false;     // QUIT and its reply tell nothing about the mail

    void OnLine(std::string_view line) {
        if (m_bQuitting) {
            return;
        }
        if (line.size() < 3 || line[0] < '0' || line[0] > '9' || line[1] < '0' || line[1] > '9' ||
            line[2] < '0' || line[2] > '9') {
            return;
        }
        std::string_view text = line.size() > 4 ? line.substr(4) : std::string_view();
        if (!m_strReplyLines.empty() && !text.empty()) {
            m_strReplyLines += ' ';
        }
        m_strReplyLines += Printable(text);
        if (line.size() > 3 && line[3] == '-') {
            return;
        }
        m_nReplyCode = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
        m_strReply = std::string(line.substr(0, 3));
        if (!m_strReplyLines.empty()) {
            m_strReply += ' ' + m_strReplyLines;
        }
        if (m_strReply.size() > 400) {
            m_strReply.resize(400);
        }
        m_strReplyLines.clear();
        m_bReplyToVerb = true;
    }

    void OnIncoming(std::string_view data) {
        m_strPending.append(data);
        size_t nl;
        while ((nl = m_strPending.find('\n')) != std::string::npos) {
            std::string_view line(m_strPending.data(), nl);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            OnLine(line);
            m_strPending.erase(0, nl + 1);
        }
    }

    void OnOutgoing(std::string_view data) {
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
            m_bQuitting = true;
            return;
        }
        for (std::string_view known : kVerbs) {
            if (verb == known) {
                m_strVerb = verb;
                m_bReplyToVerb = false;
                if (verb == "RCPT") {
                    const size_t open = data.find('<');
                    const size_t close = data.find('>', open == std::string_view::npos ? 0 : open);
                    if (open != std::string_view::npos && close != std::string_view::npos) {
                        m_strRecipient = Printable(data.substr(open + 1, close - open - 1));
                    }
                }
                return;
            }
        }
        // Continuation lines of a login (user name, password) are not kept.
    }

    bool HasRefusal() const { return m_bReplyToVerb && m_nReplyCode >= 400; }
};

int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* dialogue = static_cast<Dialogue*>(user);
    if (type == CURLINFO_HEADER_IN) {
        dialogue->OnIncoming(std::string_view(data, size));
    } else if (type == CURLINFO_HEADER_OUT) {
        dialogue->OnOutgoing(std::string_view(data, size));
    }
    return 0;
}

struct Upload {
    const std::string* m_pData = nullptr;
    size_t m_nOffset = 0;
};

// Ends a send at the deadline while the letter is not handed over whole: the
// server cannot have taken a letter whose end it never saw.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* upload = static_cast<const Upload*>(user);
    return upload->m_nOffset < upload->m_pData->size() && DeadlinePassed() ? 1 : 0;
}

size_t OnRead(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const size_t room = size * count;
    const size_t left = upload->m_pData->size() - upload->m_nOffset;
    const size_t n = left < room ? left : room;
    std::memcpy(buffer, upload->m_pData->data() + upload->m_nOffset, n);
    upload->m_nOffset += n;
    return n;
}

std::string Sentence(std::string text) {
    if (!text.empty() && text.back() != '.' && text.back() != '!' && text.back() != '?') {
        text += '.';
    }
    return text;
}

std::string Replied(const Dialogue& dialogue) {
    return " The server replied: " + Sentence(dialogue.m_strReply);
}

std::string Describe(CURLcode code, const char* errorBuffer, long osErrno,
                     const SmtpEndpoint& endpoint, const Dialogue& dialogue,
                     const std::string& from, bool loginWithoutSsl) {
    const std::string where = endpoint.HostAndPort();
    const std::string detail = errorBuffer[0] != '\0' ? errorBuffer : curl_easy_strerror(code);
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return "The SMTP server \"" + endpoint.m_strHost + "\" could not be found.";
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
                   " could not be verified: " + Sentence(detail);
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
                   " failed: " + Sentence(detail);
        case CURLE_LOGIN_DENIED:
            return "The SMTP server " + where + " refused the user name or password." +
                   (dialogue.m_strReply.empty() ? std::string() : Replied(dialogue));
        default:
            break;
    }
    if (dialogue.HasRefusal()) {
        const std::string& verb = dialogue.m_strVerb;
        if (verb == "RCPT") {
            return "The SMTP server " + where + " refused the recipient " +
                   dialogue.m_strRecipient + "." + Replied(dialogue);
        }
        if (verb == "MAIL") {
            return "The SMTP server " + where + " refused the sender " + from + "." +
                   Replied(dialogue);
        }
        if (verb == "DATA") {
            return "The SMTP server " + where + " refused the message." + Replied(dialogue);
        }
        if (verb == "AUTH") {
            return "The SMTP server " + where + " refused the login." + Replied(dialogue);
        }
        if (verb == "STARTTLS") {
            return "The SMTP server " + where + " refused to start a secure connection." +
                   Replied(dialogue);
        }
        if (verb == "EHLO" || verb == "HELO") {
            return "The SMTP server " + where + " refused the greeting." + Replied(dialogue);
        }
    }
    if (dialogue.m_strVerb.empty() && dialogue.m_nReplyCode >= 400) {
        return "The SMTP server " + where + " refused the connection." + Replied(dialogue);
    }
    switch (code) {
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
            return "The connection to the SMTP server " + where + " was lost: " + Sentence(detail);
        default:
            return "Sending the mail through the SMTP server " + where +
                   " failed: " + Sentence(detail);
    }
}

}  // namespace

struct SmtpClient::Impl {
    CURL* m_pCurl = nullptr;
    std::string m_strFrom;
    std::string m_strServer;
    std::string m_strSubject;
    std::string m_strBody;
    std::vector<std::string> m_recipients;
    std::string m_strUserName;
    std::string m_strPassword;
    bool m_bSsl = false;
    std::string m_strLastError;

    ~Impl() {
        if (m_pCurl != nullptr) {
            curl_easy_cleanup(m_pCurl);
        }
    }

    // Refuses what must not reach the server. Returns "" when all may go.
    std::string CheckAddresses(std::string& from, std::vector<std::string>& recipients) const {
        switch (CheckAddress(m_strFrom, from)) {
            case AddressCheck::Good:
                break;
            case AddressCheck::Empty:
                return "No sender's address is given; nothing was sent.";
            case AddressCheck::Control:
                return "The sender's address \"" + Printable(m_strFrom) +
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
            switch (CheckAddress(raw, clean)) {
                case AddressCheck::Good:
                    recipients.push_back(clean);
                    break;
                case AddressCheck::Empty:
                    return "No recipient's address is given; nothing was sent.";
                case AddressCheck::Control:
                    return "The recipient's address \"" + Printable(raw) +
                           "\" holds control characters; nothing was sent.";
                case AddressCheck::Unusable:
                    return "The recipient's address \"" + clean +
                           "\" is not a usable mail address; nothing was sent.";
            }
        }
        return {};
    }

    int Send() {
        m_strLastError.clear();
        std::string from;
        std::vector<std::string> recipients;
        if (std::string refusal = CheckAddresses(from, recipients); !refusal.empty()) {
            m_strLastError = refusal;
            return 1;
        }
        SmtpEndpoint endpoint;
        if (std::string error; !ParseSmtpServer(m_strServer, m_bSsl, endpoint, error)) {
            m_strLastError = error + " Nothing was sent.";
            return 1;
        }

        SmtpMessage message;
        message.m_strFrom = from;
        message.m_recipients = recipients;
        message.m_strSubject = m_strSubject;
        message.m_strBody = m_strBody;
        message.m_tDate = std::time(nullptr);
        message.m_strMessageId = MakeMessageId(from);
        const std::string bytes = message.Build();

        CURL* curl = m_pCurl;
        curl_easy_reset(curl);
        char errorBuffer[CURL_ERROR_SIZE] = {};
        Dialogue dialogue;
        Upload upload{&bytes, 0};
        curl_slist* rcpt = nullptr;
        for (const std::string& recipient : recipients) {
            rcpt = curl_slist_append(rcpt, ("<" + recipient + ">").c_str());
        }
        const std::string url = endpoint.Url() + "/" + EhloName();
        const std::string mailFrom = "<" + from + ">";
        const std::string caFile = CurlSetup::CaFile();

        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, OnDebug);
        curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &dialogue);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, g_nConnectTimeoutMs.load());
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, g_nReplyTimeoutS.load());
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, g_nTotalTimeoutMs.load());
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, g_nReplyTimeoutS.load());
        // A user name and password never travel in clear: without SSL they
        // go only after STARTTLS, which the server must then offer.
        const bool login = !m_strUserName.empty() && !m_strPassword.empty();
        if (m_bSsl || login) {
            curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
            if (!caFile.empty()) {
                curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
            }
        }
        if (login) {
            curl_easy_setopt(curl, CURLOPT_USERNAME, m_strUserName.c_str());
            curl_easy_setopt(curl, CURLOPT_PASSWORD, m_strPassword.c_str());
        }
        curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.c_str());
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, OnRead);
        curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &upload);
        if (DeadlinePassed()) {
            curl_easy_reset(curl);
            curl_slist_free_all(rcpt);
            m_strLastError = kNoTimeLeft;
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
        m_strLastError =
            code == CURLE_ABORTED_BY_CALLBACK
                ? kNoTimeLeft
                : Describe(code, errorBuffer, osErrno, endpoint, dialogue, from, login && !m_bSsl);
        return static_cast<int>(code);
    }
};

std::unique_ptr<SmtpClient> SmtpClient::Create() {
    if (!CurlSetup::GlobalInit()) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->m_pCurl = curl_easy_init();
    if (impl->m_pCurl == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SmtpClient>(new SmtpClient(std::move(impl)));
}

SmtpClient::SmtpClient(std::unique_ptr<Impl> impl) : m_pImpl(std::move(impl)) {}
SmtpClient::~SmtpClient() = default;

void SmtpClient::SetFromAddr(const std::string& address) {
    m_pImpl->m_strFrom = address;
}
void SmtpClient::SetServerAddr(const std::string& server) {
    m_pImpl->m_strServer = server;
}
void SmtpClient::SetSubject(const std::string& subject) {
    m_pImpl->m_strSubject = subject;
}
void SmtpClient::SetBodyText(const std::string& body) {
    m_pImpl->m_strBody = body;
}
int SmtpClient::AddRecipient(const std::string& address, int /*kind*/) {
    m_pImpl->m_recipients.push_back(address);
    return static_cast<int>(m_pImpl->m_recipients.size());
}
void SmtpClient::SetUserName(const std::string& userName) {
    m_pImpl->m_strUserName = userName;
}
void SmtpClient::SetPassword(const std::string& password) {
    m_pImpl->m_strPassword = password;
}
void SmtpClient::Prepare() {
    m_pImpl->m_strLastError.clear();
    m_pImpl->m_bSsl = false;
}
int SmtpClient::InitSslTls() {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    if (info == nullptr || (info->features & CURL_VERSION_SSL) == 0) {
        return 1;
    }
    m_pImpl->m_bSsl = true;
    return 0;
}
int SmtpClient::SendMail() {
    return m_pImpl->Send();
}
std::string SmtpClient::GetLastErrDescription() const {
    return m_pImpl->m_strLastError;
}
void SmtpClient::SetDeadline(std::optional<std::chrono::steady_clock::time_point> deadline) {
    g_nDeadline = deadline ? std::max<std::int64_t>(1, deadline->time_since_epoch().count()) : 0;
}

void SmtpClient::SetTimeouts(long connectMs, long replySeconds, long totalMs) {
    g_nConnectTimeoutMs = connectMs;
    g_nReplyTimeoutS = replySeconds;
    g_nTotalTimeoutMs = totalMs;
}

}  // namespace tarnwick
