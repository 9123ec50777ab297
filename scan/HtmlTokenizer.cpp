#include "scan/HtmlTokenizer.h"

#include <algorithm>
#include <initializer_list>

#include "common/AsciiText.h"
#include "lexbor/html/tokenizer.h"
#include "lexbor/html/tokenizer/state.h"

namespace tarnwick {

namespace {

// Feeds are cut into pieces of this size, so that a token's growth is seen
// before it has taken much more than maxPending.
constexpr std::size_t kPiece = std::size_t{64} * 1024;
// Names lexbor adds to its tables for tags and attributes it does not know;
// beyond this many the tables are started afresh (a page made of invented
// names must not grow them without end).
constexpr std::uint64_t kMaxDynamicNames = 50000;

bool oneOf(std::uintptr_t id, std::initializer_list<lxb_tag_id_t> ids) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// HTML start tags that end SVG or MathML content where they stand.
bool breaksOutOfForeignContent(std::uintptr_t id) {
    return oneOf(
        id, {LXB_TAG_B,      LXB_TAG_BIG,    LXB_TAG_BLOCKQUOTE, LXB_TAG_BODY,  LXB_TAG_BR,
             LXB_TAG_CENTER, LXB_TAG_CODE,   LXB_TAG_DD,         LXB_TAG_DIV,   LXB_TAG_DL,
             LXB_TAG_DT,     LXB_TAG_EM,     LXB_TAG_EMBED,      LXB_TAG_H1,    LXB_TAG_H2,
             LXB_TAG_H3,     LXB_TAG_H4,     LXB_TAG_H5,         LXB_TAG_H6,    LXB_TAG_HEAD,
             LXB_TAG_HR,     LXB_TAG_I,      LXB_TAG_IMG,        LXB_TAG_LI,    LXB_TAG_LISTING,
             LXB_TAG_MENU,   LXB_TAG_META,   LXB_TAG_NOBR,       LXB_TAG_OL,    LXB_TAG_P,
             LXB_TAG_PRE,    LXB_TAG_RUBY,   LXB_TAG_S,          LXB_TAG_SMALL, LXB_TAG_SPAN,
             LXB_TAG_STRONG, LXB_TAG_STRIKE, LXB_TAG_SUB,        LXB_TAG_SUP,   LXB_TAG_TABLE,
             LXB_TAG_TT,     LXB_TAG_U,      LXB_TAG_UL,         LXB_TAG_VAR});
}

// Elements without content (never on the stack of open elements).
bool isVoid(std::uintptr_t id) {
    return oneOf(
        id, {LXB_TAG_AREA, LXB_TAG_BASE, LXB_TAG_BR, LXB_TAG_COL, LXB_TAG_EMBED, LXB_TAG_HR,
             LXB_TAG_IMG, LXB_TAG_INPUT, LXB_TAG_LINK, LXB_TAG_META, LXB_TAG_SOURCE, LXB_TAG_TRACK,
             LXB_TAG_WBR, LXB_TAG_KEYGEN, LXB_TAG_PARAM, LXB_TAG_BASEFONT, LXB_TAG_BGSOUND});
}

// HTML start tags after which a <frameset> no longer replaces the body.
bool endsFramesetOk(std::uintptr_t id) {
    return oneOf(id,
                 {LXB_TAG_BODY,   LXB_TAG_PRE,    LXB_TAG_LISTING, LXB_TAG_LI,       LXB_TAG_DD,
                  LXB_TAG_DT,     LXB_TAG_BUTTON, LXB_TAG_APPLET,  LXB_TAG_MARQUEE,  LXB_TAG_OBJECT,
                  LXB_TAG_TABLE,  LXB_TAG_AREA,   LXB_TAG_BR,      LXB_TAG_EMBED,    LXB_TAG_IMG,
                  LXB_TAG_KEYGEN, LXB_TAG_WBR,    LXB_TAG_HR,      LXB_TAG_TEXTAREA, LXB_TAG_XMP,
                  LXB_TAG_IFRAME, LXB_TAG_SELECT});
}

// The encodings that make a MathML <annotation-xml> hold HTML.
bool isHtmlEncoding(const std::string_view* encoding) {
    if (encoding == nullptr) {
        return false;
    }
    const std::string lowered = loweredAscii(*encoding);
    return lowered == "text/html" || lowered == "application/xhtml+xml";
}

// The attributes that may hide any element: style, hidden, aria-hidden (the
// last two are names lexbor adds to its tables).
bool hidesElement(std::uintptr_t attrId, std::string_view name) {
    if (attrId < LXB_DOM_ATTR__LAST_ENTRY) {
        return attrId == LXB_DOM_ATTR_STYLE;
    }
    return name == "hidden" || name == "aria-hidden";
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view view(const lxb_char_t* begin, const lxb_char_t* end) {
    if (begin == nullptr || end == nullptr || end < begin) {
        return {};
    }
    return {reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin)};
}

}  // namespace

const std::string_view* HtmlTokenizer::Tag::attribute(std::string_view wanted) const {
    for (const Attribute& a : attributes) {
        if (a.name == wanted) {
            return &a.value;
        }
    }
    return nullptr;
}

// Tokenizers of pages read before on this thread, cleaned for the next page:
// setting one up costs more than reading a small page.
class TokenizerPool {
public:
    ~TokenizerPool() {
        for (lxb_html_tokenizer_t* tkz : m_free) {
            lxb_html_tokenizer_destroy(tkz);
        }
    }
    TokenizerPool() = default;
    TokenizerPool(const TokenizerPool&) = delete;
    TokenizerPool& operator=(const TokenizerPool&) = delete;

