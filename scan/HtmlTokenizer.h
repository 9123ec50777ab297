// Tokenizes a page as the HTML standard does (lexbor's tokenizer), fed as its
// bytes arrive, and keeps the little of the tree builder's state that changes
// what a token means, so that a reader of the tokens sees what a browser
// builds:
//   - the elements whose content is text, not markup: <title> and <textarea>
//     (RCDATA), <style>, <xmp>, <iframe>, <noembed>, <noframes> and
//     <noscript> (RAWTEXT; scripts are taken as running, as in browsers and
//     in search engines that render pages), <script> (script data with its
//     escapes) and <plaintext> (the rest of the page);
//   - SVG and MathML content (foreign content), its HTML integration points
//     and the HTML start tags that break out of it; CDATA sections in it;
//   - <template> content, which a browser keeps inert;
//   - a <frameset> that replaces the page's body (and everything in it
//     before) while the body has shown nothing yet.
// Memory stays within one token: a single token longer than maxPending ends
// the tokenizing (stopped()). Any split of the same bytes gives the same
// tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tarnwick {

class HtmlTokenizer {
public:
    enum class Namespace { Html, Svg, MathMl };
    // What a run of text is to a browser.
    enum class TextKind {
        Data,       // text of the document
        Rcdata,     // the text of <title> or <textarea>
        Rawtext,    // the text of <style>, <xmp>, <iframe>, <noembed>, <noframes>, <noscript>
        Script,     // the text of <script>
        Plaintext,  // everything after <plaintext>
    };

    struct Attribute {
        std::string_view name;   // lowered
        std::string_view value;  // character references decoded
    };

    struct Tag {
        std::string_view name;  // lowered
        // lexbor's tag id: one per name it knows; names it does not know get
        // ids of LXB_TAG__LAST_ENTRY and above (which may be reused).
        std::uintptr_t id = 0;
        Namespace ns = Namespace::Html;
        bool end = false;
        bool selfClosing = false;
        bool inert = false;  // inside <template> content
        // Start tags of links, images, <base>, <link>, <meta>, <input>,
        // <font> and SVG or MathML elements: every attribute; other start
        // tags: those that hide an element (style, hidden, aria-hidden).
        std::vector<Attribute> attributes;

        // The attribute's value, or nullptr.
        const std::string_view* attribute(std::string_view name) const;
    };

    class Sink {
    public:
        virtual ~Sink() = default;
        virtual void tag(const Tag& tag) = 0;
        // rawElement: the element the text belongs to for kinds other than
        // Data ("script", "textarea"...); inert as for tags.
        virtual void text(std::string_view text, TextKind kind, std::string_view rawElement,
                          bool inert) = 0;
        virtual void comment(std::string_view text, bool inert) = 0;
        // A <frameset> has replaced the body: everything reported so far of
        // the body is gone, and the rest of the page is not shown.
        virtual void framesetReplacedBody() = 0;
    };

    HtmlTokenizer(Sink& sink, std::size_t maxPending);
    ~HtmlTokenizer();
    HtmlTokenizer(const HtmlTokenizer&) = delete;
    HtmlTokenizer& operator=(const HtmlTokenizer&) = delete;

    void feed(std::string_view bytes);
    void finish();
    // The sink wants no more tokens: later feeds only count bytes.
    void stop() { m_stopped = true; }
    bool stopped() const { return m_stopped; }
    // A token ran past maxPending.
    bool overflowed() const { return m_overflowed; }

private:
    struct Open {
        std::uintptr_t id;  // lexbor's tag id
        Namespace ns;
        // A MathML <annotation-xml> whose encoding is HTML: its content is
        // HTML.
        bool htmlAnnotation = false;
    };
    struct Lexbor;

    void onToken(void* token);
    void onStartTag(Tag& tag, std::uintptr_t id);
    void onEndTag(Tag& tag, std::uintptr_t id);
    Namespace currentNamespace() const;
    bool atIntegrationPoint() const;
    bool startTagIsHtml(std::uintptr_t id) const;
    void pushForeign(std::uintptr_t id, Namespace ns, bool htmlAnnotation = false);
    void popForeignTo(std::size_t size);
    void syncNamespace();
    void relieveMemory();

    Sink& m_sink;
    std::size_t m_maxPending;
    std::unique_ptr<Lexbor> m_lexbor;
    bool m_stopped = false;
    bool m_overflowed = false;
    bool m_finished = false;
    bool m_breakingText = false;  // the empty comment that ends long text

    // The open elements from the outermost <svg> or <math> on (HTML ones
    // inside integration points included); empty in plain HTML.
    std::vector<Open> m_foreign;
    std::size_t m_foreignOverflow = 0;  // deeper elements not kept
    std::size_t m_templateDepth = 0;
    std::uintptr_t m_rawElement = 0;  // the element whose text the tokenizer reads
    std::string_view m_rawName;
    TextKind m_rawKind = TextKind::Data;
    bool m_framesetOk = true;
    bool m_afterFrameset = false;
    bool m_afterPlaintext = false;
    std::uint64_t m_dynamicNames = 0;  // names lexbor had to add to its tables
    Tag m_tag;                         // reused for every tag
};

}  // namespace tarnwick
