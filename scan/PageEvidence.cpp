#include "scan/PageEvidence.h"

#include <optional>

#include "common/Cp1252.h"
#include "scan/AdvertiserAddress.h"
#include "scan/WebUrl.h"

namespace tarnwick {

namespace {

bool answered(const PageEvidence& e) {
    return !(e.m_httpStatus == 0 && e.m_bytes == 0) &&
           !(e.m_httpStatus != 0 && (e.m_httpStatus < 200 || e.m_httpStatus > 299));
}

const CrawlerDirectives& directivesFor(const PageEvidence& e, Crawler crawler) {
    return e.m_directives[static_cast<std::size_t>(crawler)];
}

}  // namespace

const char* crawlerName(Crawler crawler) {
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

void applyLinkRules(PageEvidence& evidence, std::string_view requested, const LinkRules& rules) {
    if (!evidence.m_checked) {
        return;
    }
    evidence.m_linkFarmLinks = rules.m_linkFarmLinks;
    evidence.m_redirectedFrom.clear();
    const std::string asked = cp1252ToUtf8(requested);
    const std::optional<WebUrl> from = WebUrl::parse(asked);
    const std::optional<WebUrl> to = WebUrl::parse(evidence.m_finalUrl);
    if (from && to && !AdvertiserAddress::samePage(*from, *to)) {
        evidence.m_redirectedFrom = asked;
    }
}

std::vector<LinkFinding> linkFindings(const PageEvidence& e) {
    std::vector<LinkFinding> findings;
    if (!e.m_checked || !answered(e)) {
        return findings;
    }
    // One finding per text: a second cause adds its evidence.
    const auto add = [&findings](std::string text, const std::string& evidence) {
        for (LinkFinding& f : findings) {
            if (f.m_text == text) {
                f.m_evidence += (f.m_evidence.empty() ? "" : "; ") + evidence;
                return;
            }
        }
        findings.push_back({std::move(text), evidence});
    };
    // Directives for every crawler, else those for Googlebot and Bingbot.
    const auto directives = [&](const std::string& word, std::string CrawlerDirectives::*which) {
        if (const std::string& all = directivesFor(e, Crawler::All).*which; !all.empty()) {
            add(word, all);
            return;
        }
        if (const std::string& google = directivesFor(e, Crawler::Googlebot).*which;
            !google.empty()) {
            add(word + " for Googlebot", google);
        }
        if (const std::string& bing = directivesFor(e, Crawler::Bingbot).*which; !bing.empty()) {
            add(word + " for Bingbot", bing);
        }
    };
    const bool link = e.m_anchorFound;
    if (link && !e.m_hiddenBy.empty()) {
        add(e.m_hiddenByMarkup ? "hidden by markup" : "hidden by CSS", e.m_hiddenBy);
    }
    if (link && e.m_cloaking.rfind("cloaked: ", 0) == 0) {
        add(e.m_cloaking, "the page fetched again with Googlebot's User-Agent");
    }
    if (!e.m_redirectedFrom.empty()) {
        add("redirected to " + e.m_finalUrl, "asked at " + e.m_redirectedFrom);
    }
    if (e.m_canonicalElsewhere) {
        add("canonical \xE2\x86\x92 " + e.m_canonical, e.m_canonicalSource);
    }
    if (combinedRobots(e) == RobotsVerdict::Disallowed) {
        add("robots.txt blocks",
            std::string("robots.txt for all crawlers: ") + robotsVerdictName(e.m_robotsAll) +
                ", for Googlebot: " + robotsVerdictName(e.m_robotsGooglebot) +
                (e.m_robotsReason.empty() ? "" : " (" + e.m_robotsReason + ")"));
    }
    directives("noindex", &CrawlerDirectives::m_noindex);
    if (link) {
        for (const char* rel : {"sponsored", "ugc", "nofollow"}) {
            if (hasRelToken(e, rel)) {
                add(rel, "rel=\"" + e.m_rel + "\" on the link");
            }
        }
        directives("nofollow", &CrawlerDirectives::m_nofollow);
    }
    if (e.m_linkFarmLinks > 0 && e.m_outboundLinks > e.m_linkFarmLinks) {
        const std::string count = std::to_string(e.m_outboundLinks);
        add("link farm: " + count + " links",
            count + " links to other hosts (more than " + std::to_string(e.m_linkFarmLinks) + ")" +
                (link && e.m_linkPosition > 0
                     ? "; the link is number " + std::to_string(e.m_linkPosition)
                     : std::string()));
    }
    if (e.m_rendering == "link removed by scripts" && link) {
        add(e.m_rendering, "the page after its scripts ran in headless Chromium");
    }
    if (e.m_rendering == "link only after scripts" && !link) {
        add(e.m_rendering, "the page after its scripts ran in headless Chromium");
    }
    return findings;
}

std::vector<std::string> crawlersWith(const PageEvidence& evidence,
                                      std::string CrawlerDirectives::*which) {
    std::vector<std::string> names;
    for (const Crawler c : {Crawler::All, Crawler::Googlebot, Crawler::Bingbot}) {
        if (!(directivesFor(evidence, c).*which).empty()) {
            names.emplace_back(crawlerName(c));
        }
    }
    return names;
}

std::string findingsText(const PageEvidence& evidence) {
    std::string text;
    for (const LinkFinding& f : linkFindings(evidence)) {
        text += (text.empty() ? "" : "\n") + f.m_text;
    }
    return text;
}

const char* robotsVerdictName(RobotsVerdict verdict) {
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

RobotsVerdict robotsVerdictFromName(std::string_view name) {
    if (name == "allowed") {
        return RobotsVerdict::Allowed;
    }
    if (name == "disallowed") {
        return RobotsVerdict::Disallowed;
    }
    return RobotsVerdict::Unknown;
}

std::vector<std::string> relTokens(const PageEvidence& evidence) {
    std::vector<std::string> tokens;
    const std::string& rel = evidence.m_rel;
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

bool hasRelToken(const PageEvidence& evidence, std::string_view token) {
    for (const std::string& t : relTokens(evidence)) {
        if (t == token) {
            return true;
        }
    }
    return false;
}

RobotsVerdict combinedRobots(const PageEvidence& evidence) {
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

std::string evidenceVerdict(const PageEvidence& e) {
    if (!e.m_checked) {
        return {};
    }
    if (e.m_httpStatus == 0 && e.m_bytes == 0) {
        return "no answer";
    }
    if (e.m_httpStatus != 0 && (e.m_httpStatus < 200 || e.m_httpStatus > 299)) {
        return "HTTP " + std::to_string(e.m_httpStatus);
    }
    const std::vector<LinkFinding> findings = linkFindings(e);
    if (e.m_anchorFound) {
        return findings.empty() ? "follow" : findings.front().m_text;
    }
    // Without a link, only what keeps the page out of search engines.
    for (const LinkFinding& f : findings) {
        if (f.m_text == "robots.txt blocks" || f.m_text.rfind("noindex", 0) == 0 ||
            f.m_text == "link only after scripts") {
            return f.m_text;
        }
    }
    return e.m_scriptOnly ? "script only" : "no link";
}

bool isWorthlessLink(const PageEvidence& evidence, std::optional<LinkResult> result) {
    return evidence.m_checked && result == LinkResult::Found &&
           evidenceVerdict(evidence) != "follow";
}

std::vector<std::pair<std::string, std::string>> evidenceFacts(const PageEvidence& e) {
    const auto yesNo = [](bool b) { return std::string(b ? "yes" : "no"); };
    std::vector<std::pair<std::string, std::string>> facts;
    facts.emplace_back("Verdict", evidenceVerdict(e));
    int number = 0;
    for (const LinkFinding& f : linkFindings(e)) {
        facts.emplace_back("Finding " + std::to_string(++number), f.m_text + ": " + f.m_evidence);
    }
    facts.emplace_back("HTTP status", e.m_httpStatus != 0 ? std::to_string(e.m_httpStatus) : "");
    facts.emplace_back("Final address", e.m_finalUrl);
    facts.emplace_back("Content type", e.m_contentType);
    facts.emplace_back("Bytes", std::to_string(e.m_bytes));
    facts.emplace_back("Time", std::to_string(e.m_elapsedMs) + " ms");
    facts.emplace_back("Link", yesNo(e.m_anchorFound));
    facts.emplace_back("Link address", e.m_href);
    facts.emplace_back("rel", e.m_rel);
    facts.emplace_back("Anchor text", e.m_anchorText);
    facts.emplace_back("Only in a script", yesNo(e.m_scriptOnly));
    facts.emplace_back("Meta robots", e.m_metaRobots);
    facts.emplace_back("X-Robots-Tag", e.m_xRobotsTag);
    facts.emplace_back("noindex", yesNo(e.m_noindex));
    facts.emplace_back("nofollow (page)", yesNo(e.m_nofollow));
    facts.emplace_back("Hidden", e.m_hiddenBy);
    facts.emplace_back("aria-hidden", e.m_ariaHidden);
    facts.emplace_back("Outbound links", std::to_string(e.m_outboundLinks));
    facts.emplace_back("Link position",
                       e.m_linkPosition > 0 ? std::to_string(e.m_linkPosition) : "");
    facts.emplace_back("Canonical", e.m_canonical);
    facts.emplace_back("Canonical from", e.m_canonicalSource);
    facts.emplace_back("Asked at", e.m_redirectedFrom);
    const auto crawlers = [&e](std::string CrawlerDirectives::*which) {
        std::string names;
        for (const std::string& name : crawlersWith(e, which)) {
            names += (names.empty() ? "" : " ") + name;
        }
        return names;
    };
    facts.emplace_back("noindex for", crawlers(&CrawlerDirectives::m_noindex));
    facts.emplace_back("nofollow for", crawlers(&CrawlerDirectives::m_nofollow));
    facts.emplace_back("Robots notes", e.m_robotsNotes);
    facts.emplace_back("After scripts", e.m_rendering);
    facts.emplace_back("As Googlebot", e.m_cloaking);
    const std::string why = e.m_robotsReason.empty() ? "" : " (" + e.m_robotsReason + ")";
    facts.emplace_back("robots.txt (*)", robotsVerdictName(e.m_robotsAll) + why);
    facts.emplace_back("robots.txt (Googlebot)", robotsVerdictName(e.m_robotsGooglebot) + why);
    return facts;
}

}  // namespace tarnwick
