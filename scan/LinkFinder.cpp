#include "scan/LinkFinder.h"

#include <string.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "common/AsciiText.h"
#include "common/Cp1252.h"
#include "scan/AdvertiserAddress.h"
#include "scan/HtmlTokenizer.h"
#include "scan/NotFoundPhrase.h"
#include "scan/StatusWords.h"
#include "scan/WebUrl.h"

namespace tarnwick {

namespace {

// Longest anchor text kept, in characters.
constexpr std::size_t kAnchorTextChars = 200;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ContainsLowered(std::string_view text, std::string_view loweredNeedle) {
    if (loweredNeedle.empty() || text.size() < loweredNeedle.size()) {
        return false;
    }
    return std::search(text.begin(), text.end(), loweredNeedle.begin(), loweredNeedle.end(),
                       [](char a, char b) { return LowerAscii(a) == b; }) != text.end();
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else {
            return false;
        }
        if (i + extra >= text.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

// Page text as UTF-8: pages that are not UTF-8 are mostly Windows-1252.
std::string AsUtf8(std::string_view text) {
    return IsUtf8(text) ? std::string(text) : Cp1252ToUtf8(text);
}

// Robots directives, comma separated: "noindex", "nofollow", "none" (both).
// With agents allowed (X-Robots-Tag), "name: directive" addresses the rest of
// the list, up to the next such prefix, to one crawler; only those for
// Googlebot count beside the ones without a prefix.
void ApplyDirectives(std::string_view value, bool agents, bool& noindex, bool& nofollow) {
    bool applies = true;
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t comma = value.find(',', from);
        if (comma == std::string_view::npos) {
            comma = value.size();
        }
        std::string part = LoweredAscii(Trimmed(value.substr(from, comma - from)));
        from = comma + 1;
        const std::size_t colon = part.find(':');
        if (agents && colon != std::string::npos) {
            const std::string name(Trimmed(std::string_view(part).substr(0, colon)));
            // Directives with a value ("max-snippet: 20") keep the crawler.
            if (name != "unavailable_after" && name != "max-snippet" &&
                name != "max-image-preview" && name != "max-video-preview") {
                applies = name == "googlebot";
                part = std::string(Trimmed(std::string_view(part).substr(colon + 1)));
            }
        }
        if (!applies) {
            continue;
        }
        if (part == "noindex" || part == "none") {
            noindex = true;
        }
        if (part == "nofollow" || part == "none") {
            nofollow = true;
        }
    }
}

std::string RelTokens(std::string_view rel) {
    std::string tokens;
    std::size_t i = 0;
    while (i < rel.size()) {
        while (i < rel.size() && IsBlank(rel[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < rel.size() && !IsBlank(rel[i])) {
            ++i;
        }
        if (i > start) {
            if (!tokens.empty()) {
                tokens += ' ';
            }
            tokens += LoweredAscii(rel.substr(start, i - start));
        }
    }
    return tokens;
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
        : m_advertiser(Cp1252ToUtf8(advertiser)), m_tokenizer(*this, limits.maxPending) {
        m_evidence.m_bChecked = true;
    }

    void setPageAddress(std::string_view address) {
        m_page = WebUrl::parse(IsUtf8(address) ? std::string(address) : Cp1252ToUtf8(address));
        m_baseOnAdvertiser = m_page && m_advertiser.onHost(*m_page);
    }

    void headerLine(std::string_view line);

    void feed(std::string_view bytes) {
        if (m_finished) {
            return;
        }
        m_bytes += bytes.size();
        m_evidence.m_nBytes = m_bytes;
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
        if (m_evidence.m_bAnchorFound && m_evidence.m_strAnchorText.empty()) {
            m_evidence.m_strAnchorText = m_altText;
        }
        m_evidence.m_strAnchorText = AsUtf8(m_evidence.m_strAnchorText);
        m_evidence.m_bScriptOnly = !m_found && m_inScriptSeen && !m_elsewhereSeen;
    }

    const char* result() const {
        if (m_bytes == 0) {
            return kPageCannotBeDisplayed;
        }
        if (m_found) {
            return kLinkFound;
        }
        if (m_phrase.seen()) {
            return kPageCannotBeFound;
        }
        if (m_tokenizer.overflowed()) {
            // Not read to its end: the link may stand further down.
            return kPageCannotBeDisplayed;
        }
        return kLinkNotFound;
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

    bool complete() const { return m_complete; }
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
        std::transform(text.begin(), text.end(), m_lowered.begin(), LowerAscii);
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
    void checkComplete() {
        if (m_found && m_anchorClosed && m_bodySeen && !m_complete) {
            m_complete = true;
            m_tokenizer.stop();
        }
    }

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
    bool m_complete = false;

    bool m_found = false;
    std::string m_foundUrl;
    bool m_inAnchor = false;  // the deciding link's text is being read
    bool m_anchorClosed = false;
    bool m_bodySeen = false;
    std::string m_altText;
    std::size_t m_anchorChars = 0;
    bool m_pendingBlank = false;
    bool m_anchorTextFull = false;

    Miss m_miss = Miss::None;
    std::string m_missReason;
    bool m_inScriptSeen = false;
    bool m_elsewhereSeen = false;

    bool m_metaNoindex = false;
    bool m_metaNofollow = false;
    bool m_headerNoindex = false;
    bool m_headerNofollow = false;
};

void LinkFinder::Reader::headerLine(std::string_view line) {
    line = Trimmed(line);
    if (line.size() >= 5 && LoweredAscii(line.substr(0, 5)) == "http/") {
        // A new answer: the previous one was a redirection or an interim
        // answer.
        const std::size_t blank = line.find(' ');
        m_evidence.m_nHttpStatus = blank == std::string_view::npos
                                       ? 0
                                       : std::atol(std::string(line.substr(blank + 1)).c_str());
        m_evidence.m_strContentType.clear();
        m_evidence.m_strXRobotsTag.clear();
        m_headerNoindex = false;
        m_headerNofollow = false;
    } else {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        const std::string name = LoweredAscii(Trimmed(line.substr(0, colon)));
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (name == "content-type") {
            m_evidence.m_strContentType = std::string(value);
        } else if (name == "x-robots-tag") {
            if (!m_evidence.m_strXRobotsTag.empty()) {
                m_evidence.m_strXRobotsTag += ", ";
            }
            m_evidence.m_strXRobotsTag += value;
            ApplyDirectives(value, true, m_headerNoindex, m_headerNofollow);
        }
    }
    m_evidence.m_bNoindex = m_metaNoindex || m_headerNoindex;
    m_evidence.m_bNofollow = m_metaNofollow || m_headerNofollow;
}

void LinkFinder::Reader::noteMiss(Miss miss, std::string reason) {
    if (miss < m_miss) {
        m_miss = miss;
        m_missReason = std::move(reason);
    }
}

void LinkFinder::Reader::tag(const HtmlTokenizer::Tag& tag) {
    if (m_complete) {
        return;
    }
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
                        m_altText = std::string(Trimmed(*alt)).substr(0, 4 * kAnchorTextChars);
                    }
                    closeAnchor();
                }
            }
        } else if (tag.name == "img") {
            if (m_inAnchor && m_altText.empty()) {
                if (const std::string_view* alt = tag.attribute("alt")) {
                    m_altText = std::string(Trimmed(*alt)).substr(0, 4 * kAnchorTextChars);
                }
            }
        } else if (tag.name == "base") {
            // The first <base href> sets the address links are resolved
            // against; later ones do nothing.
            const std::string_view* href = tag.attribute("href");
            if (href != nullptr && !tag.inert && !m_baseSeen) {
                m_baseSeen = true;
                if (m_page) {
                    m_base = WebUrl::resolve(*m_page, AsUtf8(*href));
                    m_baseOnAdvertiser = m_base ? m_advertiser.onHost(*m_base) : m_baseOnAdvertiser;
                }
            }
        } else if (tag.name == "body") {
            if (!tag.inert) {
                m_bodySeen = true;
                checkComplete();
            }
        } else if (tag.name == "meta" && !tag.inert) {
            const std::string_view* name = tag.attribute("name");
            const std::string_view* content = tag.attribute("content");
            if (name != nullptr && content != nullptr) {
                const std::string lowered = LoweredAscii(Trimmed(*name));
                if (lowered == "robots" || lowered == "googlebot") {
                    if (!m_evidence.m_strMetaRobots.empty()) {
                        m_evidence.m_strMetaRobots += "; ";
                    }
                    m_evidence.m_strMetaRobots += AsUtf8(Trimmed(*content));
                    ApplyDirectives(*content, false, m_metaNoindex, m_metaNofollow);
                    m_evidence.m_bNoindex = m_metaNoindex || m_headerNoindex;
                    m_evidence.m_bNofollow = m_metaNofollow || m_headerNofollow;
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
    if (!mayPointToAdvertiser(href)) {
        return;
    }
    const std::string utf8 = AsUtf8(href);
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
    if (m_found) {
        return;  // the first link decides the evidence
    }
    m_found = true;
    m_foundUrl = url ? url->toString() : utf8;
    m_evidence.m_bAnchorFound = true;
    m_evidence.m_strHref = utf8;
    const std::string_view* rel = tag.attribute("rel");
    m_evidence.m_strRel = rel != nullptr ? RelTokens(*rel) : std::string();
    m_inAnchor = element != "area";
    (void)element;
}

void LinkFinder::Reader::closeAnchor() {
    if (m_inAnchor) {
        m_inAnchor = false;
        m_anchorClosed = true;
        checkComplete();
    } else if (m_found) {
        m_anchorClosed = true;
        checkComplete();
    }
}

void LinkFinder::Reader::anchorText(std::string_view text) {
    if (m_anchorTextFull) {
        return;
    }
    std::string& out = m_evidence.m_strAnchorText;
    for (const char c : text) {
        if (IsBlank(c)) {
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
    const bool linkLike = ContainsLowered(text, "href");
    noteMiss(miss,
             std::string(linkLike ? "the link is inside " : "the address appears only inside ") +
                 std::string(where));
}

void LinkFinder::Reader::text(std::string_view text, HtmlTokenizer::TextKind kind,
                              std::string_view rawElement, bool inert) {
    using Kind = HtmlTokenizer::TextKind;
    if (m_complete) {
        return;
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
    if (m_complete) {
        return;
    }
    if (!m_elsewhereSeen && mentionsAdvertiser(text)) {
        m_elsewhereSeen = true;
    }
    mentionIn(text, Miss::Comment, "an HTML comment");
}

void LinkFinder::Reader::framesetReplacedBody() {
    if (m_found) {
        m_found = false;
        m_foundUrl.clear();
        m_inAnchor = false;
        m_anchorClosed = false;
        m_evidence.m_bAnchorFound = false;
        m_evidence.m_strHref.clear();
        m_evidence.m_strRel.clear();
        m_evidence.m_strAnchorText.clear();
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

const char* LinkFinder::result() const {
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
    evidence.m_nHttpStatus = httpStatus;
    if (!finalUrl.empty()) {
        evidence.m_strFinalUrl = finalUrl;
    }
    evidence.m_nElapsedMs = elapsedMs;
}

const PageEvidence& LinkFinder::evidence() const {
    return m_reader->evidence();
}

PageEvidence LinkFinder::takeEvidence() {
    return std::move(m_reader->evidence());
}

}  // namespace tarnwick
