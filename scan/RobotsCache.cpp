#include "scan/RobotsCache.h"

#include <curl/curl.h>

#include <algorithm>

#include "scan/WebTransfer.h"

namespace tarnwick {
namespace {

size_t onBody(char* data, size_t size, size_t count, void* user) {
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

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<RobotsCache::Download*>(user)->cancelled->load() ? 1 : 0;
}

// "10 s", "2.5 s", "800 ms".
std::string duration(long ms) {
    if (ms < 1000) {
        return std::to_string(ms) + " ms";
    }
    if (ms % 1000 == 0) {
        return std::to_string(ms / 1000) + " s";
    }
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

}  // namespace

std::string RobotsCache::originOf(const std::string& address) {
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

std::shared_ptr<RobotsCache::Entry> RobotsCache::entryOf(const std::string& origin) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto& slot = m_entries[origin];
    if (!slot) {
        slot = std::make_shared<Entry>();
    }
    return slot;
}

RobotsCache::Verdicts RobotsCache::verdictsOf(const Entry& entry, const std::string& address) {
    const Outcome& outcome = entry.outcome;
    if (!outcome.robots) {
        return {outcome.whole, outcome.whole, outcome.reason};
    }
    const std::string path = RobotsTxt::pathOf(address);
    const auto verdict = [&](const char* agent) {
        return outcome.robots->isAllowed(agent, path) ? RobotsVerdict::Allowed
                                                      : RobotsVerdict::Disallowed;
    };
    return {verdict("*"), verdict("Googlebot"), {}};
}

std::optional<RobotsCache::Verdicts> RobotsCache::known(const std::string& address) {
    const std::string origin = originOf(address);
    if (origin.empty()) {
        return Verdicts{};
    }
    const std::shared_ptr<Entry> entry = entryOf(origin);
    std::lock_guard<std::mutex> lock(entry->mutex);
    if (!entry->done) {
        return std::nullopt;
    }
    return verdictsOf(*entry, address);
}

void RobotsCache::complete(const std::string& origin, int code, long httpStatus,
                           const Download& download) {
    const std::shared_ptr<Entry> entry = entryOf(origin);
    std::lock_guard<std::mutex> lock(entry->mutex);
    if (!entry->done) {
        entry->outcome = answer(code, httpStatus, download);
        entry->done = true;
    }
}

void RobotsCache::fill(PageEvidence& evidence, const Verdicts& verdicts) {
    evidence.m_robotsAll = verdicts.all;
    evidence.m_robotsGooglebot = verdicts.googlebot;
    evidence.m_robotsReason = verdicts.reason;
}

void RobotsCache::prepare(void* easy, const std::string& origin, Download& download,
                          std::optional<std::chrono::milliseconds> limit) const {
    CURL* e = static_cast<CURL*>(easy);
    download.body.clear();
    download.maxBytes = m_options.maxBytes;
    download.cancelled = &m_cancelled;
    const long whole = m_options.totalSeconds * 1000;
    // At least a moment: libcurl reads a time-out of 0 as none at all.
    download.limitMs =
        std::max(1L, limit ? std::min(whole, static_cast<long>(limit->count())) : whole);
    download.started = std::chrono::steady_clock::now();
    const std::string url = origin + "/robots.txt";
    setUpWebTransfer(e, {.protocols = "http,https",
                         .maxRedirects = m_options.maxRedirects,
                         .connectTimeoutSeconds = m_options.connectTimeoutSeconds,
                         .stallSeconds = m_options.stallSeconds});
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, download.limitMs);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &download);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &download);
}

RobotsCache::Outcome RobotsCache::answer(int code, long status, const Download& download) const {
    const auto unavailable = [](std::string reason) {
        return Outcome{std::nullopt, RobotsVerdict::Allowed, std::move(reason)};
    };
    const auto unreachable = [](std::string reason) {
        return Outcome{std::nullopt, RobotsVerdict::Disallowed, std::move(reason)};
    };
    if (m_cancelled) {
        return {};  // the run was stopped: nothing was learnt
    }
    if (code == CURLE_FAILED_INIT) {
        return {std::nullopt, RobotsVerdict::Unknown,
                "robots.txt was not fetched: the network library could not start the transfer"};
    }
    if (code == CURLE_TOO_MANY_REDIRECTS) {
        return unavailable("robots.txt redirects too many times");
    }
    const bool cut = code == CURLE_WRITE_ERROR && download.body.size() == download.maxBytes;
    if (code != CURLE_OK && !cut) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - download.started)
                                 .count();
        // A transfer ended by its time limit, by libcurl (whose clock may
        // run a little ahead of ours) or by the caller that gave the time;
        // an earlier time-out is the connect or the stall clock.
        if ((code == CURLE_OPERATION_TIMEDOUT && elapsed + 100 >= download.limitMs) ||
            code == CURLE_ABORTED_BY_CALLBACK) {
            return unreachable("robots.txt did not arrive within " + duration(download.limitMs));
        }
        return unreachable(std::string("robots.txt could not be fetched: ") +
                           curl_easy_strerror(static_cast<CURLcode>(code)));
    }
    if (status >= 200 && status <= 299) {
        return {RobotsTxt::parse(download.body), RobotsVerdict::Allowed, {}};
    }
    if (status >= 300 && status <= 499) {
        return unavailable("robots.txt answered HTTP " + std::to_string(status));
    }
    if (status >= 500) {
        return unreachable("robots.txt answered HTTP " + std::to_string(status));
    }
    return unreachable("robots.txt got no HTTP answer");
}

}  // namespace tarnwick
