#include "scan/PageFetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>

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

// One page's transfer: the classifier its body goes to and the time the last
// byte (of a header or of the body) arrived.
struct Transfer {
    LinkClassifier classifier;
    Clock::time_point lastByte;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastByte = Clock::now();
    t->classifier.Feed(data, n);
    // Once a not-found phrase is seen nothing later can change the result.
    return t->classifier.Decided() ? 0 : n;
}

size_t OnHeader(char*, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->lastByte = Clock::now();
    return size * count;
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

std::string PageFetcher::Check(const std::string& page, const std::string& advertiser) {
    if (!HasScheme(page) || m_pMulti == nullptr || m_pEasy == nullptr || m_bCancelled) {
        return kPageCannotBeDisplayed;
    }
    CURLM* m = Multi(m_pMulti);
    CURL* e = Easy(m_pEasy);
    Transfer transfer{LinkClassifier(advertiser), Clock::now()};
    const std::string url = EncodeForWire(page);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    // The CA file is read anew for every page.
    const std::string caFile = CurlSetup::CaFile();
    curl_easy_setopt(e, CURLOPT_CAINFO, caFile.empty() ? nullptr : caFile.c_str());
    if (curl_multi_add_handle(m, e) != CURLM_OK) {
        return kPageCannotBeDisplayed;
    }
    // The stall clock: no byte for stallSeconds ends the transfer. (libcurl's
    // own low-speed check averages over several seconds and would let a
    // stalled page run on a few seconds longer; it stays as a backstop
    // against a server that sends a byte now and then.)
    const auto stall = std::chrono::seconds(m_options.stallSeconds);
    int running = 1;
    while (running > 0 && !m_bCancelled) {
        if (curl_multi_perform(m, &running) != CURLM_OK || running == 0) {
            break;
        }
        const auto left = transfer.lastByte + stall - Clock::now();
        if (left <= Clock::duration::zero()) {
            break;
        }
        const auto wait = std::min<Clock::duration>(left, std::chrono::seconds(1));
        const int waitMs =
            static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        if (curl_multi_poll(m, nullptr, 0, waitMs, nullptr) != CURLM_OK) {
            break;
        }
    }
    curl_multi_remove_handle(m, e);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, nullptr);
    if (m_bCancelled) {
        return kPageCannotBeDisplayed;
    }
    // Whatever arrived before an error or a stall counts as the page.
    return transfer.classifier.Result();
}

}  // namespace tarnwick
