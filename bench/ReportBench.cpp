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

#include "report/ReportWriters.h"

namespace {

using namespace tarnwick;

constexpr int kRows = 100000;

const std::vector<ResultRow>& Rows() {
    static const std::vector<ResultRow> rows = [] {
        std::vector<ResultRow> r;
        r.reserve(kRows);
        const char* statuses[] = {"Link Found", "Link Not Found", "Page cannot be displayed",
                                  "Page Cannot be Found"};
        for (int i = 0; i < kRows; ++i) {
            ResultRow row;
            row.m_strAdvertiser = "http://www.advertiser-" + std::to_string(i / 50) + ".com/";
            row.m_strPage = "http://www.partner-site-number-" + std::to_string(i) +
                            ".com/links/page.html?ref=a&b=<c>";
            row.m_strMail = "webmaster@partner.com";
            row.m_strNotify = "Enabled";
            row.m_strStatus = statuses[i % 4];
            r.push_back(std::move(row));
        }
        return r;
    }();
    return rows;
}

constexpr std::time_t kNow = 1204729445;

void BM_JoinColumnsOnce(benchmark::State& state) {
    const auto& rows = Rows();
    for (auto _ : state) {
        std::string all;
        for (const ResultRow& row : rows) {
            all += row.m_strAdvertiser;
            all += row.m_strPage;
            all += row.m_strStatus;
        }
        benchmark::DoNotOptimize(all.data());
    }
}
BENCHMARK(BM_JoinColumnsOnce)->Unit(benchmark::kMillisecond);

void BM_TextReport(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(TextReport(Rows(), kNow));
    }
}
BENCHMARK(BM_TextReport)->Unit(benchmark::kMillisecond);

void BM_HtmlReport(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(HtmlReport(Rows(), kNow));
    }
}
BENCHMARK(BM_HtmlReport)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.times["BM_JoinColumnsOnce"];
    if (floor <= 0) {
        return 0;
    }
    bool ok = true;
    std::cout << "\nRatio to joining the reported columns once (" << kRows
              << " rows; target <= 8x):\n";
    for (const auto& [name, t] : reporter.times) {
        if (name == "BM_JoinColumnsOnce") {
            continue;
        }
        const double ratio = t / floor;
        ok = ok && ratio <= 8.0;
        std::cout << "  " << name << ": " << ratio << "x\n";
    }
    return ok ? 0 : 1;
}
