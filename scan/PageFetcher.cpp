#include "scan/PageFetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string_view>

#include "scan/CheckPage.h"
#include "scan/EvidenceCollector.h"
#include "scan/LinkClassifier.h"
#include "scan/StatusWords.h"

namespace tarnwick {
namespace {

constexpr const char* kUserAgent = "Internet Explorer6.0.2900.2180";
constexpr const char* kProtocols = "http,https,ftp";

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

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
    EvidenceCollector* evidence = nullptr;  // when the evidence is wanted
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastByte = Clock::now();
    t->classifier.Feed(data, n);
    if (t->evidence != nullptr) {
        t->evidence->Feed(data, n);
    }
    // Once a not-found phrase is seen nothing later can change the result.
    return t->classifier.Decided() ? 0 : n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->lastByte = Clock::now();
    if (t->evidence != nullptr) {
        t->evidence->HeaderLine(std::string_view(data, size * count));
    }
    return size * count;
}

// The final address and, for HTTP, the final status of the transfer.
void FinishEvidence(CURL* e, EvidenceCollector& collector, Clock::time_point start) {
    collector.Finish();
    const char* scheme = nullptr;
    curl_easy_getinfo(e, CURLINFO_SCHEME, &scheme);
    const std::string_view s = scheme != nullptr ? scheme : "";
    long status = 0;
    if (s == "HTTP" || s == "HTTPS" || s == "http" || s == "https") {
        curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    }
    const char* url = nullptr;
    curl_easy_getinfo(e, CURLINFO_EFFECTIVE_URL, &url);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    collector.SetTransfer(status, url != nullptr ? url : "", elapsed);
}

// The CA file named by the environment, read anew for every page.
const char* CaFile() {
    for (const char* name : {"SSL_CERT_FILE", "CURL_CA_BUNDLE"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return nullptr;
}

}  // namespace

RobotsCache::Options RobotsOptions(const PageFetcher::Options& options) {
    RobotsCache::Options robots;
    robots.connectTimeoutSeconds = options.connectTimeoutSeconds;
    robots.stallSeconds = options.stallSeconds;
    return robots;
}

PageFetcher::PageFetcher(Options options) : m_options(options), m_robots(RobotsOptions(options)) {
    GlobalInit();
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

std::string PageFetcher::Check(const std::string& page, const std::string& advertiser,
                               PageEvidence* evidence) {
    const auto start = Clock::now();
    std::optional<EvidenceCollector> collector;
    if (evidence != nullptr) {
        collector.emplace(advertiser);
        *evidence = collector->Evidence();  // checked, nothing seen
    }
    if (!HasScheme(page) || m_pMulti == nullptr || m_pEasy == nullptr || m_bCancelled) {
        return kPageCannotBeDisplayed;
    }
    CURLM* m = Multi(m_pMulti);
    CURL* e = Easy(m_pEasy);
    Transfer transfer{LinkClassifier(advertiser), start, collector ? &*collector : nullptr};
    const std::string url = EncodeForWire(page);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_CAINFO, CaFile());
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
    if (collector) {
        FinishEvidence(e, *collector, start);
    }
    curl_multi_remove_handle(m, e);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, nullptr);
    if (m_bCancelled) {
        return kPageCannotBeDisplayed;
    }
    if (collector) {
        *evidence = collector->TakeEvidence();
        // The page as search engines would reach it: its final address.
        if (evidence->m_nHttpStatus != 0) {
            m_robots.Apply(*evidence, page);
        }
    }
    // Whatever arrived before an error or a stall counts as the page.
    return transfer.classifier.Result();
}

}  // namespace tarnwick