    static TokenizerPool& forThisThread() {
        thread_local TokenizerPool pool;
        return pool;
    }

    lxb_html_tokenizer_t* take() {
        if (m_free.empty()) {
            lxb_html_tokenizer_t* tkz = lxb_html_tokenizer_create();
            if (tkz != nullptr && lxb_html_tokenizer_init(tkz) != LXB_STATUS_OK) {
                lxb_html_tokenizer_destroy(tkz);
                return nullptr;
            }
            return tkz;
        }
        lxb_html_tokenizer_t* tkz = m_free.back();
        m_free.pop_back();
        return tkz;
    }

    // A tokenizer whose tables took in many invented names goes: the tables
    // would only grow from page to page.
    void giveBack(lxb_html_tokenizer_t* tkz, bool reusable) {
        if (!reusable || m_free.size() >= kKept) {
            lxb_html_tokenizer_destroy(tkz);
            return;
        }
        lxb_html_tokenizer_clean(tkz);
        m_free.push_back(tkz);
    }

private:
    static constexpr std::size_t kKept = 8;
    std::vector<lxb_html_tokenizer_t*> m_free;
};

struct HtmlTokenizer::Lexbor {
    lxb_html_tokenizer_t* tkz = nullptr;
    bool reusable = false;  // set by a finish that leaves it sound
    Lexbor() = default;
    Lexbor(const Lexbor&) = delete;
    Lexbor& operator=(const Lexbor&) = delete;
    ~Lexbor() {
        if (tkz != nullptr) {
            TokenizerPool::forThisThread().giveBack(tkz, reusable);
        }
    }
};

HtmlTokenizer::HtmlTokenizer(Sink& sink, std::size_t maxPending)
    : m_sink(sink), m_maxPending(maxPending), m_lexbor(std::make_unique<Lexbor>()) {
    m_lexbor->tkz = TokenizerPool::forThisThread().take();
    if (m_lexbor->tkz == nullptr) {
        m_stopped = true;
        m_overflowed = true;
        return;
    }
    lxb_html_tokenizer_callback_token_done_set(
        m_lexbor->tkz,
        [](lxb_html_tokenizer_t*, lxb_html_token_t* token, void* self) {
            static_cast<HtmlTokenizer*>(self)->onToken(token);
            return token;
        },
        this);
    m_lexbor->tkz->ns_without_tree = LXB_NS_HTML;
    if (lxb_html_tokenizer_begin(m_lexbor->tkz) != LXB_STATUS_OK) {
        m_stopped = true;
        m_overflowed = true;
    }
}

HtmlTokenizer::~HtmlTokenizer() = default;

void HtmlTokenizer::feed(std::string_view bytes) {
    lxb_html_tokenizer_t* tkz = m_lexbor->tkz;
    while (!bytes.empty() && !m_stopped && !m_finished) {
        const std::string_view piece = bytes.substr(0, kPiece);
        bytes.remove_prefix(piece.size());
        if (lxb_html_tokenizer_chunk(tkz, reinterpret_cast<const lxb_char_t*>(piece.data()),
                                     piece.size()) != LXB_STATUS_OK) {
            m_stopped = true;
            m_overflowed = true;
            return;
        }
        if (static_cast<std::size_t>(tkz->pos - tkz->start) > m_maxPending / 2 &&
            lxb_html_tokenizer_state_is_data(tkz)) {
            // A long run of plain text: an empty comment hands it over now
            // (a browser reads text split there the same), and the comment
            // itself is not reported.
            static constexpr char kBreak[] = "<!---->";
            m_breakingText = true;
            lxb_html_tokenizer_chunk(tkz, reinterpret_cast<const lxb_char_t*>(kBreak),
                                     sizeof kBreak - 1);
            m_breakingText = false;
        }
        if (static_cast<std::size_t>(tkz->pos - tkz->start) > m_maxPending) {
            m_stopped = true;
            m_overflowed = true;
            return;
        }
        // lexbor lists every parse error; nobody reads them here.
        lexbor_array_obj_clean(tkz->parse_errors);
        if (m_dynamicNames > kMaxDynamicNames) {
            relieveMemory();
        }
    }
}

void HtmlTokenizer::finish() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    // A tokenizer that failed, or took many invented names into its tables,
    // is not used again.
    m_lexbor->reusable = m_lexbor->tkz != nullptr && !m_overflowed && m_dynamicNames < 1000;
    if (!m_stopped) {
        lxb_html_tokenizer_end(m_lexbor->tkz);
    }
}

