#include "scan/OpenElements.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>

#include "common/AsciiText.h"
#include "lexbor/tag/const.h"

namespace tarnwick {

namespace {

using Ns = HtmlTokenizer::Namespace;

// Longest attribute value quoted as evidence, in bytes.
constexpr std::size_t kQuoted = 160;
// An offset at least this far to the left or top puts a box off the screen.
constexpr double kOffscreenPx = -1000;

bool oneOf(std::uintptr_t id, std::initializer_list<std::uintptr_t> ids) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool isVoidElement(std::uintptr_t id) {
    return oneOf(id, {LXB_TAG_AREA, LXB_TAG_BASE, LXB_TAG_BR, LXB_TAG_COL, LXB_TAG_EMBED,
                      LXB_TAG_HR, LXB_TAG_IMG, LXB_TAG_IMAGE, LXB_TAG_INPUT, LXB_TAG_LINK,
                      LXB_TAG_META, LXB_TAG_SOURCE, LXB_TAG_TRACK, LXB_TAG_WBR, LXB_TAG_KEYGEN,
                      LXB_TAG_PARAM, LXB_TAG_BASEFONT, LXB_TAG_BGSOUND, LXB_TAG_FRAME});
}

// Start tags that close an open <p> (in button scope).
bool closesPElement(std::uintptr_t id) {
    return oneOf(id, {LXB_TAG_ADDRESS, LXB_TAG_ARTICLE, LXB_TAG_ASIDE,     LXB_TAG_BLOCKQUOTE,
                      LXB_TAG_CENTER,  LXB_TAG_DETAILS, LXB_TAG_DIALOG,    LXB_TAG_DIR,
                      LXB_TAG_DIV,     LXB_TAG_DL,      LXB_TAG_FIELDSET,  LXB_TAG_FIGCAPTION,
                      LXB_TAG_FIGURE,  LXB_TAG_FOOTER,  LXB_TAG_HEADER,    LXB_TAG_HGROUP,
                      LXB_TAG_MAIN,    LXB_TAG_MENU,    LXB_TAG_NAV,       LXB_TAG_OL,
                      LXB_TAG_P,       LXB_TAG_SEARCH,  LXB_TAG_SECTION,   LXB_TAG_SUMMARY,
                      LXB_TAG_UL,      LXB_TAG_H1,      LXB_TAG_H2,        LXB_TAG_H3,
                      LXB_TAG_H4,      LXB_TAG_H5,      LXB_TAG_H6,        LXB_TAG_PRE,
                      LXB_TAG_LISTING, LXB_TAG_FORM,    LXB_TAG_PLAINTEXT, LXB_TAG_TABLE,
                      LXB_TAG_HR,      LXB_TAG_XMP,     LXB_TAG_LI,        LXB_TAG_DD,
                      LXB_TAG_DT});
}

bool isHeading(std::uintptr_t id) {
    return oneOf(id, {LXB_TAG_H1, LXB_TAG_H2, LXB_TAG_H3, LXB_TAG_H4, LXB_TAG_H5, LXB_TAG_H6});
}

bool isTablePartElement(std::uintptr_t id) {
    return oneOf(id, {LXB_TAG_TD, LXB_TAG_TH, LXB_TAG_TR, LXB_TAG_TBODY, LXB_TAG_THEAD,
                      LXB_TAG_TFOOT, LXB_TAG_CAPTION, LXB_TAG_COLGROUP});
}

// The elements a table keeps inside itself; anything else placed directly
// in them goes before the table.
bool isTableStructure(std::uintptr_t id) {
    return oneOf(id, {LXB_TAG_TABLE, LXB_TAG_TBODY, LXB_TAG_THEAD, LXB_TAG_TFOOT, LXB_TAG_TR});
}

bool isTableChild(std::uintptr_t parent, std::uintptr_t child) {
    if (parent == LXB_TAG_TABLE) {
        return oneOf(child, {LXB_TAG_CAPTION, LXB_TAG_COLGROUP, LXB_TAG_TBODY, LXB_TAG_THEAD,
                             LXB_TAG_TFOOT, LXB_TAG_TR, LXB_TAG_TD, LXB_TAG_TH});
    }
    if (parent == LXB_TAG_TR) {
        return child == LXB_TAG_TD || child == LXB_TAG_TH;
    }
    return oneOf(child, {LXB_TAG_TR, LXB_TAG_TD, LXB_TAG_TH});
}

// Elements that end "button scope" (where a <p> or <button> is looked for).
constexpr std::initializer_list<std::uintptr_t> kButtonScope = {LXB_TAG_APPLET,
                                                                LXB_TAG_CAPTION,
                                                                LXB_TAG_HTML,
                                                                LXB_TAG_TABLE,
                                                                LXB_TAG_TD,
                                                                LXB_TAG_TH,
                                                                LXB_TAG_MARQUEE,
                                                                LXB_TAG_OBJECT,
                                                                LXB_TAG_TEMPLATE,
                                                                LXB_TAG_BUTTON,
                                                                LXB_TAG_MI,
                                                                LXB_TAG_MO,
                                                                LXB_TAG_MN,
                                                                LXB_TAG_MS,
                                                                LXB_TAG_MTEXT,
                                                                LXB_TAG_ANNOTATION_XML,
                                                                LXB_TAG_FOREIGNOBJECT,
                                                                LXB_TAG_DESC,
                                                                LXB_TAG_TITLE};

// The markers of the list of active formatting elements: an <a> before one
// of them is not closed by a new <a>.
constexpr std::initializer_list<std::uintptr_t> kMarkers = {
    LXB_TAG_TD,     LXB_TAG_TH,      LXB_TAG_CAPTION, LXB_TAG_APPLET,
    LXB_TAG_OBJECT, LXB_TAG_MARQUEE, LXB_TAG_TEMPLATE};

// Part of the "special" elements that stop the search for an <li>, <dd> or
// <dt> to close. Leaving one out only closes too much, never too little.
bool stopsListItemSearch(std::uintptr_t id) {
    return oneOf(
        id,
        {LXB_TAG_APPLET,  LXB_TAG_ARTICLE, LXB_TAG_ASIDE,     LXB_TAG_BLOCKQUOTE, LXB_TAG_BODY,
         LXB_TAG_BUTTON,  LXB_TAG_CAPTION, LXB_TAG_CENTER,    LXB_TAG_COLGROUP,   LXB_TAG_DETAILS,
         LXB_TAG_DIR,     LXB_TAG_DL,      LXB_TAG_FIELDSET,  LXB_TAG_FIGCAPTION, LXB_TAG_FIGURE,
         LXB_TAG_FOOTER,  LXB_TAG_FORM,    LXB_TAG_H1,        LXB_TAG_H2,         LXB_TAG_H3,
         LXB_TAG_H4,      LXB_TAG_H5,      LXB_TAG_H6,        LXB_TAG_HEADER,     LXB_TAG_HGROUP,
         LXB_TAG_HTML,    LXB_TAG_IFRAME,  LXB_TAG_LISTING,   LXB_TAG_MAIN,       LXB_TAG_MARQUEE,
         LXB_TAG_MENU,    LXB_TAG_NAV,     LXB_TAG_NOEMBED,   LXB_TAG_NOFRAMES,   LXB_TAG_NOSCRIPT,
         LXB_TAG_OBJECT,  LXB_TAG_OL,      LXB_TAG_PLAINTEXT, LXB_TAG_PRE,        LXB_TAG_SCRIPT,
         LXB_TAG_SECTION, LXB_TAG_SELECT,  LXB_TAG_STYLE,     LXB_TAG_SUMMARY,    LXB_TAG_TABLE,
         LXB_TAG_TBODY,   LXB_TAG_TD,      LXB_TAG_TEMPLATE,  LXB_TAG_TEXTAREA,   LXB_TAG_TFOOT,
         LXB_TAG_TH,      LXB_TAG_THEAD,   LXB_TAG_TR,        LXB_TAG_UL,         LXB_TAG_XMP});
}

// What every start tag asks of its id, looked up once per page tag: the
// lists above as bits of a table.
enum : std::uint8_t { kVoid = 1, kClosesP = 2, kTablePart = 4, kScope = 8, kMarker = 16 };

const std::vector<std::uint8_t>& tagFlags() {
    static const std::vector<std::uint8_t> flags = [] {
        std::vector<std::uint8_t> table(LXB_TAG__LAST_ENTRY, 0);
        for (std::uintptr_t id = 0; id < LXB_TAG__LAST_ENTRY; ++id) {
            table[id] = static_cast<std::uint8_t>(
                (isVoidElement(id) ? kVoid : 0) | (closesPElement(id) ? kClosesP : 0) |
                (isTablePartElement(id) ? kTablePart : 0) | (oneOf(id, kButtonScope) ? kScope : 0) |
                (oneOf(id, kMarkers) ? kMarker : 0));
        }
        return table;
    }();
    return flags;
}

bool has(std::uintptr_t id, std::uint8_t flag) {
    return id < LXB_TAG__LAST_ENTRY && (tagFlags()[id] & flag) != 0;
}

// Foreign elements whose content is HTML.
bool isIntegrationPoint(std::uintptr_t id, Ns ns) {
    if (ns == Ns::Svg) {
        return oneOf(id, {LXB_TAG_FOREIGNOBJECT, LXB_TAG_DESC, LXB_TAG_TITLE});
    }
    return ns == Ns::MathMl &&
           oneOf(id, {LXB_TAG_MI, LXB_TAG_MO, LXB_TAG_MN, LXB_TAG_MS, LXB_TAG_MTEXT});
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
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

// A CSS number with its unit ("-9999px", "0", ".5em", "0%"), lowered.
struct Length {
    double number = 0;
    std::string_view unit;
};

std::optional<Length> parseLength(std::string_view value) {
    std::size_t i = 0;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        ++i;
    }
    const std::size_t digits = i;
    while (i < value.size() && ((value[i] >= '0' && value[i] <= '9') || value[i] == '.')) {
        ++i;
    }
    if (i == digits) {
        return std::nullopt;
    }
    Length length;
    // from_chars takes no '+' and wants a digit before '.'.
    std::string_view digitsText = value.substr(0, i);
    std::string number;
    if (digitsText.front() == '+' || digitsText.front() == '-') {
        if (digitsText.front() == '-') {
            number += '-';
        }
        digitsText.remove_prefix(1);
    }
    if (digitsText.front() == '.') {
        number += '0';
    }
    number += digitsText;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), length.number);
    if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    length.unit = value.substr(i);
    for (const char c : length.unit) {
        if (!((c >= 'a' && c <= 'z') || c == '%')) {
            return std::nullopt;
        }
    }
    return length;
}

