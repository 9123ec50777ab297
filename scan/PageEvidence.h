// What one fetch of a publisher page tells beside its result word: whether
// the link is worth anything to a search engine. Gathered from the same
// transfer that gives the result (LinkFinder) plus the host's
// robots.txt (RobotsCache); it never changes the result word.
//
// Plain fields only, so that the history and the export can store them as
// they are. Texts are UTF-8.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scan/LinkResult.h"

namespace tarnwick {

// What the host's robots.txt says about the page.
enum class RobotsVerdict {
    Unknown,     // not fetched (not HTTP, the run stopped)
    Allowed,     // no rule (or an Allow) for the page's path, or no file (4xx)
    Disallowed,  // a Disallow rule wins for the page's path, or the file is
                 // unreachable (5xx, no connection, no answer in time)
};

// "unknown", "allowed", "disallowed"; and back (anything else: Unknown).
const char* robotsVerdictName(RobotsVerdict verdict);
RobotsVerdict robotsVerdictFromName(std::string_view name);

// The crawlers whose robots directives are told apart: every crawler (meta
// robots, X-Robots-Tag without a name), Googlebot and Bingbot.
enum class Crawler { All, Googlebot, Bingbot };
inline constexpr std::size_t kCrawlers = 3;
// "all", "googlebot", "bingbot".
const char* crawlerName(Crawler crawler);

// What the robots directives of a page tell one crawler, and where they said
// it: `<meta name="googlebot" content="noindex">`, `X-Robots-Tag: noindex`
// ("" when nothing said it).
struct CrawlerDirectives {
    std::string m_noindex;   // noindex, none, or an unavailable_after date passed
    std::string m_nofollow;  // nofollow or none
    bool operator==(const CrawlerDirectives&) const = default;
};

struct PageEvidence {
    bool m_checked = false;  // a check of the page has filled this in

    // The transfer: final answer after redirects.
    long m_httpStatus = 0;  // 0: no HTTP answer (no connection, FTP, ...)
    std::string m_finalUrl;
    std::string m_contentType;  // the final answer's Content-Type header
    std::uint64_t m_bytes = 0;  // body bytes received (after decoding)
    std::int64_t m_elapsedMs = 0;

    // The first <a> whose href holds the advertiser's address (letter case
    // ignored).
    bool m_anchorFound = false;
    std::string m_href;
    std::string m_rel;         // its rel tokens, lowered, one blank between them
    std::string m_anchorText;  // trimmed, blanks collapsed, at most 200 characters
    // The address occurs inside <script> and nowhere else in the page.
    bool m_scriptOnly = false;

    // Whether the deciding link is shown (OpenElements): the first shown
    // link to the advertiser decides, else the first link.
    std::string m_hiddenBy;         // `<div style="display:none"> around the link`; "" when shown
    bool m_hiddenByMarkup = false;  // by the hidden attribute or an SVG attribute
    std::string m_ariaHidden;       // aria-hidden="true" on it or around it: noted only

    // Links to other hosts than the page's (template content not counted),
    // and the deciding link's place among them (1: the first; 0: it is not
    // one of them).
    std::int64_t m_outboundLinks = 0;
    std::int64_t m_linkPosition = 0;

    // The page's canonical address: <link rel="canonical"> in its head or a
    // Link header with rel="canonical", resolved; "" when none, or when they
    // disagree (search engines then follow none).
    std::string m_canonical;
    std::string m_canonicalSource;      // the element or header that named it
    bool m_canonicalElsewhere = false;  // another page than the final address

    // Page-level directives: <meta name="robots"> / <meta name="googlebot">
    // and the X-Robots-Tag header (of the final answer).
    std::string m_metaRobots;  // their content attributes, "; " between them
    std::string m_xRobotsTag;  // the header values, ", " between them
    bool m_noindex = false;    // either says noindex (or none) for all or for Googlebot
    bool m_nofollow = false;   // either says nofollow (or none) for all or for Googlebot
    // By crawler (index: Crawler), meta robots, googlebot and bingbot and
    // the X-Robots-Tag header together.
    std::array<CrawlerDirectives, kCrawlers> m_directives;
    // Directives that were not understood ("unavailable_after: soon"), "; "
    // between them.
    std::string m_robotsNotes;

