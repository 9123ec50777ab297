// Page check speed, as ratios measured in the same run:
//   - the tokenizing the page check reads (HtmlTokenizer with a reader that
//     does nothing) with and without the stack of open elements that tells
//     hidden links (OpenElements fed every tag) on the everyday page
//     (target: at most 1.2x); and the whole page check against that
//     tokenizing, for information;
//   - the HTML5 check (LinkFinder: tokenizing, links, evidence) against
//     lexbor's tokenizer alone on the same bytes (target: at least 0.6 of its
//     speed on a 256 MiB everyday page, a tag every ten bytes), and on a
//     plain page of paragraphs in MB/s (target: >= 300 MB/s in a Release
//     build);
//   - the whole page check (links, their worth and every finding: hidden,
//     robots directives, canonical, link farm...) against the same check
//     without findings (the tokenizing, each <a href> compared with the
//     advertiser, the text searched for the address and the not-found words)
//     on the everyday page and on the plain page (target: at most 1.2x);
//   - a page with a million mentions of the address in its text, none of
//     them a link, against the same size page without them (target: within
//     2x).
#include <benchmark/benchmark.h>
#include <cstring>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "bench/RatioReporter.h"
#include "common/AsciiText.h"
#include "lexbor/html/tokenizer.h"
#include "scan/AdvertiserAddress.h"
#include "scan/HtmlTokenizer.h"
#include "scan/LinkFinder.h"
#include "scan/NotFoundPhrase.h"
#include "scan/OpenElements.h"
#include "scan/WebUrl.h"