// A length in CSS pixels, when its unit tells one without a layout.
std::optional<double> pixels(std::string_view value) {
    const std::optional<Length> length = parseLength(value);
    if (!length) {
        return std::nullopt;
    }
    if (length->unit.empty() || length->unit == "px") {
        return length->number;
    }
    if (length->unit == "em" || length->unit == "rem") {
        return length->number * 16;
    }
    if (length->unit == "pt") {
        return length->number * 4 / 3;
    }
    if (length->unit == "in") {
        return length->number * 96;
    }
    if (length->unit == "cm") {
        return length->number * 96 / 2.54;
    }
    return std::nullopt;
}

// The value cut to kQuoted bytes, at the start of a character.
std::string quoted(std::string_view value) {
    if (value.size() <= kQuoted) {
        return std::string(value);
    }
    std::size_t cut = kQuoted;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(value.substr(0, cut)) + "...";
}

// The properties that may hide an element or place it off the screen.
bool isHidingProperty(std::string_view lowered) {
    return lowered == "display" || lowered == "visibility" || lowered == "opacity" ||
           lowered == "font-size" || lowered == "position" || lowered == "left" || lowered == "top";
}

// Calls f(property, value) for each declaration of an inline style that
// sets a hiding property, in order, both lowered and trimmed, comments and
// "!important" dropped. Most styles set none: they are read without a copy.
template <class F>
void forEachDeclaration(std::string_view style, F&& f) {
    if (style.find(':') == std::string_view::npos) {
        return;  // no declaration at all
    }
    std::string clean;
    if (style.find("/*") != std::string_view::npos) {
        clean.reserve(style.size());
        for (std::size_t i = 0; i < style.size(); ++i) {
            if (style[i] == '/' && i + 1 < style.size() && style[i + 1] == '*') {
                const std::size_t close = style.find("*/", i + 2);
                if (close == std::string_view::npos) {
                    break;
                }
                i = close + 1;
                clean += ' ';
                continue;
            }
            clean += style[i];
        }
        style = clean;
    }
    const auto declaration = [&f](std::string_view text) {
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        const std::string_view name = trimmed(text.substr(0, colon));
        char lowered[16];
        if (name.size() < 3 || name.size() > sizeof lowered) {
            return;
        }
        std::transform(name.begin(), name.end(), lowered, lowerAscii);
        const std::string_view property(lowered, name.size());
        if (!isHidingProperty(property)) {
            return;
        }
        const std::string value = loweredAscii(trimmed(text.substr(colon + 1)));
        std::string_view kept = value;
        if (const std::size_t bang = kept.rfind('!');
            bang != std::string_view::npos && trimmed(kept.substr(bang + 1)) == "important") {
            kept = trimmed(kept.substr(0, bang));
        }
        f(property, kept);
    };
    if (std::none_of(style.begin(), style.end(),
                     [](char c) { return c == '"' || c == '\'' || c == '('; })) {
        // No quotes or parentheses: every ';' ends a declaration.
        std::size_t from = 0;
        while (from < style.size()) {
            std::size_t end = style.find(';', from);
            if (end == std::string_view::npos) {
                end = style.size();
            }
            declaration(style.substr(from, end - from));
            from = end + 1;
        }
        return;
    }
    std::size_t from = 0;
    int depth = 0;
    char quote = 0;
    for (std::size_t i = 0; i <= style.size(); ++i) {
        const char c = i < style.size() ? style[i] : ';';
        if (quote != 0) {
            quote = c == quote ? '\0' : quote;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth = std::max(0, depth - 1);
        } else if (c == ';' && depth == 0) {
            declaration(style.substr(from, i - from));
            from = i + 1;
        }
    }
}

