// Runs lexbor's tokenizer, as the page check uses it, on the inputs of the
// html5lib tokenizer tests (driven by html5lib_tokenizer_test.py).
//
// Reads one case per line from standard input: the initial state, the last
// start tag ("-" for none) and the input in hex, separated by tabs. Prints
// one line per case: the tokens as a JSON array in html5lib's notation, then
// a tab and "split-ok" when feeding the input split in two at every position
// gives the same tokens, else "split-differs at N: " and the tokens of the
// first cut N that changes them. A case whose last start tag
// lexbor cannot name prints "skip".
//
// One tokenizer serves every run, cleaned in between, as the page check's
// pool of tokenizers does: a state that cleaning forgets shows up as a wrong
// token in a later case.
#include <iostream>
#include <string>
#include <string_view>

#include "lexbor/html/tokenizer.h"
#include "lexbor/html/tokenizer/state.h"
#include "lexbor/html/tokenizer/state_rawtext.h"
#include "lexbor/html/tokenizer/state_rcdata.h"
#include "lexbor/html/tokenizer/state_script.h"

namespace {

std::string_view view(const lxb_char_t* begin, std::size_t length) {
    if (begin == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char*>(begin), length};
}

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;  // UTF-8 as it is
        }
    }
    out += '"';
}

std::string_view attributeName(lxb_html_token_attr_t* attribute) {
    std::size_t length = 0;
    const lxb_char_t* name = lxb_html_token_attr_name(attribute, &length);
    return view(name, length);
}

// An attribute's value: absent (JSON null) when lexbor never saw its start.
void appendValue(std::string& out, lxb_html_token_attr_t* attribute) {
    if (attribute == nullptr || attribute->value_begin == nullptr) {
        out += "null";
        return;
    }
    appendJsonString(out, view(attribute->value, attribute->value_size));
}

// lexbor keeps a DOCTYPE as attributes: the name first, then "public" and
// "system" with the identifiers as values.
void appendDoctype(std::string& out, lxb_html_token_t* token) {
    out += "[\"DOCTYPE\",";
    lxb_html_token_attr_t* name = token->attr_first;
    if (name == nullptr) {
        out += "null";
    } else {
        appendJsonString(out, attributeName(name));
    }
    lxb_html_token_attr_t* publicId = nullptr;
    lxb_html_token_attr_t* systemId = nullptr;
    for (lxb_html_token_attr_t* a = name != nullptr ? name->next : nullptr; a != nullptr;
         a = a->next) {
        const lxb_dom_attr_id_t id = a->name != nullptr
                                         ? a->name->attr_id
                                         : static_cast<lxb_dom_attr_id_t>(LXB_DOM_ATTR__UNDEF);
        if (id == LXB_DOM_ATTR_PUBLIC && publicId == nullptr && systemId == nullptr) {
            publicId = a;
        } else if (systemId == nullptr) {
            systemId = a;  // after PUBLIC the second identifier carries no keyword
        }
    }
    out += ',';
    appendValue(out, publicId);
    out += ',';
    appendValue(out, systemId);
    out += (token->type & LXB_HTML_TOKEN_TYPE_FORCE_QUIRKS) != 0 ? ",false]" : ",true]";
}

void appendTag(std::string& out, lxb_html_token_t* token) {
    std::size_t length = 0;
    const lxb_char_t* name = lxb_tag_name_by_id(token->tag_id, &length);
    const bool end = (token->type & LXB_HTML_TOKEN_TYPE_CLOSE) != 0;
    out += end ? "[\"EndTag\"," : "[\"StartTag\",";
    appendJsonString(out, view(name, length));
    if (!end) {
        out += ",{";
        for (lxb_html_token_attr_t* a = token->attr_first; a != nullptr; a = a->next) {
            if (a != token->attr_first) {
                out += ',';
            }
            appendJsonString(out, attributeName(a));
            out += ':';
            appendJsonString(out, view(a->value, a->value_size));
        }
        out += '}';
        if ((token->type & LXB_HTML_TOKEN_TYPE_CLOSE_SELF) != 0) {
            out += ",true";
        }
    }
    out += ']';
}

// The tokens of one run, in html5lib's notation.
struct Run {
    bool nullIsReplaced = false;  // outside the data and CDATA section states
    std::string json;
};

