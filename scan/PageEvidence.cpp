#include "scan/PageEvidence.h"

#include <optional>

#include "common/Cp1252.h"
#include "scan/AdvertiserAddress.h"
#include "scan/StatusWords.h"
#include "scan/WebUrl.h"

namespace tarnwick {

namespace {

bool Answered(const PageEvidence& e) {
    return !(e.m_nHttpStatus == 0 && e.m_nBytes == 0) &&
           !(e.m_nHttpStatus != 0 && (e.m_nHttpStatus < 200 || e.m_nHttpStatus > 299));
}

const CrawlerDirectives& For(const PageEvidence& e, Crawler crawler) {
    return e.m_directives[static_cast<std::size_t>(crawler)];
}

}  // namespace

const char* CrawlerName(Crawler crawler) {
    switch (crawler) {
        case Crawler::Googlebot:
            return "googlebot";
        case Crawler::Bingbot:
            return "bingbot";
        case Crawler::All:
            break;
    }
    return "all";
}

void ApplyLinkRules(PageEvidence& evidence, std::string_view requested, const LinkRules& rules) {
    if (!evidence.m_bChecked) {
        return;
    }
    evidence.m_nLinkFarmLinks = rules.m_nLinkFarmLinks;
    evidence.m_strRedirectedFrom.clear();
    const std::string asked = Cp1252ToUtf8(requested);
    const std::optional<WebUrl> from = WebUrl::parse(asked);
    const std::optional<WebUrl> to = WebUrl::parse(evidence.m_strFinalUrl);
    if (from && to && !AdvertiserAddress::samePage(*from, *to)) {
        evidence.m_strRedirectedFrom = asked;
    }
}

std::vector<LinkFinding> LinkFindings(const PageEvidence& e) {
    std::vector<LinkFinding> findings;
    if (!e.m_bChecked || !Answered(e)) {
        return findings;
    }
    // One finding per text: a second cause adds its evidence.
    const auto add = [&findings](std::string text, const std::string& evidence) {
        for (LinkFinding& f : findings) {
            if (f.m_strText == text) {
                f.m_strEvidence += (f.m_strEvidence.empty() ? "" : "; ") + evidence;
                return;
            }
        }
        findings.push_back({std::move(text), evidence});
    };
    // Directives for every crawler, else those for Googlebot and Bingbot.
    const auto directives = [&](const std::string& word, std::string CrawlerDirectives::*which) {
        if (const std::string& all = For(e, Crawler::All).*which; !all.empty()) {
            add(word, all);
            return;
        }
        if (const std::string& google = For(e, Crawler::Googlebot).*which; !google.empty()) {
            add(word + " for Googlebot", google);
        }
        if (const std::string& bing = For(e, Crawler::Bingbot).*which; !bing.empty()) {
            add(word + " for Bingbot", bing);
        }
    };
    const bool link = e.m_bAnchorFound;
    if (link && !e.m_strHiddenBy.empty()) {
        add(e.m_bHiddenByMarkup ? "hidden by markup" : "hidden by CSS", e.m_strHiddenBy);
    }
    if (link && e.m_strCloaking.rfind("cloaked: ", 0) == 0) {
        add(e.m_strCloaking, "the page fetched again with Googlebot's User-Agent");
    }
    if (!e.m_strRedirectedFrom.empty()) {
        add("redirected to " + e.m_strFinalUrl, "asked at " + e.m_strRedirectedFrom);
    }
    if (e.m_bCanonicalElsewhere) {
        add("canonical \xE2\x86\x92 " + e.m_strCanonical, e.m_strCanonicalSource);
    }
    if (CombinedRobots(e) == RobotsVerdict::Disallowed) {
        add("robots.txt blocks",
            std::string("robots.txt for all crawlers: ") + RobotsVerdictName(e.m_robotsAll) +
                ", for Googlebot: " + RobotsVerdictName(e.m_robotsGooglebot) +
                (e.m_strRobotsReason.empty() ? "" : " (" + e.m_strRobotsReason + ")"));
    }
    directives("noindex", &CrawlerDirectives::m_strNoindex);
    if (link) {
        for (const char* rel : {"sponsored", "ugc", "nofollow"}) {
            if (HasRelToken(e, rel)) {
                add(rel, "rel=\"" + e.m_strRel + "\" on the link");
            }
        }
        directives("nofollow", &CrawlerDirectives::m_strNofollow);
    }
    if (e.m_nLinkFarmLinks > 0 && e.m_nOutboundLinks > e.m_nLinkFarmLinks) {
        const std::string count = std::to_string(e.m_nOutboundLinks);
        add("link farm: " + count + " links",
            count + " links to other hosts (more than " + std::to_string(e.m_nLinkFarmLinks) + ")" +
                (link && e.m_nLinkPosition > 0
                     ? "; the link is number " + std::to_string(e.m_nLinkPosition)
                     : std::string()));
    }
    if (e.m_strRendering == "link removed by scripts" && link) {
        add(e.m_strRendering, "the page after its scripts ran in headless Chromium");
    }
    if (e.m_strRendering == "link only after scripts" && !link) {
        add(e.m_strRendering, "the page after its scripts ran in headless Chromium");
    }
    return findings;
}

std::vector<std::string> CrawlersWith(const PageEvidence& evidence,
                                      std::string CrawlerDirectives::*which) {
    std::vector<std::string> names;
    for (const Crawler c : {Crawler::All, Crawler::Googlebot, Crawler::Bingbot}) {
        if (!(For(evidence, c).*which).empty()) {
            names.emplace_back(CrawlerName(c));
        }
    }
    return names;
}

std::string FindingsText(const PageEvidence& evidence) {
    std::string text;
    for (const LinkFinding& f : LinkFindings(evidence)) {
        text += (text.empty() ? "" : "\n") + f.m_strText;
    }
    return text;
}

const char* RobotsVerdictName(RobotsVerdict verdict) {
    switch (verdict) {
        case RobotsVerdict::Allowed:
            return "allowed";
        case RobotsVerdict::Disallowed:
            return "disallowed";
        case RobotsVerdict::Unknown:
            break;
    }
    return "unknown";
}

RobotsVerdict RobotsVerdictFromName(std::string_view name) {
    if (name == "allowed") {
        return RobotsVerdict::Allowed;
    }
    if (name == "disallowed") {
        return RobotsVerdict::Disallowed;
    }
    return RobotsVerdict::Unknown;
}

std::vector<std::string> RelTokens(const PageEvidence& evidence) {
    std::vector<std::string> tokens;
    const std::string& rel = evidence.m_strRel;
    size_t from = 0;
    while (from < rel.size()) {
        size_t end = rel.find(' ', from);
        if (end == std::string::npos) {
            end = rel.size();
        }
        if (end > from) {
            tokens.push_back(rel.substr(from, end - from));
        }
        from = end + 1;
    }
    return tokens;
}

bool HasRelToken(const PageEvidence& evidence, std::string_view token) {
    for (const std::string& t : RelTokens(evidence)) {
        if (t == token) {
            return true;
        }
    }
    return false;
}

RobotsVerdict CombinedRobots(const PageEvidence& evidence) {
    if (evidence.m_robotsAll == RobotsVerdict::Disallowed ||
        evidence.m_robotsGooglebot == RobotsVerdict::Disallowed) {
        return RobotsVerdict::Disallowed;
    }
    if (evidence.m_robotsAll == RobotsVerdict::Allowed &&
        evidence.m_robotsGooglebot == RobotsVerdict::Allowed) {
        return RobotsVerdict::Allowed;
    }
    return RobotsVerdict::Unknown;
}

std::string EvidenceVerdict(const PageEvidence& e) {
    if (!e.m_bChecked) {
        return {};
    }
    if (e.m_nHttpStatus == 0 && e.m_nBytes == 0) {
        return "no answer";
    }
    if (e.m_nHttpStatus != 0 && (e.m_nHttpStatus < 200 || e.m_nHttpStatus > 299)) {
        return "HTTP " + std::to_string(e.m_nHttpStatus);
    }
    const std::vector<LinkFinding> findings = LinkFindings(e);
    if (e.m_bAnchorFound) {
        return findings.empty() ? "follow" : findings.front().m_strText;
    }
    // Without a link, only what keeps the page out of search engines.
    for (const LinkFinding& f : findings) {
        if (f.m_strText == "robots.txt blocks" || f.m_strText.rfind("noindex", 0) == 0 ||
            f.m_strText == "link only after scripts") {
            return f.m_strText;
        }
    }
    return e.m_bScriptOnly ? "script only" : "no link";
}

bool IsWorthlessLink(const PageEvidence& evidence, std::string_view result) {
    return evidence.m_bChecked && result == kLinkFound && EvidenceVerdict(evidence) != "follow";
}

std::vector<std::pair<std::string, std::string>> EvidenceFacts(const PageEvidence& e) {
    const auto yesNo = [](bool b) { return std::string(b ? "yes" : "no"); };
    std::vector<std::pair<std::string, std::string>> facts;
    facts.emplace_back("Verdict", EvidenceVerdict(e));
    int number = 0;
    for (const LinkFinding& f : LinkFindings(e)) {
        facts.emplace_back("Finding " + std::to_string(++number),
                           f.m_strText + ": " + f.m_strEvidence);
    }
    facts.emplace_back("HTTP status", e.m_nHttpStatus != 0 ? std::to_string(e.m_nHttpStatus) : "");
    facts.emplace_back("Final address", e.m_strFinalUrl);
    facts.emplace_back("Content type", e.m_strContentType);
    facts.emplace_back("Bytes", std::to_string(e.m_nBytes));
    facts.emplace_back("Time", std::to_string(e.m_nElapsedMs) + " ms");
    facts.emplace_back("Link", yesNo(e.m_bAnchorFound));
    facts.emplace_back("Link address", e.m_strHref);
    facts.emplace_back("rel", e.m_strRel);
    facts.emplace_back("Anchor text", e.m_strAnchorText);
    facts.emplace_back("Only in a script", yesNo(e.m_bScriptOnly));
    facts.emplace_back("Meta robots", e.m_strMetaRobots);
    facts.emplace_back("X-Robots-Tag", e.m_strXRobotsTag);
    facts.emplace_back("noindex", yesNo(e.m_bNoindex));
    facts.emplace_back("nofollow (page)", yesNo(e.m_bNofollow));
    facts.emplace_back("Hidden", e.m_strHiddenBy);
    facts.emplace_back("aria-hidden", e.m_strAriaHidden);
    facts.emplace_back("Outbound links", std::to_string(e.m_nOutboundLinks));
    facts.emplace_back("Link position",
                       e.m_nLinkPosition > 0 ? std::to_string(e.m_nLinkPosition) : "");
    facts.emplace_back("Canonical", e.m_strCanonical);
    facts.emplace_back("Canonical from", e.m_strCanonicalSource);
    facts.emplace_back("Asked at", e.m_strRedirectedFrom);
    const auto crawlers = [&e](std::string CrawlerDirectives::*which) {
        std::string names;
        for (const std::string& name : CrawlersWith(e, which)) {
            names += (names.empty() ? "" : " ") + name;
        }
        return names;
    };
    facts.emplace_back("noindex for", crawlers(&CrawlerDirectives::m_strNoindex));
    facts.emplace_back("nofollow for", crawlers(&CrawlerDirectives::m_strNofollow));
    facts.emplace_back("Robots notes", e.m_strRobotsNotes);
    facts.emplace_back("After scripts", e.m_strRendering);
    facts.emplace_back("As Googlebot", e.m_strCloaking);
    const std::string why = e.m_strRobotsReason.empty() ? "" : " (" + e.m_strRobotsReason + ")";
    facts.emplace_back("robots.txt (*)", RobotsVerdictName(e.m_robotsAll) + why);
    facts.emplace_back("robots.txt (Googlebot)", RobotsVerdictName(e.m_robotsGooglebot) + why);
    return facts;
}

}  // namespace tarnwick
