#include "scan/RobotsCache.h"

#include <curl/curl.h>

#include "common/CurlSetup.h"
#include "scan/WebTransfer.h"

namespace tarnwick {
namespace {

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* d = static_cast<RobotsCache::Download*>(user);
    const size_t n = size * count;
    const size_t room = d->maxBytes - d->body.size();
    if (n > room) {
        d->body.append(data, room);
        return 0;  // the rest is not read (as search engines do)
    }
    d->body.append(data, n);
    return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<RobotsCache::Download*>(user)->cancelled->load() ? 1 : 0;
}

}  // namespace

std::string RobotsCache::OriginOf(const std::string& address) {
    std::string lowered;
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos) {
        return {};
    }
    for (char c : address.substr(0, scheme)) {
        lowered += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (lowered != "http" && lowered != "https") {
        return {};
    }
    size_t end = address.find_first_of("/?#", scheme + 3);
    if (end == std::string::npos) {
        end = address.size();
    }
    std::string authority = address.substr(scheme + 3, end - scheme - 3);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        authority = authority.substr(at + 1);  // no user name or password
    }
    if (authority.empty()) {
        return {};
    }
    for (char& c : authority) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lowered + "://" + authority;
}

std::shared_ptr<RobotsCache::Entry> RobotsCache::EntryOf(const std::string& origin) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto& slot = m_entries[origin];
    if (!slot) {
        slot = std::make_shared<Entry>();
    }
    return slot;
}

RobotsCache::Verdicts RobotsCache::VerdictsOf(const Entry& entry, const std::string& address) {
    if (!entry.robots) {
        return {};
    }
    const std::string path = RobotsTxt::PathOf(address);
    const auto verdict = [&](const char* agent) {
        return entry.robots->IsAllowed(agent, path) ? RobotsVerdict::Allowed
                                                    : RobotsVerdict::Disallowed;
    };
    return {verdict("*"), verdict("Googlebot")};
}

RobotsCache::Verdicts RobotsCache::Check(const std::string& address) {
    const std::string origin = OriginOf(address);
    if (origin.empty()) {
        return {};
    }
    const std::shared_ptr<Entry> entry = EntryOf(origin);
    std::lock_guard<std::mutex> lock(entry->mutex);
    if (!entry->done) {
        entry->robots = Fetch(origin);
        entry->done = true;
    }
    return VerdictsOf(*entry, address);
}

std::optional<RobotsCache::Verdicts> RobotsCache::Known(const std::string& address) {
    const std::string origin = OriginOf(address);
    if (origin.empty()) {
        return Verdicts{};
    }
    const std::shared_ptr<Entry> entry = EntryOf(origin);
    std::lock_guard<std::mutex> lock(entry->mutex);
    if (!entry->done) {
        return std::nullopt;
    }
    return VerdictsOf(*entry, address);
}

void RobotsCache::Complete(const std::string& origin, int code, long httpStatus,
                           const Download& download) {
    const std::shared_ptr<Entry> entry = EntryOf(origin);
    std::lock_guard<std::mutex> lock(entry->mutex);
    if (!entry->done) {
        entry->robots = Answer(code, httpStatus, download);
        entry->done = true;
    }
}

void RobotsCache::Apply(PageEvidence& evidence, const std::string& pageAddress) {
    const Verdicts v = Check(evidence.m_strFinalUrl.empty() ? pageAddress : evidence.m_strFinalUrl);
    evidence.m_robotsAll = v.all;
    evidence.m_robotsGooglebot = v.googlebot;
}

void RobotsCache::Prepare(void* easy, const std::string& origin, Download& download) const {
    CURL* e = static_cast<CURL*>(easy);
    download.body.clear();
    download.maxBytes = m_options.maxBytes;
    download.cancelled = &m_bCancelled;
    const std::string url = origin + "/robots.txt";
    SetUpWebTransfer(e, {.protocols = "http,https",
                         .maxRedirects = m_options.maxRedirects,
                         .connectTimeoutSeconds = m_options.connectTimeoutSeconds,
                         .stallSeconds = m_options.stallSeconds});
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_TIMEOUT, m_options.totalSeconds);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &download);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &download);
}

std::optional<RobotsTxt> RobotsCache::Fetch(const std::string& origin) {
    if (m_bCancelled) {
        return std::nullopt;
    }
    if (!CurlSetup::GlobalInit()) {
        return std::nullopt;
    }
    CURL* e = curl_easy_init();
    if (e == nullptr) {
        return std::nullopt;
    }
    Download download;
    Prepare(e, origin, download);
    const CURLcode code = curl_easy_perform(e);
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(e);
    return Answer(code, status, download);
}

std::optional<RobotsTxt> RobotsCache::Answer(int code, long status,
                                             const Download& download) const {
    const bool cut = code == CURLE_WRITE_ERROR && download.body.size() == m_options.maxBytes;
    if (code == CURLE_TOO_MANY_REDIRECTS) {
        return RobotsTxt();
    }
    if ((code != CURLE_OK && !cut) || m_bCancelled) {
        return std::nullopt;
    }
    if (status >= 200 && status <= 299) {
        return RobotsTxt::Parse(download.body);
    }
    if (status >= 400 && status <= 499 && status != 429) {
        return RobotsTxt();
    }
    return std::nullopt;
}

}  // namespace tarnwick