// Starts lexbor's tables of invented names afresh, between two tokens (no
// token in hand refers to them then).
void HtmlTokenizer::relieveMemory() {
    lxb_html_tokenizer_t* tkz = m_lexbor->tkz;
    if (tkz->token->attr_first != nullptr || tkz->token->tag_id != LXB_TAG__UNDEF ||
        tkz->pos != tkz->start) {
        return;
    }
    lxb_html_tokenizer_tags_destroy(tkz);
    lxb_html_tokenizer_attrs_destroy(tkz);
    if (lxb_html_tokenizer_tags_make(tkz, 256) != LXB_STATUS_OK ||
        lxb_html_tokenizer_attrs_make(tkz, 256) != LXB_STATUS_OK) {
        m_stopped = true;
        m_overflowed = true;
        return;
    }
    // Invented elements still open would now share an id with new ones.
    std::erase_if(m_foreign, [](const Open& open) { return open.id >= LXB_TAG__LAST_ENTRY; });
    m_dynamicNames = 0;
}

HtmlTokenizer::Namespace HtmlTokenizer::currentNamespace() const {
    return m_foreign.empty() ? Namespace::Html : m_foreign.back().ns;
}

bool HtmlTokenizer::atIntegrationPoint() const {
    if (m_foreign.empty()) {
        return false;
    }
    const Open& top = m_foreign.back();
    if (top.ns == Namespace::Svg) {
        return oneOf(top.id, {LXB_TAG_FOREIGNOBJECT, LXB_TAG_DESC, LXB_TAG_TITLE});
    }
    if (top.ns == Namespace::MathMl) {
        return oneOf(top.id, {LXB_TAG_MI, LXB_TAG_MO, LXB_TAG_MN, LXB_TAG_MS, LXB_TAG_MTEXT}) ||
               top.htmlAnnotation;
    }
    return false;
}

// Whether a start tag is read as HTML where it stands, not as an element of
// the foreign content around it.
bool HtmlTokenizer::startTagIsHtml(std::uintptr_t id) const {
    if (currentNamespace() == Namespace::Html) {
        return true;
    }
    const Open& top = m_foreign.back();
    if (top.ns == Namespace::MathMl) {
        // MathML text elements take HTML but for their own two glyph
        // elements; an <annotation-xml> of other content still takes <svg>.
        if (oneOf(top.id, {LXB_TAG_MI, LXB_TAG_MO, LXB_TAG_MN, LXB_TAG_MS, LXB_TAG_MTEXT})) {
            return id != LXB_TAG_MGLYPH && id != LXB_TAG_MALIGNMARK;
        }
        if (top.id == LXB_TAG_ANNOTATION_XML) {
            return top.htmlAnnotation || id == LXB_TAG_SVG;
        }
        return false;
    }
    return atIntegrationPoint();
}

void HtmlTokenizer::pushForeign(std::uintptr_t id, Namespace ns, bool htmlAnnotation) {
    // A page nesting elements without end keeps only a bounded stack; the
    // deeper ones are counted and closed first.
    if (m_foreign.size() >= 4096) {
        ++m_foreignOverflow;
        return;
    }
    m_foreign.push_back({id, ns, htmlAnnotation});
}

void HtmlTokenizer::popForeignTo(std::size_t size) {
    m_foreignOverflow = 0;
    m_foreign.resize(std::min(size, m_foreign.size()));
}

void HtmlTokenizer::syncNamespace() {
    switch (currentNamespace()) {
        case Namespace::Html:
            m_lexbor->tkz->ns_without_tree = LXB_NS_HTML;
            break;
        case Namespace::Svg:
            m_lexbor->tkz->ns_without_tree = LXB_NS_SVG;
            break;
        case Namespace::MathMl:
            m_lexbor->tkz->ns_without_tree = LXB_NS_MATH;
            break;
    }
}