std::uintptr_t clamped(std::uintptr_t id) {
    return std::min<std::uintptr_t>(id, LXB_TAG__LAST_ENTRY);
}

}  // namespace

OpenElements::OpenElements() : m_counts(LXB_TAG__LAST_ENTRY + 1, 0) {
    m_stack.reserve(64);
}

std::uint32_t& OpenElements::count(std::uintptr_t id) {
    return m_counts[clamped(id)];
}

std::uint32_t OpenElements::countOf(std::uintptr_t id) const {
    return m_counts[clamped(id)];
}

OpenElements::Facts OpenElements::factsOf(const HtmlTokenizer::Tag& tag) {
    Facts facts;
    if (tag.attributes.empty()) {
        return facts;
    }
    const std::string_view* style = nullptr;
    const std::string_view* hidden = nullptr;
    const std::string_view* aria = nullptr;
    std::string position;
    std::optional<double> left;
    std::optional<double> top;
    std::string source;
    const auto quote = [&source](std::string_view name, std::string_view value) {
        source += ' ';
        source += name;
        source += "=\"";
        source += quoted(value);
        source += '"';
    };
    const auto visibility = [&facts](std::string_view value) {
        if (value == "hidden" || value == "collapse") {
            facts.visibility = Level::Hidden;
        } else if (value == "visible" || value == "initial") {
            facts.visibility = Level::Shown;
        } else if (value == "inherit" || value == "unset") {
            facts.visibility = Level::Unset;
        }
    };
    const auto opacity = [&facts](std::string_view value) {
        if (const std::optional<Length> length = parseLength(value);
            length && (length->unit.empty() || length->unit == "%")) {
            facts.opacityZero = length->number <= 0;
        }
    };
    for (const HtmlTokenizer::Attribute& a : tag.attributes) {
        // By length first: most attributes are none of these.
        const std::size_t length = a.name.size();
        if (length == 5 && a.name == "style") {
            style = &a.value;
        } else if (length == 6 && a.name == "hidden") {
            hidden = &a.value;
        } else if (length == 11 && a.name == "aria-hidden") {
            aria = &a.value;
        } else if (tag.ns == Ns::Svg) {
            // Presentation attributes; the style, read after them, wins.
            if (a.name == "display") {
                const std::string value = loweredAscii(trimmed(a.value));
                facts.displaySet = true;
                facts.displayNone = value == "none";
                facts.byMarkup = facts.displayNone;
            } else if (a.name == "visibility") {
                visibility(loweredAscii(trimmed(a.value)));
            } else if (a.name == "opacity") {
                opacity(loweredAscii(trimmed(a.value)));
            } else {
                continue;
            }
            quote(a.name, a.value);
        }
    }
    if (style != nullptr) {
        forEachDeclaration(*style, [&](std::string_view property, std::string_view value) {
            if (value.empty()) {
                return;
            }
            if (property == "display") {
                facts.displaySet = true;
                facts.displayNone = value == "none";
                facts.byMarkup = false;
            } else if (property == "visibility") {
                visibility(value);
            } else if (property == "opacity") {
                opacity(value);
            } else if (property == "font-size") {
                const std::optional<Length> length = parseLength(value);
                if (length && length->number == 0) {
                    facts.fontSize = Size::Zero;
                } else if ((length && (length->unit == "em" || length->unit == "%" ||
                                       length->unit == "ex" || length->unit == "ch")) ||
                           value == "larger" || value == "smaller" || value == "inherit" ||
                           value == "unset") {
                    facts.fontSize = Size::Relative;
                } else {
                    facts.fontSize = Size::Absolute;
                }
            } else if (property == "position") {
                position = std::string(value);
            } else if (property == "left") {
                left = pixels(value);
            } else if (property == "top") {
                top = pixels(value);
            }
        });
        const bool placed = position == "absolute" || position == "fixed" || position == "relative";
        facts.offscreen =
            placed && ((left && *left <= kOffscreenPx) || (top && *top <= kOffscreenPx));
        facts.fixed = position == "fixed";
    }
    if (hidden != nullptr && loweredAscii(trimmed(*hidden)) != "until-found" && !facts.displaySet) {
        facts.displayNone = true;
        facts.byMarkup = true;
    }
    facts.ariaHidden = aria != nullptr && loweredAscii(trimmed(*aria)) == "true";
    if (!facts.any()) {
        return facts;
    }
    facts.source.reserve(tag.name.size() + source.size() + 64);
    facts.source.push_back('<');
    facts.source.append(tag.name);
    if (style != nullptr) {
        quote("style", *style);
    }
    if (hidden != nullptr) {
        facts.source += hidden->empty() ? " hidden" : " hidden=\"" + quoted(*hidden) + "\"";
    }
    if (aria != nullptr) {
        quote("aria-hidden", *aria);
    }
    facts.source += source + ">";
    return facts;
}

