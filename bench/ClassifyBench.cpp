// Page check speed, as ratios measured in the same run:
//   - throughput of the HTML5 check (LinkFinder: tokenizing, links, evidence)
//     on a 256 MiB everyday page against one memmem pass over the same bytes
//     for the advertiser's address, and in MB/s (target: >= 300 MB/s in a
//     Release build);
//   - a page with a million mentions of the address in its text, none of
//     them a link, against the same size page without them (target: within
//     2x).
#include <benchmark/benchmark.h>
#include <string.h>

#include <cstdio>
#include <random>
#include <string>

#include "bench/RatioReporter.h"
#include "scan/LinkFinder.h"

namespace {

const std::string kAddress = "www.example.com";
constexpr size_t kPageSize = 256u << 20;
constexpr size_t kPiece = 64 * 1024;  // as a fetch delivers it

// Everyday markup: anchors to other sites, text, capitals.
std::string Filler(size_t size, unsigned seed) {
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
std::string WithSentences(bool withAddress) {
    const std::string sentence = std::string("<p>Our partner for all things garden and home is ") +
                                 (withAddress ? kAddress : std::string("our new partner")) + "</p>";
    const size_t count = 1000000;
    const size_t gap = kPageSize / count - sentence.size();
    const std::string filler = Filler(gap * 64, 7);
    std::string page;
    page.reserve(kPageSize + 4096);
    for (size_t k = 0; k < count; ++k) {
        page.append(filler, (k % 64) * gap, gap);
        page += sentence;
    }
    page.resize(kPageSize, ' ');
    return page;
}

const std::string& Plain() {
    static const std::string page = Filler(kPageSize, 1);
    return page;
}
const std::string& Sentences(bool withAddress) {
    static const std::string without = WithSentences(false);
    static const std::string with = WithSentences(true);
    return withAddress ? with : without;
}

std::string Classify(const std::string& page) {
    tarnwick::LinkFinder finder(kAddress);
    finder.setPageAddress("http://partner.example.org/links.html");
    finder.headerLine("HTTP/1.1 200 OK\r\n");
    finder.headerLine("Content-Type: text/html\r\n");
    for (size_t at = 0; at < page.size(); at += kPiece) {
        finder.feed(std::string_view(page).substr(at, kPiece));
    }
    finder.finish();
    return finder.result();
}

void BM_MemmemPass(benchmark::State& state) {
    const std::string& page = Plain();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            memmem(page.data(), page.size(), kAddress.data(), kAddress.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_Classify(benchmark::State& state) {
    const std::string& page = Plain();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_ClassifyWithoutOccurrences(benchmark::State& state) {
    const std::string& page = Sentences(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_ClassifyMillionOccurrences(benchmark::State& state) {
    const std::string& page = Sentences(true);
    if (Classify(page) != "Link Not Found") {
        state.SkipWithError("the page was meant to have no link");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(Classify(page));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

BENCHMARK(BM_MemmemPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Classify)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassifyWithoutOccurrences)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassifyMillionOccurrences)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tarnwick::bench::RatioReporter reporter(tarnwick::bench::RatioReporter::Clock::Processor);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double memmem = reporter.Time("BM_MemmemPass");
    const double classify = reporter.Time("BM_Classify");
    const double with = reporter.Time("BM_ClassifyMillionOccurrences");
    const double without = reporter.Time("BM_ClassifyWithoutOccurrences");
    if (memmem > 0 && classify > 0) {
        std::printf("page check speed / memmem speed: %.3f (for information)\n", memmem / classify);
    }
    if (classify > 0) {
        std::printf("page check throughput: %.0f MB/s (target >= 300 in a Release build)\n",
                    static_cast<double>(kPageSize) / 1e6 / (classify / 1000.0));
    }
    if (with > 0 && without > 0) {
        std::printf("time with 1,000,000 occurrences / without: %.2f (target <= 2)\n",
                    with / without);
    }
    benchmark::Shutdown();
    return 0;
}