void HtmlTokenizer::onToken(void* raw) {
    auto* token = static_cast<lxb_html_token_t*>(raw);
    lxb_html_tokenizer_t* tkz = m_lexbor->tkz;
    const std::uintptr_t id = token->tag_id;
    const bool inert = m_templateDepth > 0 || m_afterFrameset;
    if (m_stopped) {
        // Nothing more is wanted; the attributes still go back to lexbor.
    } else if (id == LXB_TAG__TEXT) {
        const std::string_view text = view(token->text_start, token->text_end);
        TextKind kind = TextKind::Data;
        if (m_afterPlaintext) {
            kind = TextKind::Plaintext;
        } else if (m_rawElement != 0) {
            kind = m_rawKind;
        } else if (m_framesetOk && !inert &&
                   std::any_of(text.begin(), text.end(), [](char c) { return !isBlank(c); })) {
            m_framesetOk = false;
        }
        m_sink.text(text, kind, kind == TextKind::Data ? std::string_view() : m_rawName, inert);
    } else if (id == LXB_TAG__EM_COMMENT) {
        if (m_breakingText) {
            return;
        }
        m_sink.comment(view(token->text_start, token->text_end), inert);
    } else if (id != LXB_TAG__EM_DOCTYPE && id != LXB_TAG__END_OF_FILE && id != LXB_TAG__UNDEF) {
        Tag& tag = m_tag;
        size_t nameLength = 0;
        const lxb_char_t* name = lxb_tag_name_by_id(static_cast<lxb_tag_id_t>(id), &nameLength);
        tag.name = name != nullptr ? view(name, name + nameLength) : std::string_view();
        tag.end = (token->type & LXB_HTML_TOKEN_TYPE_CLOSE) != 0;
        tag.selfClosing = (token->type & LXB_HTML_TOKEN_TYPE_CLOSE_SELF) != 0;
        tag.ns = Namespace::Html;
        tag.inert = inert;
        tag.attributes.clear();
        if (id >= LXB_TAG__LAST_ENTRY) {
            ++m_dynamicNames;
        }
        tag.id = id;
        // Only the attributes a reader looks at are taken apart: those of
        // links, images, <base>, <link>, <meta>, <input> and <font>, and any
        // in SVG or MathML; of other start tags, those that hide an element.
        const bool wanted =
            !m_foreign.empty() ||
            oneOf(id, {LXB_TAG_A, LXB_TAG_AREA, LXB_TAG_IMG, LXB_TAG_BASE, LXB_TAG_LINK,
                       LXB_TAG_META, LXB_TAG_INPUT, LXB_TAG_FONT, LXB_TAG_SVG, LXB_TAG_MATH});
        for (lxb_html_token_attr_t* a = wanted || !tag.end ? token->attr_first : nullptr;
             a != nullptr; a = a->next) {
            if (!wanted && (a->name == nullptr || (a->name->attr_id < LXB_DOM_ATTR__LAST_ENTRY &&
                                                   a->name->attr_id != LXB_DOM_ATTR_STYLE))) {
                continue;  // a name lexbor knows, and not a style: nothing that hides
            }
            size_t length = 0;
            const lxb_char_t* attrName = lxb_html_token_attr_name(a, &length);
            if (attrName == nullptr) {
                continue;
            }
            if (!wanted && !hidesElement(a->name->attr_id, view(attrName, attrName + length))) {
                continue;
            }
            tag.attributes.push_back({view(attrName, attrName + length),
                                      a->value != nullptr ? view(a->value, a->value + a->value_size)
                                                          : std::string_view()});
        }
        if (tag.end) {
            onEndTag(tag, id);
        } else {
            onStartTag(tag, id);
        }
        syncNamespace();
    }
    // lexbor keeps a token's attributes until its tokenizer ends; they go
    // back to its pools here, so that memory does not grow with the page.
    for (lxb_html_token_attr_t* a = token->attr_first; a != nullptr;) {
        lxb_html_token_attr_t* next = a->next;
        if (a->name != nullptr && a->name->attr_id >= LXB_DOM_ATTR__LAST_ENTRY) {
            ++m_dynamicNames;
        }
        if (a->value != nullptr) {
            lexbor_mraw_free(tkz->attrs_mraw, a->value);
        }
        lxb_html_token_attr_destroy(a, tkz->dobj_token_attr);
        a = next;
    }
    token->attr_first = nullptr;
    token->attr_last = nullptr;
}