std::size_t OpenElements::nearestNamed(std::uintptr_t id, std::string_view name) const {
    std::size_t names = m_names.size();
    for (std::size_t i = m_stack.size(); i > 0; --i) {
        const Entry& entry = m_stack[i - 1];
        const std::string* own = entry.hasName ? &m_names[--names] : nullptr;
        if (entry.id == id && (id < LXB_TAG__LAST_ENTRY || (own != nullptr && *own == name))) {
            return i - 1;
        }
    }
    return std::string::npos;
}

std::size_t OpenElements::nearest(std::uintptr_t id, std::uint8_t stops) const {
    if (countOf(id) == 0) {
        return std::string::npos;
    }
    for (std::size_t i = m_stack.size(); i > 0; --i) {
        const std::uintptr_t at = m_stack[i - 1].id;
        if (at == id) {
            return i - 1;
        }
        if (has(at, stops)) {
            break;
        }
    }
    return std::string::npos;
}

std::size_t OpenElements::nearestOf(std::initializer_list<std::uintptr_t> ids) const {
    for (std::size_t i = m_stack.size(); i > 0; --i) {
        if (oneOf(m_stack[i - 1].id, ids)) {
            return i - 1;
        }
    }
    return std::string::npos;
}

void OpenElements::popTo(std::size_t index) {
    // Whatever was opened beyond the kept depth was opened after these.
    m_overflow = 0;
    while (m_stack.size() > index) {
        const Entry& top = m_stack.back();
        --count(top.id);
        if (top.hasFacts) {
            m_facts.pop_back();
        }
        if (top.hasName) {
            m_names.pop_back();
        }
        m_stack.pop_back();
    }
}

