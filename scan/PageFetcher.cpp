#include "scan/PageFetcher.h"

#include <curl/curl.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string_view>

#include "common/Cp1252.h"
#include "common/CurlSetup.h"
#include "scan/CheckPage.h"
#include "scan/EvidenceCollector.h"
#include "scan/LinkClassifier.h"
#include "scan/StatusWords.h"

namespace tarnwick {
namespace {

constexpr const char* kUserAgent = "Internet Explorer6.0.2900.2180";
constexpr const char* kProtocols = "http,https,ftp";

CURLM* Multi(void* p) {
    return static_cast<CURLM*>(p);
}
CURL* Easy(void* p) {
    return static_cast<CURL*>(p);
}

void PercentEncode(std::string& out, std::string_view part) {
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : part) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
}

// Whether the bytes are UTF-8 throughout (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t n = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + n >= text.size()) {
            return false;
        }
        for (size_t k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((n == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (n == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
            return false;
        }
        i += n + 1;
    }
    return true;
}

// The address as it goes to libcurl. Spaces, control bytes and bytes outside
// ASCII are not valid in an address on the wire: in the path, the query and
// the user name they go as %XX, as a browser sends them. A host name outside
// ASCII (bücher.example) goes to libcurl as UTF-8, which turns it into its
// IDNA form (xn--bcher-kva.example): stored text is Windows-1252 unless its
// bytes are UTF-8 throughout (a profile written by a UTF-8 editor).
std::string EncodeForWire(const std::string& address) {
    std::string out;
    out.reserve(address.size() + 16);
    const size_t schemeEnd = address.find("://");
    if (schemeEnd == std::string::npos) {
        PercentEncode(out, address);
        return out;
    }
    const size_t authorityBegin = schemeEnd + 3;
    const size_t authorityEnd =
        std::min(address.find_first_of("/?#", authorityBegin), address.size());
    const std::string_view authority(address.data() + authorityBegin,
                                     authorityEnd - authorityBegin);
    const size_t at = authority.rfind('@');
    const size_t hostBegin = at == std::string_view::npos ? 0 : at + 1;
    size_t hostEnd = authority.size();
    if (hostBegin < authority.size() && authority[hostBegin] != '[') {
        hostEnd = std::min(authority.find(':', hostBegin), authority.size());
    }
    const std::string_view host = authority.substr(hostBegin, hostEnd - hostBegin);
    out.append(address, 0, authorityBegin);
    PercentEncode(out, authority.substr(0, hostBegin));
    if (std::all_of(host.begin(), host.end(), [](char c) { return (c & 0x80) == 0; })) {
        PercentEncode(out, host);
    } else {
        // Control bytes and blanks cannot be part of any host name; they stay
        // visible to libcurl, which refuses the address.
        out += IsUtf8(host) ? std::string(host) : Cp1252ToUtf8(host);
    }
    PercentEncode(out, authority.substr(hostEnd));
    PercentEncode(out, std::string_view(address).substr(authorityEnd));
    return out;
}

// libcurl hands a host name outside ASCII to libidn2 in the character set of
// the calling thread's locale. The fetch runs with a UTF-8 character set on
// its own thread, whatever the program's locale, and puts the thread's own
// back afterwards.
class Utf8Ctype {
public:
    Utf8Ctype() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (utf8 != static_cast<locale_t>(0)) {
            m_old = uselocale(utf8);
        }
    }
    ~Utf8Ctype() {
        if (m_old != static_cast<locale_t>(0)) {
            uselocale(m_old);
        }
    }
    Utf8Ctype(const Utf8Ctype&) = delete;
    Utf8Ctype& operator=(const Utf8Ctype&) = delete;

private:
    locale_t m_old = static_cast<locale_t>(0);
};

using Clock = std::chrono::steady_clock;

// One page's transfer: the classifier its body goes to, the time the last
// byte (of a header or of the body) arrived, and the final HTTP status once
// the body begins.
struct Transfer {
    LinkClassifier classifier;
    Clock::time_point lastByte;
    CURL* easy = nullptr;
    bool bodyBegun = false;
    long httpStatus = 0;
    bool stoppedOnPurpose = false;  // the result was decided before the end
    char error[CURL_ERROR_SIZE] = {};
    EvidenceCollector* evidence = nullptr;  // when the evidence is wanted
};

bool IsHttp(CURL* easy) {
    const char* scheme = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_SCHEME, &scheme) != CURLE_OK || scheme == nullptr) {
        return false;
    }
    const std::string_view s(scheme);
    const auto is = [&s](std::string_view name) {
        return s.size() == name.size() &&
               std::equal(s.begin(), s.end(), name.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
               });
    };
    return is("http") || is("https");
}

