#include "scan/AdvertiserAddress.h"

#include <algorithm>

#include "common/AsciiText.h"

namespace tarnwick {

namespace {

std::string_view withoutWww(std::string_view host) {
    if (host.size() > 4 && host.substr(0, 4) == "www.") {
        host.remove_prefix(4);
    }
    return host;
}

std::string withoutFinalSlash(std::string path) {
    while (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool containsLowered(std::string_view text, std::string_view loweredNeedle) {
    if (loweredNeedle.empty()) {
        return false;
    }
    return std::search(text.begin(), text.end(), loweredNeedle.begin(), loweredNeedle.end(),
                       [](char a, char b) { return lowerAscii(a) == b; }) != text.end();
}

bool isHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

AdvertiserAddress::AdvertiserAddress(std::string_view typed) {
    std::string_view trimmed = typed;
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.front()) <= 0x20) {
        trimmed.remove_prefix(1);
    }
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= 0x20) {
        trimmed.remove_suffix(1);
    }
    m_url = WebUrl::parse(trimmed);
    if (!m_url && !trimmed.empty() && trimmed.find("://") == std::string_view::npos) {
        // A host (and path) typed without a scheme.
        m_url = WebUrl::parse("http://" + std::string(trimmed));
    }
    if (!m_url) {
        m_searchName = loweredAscii(trimmed);
        m_typedSearchName = m_searchName;
        return;
    }
    m_host = std::string(withoutWww(m_url->host()));
    m_path = loweredAscii(withoutFinalSlash(m_url->path()));
    m_searchName = m_host;
    // The host as typed, for text that writes an IDN in its own letters.
    std::string_view typedHost = trimmed;
    if (const std::size_t scheme = typedHost.find("://"); scheme != std::string_view::npos) {
        typedHost.remove_prefix(scheme + 3);
    }
    typedHost = typedHost.substr(0, std::min(typedHost.find_first_of("/?#:"), typedHost.size()));
    m_typedSearchName = std::string(withoutWww(loweredAscii(typedHost)));
}

bool AdvertiserAddress::onHost(const WebUrl& url) const {
    return m_url && withoutWww(url.host()) == m_host;
}

bool AdvertiserAddress::samePage(const WebUrl& expected, const WebUrl& actual) {
    return withoutWww(expected.host()) == withoutWww(actual.host()) &&
           expected.port() == actual.port() &&
           loweredAscii(withoutFinalSlash(expected.path())) ==
               loweredAscii(withoutFinalSlash(actual.path())) &&
           (!expected.hasQuery() || (actual.hasQuery() && actual.query() == expected.query()));
}

bool AdvertiserAddress::sameHost(const WebUrl& url) const {
    return withoutWww(url.host()) == m_host && url.port() == m_url->port();
}

bool AdvertiserAddress::samePlace(const WebUrl& url) const {
    const std::string path = loweredAscii(withoutFinalSlash(url.path()));
    const bool pathMatches =
        m_path.empty() || path == m_path ||
        (path.size() > m_path.size() && path.compare(0, m_path.size(), m_path) == 0 &&
         path[m_path.size()] == '/');
    if (!pathMatches) {
        return false;
    }
    return !m_url->hasQuery() || (url.hasQuery() && url.query() == m_url->query());
}

// Whether the advertiser's address stands in the link's own path or query,
// as a redirector writes it: with or without a scheme, escaped once or twice.
bool AdvertiserAddress::carriedBy(const WebUrl& url) const {
    std::string text = url.path();
    if (url.hasQuery()) {
        text += '?' + url.query();
    }
    for (int round = 0; round < 3; ++round) {
        const std::string lowered = loweredAscii(text);
        for (std::size_t at = lowered.find(m_host); at != std::string::npos;
             at = lowered.find(m_host, at + 1)) {
            // The name must stand alone: not the end of a longer host name.
            std::size_t begin = at;
            if (begin >= 4 && lowered.compare(begin - 4, 4, "www.") == 0) {
                begin -= 4;
            }
            if (begin > 0 && isHostCharacter(lowered[begin - 1])) {
                continue;
            }
            std::size_t end = lowered.find_first_of("&#; \"'<>", at);
            if (end == std::string::npos) {
                end = lowered.size();
            }
            std::string candidate;
            if (begin >= 2 && lowered.compare(begin - 2, 2, "//") == 0) {
                // "scheme://host..." or "//host...": the scheme's letters
                // before the slashes, if any.
                std::size_t from = begin - 2;
                if (from >= 1 && lowered[from - 1] == ':') {
                    std::size_t letters = from - 1;
                    while (letters > 0 && lowered[letters - 1] >= 'a' &&
                           lowered[letters - 1] <= 'z') {
                        --letters;
                    }
                    from = letters;
                }
                candidate = text.substr(from, end - from);
                if (candidate.rfind("//", 0) == 0) {
                    candidate.insert(0, "http:");
                }
            } else {
                candidate = "http://" + text.substr(begin, end - begin);
            }
            const std::optional<WebUrl> carried = WebUrl::parse(candidate);
            if (carried && sameHost(*carried) && samePlace(*carried)) {
                return true;
            }
        }
        const std::string decoded = percentDecoded(text);
        if (decoded == text) {
            break;
        }
        text = decoded;
    }
    return false;
}

AdvertiserAddress::Match AdvertiserAddress::match(const WebUrl& url) const {
    if (!m_url) {
        return Match::None;
    }
    if (withoutWww(url.host()) == m_host) {
        return sameHost(url) && samePlace(url) ? Match::Direct : Match::OtherPath;
    }
    return carriedBy(url) ? Match::Redirect : Match::None;
}

AdvertiserAddress::Match AdvertiserAddress::match(const std::optional<WebUrl>& url,
                                                  std::string_view href) const {
    if (!m_url) {
        return containsLowered(href, m_searchName) ? Match::Direct : Match::None;
    }
    return url ? match(*url) : Match::None;
}

}  // namespace tarnwick