void OpenElements::popAbove(std::size_t index) {
    if (index != std::string::npos) {
        popTo(index + 1);
    }
}

void OpenElements::push(Entry entry, Facts facts, std::string_view name) {
    if (m_stack.size() >= kMaxDepth || m_overflow > 0) {
        ++m_overflow;
        return;
    }
    ++count(entry.id);
    entry.hasFacts = facts.any();
    entry.hasName = entry.id >= LXB_TAG__LAST_ENTRY;
    if (entry.hasFacts) {
        m_facts.push_back(std::move(facts));
    }
    if (entry.hasName) {
        m_names.emplace_back(name);
    }
    m_stack.push_back(entry);
}

void OpenElements::mergeRoot(Root& root, const HtmlTokenizer::Tag& tag) {
    bool added = false;
    for (const HtmlTokenizer::Attribute& a : tag.attributes) {
        const bool known = std::any_of(root.attributes.begin(), root.attributes.end(),
                                       [&a](const auto& had) { return had.first == a.name; });
        if (!known) {
            root.attributes.emplace_back(a.name, a.value);
            added = true;
        }
    }
    if (!added) {
        return;
    }
    HtmlTokenizer::Tag merged;
    merged.name = tag.name;
    merged.id = tag.id;
    for (const auto& [name, value] : root.attributes) {
        merged.attributes.push_back({name, value});
    }
    root.facts = factsOf(merged);
}