// The final HTTP status of the transfer, 0 for FTP and before any answer.
long HttpStatus(CURL* easy) {
    long status = 0;
    if (!IsHttp(easy) || curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) {
        return 0;
    }
    return status;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastByte = Clock::now();
    if (!t->bodyBegun) {
        t->bodyBegun = true;
        t->httpStatus = HttpStatus(t->easy);
        if (t->httpStatus >= 400) {
            // The status decides; the error page's text cannot change that.
            t->stoppedOnPurpose = true;
            return 0;
        }
    }
    t->classifier.Feed(data, n);
    if (t->evidence != nullptr) {
        t->evidence->Feed(data, n);
    }
    // Once a not-found phrase is seen nothing later can change the result.
    if (t->classifier.Decided()) {
        t->stoppedOnPurpose = true;
        return 0;
    }
    return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->lastByte = Clock::now();
    if (t->evidence != nullptr) {
        t->evidence->HeaderLine(std::string_view(data, size * count));
    }
    return size * count;
}

std::string Seconds(long seconds) {
    return std::to_string(seconds) + " s";
}

// A transfer that failed, in a few words for the reason column.
std::string FailureReason(CURLcode code, const Transfer& t, const PageFetcher::Options& options) {
    CURL* e = t.easy;
    const std::string detail = t.error[0] != '\0' ? t.error : curl_easy_strerror(code);
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return "host name not found";
        case CURLE_COULDNT_RESOLVE_PROXY:
            return "proxy name not found";
        case CURLE_COULDNT_CONNECT: {
            long osErrno = 0;
            curl_easy_getinfo(e, CURLINFO_OS_ERRNO, &osErrno);
            if (osErrno == ECONNREFUSED) {
                return "connection refused";
            }
            return osErrno != 0 ? "could not connect: " +
                                      std::string(std::strerror(static_cast<int>(osErrno)))
                                : "could not connect";
        }
        case CURLE_OPERATION_TIMEDOUT: {
            curl_off_t connected = 0;
            curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connected);
            return connected == 0 ? "no connection within " + Seconds(options.connectTimeoutSeconds)
                                  : "no data for " + Seconds(options.stallSeconds);
        }
        case CURLE_TOO_MANY_REDIRECTS:
            return "more than " + std::to_string(options.maxRedirects) + " redirections";
        case CURLE_UNSUPPORTED_PROTOCOL: {
            long redirects = 0;
            curl_easy_getinfo(e, CURLINFO_REDIRECT_COUNT, &redirects);
            return redirects > 0 ? "redirected to an address that is not http, https or ftp"
                                 : "the address is not http, https or ftp";
        }
        case CURLE_PEER_FAILED_VERIFICATION:
            return "certificate not trusted: " + detail;
        case CURLE_SSL_CONNECT_ERROR:
            return "secure connection failed: " + detail;
        case CURLE_PARTIAL_FILE:
            return "connection closed before the end of the page";
        case CURLE_GOT_NOTHING:
            return "connection closed without an answer";
        case CURLE_RECV_ERROR:
            return "receiving failed: " + detail;
        case CURLE_REMOTE_FILE_NOT_FOUND:
            return "no such file on the server";
        default:
            return "transfer failed: " + detail;
    }
}

// The result of a transfer that ended by itself (done) or was ended by the
// network library (not done).
PageResult Judge(const PageFetcher::Options& options, bool done, CURLcode code, long status,
                 const Transfer& transfer) {
    if (!done) {
        return {kPageCannotBeDisplayed, {}, status};
    }
    // A final status of 400 or more decides, whether or not its page arrived.
    if (status == 404 || status == 410) {
        return {kPageCannotBeFound, "HTTP " + std::to_string(status), status};
    }
    if (status >= 400) {
        return {kPageCannotBeDisplayed, "HTTP " + std::to_string(status), status};
    }
    if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && transfer.stoppedOnPurpose)) {
        return {kPageCannotBeDisplayed, FailureReason(code, transfer, options), status};
    }
    if (status != 0 && (status < 200 || status >= 300)) {
        return {kPageCannotBeDisplayed, "HTTP " + std::to_string(status), status};
    }
    return {transfer.classifier.Result(), transfer.classifier.Reason(), status};
}

RobotsCache::Options RobotsOptions(const PageFetcher::Options& options) {
    RobotsCache::Options robots;
    robots.connectTimeoutSeconds = options.connectTimeoutSeconds;
    robots.stallSeconds = options.stallSeconds;
    robots.totalSeconds = options.pageTimeoutSeconds;
    return robots;
}

}  // namespace

PageFetcher::PageFetcher(Options options) : m_options(options), m_robots(RobotsOptions(options)) {
    CurlSetup::GlobalInit();
    m_pMulti = curl_multi_init();
    m_pEasy = curl_easy_init();
    CURL* e = Easy(m_pEasy);
    if (e == nullptr) {
        return;
    }
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, m_options.maxRedirects);
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, m_options.connectTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, m_options.stallSeconds);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &OnHeader);
}

