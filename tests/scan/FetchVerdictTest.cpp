#include "scan/FetchVerdict.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "scan/StatusWords.h"

namespace tarnwick {
namespace {

using Cut = RequestEnd::Cut;

struct VerdictCase {
    const char* name;
    RequestEnd end;
    const char* status;
    const char* reason;
    bool networkDown = false;
};

// The words the verdicts are expected to show.
constexpr const char* kLinkFound = "Link Found";
constexpr const char* kPageCannotBeFound = "Page Cannot be Found";
constexpr const char* kPageCannotBeDisplayed = "Page cannot be displayed";

// What the body said, when the verdict gets that far.
const PageResult kBodySays{LinkResult::Found, "link to the advertiser found"};

TEST(FetchVerdict, TheStatusDecidesThenTheFailureThenTheBody) {
    const FetchLimits limits{.connectTimeoutSeconds = 30,
                             .stallSeconds = 20,
                             .pageTimeoutSeconds = 120,
                             .maxRedirects = 20};
// GCC counts a member left to its default initializer as missing in a
// designated initializer; the table names only what each case sets.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
    const VerdictCase cases[] = {
        {"complete 200", {.httpStatus = 200}, kLinkFound, "link to the advertiser found"},
        {"complete FTP", {}, kLinkFound, "link to the advertiser found"},
        {"404 whatever arrived",
         {.code = CURLE_PARTIAL_FILE, .httpStatus = 404},
         kPageCannotBeFound,
         "HTTP 404"},
        {"410", {.httpStatus = 410}, kPageCannotBeFound, "HTTP 410"},
        {"500 cut by the reader",
         {.code = CURLE_WRITE_ERROR, .httpStatus = 500, .stoppedOnPurpose = true},
         kPageCannotBeDisplayed,
         "HTTP 500"},
        {"a 3xx without Location", {.httpStatus = 304}, kPageCannotBeDisplayed, "HTTP 304"},
        {"reader decided early",
         {.code = CURLE_WRITE_ERROR, .httpStatus = 200, .stoppedOnPurpose = true},
         kLinkFound,
         "link to the advertiser found"},
        {"200 cut short",
         {.code = CURLE_PARTIAL_FILE, .httpStatus = 200},
         kPageCannotBeDisplayed,
         "connection closed before the end of the page"},
        {"time limit",
         {.cut = Cut::TimeLimit, .httpStatus = 200},
         kPageCannotBeDisplayed,
         "time limit of 120 s reached"},
        {"stalled", {.cut = Cut::Stalled}, kPageCannotBeDisplayed, "no data for 20 s"},
        {"library failed",
         {.cut = Cut::LibraryFailed},
         kPageCannotBeDisplayed,
         "the network library failed"},
        {"stopped beats a 404",
         {.cut = Cut::Stopped, .httpStatus = 404},
         kPageCannotBeDisplayed,
         "the run was stopped"},
        {"no such host",
         {.code = CURLE_COULDNT_RESOLVE_HOST},
         kPageCannotBeDisplayed,
         "host name not found",
         true},
        {"refused",
         {.code = CURLE_COULDNT_CONNECT, .osErrno = ECONNREFUSED},
         kPageCannotBeDisplayed,
         "connection refused"},
        {"no route",
         {.code = CURLE_COULDNT_CONNECT, .osErrno = EHOSTUNREACH},
         kPageCannotBeDisplayed,
         "could not connect: No route to host",
         true},
        {"silent before connecting",
         {.code = CURLE_OPERATION_TIMEDOUT},
         kPageCannotBeDisplayed,
         "no connection within 30 s"},
        // A reused connection took no time to connect, but the request went.
        {"silent on a reused connection",
         {.code = CURLE_OPERATION_TIMEDOUT, .requestSent = true},
         kPageCannotBeDisplayed,
         "no data for 20 s"},
        {"HTTP/0.9",
         {.code = CURLE_UNSUPPORTED_PROTOCOL, .errorText = "Received HTTP/0.9 when not allowed"},
         kPageCannotBeDisplayed,
         "the server answered without HTTP headers (HTTP/0.9)"},
        {"other scheme",
         {.code = CURLE_UNSUPPORTED_PROTOCOL},
         kPageCannotBeDisplayed,
         "the address is not http, https or ftp"},
        {"one huge header line",
         {.code = CURLE_OUT_OF_MEMORY, .headerSeen = true},
         kPageCannotBeDisplayed,
         "the server's headers are too long"},
        {"headers too large",
         {.code = CURLE_RECV_ERROR, .errorText = "Too large response headers: 307210 > 307200"},
         kPageCannotBeDisplayed,
         "the server's headers are too long"},
        {"anything else",
         {.code = CURLE_SEND_ERROR, .errorText = "Send failure: Broken pipe"},
         kPageCannotBeDisplayed,
         "transfer failed: Send failure: Broken pipe"},
    };
#pragma GCC diagnostic pop
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PageResult result = fetchVerdict(c.end, limits, kBodySays);
        EXPECT_EQ(result.word(), c.status);
        EXPECT_EQ(result.m_reason, c.reason);
        EXPECT_EQ(result.m_httpStatus, c.end.httpStatus);
        EXPECT_EQ(result.m_networkDown, c.networkDown);
    }
}

TEST(FetchVerdict, RetryAfterInSecondsOrAsADate) {
    const std::time_t now = 1792566480;  // Wed, 21 Oct 2026 07:08:00 GMT
    const struct {
        const char* line;
        long seconds;
    } cases[] = {
        {"Retry-After: 5\r\n", 5},
        {"retry-after:\t0 \r\n", 0},
        {"Retry-After: 99999999999\r\n", 1000000000L},
        {"Retry-After: Wed, 21 Oct 2026 07:28:00 GMT\r\n", 1200},
        {"Retry-After: Wed, 21 Oct 2026 07:00:00 GMT\r\n", 0},  // already past
        {"Retry-After: soon\r\n", -1},
        {"Retry-After: \r\n", -1},
        {"Retry-After-Ms: 5\r\n", -1},
        {"Location: /5\r\n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(retryAfterSeconds(c.line, now), c.seconds);
    }
}

}  // namespace
}  // namespace tarnwick