void OpenElements::tag(const HtmlTokenizer::Tag& tag) {
    if (tag.end) {
        end(tag);
    } else {
        start(tag);
    }
}

void OpenElements::start(const HtmlTokenizer::Tag& tag) {
    const std::uintptr_t id = tag.id;
    m_lastWasVoid = false;
    m_lastKept = false;
    if (tag.ns == Ns::Html) {
        // An HTML element in SVG or MathML outside an integration point has
        // broken out of it.
        while (!m_stack.empty() && m_stack.back().ns != Ns::Html &&
               !isIntegrationPoint(m_stack.back().id, m_stack.back().ns)) {
            popTo(m_stack.size() - 1);
        }
        if (id == LXB_TAG_HTML || id == LXB_TAG_BODY) {
            mergeRoot(id == LXB_TAG_HTML ? m_html : m_body, tag);
            return;
        }
        if (id == LXB_TAG_HEAD || id == LXB_TAG_FRAMESET) {
            return;
        }
        if (has(id, kTablePart) && countOf(LXB_TAG_TABLE) == 0) {
            return;  // ignored outside a table
        }
        if (countOf(LXB_TAG_P) > 0 && has(id, kClosesP)) {
            if (const std::size_t p = nearest(LXB_TAG_P, kScope); p != std::string::npos) {
                popTo(p);
            }
        }
        switch (id) {
            case LXB_TAG_LI:
            case LXB_TAG_DD:
            case LXB_TAG_DT:
                if (id == LXB_TAG_LI ? countOf(LXB_TAG_LI) == 0
                                     : countOf(LXB_TAG_DD) + countOf(LXB_TAG_DT) == 0) {
                    break;  // nothing to close
                }
                for (std::size_t i = m_stack.size(); i > 0; --i) {
                    const std::uintptr_t at = m_stack[i - 1].id;
                    const bool item = id == LXB_TAG_LI ? at == LXB_TAG_LI
                                                       : (at == LXB_TAG_DD || at == LXB_TAG_DT);
                    if (item && m_stack[i - 1].ns == Ns::Html) {
                        popTo(i - 1);
                        break;
                    }
                    if (stopsListItemSearch(at) ||
                        (at == LXB_TAG_LI || at == LXB_TAG_DD || at == LXB_TAG_DT)) {
                        break;
                    }
                }
                break;
            case LXB_TAG_A:
                if (const std::size_t a = nearest(LXB_TAG_A, kMarker); a != std::string::npos) {
                    popTo(a);
                }
                break;
            case LXB_TAG_BUTTON:
                if (const std::size_t b = nearest(LXB_TAG_BUTTON, kScope); b != std::string::npos) {
                    popTo(b);
                }
                break;
            case LXB_TAG_OPTION:
            case LXB_TAG_OPTGROUP:
                if (!m_stack.empty() && m_stack.back().id == LXB_TAG_OPTION) {
                    popTo(m_stack.size() - 1);
                }
                if (id == LXB_TAG_OPTGROUP && !m_stack.empty() &&
                    m_stack.back().id == LXB_TAG_OPTGROUP) {
                    popTo(m_stack.size() - 1);
                }
                break;
            case LXB_TAG_RB:
            case LXB_TAG_RTC:
            case LXB_TAG_RP:
            case LXB_TAG_RT:
                while (!m_stack.empty() &&
                       (oneOf(m_stack.back().id, {LXB_TAG_RB, LXB_TAG_RP, LXB_TAG_RT}) ||
                        (m_stack.back().id == LXB_TAG_RTC &&
                         (id == LXB_TAG_RB || id == LXB_TAG_RTC)))) {
                    popTo(m_stack.size() - 1);
                }
                break;
            case LXB_TAG_SELECT:
                if (const std::size_t s = nearestOf({LXB_TAG_SELECT}); s != std::string::npos) {
                    popTo(s);  // a <select> in a <select> ends the first
                    return;
                }
                break;
            case LXB_TAG_TD:
            case LXB_TAG_TH:
                popAbove(nearestOf({LXB_TAG_TR, LXB_TAG_TABLE, LXB_TAG_TEMPLATE}));
                break;
            case LXB_TAG_TR:
                popAbove(nearestOf({LXB_TAG_TBODY, LXB_TAG_THEAD, LXB_TAG_TFOOT, LXB_TAG_TABLE,
                                    LXB_TAG_TEMPLATE}));
                break;
            case LXB_TAG_TBODY:
            case LXB_TAG_THEAD:
            case LXB_TAG_TFOOT:
            case LXB_TAG_CAPTION:
            case LXB_TAG_COLGROUP:
                popAbove(nearestOf({LXB_TAG_TABLE, LXB_TAG_TEMPLATE}));
                break;
            case LXB_TAG_TABLE: {
                const std::size_t at = nearestOf(
                    {LXB_TAG_TABLE, LXB_TAG_TD, LXB_TAG_TH, LXB_TAG_CAPTION, LXB_TAG_TEMPLATE});
                if (at != std::string::npos && m_stack[at].id == LXB_TAG_TABLE) {
                    popTo(at);  // a table directly in a table ends it
                }
                break;
            }
            default:
                if (!m_stack.empty() && isHeading(m_stack.back().id) && isHeading(id)) {
                    popTo(m_stack.size() - 1);
                }
                break;
        }
    }
    Entry entry;
    entry.id = id;
    entry.ns = tag.ns;
    if ((tag.ns == Ns::Html && has(id, kVoid)) || (tag.ns != Ns::Html && tag.selfClosing)) {
        m_voidId = id;
        m_voidFacts = factsOf(tag);
        m_lastWasVoid = true;
        return;
    }
    const std::size_t before = m_stack.size();
    push(entry, factsOf(tag), tag.name);
    m_lastKept = m_stack.size() > before;
}