PageFetcher::~PageFetcher() {
    if (m_pEasy != nullptr) {
        curl_easy_cleanup(Easy(m_pEasy));
    }
    if (m_pMulti != nullptr) {
        curl_multi_cleanup(Multi(m_pMulti));
    }
}

void PageFetcher::Cancel() {
    m_bCancelled = true;
    m_robots.Cancel();
    if (m_pMulti != nullptr) {
        curl_multi_wakeup(Multi(m_pMulti));
    }
}

PageResult PageFetcher::Check(const std::string& page, const std::string& advertiser,
                              PageEvidence* evidence) {
    if (evidence != nullptr) {
        *evidence = PageEvidence{};
        evidence->m_bChecked = true;  // nothing seen until the transfer says more
    }
    if (!HasScheme(page)) {
        return {kPageCannotBeDisplayed, "no scheme in the address"};
    }
    if (m_bCancelled) {
        return {kPageCannotBeDisplayed, "the run was stopped"};
    }
    if (m_pMulti == nullptr || m_pEasy == nullptr) {
        return {kPageCannotBeDisplayed, "the network library could not be set up"};
    }
    CURLM* m = Multi(m_pMulti);
    CURL* e = Easy(m_pEasy);
    const Utf8Ctype utf8;
    const auto start = Clock::now();
    Transfer transfer{LinkClassifier(advertiser), start};
    transfer.easy = e;
    std::optional<EvidenceCollector> collector;
    if (evidence != nullptr) {
        collector.emplace(advertiser);
        transfer.evidence = &*collector;
    }
    const std::string url = EncodeForWire(page);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, transfer.error);
    // The CA file is read anew for every page.
    const std::string caFile = CurlSetup::CaFile();
    curl_easy_setopt(e, CURLOPT_CAINFO, caFile.empty() ? nullptr : caFile.c_str());
    if (curl_multi_add_handle(m, e) != CURLM_OK) {
        curl_easy_setopt(e, CURLOPT_ERRORBUFFER, nullptr);
        return {kPageCannotBeDisplayed, "the network library could not start the transfer"};
    }
    // Two clocks of our own end the transfer: the stall clock (no byte for
    // stallSeconds; libcurl's low-speed check averages over several seconds
    // and stays only as a backstop) and the time limit of the whole page.
    const auto stall = std::chrono::seconds(m_options.stallSeconds);
    const auto deadline = start + std::chrono::seconds(m_options.pageTimeoutSeconds);
    enum class End { Done, Stalled, TimeLimit, Failed } end = End::Failed;
    int running = 1;
    while (!m_bCancelled) {
        if (curl_multi_perform(m, &running) != CURLM_OK) {
            break;
        }
        if (running == 0) {
            end = End::Done;
            break;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            end = End::TimeLimit;
            break;
        }
        if (now >= transfer.lastByte + stall) {
            end = End::Stalled;
            break;
        }
        const auto wait = std::min<Clock::duration>(
            {transfer.lastByte + stall - now, deadline - now, std::chrono::seconds(1)});
        const int waitMs =
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        if (curl_multi_poll(m, nullptr, 0, waitMs, nullptr) != CURLM_OK) {
            break;
        }
    }
    CURLcode code = CURLE_OK;
    if (end == End::Done) {
        int left = 0;
        end = End::Failed;
        while (CURLMsg* msg = curl_multi_info_read(m, &left)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == e) {
                code = msg->data.result;
                end = End::Done;
            }
        }
    }
    const long status = transfer.bodyBegun ? transfer.httpStatus : HttpStatus(e);
    PageResult result = Judge(m_options, end == End::Done, code, status, transfer);
    if (m_bCancelled) {
        result = {kPageCannotBeDisplayed, "the run was stopped", status};
    } else if (end == End::TimeLimit) {
        result = {kPageCannotBeDisplayed,
                  "time limit of " + Seconds(m_options.pageTimeoutSeconds) + " reached", status};
    } else if (end == End::Stalled) {
        result = {kPageCannotBeDisplayed, "no data for " + Seconds(m_options.stallSeconds), status};
    } else if (end == End::Failed) {
        result = {kPageCannotBeDisplayed, "the network library failed", status};
    }
    if (collector) {
        collector->Finish();
        const char* finalUrl = nullptr;
        curl_easy_getinfo(e, CURLINFO_EFFECTIVE_URL, &finalUrl);
        collector->SetTransfer(
            status, finalUrl != nullptr ? finalUrl : "",
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    }
    curl_multi_remove_handle(m, e);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, nullptr);
    if (collector) {
        *evidence = collector->TakeEvidence();
        // The page as search engines reach it: robots.txt of its final
        // address, once per host (not for FTP or when nothing answered).
        if (evidence->m_nHttpStatus != 0 && !m_bCancelled) {
            m_robots.Apply(*evidence, page);
        }
    }
    return result;
}

}  // namespace tarnwick
