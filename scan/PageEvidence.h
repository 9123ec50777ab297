// What one fetch of a publisher page tells beside its result word: whether
// the link is worth anything to a search engine. Gathered from the same
// transfer that gives the result (LinkFinder) plus the host's
// robots.txt (RobotsCache); it never changes the result word.
//
// Plain fields only, so that the history and the export can store them as
// they are. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

// What the host's robots.txt says about the page.
enum class RobotsVerdict {
    Unknown,     // not fetched (not HTTP, the run stopped)
    Allowed,     // no rule (or an Allow) for the page's path, or no file (4xx)
    Disallowed,  // a Disallow rule wins for the page's path, or the file is
                 // unreachable (5xx, no connection, no answer in time)
};

// "unknown", "allowed", "disallowed"; and back (anything else: Unknown).
const char* RobotsVerdictName(RobotsVerdict verdict);
RobotsVerdict RobotsVerdictFromName(std::string_view name);

struct PageEvidence {
    bool m_bChecked = false;  // a check of the page has filled this in

    // The transfer: final answer after redirects.
    long m_nHttpStatus = 0;  // 0: no HTTP answer (no connection, FTP, ...)
    std::string m_strFinalUrl;
    std::string m_strContentType;  // the final answer's Content-Type header
    std::uint64_t m_nBytes = 0;    // body bytes received (after decoding)
    std::int64_t m_nElapsedMs = 0;

    // The first <a> whose href holds the advertiser's address (letter case
    // ignored).
    bool m_bAnchorFound = false;
    std::string m_strHref;
    std::string m_strRel;         // its rel tokens, lowered, one blank between them
    std::string m_strAnchorText;  // trimmed, blanks collapsed, at most 200 characters
    // The address occurs inside <script> and nowhere else in the page.
    bool m_bScriptOnly = false;

    // Page-level directives: <meta name="robots"> / <meta name="googlebot">
    // and the X-Robots-Tag header (of the final answer).
    std::string m_strMetaRobots;  // their content attributes, "; " between them
    std::string m_strXRobotsTag;  // the header values, ", " between them
    bool m_bNoindex = false;      // either says noindex (or none)
    bool m_bNofollow = false;     // either says nofollow (or none)

    // The host's robots.txt for the final address's path, for every crawler
    // ("*") and for Googlebot.
    RobotsVerdict m_robotsAll = RobotsVerdict::Unknown;
    RobotsVerdict m_robotsGooglebot = RobotsVerdict::Unknown;
    // Why, when no rules of the file decided ("robots.txt answered HTTP
    // 503"); "" when they did.
    std::string m_strRobotsReason;

    bool operator==(const PageEvidence&) const = default;
};

// The rel tokens as a list.
std::vector<std::string> RelTokens(const PageEvidence& evidence);
bool HasRelToken(const PageEvidence& evidence, std::string_view token);

// One verdict for both crawlers: Disallowed when either is disallowed,
// Allowed when both are allowed, otherwise Unknown.
RobotsVerdict CombinedRobots(const PageEvidence& evidence);

// The short verdict of the Details column: "" until the page was checked,
// then the first that applies of "no answer", "HTTP 503" (any final status
// outside 200-299), "robots.txt blocks", "noindex", "sponsored", "ugc",
// "nofollow" (rel or page-level), "follow" (an anchor without any of these),
// "script only", "no link".
std::string EvidenceVerdict(const PageEvidence& evidence);

// A page whose result is "Link Found" but whose link a search engine does not
// count: every verdict but "follow".
bool IsWorthlessLink(const PageEvidence& evidence, std::string_view result);

// Every fact as (name, value) in a fixed order, for the tooltip and the Page
// Details dialog.
std::vector<std::pair<std::string, std::string>> EvidenceFacts(const PageEvidence& evidence);

}  // namespace tarnwick
