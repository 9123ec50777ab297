#include "scan/EvidenceCollector.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <string.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "common/AsciiText.h"
#include "scan/ByteScan.h"

namespace tarnwick {
namespace {

constexpr std::size_t kAnchorTextChars = 200;
// Bytes after the last '<' kept back from the parser at most (see Feed).
constexpr std::size_t kMaxHold = 64 * 1024;
// Parsers started over after the previous one gave up (see Parse), beyond
// one per 64 KiB of page.
constexpr std::uint64_t kMaxRestarts = 1000;

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

// Whether text holds the (lowered) needle, letter case of text ignored.
bool ContainsLowered(std::string_view text, std::string_view loweredNeedle) {
    if (loweredNeedle.empty() || text.size() < loweredNeedle.size()) {
        return false;
    }
    const char first = loweredNeedle.front();
    const char upper =
        (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
    const size_t last = text.size() - loweredNeedle.size();
    for (size_t i = 0; i <= last; ++i) {
        const char c = text[i];
        if (c != first && c != upper) {
            continue;
        }
        size_t k = 1;
        while (k < loweredNeedle.size() && LowerAscii(text[i + k]) == loweredNeedle[k]) {
            ++k;
        }
        if (k == loweredNeedle.size()) {
            return true;
        }
    }
    return false;
}

// Robots directives, comma separated: "noindex", "nofollow", "none" (both).
// With agents allowed (X-Robots-Tag), "name: directive" addresses the rest of
// the list, up to the next such prefix, to one crawler; only those for
// Googlebot count beside the ones without a prefix.
void ApplyDirectives(std::string_view value, bool agents, bool& noindex, bool& nofollow) {
    bool applies = true;
    size_t from = 0;
    while (from <= value.size()) {
        size_t comma = value.find(',', from);
        if (comma == std::string_view::npos) {
            comma = value.size();
        }
        std::string part = LoweredAscii(Trimmed(value.substr(from, comma - from)));
        from = comma + 1;
        const size_t colon = part.find(':');
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

const char* Attribute(const unsigned char** attributes, const char* name) {
    if (attributes == nullptr) {
        return nullptr;
    }
    for (size_t i = 0; attributes[i] != nullptr; i += 2) {
        if (std::strcmp(reinterpret_cast<const char*>(attributes[i]), name) == 0) {
            const unsigned char* value = attributes[i + 1];
            return value != nullptr ? reinterpret_cast<const char*>(value) : "";
        }
    }
    return nullptr;
}

void InitLibxml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

void Quiet(void*, xmlErrorPtr) {}

// Length of the well-formed UTF-8 sequence at s[0, n), or 0 (malformed,
// overlong, a surrogate, past U+10FFFF, or cut off at n).
std::size_t Utf8Length(const unsigned char* s, std::size_t n) {
    const unsigned char c = s[0];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (n < length || s[1] < low || s[1] > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((s[k] & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// Whether s[i, n) starts with the lowered word, ASCII letter case ignored;
// true as well when s ends before the word could be told apart.
bool MayStartWith(std::string_view s, std::size_t i, std::string_view word) {
    for (std::size_t k = 0; k < word.size(); ++k) {
        if (i + k >= s.size()) {
            return true;
        }
        if (LowerAscii(s[i + k]) != word[k]) {
            return false;
        }
    }
    return true;
}

// Whether the parser, having started the stretch at its first '<' between
// tags, stands between tags again at its end. Tag boundaries are told from
// quotes only with care: a quoted attribute value may hold '<' and '>' (a
// whole snippet of HTML), so a stretch ending inside one looks like one
// ending after a tag. Walking back from the end over the last tags, every
// tag must run from '<' to '>' with its quotes paired, and the text between
// tags must hold no '<', '>' or quote; anything else is left to the parser.
// The walk stops after kTailTags tags: a quoted value holding that many tags
// without a quote in their text could still pass.
template <class At>
bool EndsBetweenTags(std::size_t size, At&& at) {
    constexpr int kTailTags = 16;
    std::size_t i = size;
    for (int tags = 0; i > 0 && tags < kTailTags; ++tags) {
        while (i > 0 && at(i - 1) != '>') {
            const char c = at(i - 1);
            if (c == '<' || c == '"' || c == '\'') {
                return false;
            }
            --i;
        }
        if (i == 0) {
            return false;  // the stretch starts with '<': not plain text
        }
        --i;  // the tag's '>'
        std::size_t doubles = 0;
        std::size_t singles = 0;
        while (i > 0 && at(i - 1) != '<') {
            const char c = at(i - 1);
            if (c == '>') {
                return false;
            }
            doubles += c == '"' ? 1 : 0;
            singles += c == '\'' ? 1 : 0;
            --i;
        }
        if (i == 0 || doubles % 2 != 0 || singles % 2 != 0) {
            return false;
        }
        --i;  // the tag's '<'
    }
    return true;
}

}  // namespace

struct EvidenceCollector::Parser {
    htmlSAXHandler sax{};
    htmlParserCtxtPtr ctxt = nullptr;

    Parser(EvidenceCollector* owner, const std::string& contentType) {
        sax.startElement = [](void* user, const xmlChar* name, const xmlChar** attributes) {
            static_cast<EvidenceCollector*>(static_cast<xmlParserCtxtPtr>(user)->_private)
                ->StartElement(reinterpret_cast<const char*>(name),
                               const_cast<const unsigned char**>(attributes));
        };
        sax.endElement = [](void* user, const xmlChar* name) {
            static_cast<EvidenceCollector*>(static_cast<xmlParserCtxtPtr>(user)->_private)
                ->EndElement(reinterpret_cast<const char*>(name));
        };
        const auto text = [](void* user, const xmlChar* data, int length) {
            static_cast<EvidenceCollector*>(static_cast<xmlParserCtxtPtr>(user)->_private)
                ->Text(std::string_view(reinterpret_cast<const char*>(data),
                                        static_cast<size_t>(length)));
        };
        sax.characters = text;
        sax.ignorableWhitespace = text;
        sax.cdataBlock = text;
        // Structured errors to a function that drops them: nothing is
        // printed for the broken markup of real pages.
        sax.initialized = XML_SAX2_MAGIC;
        sax.serror = &Quiet;
        // The header's charset wins; without one the page is taken as UTF-8
        // until a <meta> charset says otherwise (bytes that are not UTF-8
        // make the parser fall back to Latin-1).
        xmlCharEncodingHandlerPtr handler = nullptr;
        const std::string charset = Charset(contentType);
        if (!charset.empty()) {
            handler = xmlFindCharEncodingHandler(charset.c_str());
        }
        ctxt = htmlCreatePushParserCtxt(
            &sax, nullptr, nullptr, 0, nullptr,
            handler != nullptr ? XML_CHAR_ENCODING_NONE : XML_CHAR_ENCODING_UTF8);
        if (ctxt == nullptr) {
            return;
        }
        if (handler != nullptr) {
            xmlSwitchToEncoding(ctxt, handler);
        }
        ctxt->_private = owner;
        htmlCtxtUseOptions(ctxt, HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                                     HTML_PARSE_NOWARNING);
        ctxt->userData = ctxt;
    }
    static std::string Charset(const std::string& contentType) {
        const std::string lowered = LoweredAscii(contentType);
        const size_t at = lowered.find("charset=");
        if (at == std::string::npos) {
            return {};
        }
        std::string value = lowered.substr(at + 8);
        const size_t end = value.find_first_of("; \t");
        if (end != std::string::npos) {
            value.resize(end);
        }
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    ~Parser() {
        if (ctxt != nullptr) {
            htmlFreeParserCtxt(ctxt);
        }
    }
    std::string_view Unread() const {
        if (ctxt == nullptr || ctxt->input == nullptr || ctxt->input->cur == nullptr ||
            ctxt->input->end == nullptr || ctxt->input->end < ctxt->input->cur) {
            return {};
        }
        return std::string_view(reinterpret_cast<const char*>(ctxt->input->cur),
                                static_cast<size_t>(ctxt->input->end - ctxt->input->cur));
    }
    size_t Pending() const {
        if (ctxt == nullptr || ctxt->input == nullptr || ctxt->input->cur == nullptr ||
            ctxt->input->end == nullptr) {
            return 0;
        }
        return static_cast<size_t>(ctxt->input->end - ctxt->input->cur);
    }
};

EvidenceCollector::EvidenceCollector(std::string advertiser, Limits limits)
    : m_strAddress(LoweredAscii(advertiser)), m_limits(limits) {
    InitLibxml();
    m_evidence.m_bChecked = true;
    // Characters a page may write as named references (&amp; ...) or that
    // the parser treats apart would escape the byte scan.
    m_bAddressScannable = std::all_of(m_strAddress.begin(), m_strAddress.end(), [](char c) {
        return c > ' ' && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
    });
}

EvidenceCollector::~EvidenceCollector() = default;

void EvidenceCollector::HeaderLine(std::string_view line) {
    line = Trimmed(line);
    if (line.size() >= 5 && LoweredAscii(line.substr(0, 5)) == "http/") {
        // A new answer: the previous one was a redirection or an interim
        // answer.
        const size_t blank = line.find(' ');
        m_evidence.m_nHttpStatus = blank == std::string_view::npos
                                       ? 0
                                       : std::atol(std::string(line.substr(blank + 1)).c_str());
        m_evidence.m_strContentType.clear();
        m_evidence.m_strXRobotsTag.clear();
        m_bHeaderNoindex = false;
        m_bHeaderNofollow = false;
    } else {
        const size_t colon = line.find(':');
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
            ApplyDirectives(value, true, m_bHeaderNoindex, m_bHeaderNofollow);
        }
    }
    m_evidence.m_bNoindex = m_bMetaNoindex || m_bHeaderNoindex;
    m_evidence.m_bNofollow = m_bMetaNofollow || m_bHeaderNofollow;
}

void EvidenceCollector::Feed(std::string_view bytes) {
    m_evidence.m_nBytes += bytes.size();
    if (m_bFinished || m_bStopped || m_bComplete || bytes.empty()) {
        return;
    }
    if (!m_parser) {
        // Created with the first body bytes: the headers are known by then.
        m_parser = std::make_unique<Parser>(this, m_evidence.m_strContentType);
        if (m_parser->ctxt == nullptr) {
            m_bStopped = true;
            return;
        }
    }
    // The push parser decides some things on what it holds, such as whether
    // "</s" at its end closes a script. The parser is therefore handed the
    // bytes up to the last '<' only; the rest waits for the next piece. So
    // every chunk it sees ends just before a '<' whatever the network's
    // split, and the same bytes give the same events.
    if (const void* last = memrchr(bytes.data(), '<', bytes.size()); last != nullptr) {
        // Skipped bytes are not copied: only the part after the last '<' is
        // held (the same cut as below).
        const size_t at = static_cast<size_t>(static_cast<const char*>(last) - bytes.data());
        if (bytes.size() - at <= kMaxHold && m_strPending.size() + at > 0 &&
            CanSkipBefore(bytes, at)) {
            m_nSkipped += m_strPending.size() + at;
            m_strPending.assign(bytes.substr(at));
            return;
        }
    }
    const size_t before = m_strPending.size();
    m_strPending.append(bytes);
    const void* lt = memrchr(m_strPending.data() + before, '<', bytes.size());
    size_t cut = m_strPending.size();  // plain text: nothing to wait for
    if (lt != nullptr) {
        cut = static_cast<size_t>(static_cast<const char*>(lt) - m_strPending.data());
    } else if (before > 0) {
        cut = 0;  // the part held back starts with the last '<' still
    }
    if (m_strPending.size() - cut > kMaxHold) {
        cut = m_strPending.size();
    }
    if (cut > 0) {
        if (CanSkip(cut)) {
            m_nSkipped += cut;
        } else {
            Parse(std::string_view(m_strPending.data(), cut), false);
        }
        m_strPending.erase(0, cut);
    }
}

EvidenceCollector::HighBytesMode EvidenceCollector::SkipMode() const {
    // Only between tags of the body, before the anchor: the head's robots
    // directives and everything from the anchor on are always parsed.
    if (!m_limits.skipPlainMarkup || !m_bAddressScannable || m_evidence.m_bAnchorFound ||
        !m_bBodySeen || m_nScriptDepth > 0) {
        return HighBytesMode::NoSkipping;
    }
    // The parser stands between tags: in text, or about to read a tag with
    // nothing left over (it looks at the next bytes as it would in text);
    // what it still holds is text, no tag or comment waiting for its end.
    const htmlParserCtxtPtr ctxt = m_parser->ctxt;
    const std::string_view unread = m_parser->Unread();
    if (!(ctxt->instate == XML_PARSER_CONTENT ||
          (ctxt->instate == XML_PARSER_START_TAG && unread.empty())) ||
        unread.find('<') != std::string_view::npos || ctxt->input == nullptr ||
        ctxt->input->buf == nullptr ||
        (ctxt->name != nullptr &&
         (xmlStrcasecmp(ctxt->name, reinterpret_cast<const xmlChar*>("script")) == 0 ||
          xmlStrcasecmp(ctxt->name, reinterpret_cast<const xmlChar*>("style")) == 0))) {
        return HighBytesMode::NoSkipping;
    }
    // How bytes of 0x80 and more may change what the parser reads next.
    const xmlCharEncodingHandler* encoder = ctxt->input->buf->encoder;
    if (encoder == nullptr || encoder->name == nullptr) {
        return HighBytesMode::Utf8;  // it leaves UTF-8 on a malformed sequence
    }
    const std::string name = LoweredAscii(encoder->name);
    if (name == "utf-8" || name == "utf8") {
        return HighBytesMode::Utf8;  // a conversion that stops on one
    }
    if (name == "iso-8859-1" || name == "latin1") {
        return HighBytesMode::Inert;  // every byte is a character
    }
    // Encodings where every byte below 0x80 is that ASCII character, as far
    // as markup goes (a multibyte character starts with a high byte): high
    // bytes are parsed, a conversion may fail on them. In any other encoding
    // ASCII characters are not plain bytes, and nothing is skipped.
    static const char* const kAsciiBased[] = {
        "iso-8859-", "iso8859-", "windows-", "cp125", "koi8",    "us-ascii", "ascii", "euc-",
        "shift_jis", "sjis",     "gb2312",   "gbk",   "gb18030", "big5",     "latin"};
    for (const char* prefix : kAsciiBased) {
        if (name.rfind(prefix, 0) == 0) {
            return HighBytesMode::Parse;
        }
    }
    return HighBytesMode::NoSkipping;
}

bool EvidenceCollector::PlainBytes(std::string_view all, std::size_t from, std::size_t to,
                                   HighBytesMode high, std::size_t& next) const {
    // The scan reads up to two bytes (or the address's length) past a
    // candidate; near the end of what has arrived the bytes are checked one
    // at a time, an unknown byte counting as a match.
    const auto* bytes = reinterpret_cast<const unsigned char*>(all.data());
    const std::size_t reach = std::max<std::size_t>(2, m_strAddress.size());
    const std::size_t scanned = all.size() > reach ? std::min(to, all.size() - reach) : 0;
    const unsigned char first =
        m_strAddress.empty() ? 0 : static_cast<unsigned char>(m_strAddress.front() | 0x20);
    const unsigned char last =
        m_strAddress.empty() ? 0 : static_cast<unsigned char>(m_strAddress.back() | 0x20);
    const std::size_t lastOffset = m_strAddress.empty() ? 0 : m_strAddress.size() - 1;
    const bool checkHigh = high != HighBytesMode::Inert;
    std::size_t i = from;
    while (i < to) {
        if (i < scanned) {
            i = bytescan::NextMarkupCandidate(bytes, i, scanned, first, lastOffset, last,
                                              checkHigh);
            if (i == scanned) {
                continue;
            }
        }
        const unsigned char c = bytes[i];
        if (c >= 0x80) {
            if (!checkHigh) {
                ++i;
                continue;
            }
            const std::size_t length =
                high == HighBytesMode::Utf8 ? Utf8Length(bytes + i, all.size() - i) : 0;
            if (length == 0) {
                return false;
            }
            i += length;
            continue;
        }
        if (c == 0 || (c == '&' && MayStartWith(all, i + 1, "#"))) {
            return false;
        }
        if (c == '<' && (MayStartWith(all, i + 1, "!") || MayStartWith(all, i + 1, "?") ||
                         MayStartWith(all, i + 1, "meta") || MayStartWith(all, i + 1, "script") ||
                         MayStartWith(all, i + 1, "style") || MayStartWith(all, i + 1, "/html"))) {
            return false;
        }
        if (!m_strAddress.empty() && MayStartWith(all, i, m_strAddress)) {
            return false;
        }
        ++i;
    }
    next = i;
    return true;
}

bool EvidenceCollector::CanSkip(std::size_t cut) const {
    const HighBytesMode high = SkipMode();
    std::size_t next = 0;
    const std::string_view stretch = std::string_view(m_strPending).substr(0, cut);
    return high != HighBytesMode::NoSkipping && stretch[0] == '<' &&
           EndsBetweenTags(cut, [stretch](std::size_t k) { return stretch[k]; }) &&
           PlainBytes(m_strPending, 0, cut, high, next);
}

bool EvidenceCollector::CanSkipBefore(std::string_view bytes, std::size_t cut) {
    const HighBytesMode high = SkipMode();
    if (high == HighBytesMode::NoSkipping ||
        (m_strPending.empty() ? bytes.front() : m_strPending.front()) != '<') {
        return false;
    }
    const std::string_view held = m_strPending;
    if (!EndsBetweenTags(held.size() + cut, [held, bytes](std::size_t k) {
            return k < held.size() ? held[k] : bytes[k - held.size()];
        })) {
        return false;
    }
    std::size_t next = 0;
    if (!m_strPending.empty()) {
        // The held part with enough of the new bytes to look past its end.
        m_strSeam.assign(m_strPending);
        m_strSeam.append(bytes.substr(0, m_strAddress.size() + 8));
        if (!PlainBytes(m_strSeam, 0, m_strPending.size(), high, next)) {
            return false;
        }
        next -= m_strPending.size();
    }
    return PlainBytes(bytes, next, cut, high, next);
}

void EvidenceCollector::Parse(std::string_view bytes, bool last) {
    // htmlParseChunk takes an int length.
    constexpr size_t kMaxChunk = 1u << 20;
    do {
        const size_t n = std::min(bytes.size(), kMaxChunk);
        const bool end = last && n == bytes.size();
        htmlParseChunk(m_parser->ctxt, bytes.data(), static_cast<int>(n), end ? 1 : 0);
        bytes.remove_prefix(n);
        // The push parser gives up on markup after the end of what it takes
        // for the document (anything after </html>, or a page that begins
        // with an end tag) and drops the rest of the page. A new parser
        // takes over from where it stopped, as from the start of a page.
        while (!m_bComplete && !m_bStopped && m_parser->ctxt->instate == XML_PARSER_EOF) {
            // A budget keeps pages made of such markup linear.
            if (++m_nRestarts > kMaxRestarts + m_evidence.m_nBytes / (64 * 1024)) {
                m_bStopped = true;
                break;
            }
            const std::string rest(m_parser->Unread());
            m_parser = std::make_unique<Parser>(this, m_evidence.m_strContentType);
            if (m_parser->ctxt == nullptr) {
                m_bStopped = true;
                break;
            }
            m_strCarry.clear();
            if (rest.empty() && !end) {
                break;
            }
            htmlParseChunk(m_parser->ctxt, rest.data(), static_cast<int>(rest.size()), end ? 1 : 0);
        }
        if (m_parser->Pending() > m_limits.maxPending) {
            m_bStopped = true;
        }
    } while (!bytes.empty() && !m_bStopped && !m_bComplete);
}

void EvidenceCollector::Complete() {
    // Nothing later in the page can change the evidence: the anchor is known
    // (so the address is not only in a script) and the head with its robots
    // directives is over. The rest of the page is not parsed.
    m_bComplete = true;
    xmlStopParser(m_parser->ctxt);
}

void EvidenceCollector::Finish() {
    if (m_bFinished) {
        return;
    }
    m_bFinished = true;
    if (m_parser && !m_bStopped && !m_bComplete) {
        Parse(m_strPending, true);
    }
    m_strPending.clear();
    m_strPending.shrink_to_fit();
    m_bInAnchor = false;
    if (m_evidence.m_bAnchorFound && m_evidence.m_strAnchorText.empty()) {
        m_evidence.m_strAnchorText = m_strAltText;
    }
    m_evidence.m_bScriptOnly = m_bInScriptSeen && !m_bElsewhereSeen;
}

void EvidenceCollector::SetTransfer(long httpStatus, const std::string& finalUrl,
                                    std::int64_t elapsedMs) {
    m_evidence.m_nHttpStatus = httpStatus;
    if (!finalUrl.empty()) {
        m_evidence.m_strFinalUrl = finalUrl;
    }
    m_evidence.m_nElapsedMs = elapsedMs;
}

void EvidenceCollector::StartElement(std::string_view name, const unsigned char** attributes) {
    if (m_bComplete) {
        return;
    }
    m_strCarry.clear();
    if (name == "body") {
        m_bBodySeen = true;
        if (m_bAnchorClosed) {
            Complete();
            return;
        }
    }
    if (name == "script") {
        ++m_nScriptDepth;
    }
    // Attribute values: an address there is outside any script text.
    if (!m_bElsewhereSeen && attributes != nullptr) {
        for (size_t i = 0; attributes[i] != nullptr; i += 2) {
            if (attributes[i + 1] != nullptr &&
                ContainsLowered(reinterpret_cast<const char*>(attributes[i + 1]), m_strAddress)) {
                m_bElsewhereSeen = true;
                break;
            }
        }
    }
    if (name == "a") {
        const char* href = Attribute(attributes, "href");
        if (!m_evidence.m_bAnchorFound && href != nullptr && ContainsLowered(href, m_strAddress)) {
            m_evidence.m_bAnchorFound = true;
            m_evidence.m_strHref = href;
            const char* rel = Attribute(attributes, "rel");
            std::string tokens;
            if (rel != nullptr) {
                std::string_view r(rel);
                size_t i = 0;
                while (i < r.size()) {
                    while (i < r.size() && IsBlank(r[i])) {
                        ++i;
                    }
                    const size_t start = i;
                    while (i < r.size() && !IsBlank(r[i])) {
                        ++i;
                    }
                    if (i > start) {
                        if (!tokens.empty()) {
                            tokens += ' ';
                        }
                        tokens += LoweredAscii(r.substr(start, i - start));
                    }
                }
            }
            m_evidence.m_strRel = tokens;
            m_bInAnchor = true;
        }
    } else if (name == "img" && m_bInAnchor && m_strAltText.empty()) {
        const char* alt = Attribute(attributes, "alt");
        if (alt != nullptr) {
            std::string_view t = Trimmed(alt);
            m_strAltText =
                std::string(t.substr(0, std::min<size_t>(t.size(), 4 * kAnchorTextChars)));
        }
    } else if (name == "meta") {
        const char* metaName = Attribute(attributes, "name");
        const char* content = Attribute(attributes, "content");
        if (metaName != nullptr && content != nullptr) {
            const std::string lowered = LoweredAscii(Trimmed(metaName));
            if (lowered == "robots" || lowered == "googlebot") {
                if (!m_evidence.m_strMetaRobots.empty()) {
                    m_evidence.m_strMetaRobots += "; ";
                }
                m_evidence.m_strMetaRobots += Trimmed(content);
                ApplyDirectives(content, false, m_bMetaNoindex, m_bMetaNofollow);
                m_evidence.m_bNoindex = m_bMetaNoindex || m_bHeaderNoindex;
                m_evidence.m_bNofollow = m_bMetaNofollow || m_bHeaderNofollow;
            }
        }
    }
}

void EvidenceCollector::EndElement(std::string_view name) {
    if (m_bComplete) {
        return;
    }
    m_strCarry.clear();
    if (name == "script" && m_nScriptDepth > 0) {
        --m_nScriptDepth;
    } else if (name == "a" && m_bInAnchor) {
        m_bInAnchor = false;
        m_bAnchorClosed = true;
        if (m_bBodySeen) {
            Complete();
        }
    }
}

void EvidenceCollector::Text(std::string_view text) {
    if (m_bComplete) {
        return;
    }
    if (m_bInAnchor && !m_bAnchorTextFull) {
        std::string& out = m_evidence.m_strAnchorText;
        for (char c : text) {
            if (IsBlank(c)) {
                m_bPendingBlank = !out.empty();
                continue;
            }
            const bool startsCharacter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            if (startsCharacter) {
                if (m_bPendingBlank) {
                    if (m_nAnchorChars == kAnchorTextChars) {
                        m_bAnchorTextFull = true;
                        break;
                    }
                    out += ' ';
                    ++m_nAnchorChars;
                    m_bPendingBlank = false;
                }
                if (m_nAnchorChars == kAnchorTextChars) {
                    m_bAnchorTextFull = true;
                    if (!out.empty() && out.back() == ' ') {
                        out.pop_back();  // trimmed after the cut too
                    }
                    break;
                }
                ++m_nAnchorChars;
            }
            out += c;
        }
    }
    NoteTextOutsideAnchor(text, m_nScriptDepth > 0);
}

void EvidenceCollector::NoteTextOutsideAnchor(std::string_view text, bool inScript) {
    bool& seen = inScript ? m_bInScriptSeen : m_bElsewhereSeen;
    // Once the anchor is known the address is outside any script anyway.
    if (seen || m_strAddress.empty() || m_evidence.m_bAnchorFound) {
        return;
    }
    // The address may be split over two text events of one run: the run's
    // last bytes are kept for the next, and the seam is searched on its own.
    const size_t keep = m_strAddress.size() - 1;
    if (!m_strCarry.empty()) {
        std::string seam = m_strCarry;
        seam.append(text.substr(0, std::min(text.size(), keep)));
        if (ContainsLowered(seam, m_strAddress)) {
            seen = true;
            return;
        }
    }
    if (ContainsLowered(text, m_strAddress)) {
        seen = true;
        return;
    }
    if (text.size() >= keep) {
        m_strCarry.assign(text.substr(text.size() - keep));
    } else {
        m_strCarry.append(text);
        if (m_strCarry.size() > keep) {
            m_strCarry.erase(0, m_strCarry.size() - keep);
        }
    }
}

}  // namespace tarnwick
