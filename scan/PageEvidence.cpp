#include "scan/PageEvidence.h"

#include "scan/StatusWords.h"

namespace tarnwick {

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
    if (CombinedRobots(e) == RobotsVerdict::Disallowed) {
        return "robots.txt blocks";
    }
    if (e.m_bNoindex) {
        return "noindex";
    }
    if (e.m_bAnchorFound) {
        if (HasRelToken(e, "sponsored")) {
            return "sponsored";
        }
        if (HasRelToken(e, "ugc")) {
            return "ugc";
        }
        if (HasRelToken(e, "nofollow") || e.m_bNofollow) {
            return "nofollow";
        }
        return "follow";
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
    const std::string why = e.m_strRobotsReason.empty() ? "" : " (" + e.m_strRobotsReason + ")";
    facts.emplace_back("robots.txt (*)", RobotsVerdictName(e.m_robotsAll) + why);
    facts.emplace_back("robots.txt (Googlebot)", RobotsVerdictName(e.m_robotsGooglebot) + why);
    return facts;
}

}  // namespace tarnwick
