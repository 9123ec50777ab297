#include "scan/FetchVerdict.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/AsciiText.h"

namespace tarnwick {
namespace {

std::string seconds(long count) {
    return std::to_string(count) + " s";
}

std::string httpStatusReason(long status) {
    return "HTTP " + std::to_string(status);
}

}  // namespace

std::string failureReason(const RequestEnd& end, const FetchLimits& limits) {
    const std::string& detail = end.errorText;
    switch (end.code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return "host name not found";
        case CURLE_COULDNT_RESOLVE_PROXY:
            return "proxy name not found";
        case CURLE_COULDNT_CONNECT:
            if (end.osErrno == ECONNREFUSED) {
                return "connection refused";
            }
            return end.osErrno != 0 ? "could not connect: " +
                                          std::string(std::strerror(static_cast<int>(end.osErrno)))
                                    : "could not connect";
        case CURLE_OPERATION_TIMEDOUT:
            // A reused connection took no time to connect: a request sent
            // tells that the connection was there.
            return end.requestSent
                       ? "no data for " + seconds(limits.stallSeconds)
                       : "no connection within " + seconds(limits.connectTimeoutSeconds);
        case CURLE_TOO_MANY_REDIRECTS:
            return "more than " + std::to_string(limits.maxRedirects) + " redirections";
        case CURLE_UNSUPPORTED_PROTOCOL:
            // libcurl refuses an answer without a status line with this code.
            if (detail.find("HTTP/0.9") != std::string::npos) {
                return "the server answered without HTTP headers (HTTP/0.9)";
            }
            return "the address is not http, https or ftp";
        case CURLE_PEER_FAILED_VERIFICATION:
            return "certificate not trusted: " + detail;
        case CURLE_SSL_CONNECT_ERROR:
            return "secure connection failed: " + detail;
        case CURLE_PARTIAL_FILE:
            return "connection closed before the end of the page";
        case CURLE_GOT_NOTHING:
            return "connection closed without an answer";
        case CURLE_RECV_ERROR:
            if (detail.find("Too large response headers") != std::string::npos) {
                return "the server's headers are too long";
            }
            return "receiving failed: " + detail;
        case CURLE_OUT_OF_MEMORY:
            // libcurl's answer to one header line longer than it takes.
            return end.headerSeen ? "the server's headers are too long" : "out of memory";
        case CURLE_REMOTE_FILE_NOT_FOUND:
            return "no such file on the server";
        default:
            return "transfer failed: " + detail;
    }
}

bool isNetworkDown(const RequestEnd& end) {
    if (end.code == CURLE_COULDNT_RESOLVE_HOST || end.code == CURLE_COULDNT_RESOLVE_PROXY) {
        return true;
    }
    return end.code == CURLE_COULDNT_CONNECT &&
           (end.osErrno == ENETUNREACH || end.osErrno == EHOSTUNREACH || end.osErrno == ENETDOWN);
}

PageResult fetchVerdict(const RequestEnd& end, const FetchLimits& limits,
                        const PageResult& bodySays) {
    const long status = end.httpStatus;
    switch (end.cut) {
        case RequestEnd::Cut::Stopped:
            return {LinkResult::CannotBeDisplayed, "the run was stopped", status};
        case RequestEnd::Cut::TimeLimit:
            return {LinkResult::CannotBeDisplayed,
                    "time limit of " + seconds(limits.pageTimeoutSeconds) + " reached", status};
        case RequestEnd::Cut::Stalled:
            return {LinkResult::CannotBeDisplayed, "no data for " + seconds(limits.stallSeconds),
                    status};
        case RequestEnd::Cut::LibraryFailed:
            return {LinkResult::CannotBeDisplayed, "the network library failed", status};
        case RequestEnd::Cut::None:
            break;
    }
    if (status == 404 || status == 410) {
        return {LinkResult::CannotBeFound, httpStatusReason(status), status};
    }
    if (status >= 400) {
        return {LinkResult::CannotBeDisplayed, httpStatusReason(status), status};
    }
    if (end.code != CURLE_OK && !(end.code == CURLE_WRITE_ERROR && end.stoppedOnPurpose)) {
        PageResult failed(LinkResult::CannotBeDisplayed, failureReason(end, limits), status);
        failed.m_networkDown = isNetworkDown(end);
        return failed;
    }
    if (status != 0 && (status < 200 || status >= 300)) {
        return {LinkResult::CannotBeDisplayed, httpStatusReason(status), status};
    }
    return {bodySays.m_result, bodySays.m_reason, status};
}

bool isRedirectStatus(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

long retryAfterSeconds(std::string_view line, std::time_t now) {
    constexpr std::string_view kName = "retry-after:";
    if (line.size() <= kName.size()) {
        return -1;
    }
    for (size_t i = 0; i < kName.size(); ++i) {
        const char c = line[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kName[i]) {
            return -1;
        }
    }
    std::string value(line.substr(kName.size()));
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' ' ||
                              value.back() == '\t')) {
        value.pop_back();
    }
    const size_t begin = value.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return -1;
    }
    value.erase(0, begin);
    if (std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return value.size() > 9 ? 1000000000L : std::stol(value);
    }
    const time_t when = curl_getdate(value.c_str(), nullptr);
    if (when < 0) {
        return -1;
    }
    return when > now ? static_cast<long>(when - now) : 0;
}

std::string cloakingDifference(const PageEvidence& browser, const PageResult& crawler,
                               const PageEvidence& seen) {
    std::vector<std::string> parts;
    if (crawler.m_result != LinkResult::Found) {
        if (seen.m_httpStatus != 0 && (seen.m_httpStatus < 200 || seen.m_httpStatus >= 300)) {
            parts.push_back("HTTP " + std::to_string(seen.m_httpStatus) + " for Googlebot");
        } else if (crawler.m_result == LinkResult::NotFound) {
            parts.emplace_back("no link for Googlebot");
        } else {
            parts.push_back(resultWord(crawler.m_result) + " for Googlebot");
        }
    } else {
        for (const char* rel : {"nofollow", "sponsored", "ugc"}) {
            if (hasRelToken(seen, rel) && !hasRelToken(browser, rel)) {
                parts.push_back(std::string("rel=\"") + rel + "\" for Googlebot");
            }
        }
        if (!seen.m_hiddenBy.empty() && browser.m_hiddenBy.empty()) {
            parts.emplace_back("link hidden for Googlebot");
        }
    }
    if (seen.m_noindex && !browser.m_noindex) {
        parts.emplace_back("noindex for Googlebot");
    }
    if (seen.m_nofollow && !browser.m_nofollow) {
        parts.emplace_back("nofollow for Googlebot");
    }
    if (seen.m_canonicalElsewhere && !browser.m_canonicalElsewhere) {
        parts.push_back("canonical \xE2\x86\x92 " + seen.m_canonical + " for Googlebot");
    }
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : "; ") + part;
    }
    return text;
}

}  // namespace tarnwick