lxb_html_token_t* onToken(lxb_html_tokenizer_t*, lxb_html_token_t* token, void* context) {
    Run& run = *static_cast<Run*>(context);
    const lxb_tag_id_t id = token->tag_id;
    if (id == LXB_TAG__END_OF_FILE) {
        return token;
    }
    run.json += run.json.empty() ? "[" : ",";
    if (id == LXB_TAG__TEXT) {
        std::string_view text(reinterpret_cast<const char*>(token->text_start),
                              static_cast<std::size_t>(token->text_end - token->text_start));
        std::string replaced;
        if (run.nullIsReplaced) {
            // In RCDATA, RAWTEXT, script data and PLAINTEXT a zero character
            // stands for U+FFFD; lexbor's tokenizer only flags the token and
            // leaves the replacement to its tree builder, which the page
            // check does not run (it reads no text of those elements).
            for (const char c : text) {
                replaced += c == '\0' ? std::string_view("\xEF\xBF\xBD") : std::string_view(&c, 1);
            }
            text = replaced;
        }
        run.json += "[\"Character\",";
        appendJsonString(run.json, text);
        run.json += ']';
    } else if (id == LXB_TAG__EM_COMMENT) {
        run.json += "[\"Comment\",";
        appendJsonString(
            run.json,
            view(token->text_start, static_cast<std::size_t>(token->text_end - token->text_start)));
        run.json += ']';
    } else if (id == LXB_TAG__EM_DOCTYPE) {
        appendDoctype(run.json, token);
    } else {
        appendTag(run.json, token);
    }
    return token;
}

struct Case {
    std::string state;
    lxb_tag_id_t lastStartTag = LXB_TAG__UNDEF;
    std::string input;
};

// The tokens of the case's input fed in two pieces, cut at `cut` (no cut at
// 0 or at the end).
std::string tokenize(lxb_html_tokenizer_t* tkz, const Case& c, std::size_t cut) {
    Run run;
    run.nullIsReplaced = c.state != "Data state" && c.state != "CDATA section state";
    lxb_html_tokenizer_clean(tkz);
    lxb_html_tokenizer_callback_token_done_set(tkz, onToken, &run);
    lxb_html_tokenizer_begin(tkz);
    tkz->ns_without_tree = LXB_NS_HTML;  // as in HTML content, where the page check starts
    tkz->tmp_tag_id = c.lastStartTag;
    if (c.state == "PLAINTEXT state") {
        tkz->state = lxb_html_tokenizer_state_plaintext_before;
    } else if (c.state == "RCDATA state") {
        tkz->state = lxb_html_tokenizer_state_rcdata_before;
    } else if (c.state == "RAWTEXT state") {
        tkz->state = lxb_html_tokenizer_state_rawtext_before;
    } else if (c.state == "Script data state") {
        tkz->state = lxb_html_tokenizer_state_script_data_before;
    } else if (c.state == "CDATA section state") {
        tkz->state = lxb_html_tokenizer_state_cdata_section_before;
    }
    const auto* bytes = reinterpret_cast<const lxb_char_t*>(c.input.data());
    if (cut > 0 && cut < c.input.size()) {
        lxb_html_tokenizer_chunk(tkz, bytes, cut);
        lxb_html_tokenizer_chunk(tkz, bytes + cut, c.input.size() - cut);
    } else {
        lxb_html_tokenizer_chunk(tkz, bytes, c.input.size());
    }
    lxb_html_tokenizer_end(tkz);
    return run.json.empty() ? "[]" : run.json + "]";
}

std::string fromHex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return out;
}

}  // namespace

int main() {
    lxb_html_tokenizer_t* tkz = lxb_html_tokenizer_create();
    // begin() makes the tables of names that the last start tags are looked
    // up in.
    if (lxb_html_tokenizer_init(tkz) != LXB_STATUS_OK ||
        lxb_html_tokenizer_begin(tkz) != LXB_STATUS_OK) {
        std::cerr << "lexbor's tokenizer could not be set up\n";
        return 1;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        // "STATE<TAB>LAST START TAG<TAB>HEX"
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        if (tab1 == std::string::npos || tab2 == std::string::npos) {
            std::cerr << "bad line: " << line << '\n';
            return 1;
        }
        Case c;
        c.state = line.substr(0, tab1);
        const std::string last = line.substr(tab1 + 1, tab2 - tab1 - 1);
        c.input = fromHex(std::string_view(line).substr(tab2 + 1));
        if (last != "-") {
            const lxb_tag_data_t* data = lxb_tag_data_by_name(
                tkz->tags, reinterpret_cast<const lxb_char_t*>(last.data()), last.size());
            if (data == nullptr) {
                std::cout << "skip\n";
                continue;
            }
            c.lastStartTag = data->tag_id;
        }
        const std::string whole = tokenize(tkz, c, 0);
        std::string split = "split-ok";
        for (std::size_t at = 1; at < c.input.size(); ++at) {
            const std::string pieces = tokenize(tkz, c, at);
            if (pieces != whole) {
                split = "split-differs at " + std::to_string(at) + ": " + pieces;
                break;
            }
        }
        std::cout << whole << '\t' << split << '\n';
    }
    lxb_html_tokenizer_destroy(tkz);
    return 0;
}
