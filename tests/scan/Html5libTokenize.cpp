// Runs lexbor's tokenizer, as the page check uses it, on the inputs of the
// html5lib tokenizer tests (driven by html5lib_tokenizer_test.py).
//
// Reads one case per line from standard input: the initial state, the last
// start tag ("-" for none) and the input in hex, separated by blanks. Prints
// one line per case: the tokens as a JSON array in html5lib's notation
// (DOCTYPE tokens as ["DOCTYPE"] only), then a tab and "split-ok" when
// feeding the input split in two at every position gives the same tokens,
// else "split-differs AT".
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "lexbor/html/tokenizer.h"
#include "lexbor/html/tokenizer/state.h"
#include "lexbor/html/tokenizer/state_rawtext.h"
#include "lexbor/html/tokenizer/state_rcdata.h"
#include "lexbor/html/tokenizer/state_script.h"

namespace {

struct Run {
    std::string state;
    std::string lastStartTag;
    std::string json;  // the tokens so far
    bool first = true;
};

void Escape(std::string& out, std::string_view text) {
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
            out += c;
        }
    }
    out += '"';
}

std::string_view View(const lxb_char_t* begin, const lxb_char_t* end) {
    if (begin == nullptr || end == nullptr || end < begin) {
        return {};
    }
    return {reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin)};
}

lxb_html_token_t* OnToken(lxb_html_tokenizer_t*, lxb_html_token_t* token, void* context) {
    Run& run = *static_cast<Run*>(context);
    const auto id = token->tag_id;
    if (id == LXB_TAG__END_OF_FILE) {
        return token;
    }
    std::string one;
    if (id == LXB_TAG__TEXT) {
        std::string text(View(token->text_start, token->text_end));
        // Outside the data state a zero character stands for U+FFFD; lexbor
        // leaves that to its tree builder.
        if (run.state != "Data state" && run.state != "CDATA section state") {
            std::string replaced;
            for (const char c : text) {
                replaced += c == '\0' ? std::string("\xEF\xBF\xBD") : std::string(1, c);
            }
            text = replaced;
        }
        one = "[\"Character\",";
        Escape(one, text);
        one += ']';
    } else if (id == LXB_TAG__EM_COMMENT) {
        one = "[\"Comment\",";
        Escape(one, View(token->text_start, token->text_end));
        one += ']';
    } else if (id == LXB_TAG__EM_DOCTYPE) {
        one = "[\"DOCTYPE\"]";
    } else {
        size_t length = 0;
        const lxb_char_t* name = lxb_tag_name_by_id(id, &length);
        const bool end = (token->type & LXB_HTML_TOKEN_TYPE_CLOSE) != 0;
        one = end ? "[\"EndTag\"," : "[\"StartTag\",";
        Escape(one, View(name, name + length));
        if (!end) {
            one += ",{";
            bool firstAttribute = true;
            for (lxb_html_token_attr_t* a = token->attr_first; a != nullptr; a = a->next) {
                size_t n = 0;
                const lxb_char_t* attributeName = lxb_html_token_attr_name(a, &n);
                if (!firstAttribute) {
                    one += ',';
                }
                firstAttribute = false;
                Escape(one, View(attributeName, attributeName + n));
                one += ':';
                Escape(one, a->value != nullptr ? View(a->value, a->value + a->value_size)
                                                : std::string_view());
            }
            one += '}';
            if (token->type & LXB_HTML_TOKEN_TYPE_CLOSE_SELF) {
                one += ",true";
            }
        }
        one += ']';
    }
    if (!run.first) {
        run.json += ',';
    }
    run.first = false;
    run.json += one;
    return token;
}

// The tokens of input fed in the given pieces; empty optional when the case
// cannot be set up (an unknown last start tag).
bool Tokenize(const std::string& state, const std::string& lastStartTag, const std::string& input,
              const std::vector<std::size_t>& cuts, std::string& out) {
    lxb_html_tokenizer_t* tkz = lxb_html_tokenizer_create();
    lxb_html_tokenizer_init(tkz);
    Run run{state, lastStartTag, "[", true};
    lxb_html_tokenizer_callback_token_done_set(tkz, OnToken, &run);
    lxb_html_tokenizer_begin(tkz);
    lxb_tag_id_t last = LXB_TAG__UNDEF;
    if (lastStartTag != "-") {
        const lxb_tag_data_t* data = lxb_tag_data_by_name(
            tkz->tags, reinterpret_cast<const lxb_char_t*>(lastStartTag.data()),
            lastStartTag.size());
        if (data == nullptr) {
            lxb_html_tokenizer_destroy(tkz);
            return false;
        }
        last = data->tag_id;
    }
    tkz->tmp_tag_id = last;
    if (state == "PLAINTEXT state") {
        tkz->state = lxb_html_tokenizer_state_plaintext_before;
    } else if (state == "RCDATA state") {
        tkz->state = lxb_html_tokenizer_state_rcdata_before;
    } else if (state == "RAWTEXT state") {
        tkz->state = lxb_html_tokenizer_state_rawtext_before;
    } else if (state == "Script data state") {
        tkz->state = lxb_html_tokenizer_state_script_data_before;
    } else if (state == "CDATA section state") {
        tkz->state = lxb_html_tokenizer_state_cdata_section_before;
    }
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        lxb_html_tokenizer_chunk(tkz, reinterpret_cast<const lxb_char_t*>(input.data() + from),
                                 cut - from);
        from = cut;
    }
    lxb_html_tokenizer_chunk(tkz, reinterpret_cast<const lxb_char_t*>(input.data() + from),
                             input.size() - from);
    lxb_html_tokenizer_end(tkz);
    lxb_html_tokenizer_destroy(tkz);
    out = run.json + "]";
    return true;
}

std::string FromHex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return out;
}

}  // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        // "STATE WORDS<TAB>LAST<TAB>HEX"
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        const std::string state = line.substr(0, tab1);
        const std::string last = line.substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string input = FromHex(line.substr(tab2 + 1));
        std::string whole;
        if (!Tokenize(state, last, input, {}, whole)) {
            std::cout << "skip\n";
            continue;
        }
        std::string split = "split-ok";
        for (std::size_t at = 1; at < input.size(); ++at) {
            std::string pieces;
            Tokenize(state, last, input, {at}, pieces);
            if (pieces != whole) {
                split = "split-differs " + std::to_string(at);
                break;
            }
        }
        std::cout << whole << '\t' << split << '\n';
    }
    return 0;
}