    // Judged with the page's stored address and the settings (LinkRules):
    // the address the page was asked at, when the final address is another
    // page (more apart than scheme, "www." and a final "/"); and the number
    // of outbound links above which the page is a link farm (0: not judged).
    std::string m_redirectedFrom;
    long m_linkFarmLinks = 0;

    // The page after its scripts ran in headless Chromium (opt-in,
    // LinkRules::m_render): "" when not rendered, "link only after
    // scripts", "link removed by scripts", "the link is there after
    // scripts", "no link after scripts either", or "not rendered: " and why.
    std::string m_rendering;

    // The page fetched a second time as a search engine's crawler (with
    // Googlebot's User-Agent) when the first fetch found a link worth
    // following: "" when not fetched again, "same for Googlebot", "cloaked: "
    // and what differed ("no link for Googlebot", "noindex for
    // Googlebot", ...), or "not compared: " and why the second fetch failed.
    std::string m_cloaking;

    // The host's robots.txt for the final address's path, for every crawler
    // ("*") and for Googlebot.
    RobotsVerdict m_robotsAll = RobotsVerdict::Unknown;
    RobotsVerdict m_robotsGooglebot = RobotsVerdict::Unknown;
    // Why, when no rules of the file decided ("robots.txt answered HTTP
    // 503"); "" when they did.
    std::string m_robotsReason;

    bool operator==(const PageEvidence&) const = default;
};

// The settings a page's evidence is judged with beside the page itself.
struct LinkRules {
    static constexpr long kDefaultLinkFarmLinks = 100;
    // More links to other hosts than this make the page a link farm.
    long m_linkFarmLinks = kDefaultLinkFarmLinks;
    // Pages are also loaded in headless Chromium (PageRenderer), to see the
    // links scripts write or remove.
    bool m_render = false;
};

// What the page alone cannot tell: whether it answered at another page than
// the one asked for (requested: the page's address as stored, Windows-1252),
// and whether its outbound links make it a link farm. For evidence of a
// check only.
void applyLinkRules(PageEvidence& evidence, std::string_view requested, const LinkRules& rules);

// One thing that takes a found link's worth: its words for the Details cell
// ("hidden by CSS", "canonical → https://...", "noindex for Googlebot",
// "link farm: 340 links") and the attribute, header, meta or count that
// shows it.
struct LinkFinding {
    std::string m_text;
    std::string m_evidence;
    bool operator==(const LinkFinding&) const = default;
};

// Every finding of a checked page with an HTTP answer, worst first: hidden by
// CSS / by markup (the link), cloaked (the link), redirected, canonical elsewhere, robots.txt
// blocks, noindex (for all, for Googlebot, for Bingbot), sponsored, ugc,
// nofollow (the link's rel; the page's directives for all, Googlebot,
// Bingbot), link farm; link removed by scripts (the link), link only after
// scripts (no link). The link's own findings only when it was found.
std::vector<LinkFinding> linkFindings(const PageEvidence& evidence);

// The crawlers ("all", "googlebot", "bingbot") whose directives say which
// (&CrawlerDirectives::m_noindex or m_nofollow).
std::vector<std::string> crawlersWith(const PageEvidence& evidence,
                                      std::string CrawlerDirectives::*which);

// The findings' texts, one per line: how the history keeps them.
std::string findingsText(const PageEvidence& evidence);

// The rel tokens as a list.
std::vector<std::string> relTokens(const PageEvidence& evidence);
bool hasRelToken(const PageEvidence& evidence, std::string_view token);

// One verdict for both crawlers: Disallowed when either is disallowed,
// Allowed when both are allowed, otherwise Unknown.
RobotsVerdict combinedRobots(const PageEvidence& evidence);

// The short verdict of the Details column: "" until the page was checked,
// then the first that applies of "no answer", "HTTP 503" (any final status
// outside 200-299); with a link, its worst finding, else "follow"; without
// one, "robots.txt blocks" or a noindex finding, else "script only" or
// "no link".
std::string evidenceVerdict(const PageEvidence& evidence);

// A page whose result is "Link Found" but whose link a search engine does not
// count: every verdict but "follow".
bool isWorthlessLink(const PageEvidence& evidence, std::optional<LinkResult> result);

// Every fact as (name, value) in a fixed order, for the tooltip and the Page
// Details dialog.
std::vector<std::pair<std::string, std::string>> evidenceFacts(const PageEvidence& evidence);

}  // namespace tarnwick
