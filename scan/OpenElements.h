// Whether an element of a page is shown, decided from the token stream
// without a style engine: the inline style and the attributes of the element
// and of the elements still open around it.
//
// A browser's tree builder keeps a stack of open elements; this keeps the
// part of it that matters here, fed with every tag as HtmlTokenizer reports
// it:
//   - void elements are never open; a self-closing tag in SVG or MathML
//     closes at once;
//   - an end tag closes the nearest open element of its name and everything
//     opened after it (an end tag without such an element does nothing);
//     </body> and </html> close nothing;
//   - the start tags that close elements by implication: a <p> closed by a
//     block (in button scope), <li>, <dd>/<dt>, <option>/<optgroup>, headings
//     in headings, an <a> in an <a>, a <button> in a <button>, table cells,
//     rows and sections closed by their successors, a <table> directly in a
//     table; table parts outside any table are ignored, as browsers ignore
//     them;
//   - an HTML start tag that breaks out of SVG or MathML closes the foreign
//     elements around it up to an integration point;
//   - content placed directly in a table (not in a cell) is moved before the
//     table by browsers: the table's own attributes do not reach it;
//   - <html> and <body> are open around everything, their attributes merged
//     from every such tag, as browsers merge them.
// What a browser does beyond this (the adoption agency's clones of
// formatting elements, reopened formatting elements, scope subtleties) may
// leave an element closed here that a browser keeps open, never the other
// way round: a link is called hidden only when it surely is (as far as its
// inline styles and attributes go).
//
// Hidden are:
//   - display:none in a style, or the hidden attribute (but not
//     hidden="until-found", and not when the same element's style sets
//     another display), or display="none" on an SVG element;
//   - visibility:hidden or collapse, unless a nearer element sets it visible
//     again (SVG: visibility="hidden");
//   - opacity:0 (SVG: opacity="0");
//   - font-size:0 on the nearest element that sets a size (relative sizes
//     take their parent's): the text has no size; an image in the link still
//     shows, so the caller decides that case at the link's end;
//   - position absolute, fixed or relative with left or top at -1000 px or
//     further, unless a nearer element is fixed (placed on the screen again).
// aria-hidden="true" is noted, never counted as hidden: it hides from screen
// readers, not from the eye. Not covered: style sheets and classes, text
// indents, clipping, zero-sized boxes, colours, transforms, closed
// <details>.
//
// The stack keeps at most kMaxDepth elements; deeper ones are counted, and
// their attributes not kept (their hiding goes unseen).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scan/HtmlTokenizer.h"

namespace tarnwick {

// How the element last started is hidden, and why.
struct Concealment {
    enum class By { Nothing, Css, Markup };
    By by = By::Nothing;
    // Hidden only because its text has no size (font-size:0).
    bool fontSizeOnly = false;
    // The element and attribute that hide it: `<div style="display:none">
    // around the link`; "" when shown.
    std::string evidence;
    // aria-hidden="true" on it or around it, noted only; "" when none.
    std::string ariaHidden;

    bool hidden() const { return by != By::Nothing; }
};

class OpenElements {
public:
    static constexpr std::size_t kMaxDepth = 1024;

    OpenElements();

    // Every tag of the page, in order.
    void tag(const HtmlTokenizer::Tag& tag);
    // The element whose start tag came last (open or void): how it is hidden.
    Concealment current() const;

private:
    enum class Level : std::uint8_t { Unset, Hidden, Shown };
    enum class Size : std::uint8_t { Unset, Zero, Relative, Absolute };

    // What one element's own attributes say.
    struct Facts {
        bool displayNone = false;
        bool byMarkup = false;  // the hidden attribute or an SVG attribute, not a style
        bool displaySet = false;
        bool opacityZero = false;
        bool offscreen = false;
        bool fixed = false;
        bool ariaHidden = false;
        Level visibility = Level::Unset;
        Size fontSize = Size::Unset;
        std::string source;  // `<div style="...">`, only when something above is set

        bool any() const {
            return displayNone || opacityZero || offscreen || fixed || ariaHidden ||
                   visibility != Level::Unset || fontSize != Size::Unset;
        }
    };
    // An open element. Most have no hiding facts and a name lexbor knows:
    // those that do keep them (and an unknown name) in m_facts and m_names,
    // in stack order, so that an entry stays small.
    struct Entry {
        std::uintptr_t id = 0;
        HtmlTokenizer::Namespace ns = HtmlTokenizer::Namespace::Html;
        bool hasFacts = false;
        bool hasName = false;
    };

    void start(const HtmlTokenizer::Tag& tag);
    void end(const HtmlTokenizer::Tag& tag);
    // <html> or <body>: every such tag adds the attributes it lacks.
    struct Root {
        std::vector<std::pair<std::string, std::string>> attributes;
        Facts facts;
    };

    static Facts factsOf(const HtmlTokenizer::Tag& tag);
    static void mergeRoot(Root& root, const HtmlTokenizer::Tag& tag);
    // Index of the nearest open element with id (and name, for names lexbor
    // does not know); npos when none.
    std::size_t nearestNamed(std::uintptr_t id, std::string_view name) const;
    // Index of the nearest open element with id, searching down from the top
    // and stopping at any element with one of the flags stops; npos when
    // none.
    std::size_t nearest(std::uintptr_t id, std::uint8_t stops) const;
    std::size_t nearestOf(std::initializer_list<std::uintptr_t> ids) const;
    void popTo(std::size_t index);     // index and everything above it
    void popAbove(std::size_t index);  // everything above index (none when npos)
    void push(Entry entry, Facts facts, std::string_view name);
    std::uint32_t& count(std::uintptr_t id);
    std::uint32_t countOf(std::uintptr_t id) const;

    std::vector<Entry> m_stack;
    std::vector<Facts> m_facts;
    std::vector<std::string> m_names;
    std::size_t m_overflow = 0;  // open elements beyond kMaxDepth
    // Open elements per lexbor id (names it does not know share one count),
    // so that an end tag of an element not open costs nothing.
    std::vector<std::uint32_t> m_counts;
    Root m_html;
    Root m_body;
    std::uintptr_t m_voidId = 0;  // the last void element, when it was the last start tag
    Facts m_voidFacts;
    bool m_lastWasVoid = false;
    bool m_lastKept = false;  // the last start tag is the top of the stack
};

}  // namespace tarnwick
