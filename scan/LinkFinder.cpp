#include "scan/LinkFinder.h"

#include <curl/curl.h>
#include <cstring>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <vector>

#include "common/AsciiText.h"
#include "common/Cp1252.h"
#include "scan/AdvertiserAddress.h"
#include "scan/HtmlTokenizer.h"
#include "scan/NotFoundPhrase.h"
#include "scan/OpenElements.h"
#include "scan/WebUrl.h"

namespace tarnwick {

namespace {

// Longest anchor text kept, in characters.
constexpr std::size_t kAnchorTextChars = 200;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool containsLowered(std::string_view text, std::string_view loweredNeedle) {
    if (loweredNeedle.empty() || text.size() < loweredNeedle.size()) {
        return false;
    }
    return std::search(text.begin(), text.end(), loweredNeedle.begin(), loweredNeedle.end(),
                       [](char a, char b) { return lowerAscii(a) == b; }) != text.end();
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view withoutWww(std::string_view host) {
    if (host.size() > 4 && host.substr(0, 4) == "www.") {
        host.remove_prefix(4);
    }
    return host;
}

bool oneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Where an href leads, read quickly: most links of a page are plainly
// relative or plainly absolute; the others go through WebUrl. host: for an
// absolute one, its host as written (letter case kept), without a final dot.
enum class LinkHost { Relative, Absolute, NotWeb, Unsure };

LinkHost linkHostOf(std::string_view href, std::string_view& host) {
    while (!href.empty() && static_cast<unsigned char>(href.front()) <= 0x20) {
        href.remove_prefix(1);
    }
    // The everyday cases first: "/path" and "page.html?x" are relative.
    if (!href.empty() && href[0] == '/' &&
        (href.size() == 1 || (href[1] != '/' && href[1] != '\\'))) {
        return LinkHost::Relative;
    }
    std::size_t authority = std::string_view::npos;
    if (href.size() >= 2 && href[0] == '/' && href[1] == '/') {
        authority = 2;
    } else {
        std::size_t i = 0;
        while (
            i < href.size() &&
            ((href[i] >= 'a' && href[i] <= 'z') || (href[i] >= 'A' && href[i] <= 'Z') ||
             (i > 0 && (isDigit(href[i]) || href[i] == '+' || href[i] == '-' || href[i] == '.')))) {
            ++i;
        }
        if (i == 0 || i >= href.size() || href[i] != ':') {
            // No scheme: relative, unless blanks, escapes or backslashes
            // may hide a scheme or a host.
            const std::string_view head = href.substr(0, 8);
            return std::none_of(head.begin(), head.end(),
                                [](char c) {
                                    return c == '\t' || c == '\n' || c == '\r' || c == '%' ||
                                           c == '\\';
                                })
                       ? LinkHost::Relative
                       : LinkHost::Unsure;
        }
        const std::string_view scheme = href.substr(0, i);
        const auto is = [&scheme](std::string_view name) {
            return scheme.size() == name.size() &&
                   std::equal(scheme.begin(), scheme.end(), name.begin(),
                              [](char a, char b) { return lowerAscii(a) == b; });
        };
        if (!is("http") && !is("https")) {
            return LinkHost::NotWeb;
        }
        if (href.substr(i + 1, 2) != "//") {
            return LinkHost::Unsure;  // "http:/x", "http:x" and the like
        }
        authority = i + 3;
    }
    // A loop, not find_first_of: that looks each character up in the set
    // with a call of its own.
    std::size_t end = authority;
    while (end < href.size() && href[end] != '/' && href[end] != '?' && href[end] != '#') {
        ++end;
    }
    std::string_view name = href.substr(authority, end - authority);
    if (const std::size_t at = name.rfind('@'); at != std::string_view::npos) {
        name.remove_prefix(at + 1);
    }
    if (!name.empty() && name.front() != '[') {
        name = name.substr(0, name.find(':'));
    }
    if (!name.empty() && name.back() == '.') {
        name.remove_suffix(1);
    }
    if (name.empty() || std::any_of(name.begin(), name.end(), [](char c) {
            return c == '%' || c == '\\' || static_cast<unsigned char>(c) <= 0x20 ||
                   static_cast<unsigned char>(c) >= 0x80;
        })) {
        return LinkHost::Unsure;
    }
    host = name;
    return LinkHost::Absolute;
}

// Whether a host as written is lowered (without "www.").
bool sameHost(std::string_view written, std::string_view lowered) {
    if (written.size() > 4 && lowerAscii(written[0]) == 'w' && lowerAscii(written[1]) == 'w' &&
        lowerAscii(written[2]) == 'w' && written[3] == '.') {
        written.remove_prefix(4);
    }
    return written.size() == lowered.size() &&
           std::equal(written.begin(), written.end(), lowered.begin(),
                      [](char a, char b) { return lowerAscii(a) == b; });
}

// Longest text of a page quoted as evidence, in bytes.
constexpr std::size_t kQuoted = 200;
// Canonical addresses kept to compare (a page naming more is broken anyway).
constexpr std::size_t kCanonicals = 8;

std::string quoted(std::string_view text) {
    if (text.size() <= kQuoted) {
        return std::string(text);
    }
    std::size_t cut = kQuoted;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(text.substr(0, cut)) + "...";
}

// The crawler a meta name or an X-Robots-Tag prefix addresses; -1 for
// another one.
int crawlerIndex(std::string_view lowered, bool meta) {
    if (meta && lowered == "robots") {
        return static_cast<int>(Crawler::All);
    }
    if (lowered == "googlebot") {
        return static_cast<int>(Crawler::Googlebot);
    }
    if (lowered == "bingbot" || lowered == "msnbot") {
        return static_cast<int>(Crawler::Bingbot);
    }
    return -1;
}

// "2010-06-25", "2010-06-25T15:00", "2010-06-25T15:00:00Z",
// "2010-06-25T15:00:00+02:00" as seconds since the epoch.
std::optional<std::time_t> isoDate(std::string_view text) {
    const auto number = [&text](std::size_t at, std::size_t digits) -> std::optional<int> {
        if (at + digits > text.size()) {
            return std::nullopt;
        }
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            if (!isDigit(text[i])) {
                return std::nullopt;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto year = number(0, 4);
    const auto month = number(5, 2);
    const auto day = number(8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || *month < 1 || *month > 12 ||
        *day < 1 || *day > 31) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = *year - 1900;
    tm.tm_mon = *month - 1;
    tm.tm_mday = *day;
    std::size_t at = 10;
    long offset = 0;
    if (at < text.size() && (text[at] == 'T' || text[at] == 't' || text[at] == ' ')) {
        const auto hour = number(at + 1, 2);
        const auto minute = number(at + 4, 2);
        if (!hour || !minute || text[at + 3] != ':') {
            return std::nullopt;
        }
        tm.tm_hour = *hour;
        tm.tm_min = *minute;
        at += 6;
        if (at < text.size() && text[at] == ':') {
            const auto second = number(at + 1, 2);
            if (!second) {
                return std::nullopt;
            }
            tm.tm_sec = *second;
            at += 3;
        }
        if (at < text.size() && (text[at] == 'Z' || text[at] == 'z')) {
            ++at;
        } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            const auto hours = number(at + 1, 2);
            const auto minutes = number(at + 4, 2);
            if (!hours || !minutes || text[at + 3] != ':') {
                return std::nullopt;
            }
            offset = (text[at] == '+' ? 1 : -1) * (*hours * 3600L + *minutes * 60L);
            at += 6;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return timegm(&tm) - offset;
}

// An unavailable_after date: ISO 8601, or the mail and HTTP formats (RFC
// 822, RFC 850, asctime) as libcurl reads them.
std::optional<std::time_t> directiveDate(std::string_view text) {
    if (const auto iso = isoDate(text)) {
        return iso;
    }
    const std::time_t when = curl_getdate(std::string(text).c_str(), nullptr);
    if (when < 0) {
        return std::nullopt;
    }
    return when;
}

std::string relTokens(std::string_view rel) {
    std::string tokens;
    std::size_t i = 0;
    while (i < rel.size()) {
        while (i < rel.size() && isBlank(rel[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < rel.size() && !isBlank(rel[i])) {
            ++i;
        }
        if (i > start) {
            if (!tokens.empty()) {
                tokens += ' ';
            }
            tokens += loweredAscii(rel.substr(start, i - start));
        }
    }
    return tokens;
}

// Whether rel tokens (any blanks between them, any letter case) hold
// "canonical".
bool hasCanonical(std::string_view rel) {
    const std::string tokens = relTokens(rel);
    std::size_t from = 0;
    while (from <= tokens.size()) {
        std::size_t end = tokens.find(' ', from);
        if (end == std::string::npos) {
            end = tokens.size();
        }
        if (std::string_view(tokens).substr(from, end - from) == "canonical") {
            return true;
        }
        from = end + 1;
    }
    return false;
}

// The nearest misses, nearest first: the reason of a "Link Not Found" names
// the nearest one seen.
enum class Miss {
    OtherPath = 1,
    Redirect,
    Inert,  // template content, a body replaced by a frameset
    Comment,
    Script,
    Textarea,
    OtherText,  // title, style, noscript, plaintext...
    PlainText,  // the address written in the page's text, not linked
    None,
};

}  // namespace

class LinkFinder::Reader : public HtmlTokenizer::Sink {
public:
    Reader(const std::string& advertiser, Limits limits)
        : m_advertiser(cp1252ToUtf8(advertiser)), m_tokenizer(*this, limits.maxPending) {
        m_evidence.m_checked = true;
    }

    void setPageAddress(std::string_view address) {
        m_page = WebUrl::parse(asUtf8(address));
        m_baseOnAdvertiser = m_page && m_advertiser.onHost(*m_page);
        m_pageHost = m_page ? std::string(withoutWww(m_page->host())) : std::string();
        m_baseHost = m_pageHost;
        // How the page's own links mostly begin: a link that begins so is not
        // outbound, without taking its address apart.
        m_ownPrefixes.clear();
        if (m_page) {
            const std::string port = m_page->port().empty() ? "" : ":" + m_page->port();
            for (const char* scheme : {"https://", "http://"}) {
                for (const char* www : {"", "www."}) {
                    m_ownPrefixes.push_back(scheme + std::string(www) + m_pageHost + port);
                }
            }
        }
    }

    void headerLine(std::string_view line);

    void feed(std::string_view bytes) {
        if (m_finished) {
            return;
        }
        m_bytes += bytes.size();
        m_evidence.m_bytes = m_bytes;
        if (!m_found) {
            m_phrase.feed(bytes);
        }
        m_tokenizer.feed(bytes);
    }

    void finish() {
        if (m_finished) {
            return;
        }
        m_tokenizer.finish();
        m_finished = true;
        closeAnchor();
        if (m_evidence.m_anchorFound && m_evidence.m_anchorText.empty()) {
            m_evidence.m_anchorText = m_altText;
        }
        m_evidence.m_anchorText = asUtf8(m_evidence.m_anchorText);
        m_evidence.m_scriptOnly = !m_found && m_inScriptSeen && !m_elsewhereSeen;
        if (m_found) {
            m_evidence.m_hiddenBy = asUtf8(m_concealment.evidence);
            m_evidence.m_hiddenByMarkup = m_concealment.by == Concealment::By::Markup;
            m_evidence.m_ariaHidden = asUtf8(m_concealment.ariaHidden);
        }
        m_evidence.m_outboundLinks = m_outbound;
        judgeCanonical();
    }

    LinkResult result() const {
        if (m_bytes == 0) {
            return LinkResult::CannotBeDisplayed;
        }
        if (m_found) {
            return LinkResult::Found;
        }
        if (m_phrase.seen()) {
            return LinkResult::CannotBeFound;
        }
        if (m_tokenizer.overflowed()) {
            // Not read to its end: the link may stand further down.
            return LinkResult::CannotBeDisplayed;
        }
        return LinkResult::NotFound;
    }

    std::string reason() const {
        if (m_bytes == 0) {
            return "the page is empty";
        }
        if (m_found) {
            return "link to " + m_foundUrl + " found";
        }
        if (m_phrase.seen()) {
            return "\"" + m_phrase.phrase() + "\" in the page";
        }
        if (m_tokenizer.overflowed()) {
            return "the page could not be read to its end (a piece of markup over " +
                   std::to_string(m_maxPending >> 20) + " MiB)";
        }
        if (m_advertiser.searchName().empty()) {
            return "the profile has no advertiser's address";
        }
        return m_missReason.empty() ? "no link to the advertiser" : m_missReason;
    }

    bool complete() const { return m_finished; }
    std::uint64_t bytesFed() const { return m_bytes; }
    bool readingStopped() const { return m_tokenizer.overflowed(); }
    PageEvidence& evidence() { return m_evidence; }

    // HtmlTokenizer::Sink
    void tag(const HtmlTokenizer::Tag& tag) override;
    void text(std::string_view text, HtmlTokenizer::TextKind kind, std::string_view rawElement,
              bool inert) override;
    void comment(std::string_view text, bool inert) override;
    void framesetReplacedBody() override;

    std::size_t m_maxPending = 0;

private:
    void startElement(const HtmlTokenizer::Tag& tag);
    void link(const HtmlTokenizer::Tag& tag, std::string_view href, std::string_view element);
    // Counts a link to another host; true when it is one.
    bool countOutbound(std::string_view href);
    void linkHeader(std::string_view value);
    void applyDirectives(std::string_view value, int crawler, const std::string& source,
                         std::array<CrawlerDirectives, kCrawlers>& into, std::string& notes);
    void updateDirectives();
    void judgeCanonical();
    void closeAnchor();
    void anchorText(std::string_view text);
    void noteMiss(Miss miss, std::string reason);
    // Whether text names the advertiser's site, letter case ignored.
    bool mentionsAdvertiser(std::string_view text) {
        const std::string& name = m_advertiser.searchName();
        const std::string& typed = m_advertiser.typedSearchName();
        if (name.empty() || text.size() < std::min(name.size(), typed.size())) {
            return false;
        }
        m_lowered.resize(text.size());
        std::transform(text.begin(), text.end(), m_lowered.begin(), lowerAscii);
        const auto holds = [this](const std::string& needle) {
            return !needle.empty() &&
                   std::string_view(m_lowered).find(needle) != std::string_view::npos;
        };
        return holds(name) || (typed != name && holds(typed));
    }
    // Whether href may point to the advertiser: resolving every link of a page
    // costs more than reading it, and most links plainly go elsewhere.
    bool mayPointToAdvertiser(std::string_view href) {
        if (!m_advertiser.isWebAddress() || m_baseOnAdvertiser) {
            return true;
        }
        // Escapes, tabs and line breaks, and letters outside ASCII may hide
        // the name from a plain search.
        const bool disguised = std::any_of(href.begin(), href.end(), [](char c) {
            return c == '%' || c == '\t' || c == '\n' || c == '\r' ||
                   static_cast<unsigned char>(c) >= 0x80;
        });
        return disguised || mentionsAdvertiser(href);
    }
    void mentionIn(std::string_view text, Miss miss, std::string_view where);
    AdvertiserAddress m_advertiser;
    std::optional<WebUrl> m_page;
    std::optional<WebUrl> m_base;     // from <base href>
    bool m_baseOnAdvertiser = false;  // relative links lead to the advertiser's host
    std::string m_lowered;            // scratch for searches
    bool m_baseSeen = false;
    HtmlTokenizer m_tokenizer;
    NotFoundPhrase m_phrase;
    PageEvidence m_evidence;
    std::uint64_t m_bytes = 0;
    bool m_finished = false;

    bool m_found = false;
    std::string m_foundUrl;
    bool m_inAnchor = false;  // the deciding link's text is being read
    std::string m_altText;
    std::size_t m_anchorChars = 0;
    bool m_pendingBlank = false;
    bool m_anchorTextFull = false;

    Miss m_miss = Miss::None;
    std::string m_missReason;
    bool m_inScriptSeen = false;
    bool m_elsewhereSeen = false;

    // Directives by crawler, of the meta elements and of the final answer's
    // headers apart (a new answer drops the headers' ones).
    std::array<CrawlerDirectives, kCrawlers> m_metaDirectives;
    std::array<CrawlerDirectives, kCrawlers> m_headerDirectives;
    std::string m_metaNotes;
    std::string m_headerNotes;

    // Whether the deciding link is shown (see OpenElements).
    OpenElements m_open;
    Concealment m_concealment;
    bool m_anchorHasImage = false;  // the open deciding link shows an image

    // Links to other hosts.
    std::string m_pageHost;                  // the page's host without "www."
    std::vector<std::string> m_ownPrefixes;  // "https://www.host", "http://host"...
    std::string m_baseHost;                  // where relative links lead
    std::int64_t m_outbound = 0;

    // Canonical addresses: of the head's <link> elements, and the final
    // answer's Link headers (resolved at the end, against the final address).
    bool m_inHead = true;
    std::vector<std::pair<WebUrl, std::string>> m_canonicals;
    std::vector<std::pair<std::string, std::string>> m_headerCanonicals;  // href, header
};

void LinkFinder::Reader::headerLine(std::string_view line) {
    line = trimmed(line);
    if (line.size() >= 5 && loweredAscii(line.substr(0, 5)) == "http/") {
        // A new answer: the previous one was a redirection or an interim
        // answer.
        const std::size_t blank = line.find(' ');
        m_evidence.m_httpStatus = blank == std::string_view::npos
                                      ? 0
                                      : std::atol(std::string(line.substr(blank + 1)).c_str());
        m_evidence.m_contentType.clear();
        m_evidence.m_xRobotsTag.clear();
        m_headerDirectives = {};
        m_headerNotes.clear();
        m_headerCanonicals.clear();
    } else {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        const std::string name = loweredAscii(trimmed(line.substr(0, colon)));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (name == "content-type") {
            m_evidence.m_contentType = std::string(value);
        } else if (name == "x-robots-tag") {
            if (!m_evidence.m_xRobotsTag.empty()) {
                m_evidence.m_xRobotsTag += ", ";
            }
            m_evidence.m_xRobotsTag += value;
            applyDirectives(value, -1, "X-Robots-Tag: " + quoted(asUtf8(value)), m_headerDirectives,
                            m_headerNotes);
        } else if (name == "link") {
            linkHeader(value);
        }
    }
    updateDirectives();
}

// "<https://partner.example/>; rel=\"canonical\", <...>; rel=alternate": the
// canonical ones, kept until the end (the final address is not known yet).
void LinkFinder::Reader::linkHeader(std::string_view value) {
    std::size_t at = 0;
    while (at < value.size() && m_headerCanonicals.size() < kCanonicals) {
        const std::size_t open = value.find('<', at);
        if (open == std::string_view::npos) {
            return;
        }
        const std::size_t close = value.find('>', open + 1);
        if (close == std::string_view::npos) {
            return;
        }
        const std::string_view target = value.substr(open + 1, close - open - 1);
        // The parameters run to the next link (a comma outside quotes).
        std::size_t end = close + 1;
        bool inQuotes = false;
        while (end < value.size() && (inQuotes || value[end] != ',')) {
            inQuotes = value[end] == '"' ? !inQuotes : inQuotes;
            ++end;
        }
        const std::string params = loweredAscii(value.substr(close + 1, end - close - 1));
        at = end + 1;
        std::size_t rel = params.find("rel");
        while (rel != std::string::npos) {
            std::size_t v = rel + 3;
            while (v < params.size() && isBlank(params[v])) {
                ++v;
            }
            if (v < params.size() && params[v] == '=' &&
                (rel == 0 || params[rel - 1] == ';' || isBlank(params[rel - 1]))) {
                ++v;
                while (v < params.size() && isBlank(params[v])) {
                    ++v;
                }
                std::string_view tokens = std::string_view(params).substr(v);
                if (!tokens.empty() && tokens[0] == '"') {
                    tokens = tokens.substr(1, tokens.find('"', 1) - 1);
                } else {
                    tokens = tokens.substr(0, tokens.find(';'));
                }
                if (hasCanonical(tokens)) {
                    m_headerCanonicals.emplace_back(
                        asUtf8(target), "Link: " + quoted(asUtf8(value.substr(open, end - open))));
                }
                break;
            }
            rel = params.find("rel", rel + 3);
        }
    }
}

// A list of robots directives: "noindex, nofollow", "none",
// "unavailable_after: 2010-06-25". crawler: the meta element's (an index of
// Crawler); -1 for a header, where "googlebot: noindex" addresses the rest
// of the list, up to the next such prefix, to one crawler.
void LinkFinder::Reader::applyDirectives(std::string_view value, int crawler,
                                         const std::string& source,
                                         std::array<CrawlerDirectives, kCrawlers>& into,
                                         std::string& notes) {
    const bool header = crawler < 0;
    int applies = header ? static_cast<int>(Crawler::All) : crawler;
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t comma = value.find(',', from);
        if (comma == std::string_view::npos) {
            comma = value.size();
        }
        parts.emplace_back(trimmed(value.substr(from, comma - from)));
        from = comma + 1;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        std::string lowered = loweredAscii(part);
        std::size_t colon = lowered.find(':');
        if (header && colon != std::string::npos) {
            const std::string name(trimmed(std::string_view(lowered).substr(0, colon)));
            // Directives with a value ("max-snippet: 20") keep the crawler.
            if (name != "unavailable_after" && name != "max-snippet" &&
                name != "max-image-preview" && name != "max-video-preview") {
                applies = crawlerIndex(name, false);
                part = std::string(trimmed(std::string_view(part).substr(colon + 1)));
                lowered = loweredAscii(part);
                colon = lowered.find(':');
            }
        }
        if (applies < 0) {
            continue;
        }
        CrawlerDirectives& directives = into[static_cast<std::size_t>(applies)];
        if ((lowered == "noindex" || lowered == "none") && directives.m_noindex.empty()) {
            directives.m_noindex = source;
        }
        if ((lowered == "nofollow" || lowered == "none") && directives.m_nofollow.empty()) {
            directives.m_nofollow = source;
        }
        if (colon != std::string::npos &&
            trimmed(std::string_view(lowered).substr(0, colon)) == "unavailable_after") {
            std::string date(trimmed(std::string_view(part).substr(colon + 1)));
            // "Friday, 25-Jun-2010 15:00:00 PST": the weekday's comma split it.
            if (std::none_of(date.begin(), date.end(), isDigit) && i + 1 < parts.size()) {
                date += ", " + parts[++i];
            }
            const std::optional<std::time_t> when = directiveDate(date);
            if (!when) {
                notes += (notes.empty() ? "" : "; ") +
                         std::string("unavailable_after date not understood: ") +
                         quoted(asUtf8(date));
            } else if (*when < std::time(nullptr) && directives.m_noindex.empty()) {
                directives.m_noindex = source + " (the date has passed)";
            }
        }
    }
}

void LinkFinder::Reader::updateDirectives() {
    for (std::size_t c = 0; c < kCrawlers; ++c) {
        CrawlerDirectives& into = m_evidence.m_directives[c];
        into.m_noindex = !m_metaDirectives[c].m_noindex.empty() ? m_metaDirectives[c].m_noindex
                                                                : m_headerDirectives[c].m_noindex;
        into.m_nofollow = !m_metaDirectives[c].m_nofollow.empty()
                              ? m_metaDirectives[c].m_nofollow
                              : m_headerDirectives[c].m_nofollow;
    }
    const auto says = [this](std::string CrawlerDirectives::*which) {
        return !(m_evidence.m_directives[static_cast<std::size_t>(Crawler::All)].*which).empty() ||
               !(m_evidence.m_directives[static_cast<std::size_t>(Crawler::Googlebot)].*which)
                    .empty();
    };
    m_evidence.m_noindex = says(&CrawlerDirectives::m_noindex);
    m_evidence.m_nofollow = says(&CrawlerDirectives::m_nofollow);
    m_evidence.m_robotsNotes =
        m_metaNotes + (!m_metaNotes.empty() && !m_headerNotes.empty() ? "; " : "") + m_headerNotes;
}

void LinkFinder::Reader::noteMiss(Miss miss, std::string reason) {
    if (miss < m_miss) {
        m_miss = miss;
        m_missReason = std::move(reason);
    }
}

void LinkFinder::Reader::tag(const HtmlTokenizer::Tag& tag) {
    m_open.tag(tag);
    if (tag.end) {
        if (tag.name == "a") {
            closeAnchor();
        }
        return;
    }
    startElement(tag);
}

void LinkFinder::Reader::startElement(const HtmlTokenizer::Tag& tag) {
    using Ns = HtmlTokenizer::Namespace;
    if (m_inHead && tag.ns == Ns::Html && !tag.inert &&
        !oneOf(tag.name, {"html", "head", "base", "basefont", "bgsound", "link", "meta", "noframes",
                          "script", "style", "template", "title", "noscript"})) {
        m_inHead = false;  // the body has begun
    }
    if (m_inAnchor && oneOf(tag.name, {"img", "svg", "picture", "video", "canvas", "object",
                                       "embed", "iframe", "input"})) {
        m_anchorHasImage = true;
    }
    if (tag.ns == Ns::Html) {
        if (tag.name == "a") {
            closeAnchor();  // an <a> inside an <a> ends the first
            if (const std::string_view* href = tag.attribute("href")) {
                link(tag, *href, "a");
            }
        } else if (tag.name == "area") {
            if (const std::string_view* href = tag.attribute("href")) {
                link(tag, *href, "area");
                if (m_inAnchor) {
                    // An area has no text but its alt.
                    if (const std::string_view* alt = tag.attribute("alt")) {
                        m_altText = std::string(trimmed(*alt)).substr(0, 4 * kAnchorTextChars);
                    }
                    closeAnchor();
                }
            }
        } else if (tag.name == "img") {
            if (m_inAnchor && m_altText.empty()) {
                if (const std::string_view* alt = tag.attribute("alt")) {
                    m_altText = std::string(trimmed(*alt)).substr(0, 4 * kAnchorTextChars);
                }
            }
        } else if (tag.name == "base") {
            // The first <base href> sets the address links are resolved
            // against; later ones do nothing.
            const std::string_view* href = tag.attribute("href");
            if (href != nullptr && !tag.inert && !m_baseSeen) {
                m_baseSeen = true;
                if (m_page) {
                    m_base = WebUrl::resolve(*m_page, asUtf8(*href));
                    m_baseOnAdvertiser = m_base ? m_advertiser.onHost(*m_base) : m_baseOnAdvertiser;
                    m_baseHost = m_base ? std::string(withoutWww(m_base->host())) : m_baseHost;
                }
            }
        } else if (tag.name == "link" && !tag.inert && m_inHead) {
            // Search engines take a canonical address from the head only.
            const std::string_view* rel = tag.attribute("rel");
            const std::string_view* href = tag.attribute("href");
            if (rel != nullptr && href != nullptr && m_canonicals.size() < kCanonicals &&
                hasCanonical(*rel)) {
                const std::string utf8 = asUtf8(*href);
                const std::optional<WebUrl> base = m_base ? m_base : m_page;
                std::optional<WebUrl> url =
                    base ? WebUrl::resolve(*base, utf8) : WebUrl::parse(utf8);
                if (url) {
                    m_canonicals.emplace_back(std::move(*url),
                                              "<link rel=\"" + quoted(asUtf8(*rel)) + "\" href=\"" +
                                                  quoted(utf8) + "\">");
                }
            }
        } else if (tag.name == "meta" && !tag.inert) {
            const std::string_view* name = tag.attribute("name");
            const std::string_view* content = tag.attribute("content");
            if (name != nullptr && content != nullptr) {
                const std::string lowered = loweredAscii(trimmed(*name));
                const int crawler = crawlerIndex(lowered, true);
                if (crawler >= 0) {
                    if (lowered == "robots" || lowered == "googlebot") {
                        if (!m_evidence.m_metaRobots.empty()) {
                            m_evidence.m_metaRobots += "; ";
                        }
                        m_evidence.m_metaRobots += asUtf8(trimmed(*content));
                    }
                    applyDirectives(*content, crawler,
                                    "<meta name=\"" + quoted(asUtf8(trimmed(*name))) +
                                        "\" content=\"" + quoted(asUtf8(trimmed(*content))) + "\">",
                                    m_metaDirectives, m_metaNotes);
                    updateDirectives();
                }
            }
        }
    } else if (tag.ns == Ns::Svg && tag.name == "a") {
        closeAnchor();
        const std::string_view* href = tag.attribute("href");
        if (href == nullptr) {
            href = tag.attribute("xlink:href");
        }
        if (href != nullptr) {
            link(tag, *href, "svg a");
        }
    }
}

void LinkFinder::Reader::link(const HtmlTokenizer::Tag& tag, std::string_view href,
                              std::string_view element) {
    const bool outbound = !tag.inert && countOutbound(href);
    if (!mayPointToAdvertiser(href)) {
        return;
    }
    const std::string utf8 = asUtf8(href);
    std::optional<WebUrl> url;
    if (m_base) {
        url = WebUrl::resolve(*m_base, utf8);
    } else if (m_page) {
        url = WebUrl::resolve(*m_page, utf8);
    } else {
        url = WebUrl::parse(utf8);  // no page address: absolute links only
    }
    const AdvertiserAddress::Match match = m_advertiser.match(url, utf8);
    if (match == AdvertiserAddress::Match::None) {
        return;
    }
    m_elsewhereSeen = true;
    if (tag.inert) {
        if (match == AdvertiserAddress::Match::Direct) {
            noteMiss(Miss::Inert, "the link is inside template content");
        }
        return;
    }
    if (match == AdvertiserAddress::Match::OtherPath) {
        noteMiss(Miss::OtherPath, "links to " + url->toString() + " (another path)");
        return;
    }
    if (match == AdvertiserAddress::Match::Redirect) {
        noteMiss(Miss::Redirect, "links only through a redirect on " + url->host());
        return;
    }
    Concealment seen = m_open.current();
    if (element == "area" && seen.fontSizeOnly) {
        seen = {};  // an area is a region of its image, with no text to size
    }
    // The first link decides the evidence; a shown link after hidden ones
    // takes their place, as a reader and a search engine see that one.
    if (m_found && !(m_concealment.hidden() && (!seen.hidden() || seen.fontSizeOnly))) {
        return;
    }
    m_found = true;
    m_foundUrl = url ? url->toString() : utf8;
    m_evidence.m_anchorFound = true;
    m_evidence.m_href = utf8;
    const std::string_view* rel = tag.attribute("rel");
    m_evidence.m_rel = rel != nullptr ? relTokens(*rel) : std::string();
    m_evidence.m_anchorText.clear();
    m_evidence.m_linkPosition = outbound ? m_outbound : 0;
    m_altText.clear();
    m_anchorChars = 0;
    m_pendingBlank = false;
    m_anchorTextFull = false;
    m_concealment = std::move(seen);
    m_anchorHasImage = false;
    m_inAnchor = element != "area";
}

void LinkFinder::Reader::closeAnchor() {
    if (m_inAnchor) {
        m_inAnchor = false;
        // Text without a size hides nothing of an image.
        if (m_concealment.fontSizeOnly && m_anchorHasImage) {
            Concealment shown;
            shown.ariaHidden = std::move(m_concealment.ariaHidden);
            m_concealment = std::move(shown);
        }
    }
}

bool LinkFinder::Reader::countOutbound(std::string_view href) {
    for (const std::string& own : m_ownPrefixes) {
        if (href.size() >= own.size() && href.compare(0, own.size(), own) == 0 &&
            (href.size() == own.size() || href[own.size()] == '/' || href[own.size()] == '?' ||
             href[own.size()] == '#')) {
            return false;
        }
    }
    std::string_view written;
    bool other = false;
    switch (linkHostOf(href, written)) {
        case LinkHost::NotWeb:
            return false;
        case LinkHost::Relative:
            other = m_baseHost != m_pageHost;
            break;
        case LinkHost::Absolute:
            other = !sameHost(written, m_pageHost);
            break;
        case LinkHost::Unsure: {
            const std::string utf8 = asUtf8(href);
            const std::optional<WebUrl> base = m_base ? m_base : m_page;
            const std::optional<WebUrl> url =
                base ? WebUrl::resolve(*base, utf8) : WebUrl::parse(utf8);
            if (!url) {
                return false;
            }
            other = withoutWww(url->host()) != m_pageHost;
            break;
        }
    }
    if (!other) {
        return false;
    }
    ++m_outbound;
    return true;
}

void LinkFinder::Reader::judgeCanonical() {
    const std::optional<WebUrl>& page = m_page;
    for (const auto& [href, header] : m_headerCanonicals) {
        std::optional<WebUrl> url = page ? WebUrl::resolve(*page, href) : WebUrl::parse(href);
        if (url) {
            m_canonicals.emplace_back(std::move(*url), header);
        }
    }
    if (m_canonicals.empty()) {
        return;
    }
    const WebUrl& first = m_canonicals.front().first;
    for (const auto& [url, source] : m_canonicals) {
        if (!AdvertiserAddress::samePage(first, url) || !AdvertiserAddress::samePage(url, first)) {
            // Search engines follow none of several that disagree.
            m_evidence.m_robotsNotes += std::string(m_evidence.m_robotsNotes.empty() ? "" : "; ") +
                                        "canonical addresses disagree: " + first.toString() + ", " +
                                        url.toString();
            return;
        }
    }
    m_evidence.m_canonical = first.toString();
    m_evidence.m_canonicalSource = m_canonicals.front().second;
    m_evidence.m_canonicalElsewhere = page && !AdvertiserAddress::samePage(first, *page);
}

void LinkFinder::Reader::anchorText(std::string_view text) {
    if (m_anchorTextFull) {
        return;
    }
    std::string& out = m_evidence.m_anchorText;
    for (const char c : text) {
        if (isBlank(c)) {
            m_pendingBlank = !out.empty();
            continue;
        }
        const bool startsCharacter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (startsCharacter) {
            if (m_pendingBlank) {
                if (m_anchorChars == kAnchorTextChars) {
                    m_anchorTextFull = true;
                    return;
                }
                out += ' ';
                ++m_anchorChars;
                m_pendingBlank = false;
            }
            if (m_anchorChars == kAnchorTextChars) {
                m_anchorTextFull = true;
                if (!out.empty() && out.back() == ' ') {
                    out.pop_back();  // trimmed after the cut too
                }
                return;
            }
            ++m_anchorChars;
        }
        out += c;
    }
}

void LinkFinder::Reader::mentionIn(std::string_view text, Miss miss, std::string_view where) {
    if (m_found || miss >= m_miss || !mentionsAdvertiser(text)) {
        return;
    }
    const bool linkLike = containsLowered(text, "href");
    noteMiss(miss,
             std::string(linkLike ? "the link is inside " : "the address appears only inside ") +
                 std::string(where));
}

void LinkFinder::Reader::text(std::string_view text, HtmlTokenizer::TextKind kind,
                              std::string_view rawElement, bool inert) {
    using Kind = HtmlTokenizer::TextKind;
    if (m_inHead && kind == Kind::Data && !inert &&
        std::any_of(text.begin(), text.end(), [](char c) { return !isBlank(c); })) {
        m_inHead = false;  // text begins the body
    }
    if (kind == Kind::Data && !inert) {
        if (m_inAnchor) {
            anchorText(text);
            return;
        }
    }
    if (kind == Kind::Script) {
        if (!m_inScriptSeen && mentionsAdvertiser(text)) {
            m_inScriptSeen = true;
        }
        mentionIn(text, Miss::Script, "a script");
        return;
    }
    if (kind == Kind::Data && !inert) {
        // Plain text only matters while it may still be the nearest miss.
        if (!m_found && (!m_elsewhereSeen || Miss::PlainText < m_miss) &&
            mentionsAdvertiser(text)) {
            m_elsewhereSeen = true;
            noteMiss(Miss::PlainText, "the address is in the page's text, not linked");
        }
        return;
    }
    if (!m_elsewhereSeen && mentionsAdvertiser(text)) {
        m_elsewhereSeen = true;
    }
    if (inert) {
        mentionIn(text, Miss::Inert, "template content");
    } else if (kind == Kind::Plaintext) {
        mentionIn(text, Miss::OtherText, "plain text after <plaintext>");
    } else if (rawElement == "textarea") {
        mentionIn(text, Miss::Textarea, "a textarea");
    } else if (rawElement == "noscript") {
        mentionIn(text, Miss::OtherText, "<noscript> (not shown where scripts run)");
    } else {
        mentionIn(text, Miss::OtherText, "<" + std::string(rawElement) + ">");
    }
}

void LinkFinder::Reader::comment(std::string_view text, bool inert) {
    (void)inert;
    if (!m_elsewhereSeen && mentionsAdvertiser(text)) {
        m_elsewhereSeen = true;
    }
    mentionIn(text, Miss::Comment, "an HTML comment");
}

void LinkFinder::Reader::framesetReplacedBody() {
    m_outbound = 0;  // the body's links are gone
    if (m_found) {
        m_found = false;
        m_foundUrl.clear();
        m_inAnchor = false;
        m_concealment = {};
        m_evidence.m_linkPosition = 0;
        m_evidence.m_anchorFound = false;
        m_evidence.m_href.clear();
        m_evidence.m_rel.clear();
        m_evidence.m_anchorText.clear();
        m_altText.clear();
        noteMiss(Miss::Inert, "the link is in a body that a <frameset> replaces");
    }
}

LinkFinder::LinkFinder(const std::string& advertiser, Limits limits)
    : m_reader(std::make_unique<Reader>(advertiser, limits)) {
    m_reader->m_maxPending = limits.maxPending;
}

LinkFinder::~LinkFinder() = default;

void LinkFinder::setPageAddress(std::string_view address) {
    m_reader->setPageAddress(address);
}

void LinkFinder::headerLine(std::string_view line) {
    m_reader->headerLine(line);
}

void LinkFinder::feed(std::string_view bytes) {
    m_reader->feed(bytes);
}

void LinkFinder::finish() {
    m_reader->finish();
}

LinkResult LinkFinder::result() const {
    return m_reader->result();
}

std::string LinkFinder::reason() const {
    return m_reader->reason();
}

bool LinkFinder::complete() const {
    return m_reader->complete();
}

std::uint64_t LinkFinder::bytesFed() const {
    return m_reader->bytesFed();
}

bool LinkFinder::readingStopped() const {
    return m_reader->readingStopped();
}

void LinkFinder::setTransfer(long httpStatus, const std::string& finalUrl, std::int64_t elapsedMs) {
    PageEvidence& evidence = m_reader->evidence();
    evidence.m_httpStatus = httpStatus;
    if (!finalUrl.empty()) {
        evidence.m_finalUrl = finalUrl;
    }
    evidence.m_elapsedMs = elapsedMs;
}

const PageEvidence& LinkFinder::evidence() const {
    return m_reader->evidence();
}

PageEvidence LinkFinder::takeEvidence() {
    return std::move(m_reader->evidence());
}

}  // namespace tarnwick
