// The two reports of a run of 100,000 pages, each beside the time to join the
// three reported columns of every row once (the least any report must do).
// Prints the ratios and fails when building a report takes more than 8x that
// floor.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <map>
#include <vector>

#include "bench/RatioReporter.h"
#include "report/ReportWriters.h"

namespace {

using namespace tarnwick;

constexpr int kRows = 100000;

const std::vector<ResultRow>& sampleRows() {
    static const std::vector<ResultRow> rows = [] {
        std::vector<ResultRow> r;
        r.reserve(kRows);
        const LinkResult statuses[] = {LinkResult::Found, LinkResult::NotFound,
                                       LinkResult::CannotBeDisplayed, LinkResult::CannotBeFound};
        for (int i = 0; i < kRows; ++i) {
            ResultRow row;
            row.m_advertiser = "http://www.advertiser-" + std::to_string(i / 50) + ".com/";
            row.m_page = "http://www.partner-site-number-" + std::to_string(i) +
                         ".com/links/page.html?ref=a&b=<c>";
            row.m_mail = "webmaster@partner.com";
            row.m_notify = "Enabled";
            row.m_result = statuses[i % 4];
            r.push_back(std::move(row));
        }
        return r;
    }();
    return rows;
}

constexpr std::time_t kNow = 1204729445;

void bmJoinColumnsOnce(benchmark::State& state) {
    const auto& rows = sampleRows();
    for (auto _ : state) {
        std::string all;
        for (const ResultRow& row : rows) {
            all += row.m_advertiser;
            all += row.m_page;
            all += row.statusText();
        }
        benchmark::DoNotOptimize(all.data());
    }
}
BENCHMARK(bmJoinColumnsOnce)->Unit(benchmark::kMillisecond);

void bmTextReport(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(textReport(sampleRows(), kNow));
    }
}
BENCHMARK(bmTextReport)->Unit(benchmark::kMillisecond);

void bmHtmlReport(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(htmlReport(sampleRows(), kNow));
    }
}
BENCHMARK(bmHtmlReport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tarnwick::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool ok = reporter.printRatios(
        "BM_JoinColumnsOnce",
        "joining the reported columns once (" + std::to_string(kRows) + " rows)", 8.0);
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
