#include "scan/PageFetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>

#include "common/CurlSetup.h"
#include "scan/CheckPage.h"
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

// Spaces, control bytes and bytes outside ASCII are not valid in an address
// sent on the wire; they go as %XX.
std::string EncodeForWire(const std::string& address) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(address.size());
    for (unsigned char c : address) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

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
    // Once a not-found phrase is seen nothing later can change the result.
    if (t->classifier.Decided()) {
        t->stoppedOnPurpose = true;
        return 0;
    }
    return n;
}

size_t OnHeader(char*, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->lastByte = Clock::now();
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

}  // namespace

PageFetcher::PageFetcher(Options options) : m_options(options) {
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
    if (m_pMulti != nullptr) {
        curl_multi_wakeup(Multi(m_pMulti));
    }
}

PageResult PageFetcher::Check(const std::string& page, const std::string& advertiser) {
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
    const auto start = Clock::now();
    Transfer transfer{LinkClassifier(advertiser), start};
    transfer.easy = e;
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
    curl_multi_remove_handle(m, e);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, nullptr);
    return result;
}

}  // namespace tarnwick
