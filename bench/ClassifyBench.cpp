// Link classification speed, as ratios measured in the same run:
//   - classification with the page's evidence gathered from the same bytes
//     (EvidenceCollector) against classification alone (target: within 2x);
//   - throughput on a 256 MiB page against one memmem pass over the same
//     bytes for the advertiser's address (target: at least 1/3 of its speed);
//   - a page with a million occurrences of the address, none of them a link,
//     against the same size page without them (target: within 2x).
#include <benchmark/benchmark.h>
#include <string.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "bench/RatioReporter.h"
#include "scan/EvidenceCollector.h"
#include "scan/LinkClassifier.h"

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
    tarnwick::LinkClassifier classifier(kAddress);
    for (size_t at = 0; at < page.size(); at += kPiece) {
        classifier.Feed(page.data() + at, std::min(kPiece, page.size() - at));
    }
    return classifier.Result();
}

// As a fetch does it: every piece goes to the classifier and the collector.
std::string ClassifyWithEvidence(const std::string& page) {
    tarnwick::LinkClassifier classifier(kAddress);
    tarnwick::EvidenceCollector collector(kAddress);
    collector.HeaderLine("HTTP/1.1 200 OK\r\n");
    collector.HeaderLine("Content-Type: text/html\r\n");
    for (size_t at = 0; at < page.size(); at += kPiece) {
        const size_t n = std::min(kPiece, page.size() - at);
        classifier.Feed(page.data() + at, n);
        collector.Feed(page.data() + at, n);
    }
    collector.Finish();
    return classifier.Result();
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

void BM_ClassifyWithEvidence(benchmark::State& state) {
    const std::string& page = Plain();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ClassifyWithEvidence(page));
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

// A page made to defeat the two-byte candidate filter: every position starts
// a candidate whose comparison fails late. The classifier falls back to its
// byte-at-a-time automaton and stays linear (shown for information).
void BM_ClassifyFilterDefeating(benchmark::State& state) {
    static const std::string address = std::string(40, 'a') + "b" + std::string(40, 'a');
    static const std::string page = [] {
        std::string p;
        p.reserve(kPageSize + 128);
        while (p.size() < kPageSize) {
            p += std::string(80, 'a') + "c";
        }
        p.resize(kPageSize);
        return p;
    }();
    for (auto _ : state) {
        tarnwick::LinkClassifier classifier(address);
        for (size_t at = 0; at < page.size(); at += kPiece) {
            classifier.Feed(page.data() + at, std::min(kPiece, page.size() - at));
        }
        benchmark::DoNotOptimize(classifier.Result());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

BENCHMARK(BM_MemmemPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Classify)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassifyWithEvidence)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassifyWithoutOccurrences)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassifyMillionOccurrences)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassifyFilterDefeating)->Unit(benchmark::kMillisecond);

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
        std::printf("classification speed / memmem speed: %.2f (target >= 0.33)\n",
                    memmem / classify);
    }
    const double evidence = reporter.Time("BM_ClassifyWithEvidence");
    if (classify > 0 && evidence > 0) {
        std::printf("classification with evidence / classification: %.2f (target <= 2)\n",
                    evidence / classify);
    }
    {
        // How much of the page the HTML parser still reads, and the same
        // evidence as when it reads every byte.
        const std::string& page = Plain();
        const auto collect = [&page](bool skip) {
            tarnwick::EvidenceCollector collector(
                kAddress, tarnwick::EvidenceCollector::Limits{4u << 20, skip});
            collector.HeaderLine("HTTP/1.1 200 OK\r\n");
            for (size_t at = 0; at < page.size(); at += kPiece) {
                collector.Feed(page.data() + at, std::min(kPiece, page.size() - at));
            }
            collector.Finish();
            return std::make_pair(collector.Evidence(), collector.BytesSkipped());
        };
        const auto [skipping, skipped] = collect(true);
        std::printf(
            "share of the page parsed for evidence: %.4f; evidence as with every byte "
            "parsed: %s\n",
            1.0 - static_cast<double>(skipped) / static_cast<double>(page.size()),
            skipping == collect(false).first ? "yes" : "NO");
    }
    if (with > 0 && without > 0) {
        std::printf("time with 1,000,000 occurrences / without: %.2f (target <= 2)\n",
                    with / without);
    }
    benchmark::Shutdown();
    return 0;
}