void OpenElements::end(const HtmlTokenizer::Tag& tag) {
    const std::uintptr_t id = tag.id;
    m_lastWasVoid = false;
    m_lastKept = false;
    if (id == LXB_TAG_BODY || id == LXB_TAG_HTML || id == LXB_TAG_HEAD || id == LXB_TAG_BR) {
        return;
    }
    if (countOf(id) > 0) {
        if (const std::size_t at = nearestNamed(id, tag.name); at != std::string::npos) {
            popTo(at);
            return;
        }
    }
    if (m_overflow > 0) {
        --m_overflow;  // most likely one of those not kept
    }
}

Concealment OpenElements::current() const {
    const Facts* display = nullptr;
    const Facts* opacity = nullptr;
    const Facts* visibility = nullptr;
    const Facts* offscreen = nullptr;
    const Facts* size = nullptr;
    const Facts* aria = nullptr;
    bool visibilityDecided = false;
    bool sizeDecided = false;
    bool fixedSeen = false;
    const Facts* self = nullptr;
    const auto visit = [&](const Facts& f) {
        if (f.displayNone && display == nullptr) {
            display = &f;
        }
        if (f.opacityZero && opacity == nullptr) {
            opacity = &f;
        }
        if (!visibilityDecided && f.visibility != Level::Unset) {
            visibilityDecided = true;
            visibility = f.visibility == Level::Hidden ? &f : nullptr;
        }
        if (!sizeDecided && (f.fontSize == Size::Zero || f.fontSize == Size::Absolute)) {
            sizeDecided = true;
            size = f.fontSize == Size::Zero ? &f : nullptr;
        }
        if (!fixedSeen && f.offscreen && offscreen == nullptr) {
            offscreen = &f;
        }
        fixedSeen = fixedSeen || f.fixed;
        if (f.ariaHidden && aria == nullptr) {
            aria = &f;
        }
    };
    std::uintptr_t above = 0;
    const Facts none;
    std::size_t facts = m_facts.size();
    if (m_lastWasVoid) {
        self = &m_voidFacts;
        visit(m_voidFacts);
        above = m_voidId;
    } else if (m_lastKept && !m_stack.empty()) {
        self = m_stack.back().hasFacts ? &m_facts.back() : &none;
    }
    bool fostered = false;
    for (std::size_t i = m_stack.size(); i > 0; --i) {
        const Entry& entry = m_stack[i - 1];
        const Facts& own = entry.hasFacts ? m_facts[--facts] : none;
        if (fostered) {
            // The table that the content was moved out of, and its parts.
            if (entry.id == LXB_TAG_TABLE) {
                fostered = false;
            }
            above = entry.id;
            continue;
        }
        if (isTableStructure(entry.id) && entry.ns == Ns::Html && above != 0 &&
            !isTableChild(entry.id, above)) {
            fostered = entry.id != LXB_TAG_TABLE;
            above = entry.id;
            continue;
        }
        visit(own);
        above = entry.id;
    }
    visit(m_body.facts);
    visit(m_html.facts);

    Concealment result;
    const auto where = [self](const Facts* f) {
        return f->source + (f == self ? " on the link" : " around the link");
    };
    if (aria != nullptr) {
        result.ariaHidden = where(aria);
    }
    const Facts* cause = nullptr;
    if (display != nullptr) {
        cause = display;
        result.by = display->byMarkup ? Concealment::By::Markup : Concealment::By::Css;
    } else if ((cause = opacity) != nullptr || (cause = visibility) != nullptr ||
               (cause = offscreen) != nullptr) {
        result.by = Concealment::By::Css;
    } else if ((cause = size) != nullptr) {
        result.by = Concealment::By::Css;
        result.fontSizeOnly = true;
    }
    if (cause != nullptr) {
        result.evidence = where(cause);
    }
    return result;
}

}  // namespace tarnwick
