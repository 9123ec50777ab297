// What a page's fetch comes to, decided from what its last request showed.
// Pure functions, kept apart from the transfers so that each rule can be
// read in one place and checked against a table of cases.
#pragma once

#include <curl/curl.h>

#include <ctime>
#include <string>
#include <string_view>

#include "scan/PageEvidence.h"
#include "scan/PageResult.h"

namespace tarnwick {

// The limits a reason names.
struct FetchLimits {
    long connectTimeoutSeconds = 30;
    long stallSeconds = 20;
    long pageTimeoutSeconds = 120;
    long maxRedirects = 20;
};

// How the page's last request ended.
struct RequestEnd {
    // Who ended it, when libcurl did not end it by itself.
    enum class Cut { None, Stalled, TimeLimit, LibraryFailed, Stopped };
    Cut cut = Cut::None;
    CURLcode code = CURLE_OK;
    long httpStatus = 0;            // of the final answer; 0 for FTP or before any answer
    bool stoppedOnPurpose = false;  // the body reader ended it: the result was decided
    bool headerSeen = false;        // a header line arrived
    bool requestSent = false;       // a connection was there (made or reused)
    long osErrno = 0;               // of a connect that failed
    std::string errorText;          // libcurl's error buffer, else its text for code
};

// A request that failed, in a few words for the reason column.
std::string failureReason(const RequestEnd& end, const FetchLimits& limits);

// Whether a failed request says more of this computer's network than of the
// page: no name could be looked up, or no route leads to the host. A refused
// connection or a silent server is the partner's, not ours.
bool isNetworkDown(const RequestEnd& end);

// The page's result: a cut ends it, then a final status of 400 or more
// decides whether or not its page arrived, then a failed transfer, then any
// other status outside 2xx; only then what the body showed (bodySays).
PageResult fetchVerdict(const RequestEnd& end, const FetchLimits& limits,
                        const PageResult& bodySays);

// The answers a browser follows to their Location (the Fetch standard's
// redirect statuses); any other 3xx is an answer of its own.
bool isRedirectStatus(long status);

// "Retry-After: 5" or "Retry-After: Wed, 21 Oct 2026 07:28:00 GMT" as a
// number of seconds from now; -1 for any other line or a value that is none.
long retryAfterSeconds(std::string_view line, std::time_t now);

// What search engines' crawler sends; partners that cloak look for it.
inline constexpr const char* kCrawlerAgent =
    "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)";

// What the crawler was shown (crawler, seen) that browsers were not
// (browser), in a few words; "" when nothing that matters differs.
std::string cloakingDifference(const PageEvidence& browser, const PageResult& crawler,
                               const PageEvidence& seen);

}  // namespace tarnwick