void HtmlTokenizer::onStartTag(Tag& tag, std::uintptr_t id) {
    const bool inert = tag.inert;
    if (!startTagIsHtml(id)) {
        const bool fontBreaks = id == LXB_TAG_FONT && (tag.attribute("color") != nullptr ||
                                                       tag.attribute("face") != nullptr ||
                                                       tag.attribute("size") != nullptr);
        if (!breaksOutOfForeignContent(id) && !fontBreaks) {
            tag.ns = currentNamespace();
            if (!tag.selfClosing) {
                pushForeign(id, tag.ns,
                            tag.ns == Namespace::MathMl && id == LXB_TAG_ANNOTATION_XML &&
                                isHtmlEncoding(tag.attribute("encoding")));
            }
            m_sink.tag(tag);
            return;
        }
        while (!m_foreign.empty() && currentNamespace() != Namespace::Html &&
               !atIntegrationPoint()) {
            m_foreign.pop_back();
        }
    }
    if (id == LXB_TAG_SVG || id == LXB_TAG_MATH) {
        tag.ns = id == LXB_TAG_SVG ? Namespace::Svg : Namespace::MathMl;
        if (!tag.selfClosing) {
            pushForeign(id, tag.ns);
        }
        m_sink.tag(tag);
        return;
    }
    if (!m_foreign.empty() && !isVoid(id) && !tag.selfClosing) {
        pushForeign(id, Namespace::Html);  // inside an integration point
    }
    if (id == LXB_TAG_FRAMESET && !inert && m_framesetOk && m_foreign.empty()) {
        m_afterFrameset = true;
        m_sink.framesetReplacedBody();
    }
    if (!inert && (endsFramesetOk(id) ||
                   (id == LXB_TAG_INPUT &&
                    !(tag.attribute("type") != nullptr && tag.attribute("type")->size() == 6 &&
                      std::equal(tag.attribute("type")->begin(), tag.attribute("type")->end(),
                                 "hidden", [](char a, char b) { return (a | 0x20) == b; }))))) {
        m_framesetOk = false;
    }
    m_sink.tag(tag);
    if (id == LXB_TAG_TEMPLATE) {
        ++m_templateDepth;
    }
    if (oneOf(id, {LXB_TAG_TITLE, LXB_TAG_TEXTAREA, LXB_TAG_STYLE, LXB_TAG_XMP, LXB_TAG_IFRAME,
                   LXB_TAG_NOEMBED, LXB_TAG_NOFRAMES, LXB_TAG_NOSCRIPT, LXB_TAG_SCRIPT,
                   LXB_TAG_PLAINTEXT})) {
        lxb_html_tokenizer_set_state_by_tag(m_lexbor->tkz, true, static_cast<lxb_tag_id_t>(id),
                                            LXB_NS_HTML);
        m_rawElement = id;
        m_rawName = tag.name;
        if (id == LXB_TAG_PLAINTEXT) {
            m_afterPlaintext = true;
        } else if (id == LXB_TAG_TITLE || id == LXB_TAG_TEXTAREA) {
            m_rawKind = TextKind::Rcdata;
        } else if (id == LXB_TAG_SCRIPT) {
            m_rawKind = TextKind::Script;
        } else {
            m_rawKind = TextKind::Rawtext;
        }
    }
}

void HtmlTokenizer::onEndTag(Tag& tag, std::uintptr_t id) {
    if (m_rawElement != 0 && id == m_rawElement) {
        m_rawElement = 0;
        m_rawName = {};
    }
    tag.ns = currentNamespace();
    if ((id == LXB_TAG_P || id == LXB_TAG_BR) && currentNamespace() != Namespace::Html &&
        !atIntegrationPoint()) {
        // </p> and </br> end the foreign content they stand in, up to the
        // nearest HTML element or integration point, and are read as HTML.
        while (currentNamespace() != Namespace::Html && !atIntegrationPoint()) {
            popForeignTo(m_foreign.size() - 1);
        }
        tag.ns = Namespace::Html;
    } else if (!m_foreign.empty()) {
        if (m_foreignOverflow > 0) {
            --m_foreignOverflow;
        } else {
            for (std::size_t i = m_foreign.size(); i > 0; --i) {
                if (m_foreign[i - 1].id == id) {
                    tag.ns = m_foreign[i - 1].ns;
                    popForeignTo(i - 1);
                    break;
                }
            }
        }
    }
    const bool closesTemplate =
        id == LXB_TAG_TEMPLATE && tag.ns == Namespace::Html && m_templateDepth > 0;
    if (closesTemplate) {
        tag.inert = true;
    }
    m_sink.tag(tag);
    if (closesTemplate) {
        --m_templateDepth;
    }
}

}  // namespace tarnwick