namespace {

const std::string kAddress = "www.example.com";
constexpr size_t kPageSize = 256u << 20;
constexpr size_t kPiece = size_t{64} * 1024;  // as a fetch delivers it

// Everyday markup: anchors to other sites, text, capitals.
std::string filler(size_t size, unsigned seed) {
    static const char* const kParts[] = {"<div class=\"item\">",
                                         "<a href=\"https://partner.example.org/page.html\">",
                                         "Lorem ",
                                         "ipsum ",
                                         "dolor ",
                                         "sit ",
                                         "amet, ",
                                         "</a>",
                                         "<p>",
                                         "</p>\n",
                                         "consectetur ",
                                         "adipiscing ",
                                         "<span style=\"color:#336699\">",
                                         "</span>",
                                         "Welcome ",
                                         "to ",
                                         "our ",
                                         "Site ",
                                         "News ",
                                         "and ",
                                         "more ",
                                         "<img src=\"/images/banner.png\" alt=\"Banner\">",
                                         "<li><a href=\"/about/\">About Us</a></li>",
                                         "Contact: info@partner.example.org "};
    std::mt19937 rng(seed);
    std::string page;
    page.reserve(size + 128);
    while (page.size() < size) {
        page += kParts[rng() % (sizeof kParts / sizeof kParts[0])];
    }
    page.resize(size);
    return page;
}

// The filler with a sentence every ~268 bytes; with the address in it when
// withAddress, else with 15 other characters. No "href=" is within the 50
// characters before the address.
std::string withSentences(bool withAddress) {
    const std::string sentence = std::string("<p>Our partner for all things garden and home is ") +
                                 (withAddress ? kAddress : std::string("our new partner")) + "</p>";
    const size_t count = 1000000;
    const size_t gap = kPageSize / count - sentence.size();
    const std::string text = filler(gap * 64, 7);
    std::string page;
    page.reserve(kPageSize + 4096);
    for (size_t k = 0; k < count; ++k) {
        page.append(text, (k % 64) * gap, gap);
        page += sentence;
    }
    page.resize(kPageSize, ' ');
    return page;
}

const std::string& plain() {
    static const std::string page = filler(kPageSize, 1);
    return page;
}
const std::string& sentences(bool withAddress) {
    static const std::string without = withSentences(false);
    static const std::string with = withSentences(true);
    return withAddress ? with : without;
}

std::string classify(const std::string& page) {
    tarnwick::LinkFinder finder(kAddress);
    finder.setPageAddress("http://partner.example.org/links.html");
    finder.headerLine("HTTP/1.1 200 OK\r\n");
    finder.headerLine("Content-Type: text/html\r\n");
    for (size_t at = 0; at < page.size(); at += kPiece) {
        finder.feed(std::string_view(page).substr(at, kPiece));
    }
    finder.finish();
    return tarnwick::resultWord(finder.result());
}

// Paragraphs of text with a link now and then: most of the web's pages.
const std::string& plainText() {
    static const std::string page = [] {
        std::mt19937 rng(3);
        static const char* const kWords[] = {"lorem ", "ipsum ",       "dolor ",      "sit ",
                                             "amet, ", "consectetur ", "adipiscing ", "elit. "};
        std::string p;
        p.reserve(kPageSize + 256);
        while (p.size() < kPageSize) {
            p += "<p>";
            for (int w = 0; w < 120; ++w) {
                p += kWords[rng() % 8];
            }
            p += "<a href=\"https://partner.example.org/page.html\">more</a></p>\n";
        }
        p.resize(kPageSize);
        return p;
    }();
    return page;
}

lxb_html_token_t* releaseAttributes(lxb_html_tokenizer_t* tkz, lxb_html_token_t* token, void*) {
    for (lxb_html_token_attr_t* a = token->attr_first; a != nullptr;) {
        lxb_html_token_attr_t* next = a->next;
        if (a->value != nullptr) {
            lexbor_mraw_free(tkz->attrs_mraw, a->value);
        }
        lxb_html_token_attr_destroy(a, tkz->dobj_token_attr);
        a = next;
    }
    token->attr_first = nullptr;
    token->attr_last = nullptr;
    return token;
}

// lexbor's tokenizer with nothing done per token but giving back its memory.
void tokenize(const std::string& page) {
    lxb_html_tokenizer_t* tkz = lxb_html_tokenizer_create();
    lxb_html_tokenizer_init(tkz);
    lxb_html_tokenizer_callback_token_done_set(tkz, releaseAttributes, nullptr);
    lxb_html_tokenizer_begin(tkz);
    for (size_t at = 0; at < page.size(); at += kPiece) {
        lxb_html_tokenizer_chunk(tkz, reinterpret_cast<const lxb_char_t*>(page.data() + at),
                                 std::min(kPiece, page.size() - at));
    }
    lxb_html_tokenizer_end(tkz);
    lxb_html_tokenizer_destroy(tkz);
}

// The tokenizing the page check reads: tags with their names and the
// attributes it looks at, texts, comments; nothing done with them.
class IdleSink : public tarnwick::HtmlTokenizer::Sink {
public:
    explicit IdleSink(bool openElements = false) : m_openElements(openElements) {}
    void tag(const tarnwick::HtmlTokenizer::Tag& tag) override {
        m_tags += tag.end ? 0 : 1;
        if (m_openElements) {
            m_open.tag(tag);
        }
    }
    void text(std::string_view, tarnwick::HtmlTokenizer::TextKind, std::string_view,
              bool) override {}
    void comment(std::string_view, bool) override {}
    void framesetReplacedBody() override {}
    std::size_t m_tags = 0;
    bool m_openElements;
    tarnwick::OpenElements m_open;
};

void tokenize(benchmark::State& state, bool openElements) {
    const std::string& page = plain();
    for (auto _ : state) {
        IdleSink sink(openElements);
        tarnwick::HtmlTokenizer tokenizer(sink, 4u << 20);
        for (size_t at = 0; at < page.size(); at += kPiece) {
            tokenizer.feed(std::string_view(page).substr(at, kPiece));
        }
        tokenizer.finish();
        benchmark::DoNotOptimize(sink.m_tags);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

// The link check without its findings: every <a href> that may name the
// advertiser (the same quick look at its bytes as the page check's) resolved
// against the page's address and compared with the advertiser's, the text
// searched for the address (the reason "in the page's text, not linked") and
// the bytes for the words of a missing page. Nothing of hiding, robots
// directives, canonical, outbound links or the evidence.
class LinkSearchSink : public tarnwick::HtmlTokenizer::Sink {
public:
    LinkSearchSink()
        : m_advertiser(kAddress),
          m_page(*tarnwick::WebUrl::parse("http://partner.example.org/links.html")) {}
    void tag(const tarnwick::HtmlTokenizer::Tag& tag) override {
        if (tag.end || tag.inert || tag.name != "a") {
            return;
        }
        const std::string_view* href = tag.attribute("href");
        if (href == nullptr || !mayName(*href)) {
            return;
        }
        const auto url = tarnwick::WebUrl::resolve(m_page, *href);
        m_found += m_advertiser.match(url, *href) == tarnwick::AdvertiserAddress::Match::Direct;
    }
    void text(std::string_view text, tarnwick::HtmlTokenizer::TextKind, std::string_view,
              bool) override {
        m_mentions += mentions(text) ? 1 : 0;
    }
    void comment(std::string_view, bool) override {}
    void framesetReplacedBody() override {}
    std::size_t m_found = 0;
    std::size_t m_mentions = 0;
    tarnwick::NotFoundPhrase m_phrase;

private:
    bool mentions(std::string_view text) {
        if (text.size() < m_advertiser.searchName().size()) {
            return false;
        }
        m_lowered.resize(text.size());
        std::transform(text.begin(), text.end(), m_lowered.begin(), tarnwick::lowerAscii);
        return m_lowered.find(m_advertiser.searchName()) != std::string::npos;
    }
    bool mayName(std::string_view href) {
        m_lowered.assign(href);
        for (char& c : m_lowered) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '%' || c == '\t' || c == '\n' || c == '\r' || u >= 0x80) {
                return true;
            }
            c = tarnwick::lowerAscii(c);
        }
        return m_lowered.find(m_advertiser.searchName()) != std::string::npos;
    }
    tarnwick::AdvertiserAddress m_advertiser;
    tarnwick::WebUrl m_page;
    std::string m_lowered;
};

void linkSearch(benchmark::State& state, const std::string& page) {
    for (auto _ : state) {
        LinkSearchSink sink;
        tarnwick::HtmlTokenizer tokenizer(sink, 4u << 20);
        for (size_t at = 0; at < page.size(); at += kPiece) {
            const std::string_view piece = std::string_view(page).substr(at, kPiece);
            sink.m_phrase.feed(piece);
            tokenizer.feed(piece);
        }
        tokenizer.finish();
        benchmark::DoNotOptimize(sink.m_found + sink.m_mentions);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmLinkSearch(benchmark::State& state) {
    linkSearch(state, plain());
}

void bmLinkSearchPlainText(benchmark::State& state) {
    linkSearch(state, plainText());
}

void bmHtmlTokenizer(benchmark::State& state) {
    tokenize(state, false);
}

void bmHtmlTokenizerOpenElements(benchmark::State& state) {
    tokenize(state, true);
}

void bmTokenizerAlone(benchmark::State& state) {
    const std::string& page = plain();
    for (auto _ : state) {
        tokenize(page);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmTokenizerAlonePlainText(benchmark::State& state) {
    const std::string& page = plainText();
    for (auto _ : state) {
        tokenize(page);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmClassifyPlainText(benchmark::State& state) {
    const std::string& page = plainText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmMemmemPass(benchmark::State& state) {
    const std::string& page = plain();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            memmem(page.data(), page.size(), kAddress.data(), kAddress.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmClassify(benchmark::State& state) {
    const std::string& page = plain();
    for (auto _ : state) {
        benchmark::DoNotOptimize(classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmClassifyWithoutOccurrences(benchmark::State& state) {
    const std::string& page = sentences(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void bmClassifyMillionOccurrences(benchmark::State& state) {
    const std::string& page = sentences(true);
    if (classify(page) != "Link Not Found") {
        state.SkipWithError("the page was meant to have no link");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

BENCHMARK(bmMemmemPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmClassify)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmTokenizerAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmHtmlTokenizer)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmHtmlTokenizerOpenElements)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmTokenizerAlonePlainText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmClassifyPlainText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmLinkSearch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmLinkSearchPlainText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmClassifyWithoutOccurrences)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bmClassifyMillionOccurrences)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tarnwick::bench::RatioReporter reporter(tarnwick::bench::RatioReporter::Clock::Processor);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double memmem = reporter.time("BM_MemmemPass");
    const double classify = reporter.time("BM_Classify");
    const double with = reporter.time("BM_ClassifyMillionOccurrences");
    const double without = reporter.time("BM_ClassifyWithoutOccurrences");
    if (memmem > 0 && classify > 0) {
        std::printf("page check speed / memmem speed: %.3f (for information)\n", memmem / classify);
    }
    const double tokenizer = reporter.time("BM_TokenizerAlone");
    const double plain = reporter.time("BM_ClassifyPlainText");
    const double plainTokenizer = reporter.time("BM_TokenizerAlonePlainText");
    const auto megabytesPerSecond = [](double ms) {
        return static_cast<double>(kPageSize) / 1e6 / (ms / 1000.0);
    };
    if (classify > 0 && tokenizer > 0 && plain > 0 && plainTokenizer > 0) {
        std::printf(
            "everyday page: page check %.0f MB/s, tokenizer alone %.0f MB/s, ratio %.2f "
            "(target >= 0.6)\n",
            megabytesPerSecond(classify), megabytesPerSecond(tokenizer), tokenizer / classify);
        std::printf(
            "plain page: page check %.0f MB/s (target >= 300), tokenizer alone %.0f MB/s, "
            "ratio %.2f (for information: its text is searched for the address)\n",
            megabytesPerSecond(plain), megabytesPerSecond(plainTokenizer), plainTokenizer / plain);
    }
    const double tokenizing = reporter.time("BM_HtmlTokenizer");
    const double withStack = reporter.time("BM_HtmlTokenizerOpenElements");
    if (withStack > 0 && tokenizing > 0) {
        std::printf(
            "everyday page: tokenizing with the open elements / tokenizing alone: %.2f "
            "(target <= 1.2)\n",
            withStack / tokenizing);
    }
    if (classify > 0 && tokenizing > 0) {
        std::printf("everyday page: page check / the tokenizing it reads: %.2f (for information)\n",
                    classify / tokenizing);
    }
    const double search = reporter.time("BM_LinkSearch");
    const double searchPlain = reporter.time("BM_LinkSearchPlainText");
    if (classify > 0 && search > 0 && plain > 0 && searchPlain > 0) {
        std::printf(
            "page check with every finding / without findings: everyday page %.2f, plain page "
            "%.2f (target <= 1.2)\n",
            classify / search, plain / searchPlain);
    }
    if (with > 0 && without > 0) {
        std::printf("time with 1,000,000 occurrences / without: %.2f (target <= 2)\n",
                    with / without);
    }
    benchmark::Shutdown();
    return 0;
}
