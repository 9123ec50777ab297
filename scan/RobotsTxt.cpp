#include "scan/RobotsTxt.h"

#include "common/AsciiText.h"

namespace tarnwick {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char upperHex(char c) {
    return (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Escapes in one spelling: "%2f" -> "%2F", byte 0xE9 -> "%E9".
std::string normalised(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2])) {
            out += '%';
            out += upperHex(text[i + 1]);
            out += upperHex(text[i + 2]);
            i += 2;
        } else if (c >= 0x80) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// The crawler name a User-agent line or a caller gives: "Googlebot/2.1" ->
// "googlebot".
std::string agentName(std::string_view value) {
    value = trimmed(value);
    if (value.substr(0, 1) == "*") {
        return "*";
    }
    size_t n = 0;
    while (n < value.size()) {
        const char c = lowerAscii(value[n]);
        if (!((c >= 'a' && c <= 'z') || c == '-' || c == '_')) {
            break;
        }
        ++n;
    }
    return loweredAscii(value.substr(0, n));
}

// Whether pattern ('*' any run, final '$' the end) matches the start of path.
bool matches(std::string_view pattern, std::string_view path) {
    // Positions in path that the pattern read so far can end at, ascending.
    std::vector<size_t> ends{0};
    for (size_t k = 0; k < pattern.size(); ++k) {
        const char p = pattern[k];
        if (p == '$' && k + 1 == pattern.size()) {
            return ends.back() == path.size();
        }
        std::vector<size_t> next;
        if (p == '*') {
            for (size_t at = ends.front(); at <= path.size(); ++at) {
                next.push_back(at);
            }
        } else {
            for (size_t at : ends) {
                if (at < path.size() && path[at] == p) {
                    next.push_back(at + 1);
                }
            }
        }
        if (next.empty()) {
            return false;
        }
        ends = std::move(next);
    }
    return true;
}

}  // namespace

RobotsTxt RobotsTxt::parse(std::string_view text) {
    RobotsTxt robots;
    bool inAgents = false;  // the last field line was a User-agent
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(from, end - from);
        if (from == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") {
            line.remove_prefix(3);  // a UTF-8 byte order mark
        }
        from = end + 1;
        const size_t hash = line.find('#');
        if (hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        std::string key;
        std::string_view value;
        if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
            key = loweredAscii(trimmed(line.substr(0, colon)));
            value = trimmed(line.substr(colon + 1));
        } else {
            // "Disallow /private": a known key without its colon, which the
            // major crawlers accept.
            const std::string_view rest = trimmed(line);
            const size_t blank = rest.find_first_of(" \t");
            if (blank == std::string_view::npos) {
                continue;
            }
            key = loweredAscii(rest.substr(0, blank));
            if (key != "user-agent" && key != "allow" && key != "disallow") {
                continue;
            }
            value = trimmed(rest.substr(blank + 1));
        }
        if (key == "user-agent" || key == "useragent" || key == "user agent") {
            if (!inAgents || robots.m_groups.empty()) {
                robots.m_groups.emplace_back();
            }
            robots.m_groups.back().agents.push_back(agentName(value));
            inAgents = true;
        } else if (key == "allow" || key == "disallow" || key == "dissallow" || key == "dissalow" ||
                   key == "disalow" || key == "diasllow" || key == "disallaw") {
            inAgents = false;
            if (robots.m_groups.empty() || value.empty()) {
                continue;  // rules before any User-agent, and empty patterns, are none
            }
            robots.m_groups.back().rules.push_back({key == "allow", normalised(value)});
        }
    }
    return robots;
}

bool RobotsTxt::isAllowed(std::string_view agent, std::string_view path) const {
    std::string target = normalised(path.empty() ? std::string_view("/") : path);
    if (target == "/robots.txt") {
        return true;
    }
    const std::string name = agentName(agent);
    const auto names = [](const Group& g, const std::string& n) {
        for (const std::string& a : g.agents) {
            if (a == n) {
                return true;
            }
        }
        return false;
    };
    bool named = false;
    if (name != "*") {
        for (const Group& g : m_groups) {
            named = named || names(g, name);
        }
    }
    const std::string& pick = named ? name : std::string("*");
    size_t best = 0;
    bool found = false;
    bool allowed = true;
    for (const Group& g : m_groups) {
        if (!names(g, pick)) {
            continue;
        }
        for (const Rule& r : g.rules) {
            if (!matches(r.pattern, target)) {
                continue;
            }
            const size_t length = r.pattern.size();
            if (!found || length > best) {
                allowed = r.allow;
                best = length;
                found = true;
            } else if (length == best && r.allow) {
                allowed = true;  // the less restrictive rule wins a tie
            }
        }
    }
    return allowed;
}

std::string RobotsTxt::pathOf(std::string_view address) {
    const size_t scheme = address.find("://");
    std::string_view rest = scheme == std::string_view::npos ? address : address.substr(scheme + 3);
    const size_t slash = rest.find_first_of("/?#");
    if (slash == std::string_view::npos) {
        return "/";
    }
    rest = rest.substr(slash);
    const size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        rest = rest.substr(0, hash);
    }
    std::string path(rest);
    if (path.empty() || path.front() != '/') {
        path.insert(path.begin(), '/');
    }
    return path;
}

}  // namespace tarnwick
