// The three importers on a list of 200,000 publisher pages, each beside the
// time to read the same file line by line (the least an import can cost).
// Prints the ratios; an importer above 8x that floor fails the run (an import also builds and frees
// one row per line).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>

#include "bench/RatioReporter.h"
#include "editing/ImportParsers.h"
#include "store/StoreLineReader.h"

namespace {

using namespace tarnwick;

constexpr int kLines = 200000;

struct Lists {
    std::string root;
    std::string csv;
    std::string plain;
    std::string separated;

    Lists() {
        char pattern[] = "/tmp/tarnwick-bench-XXXXXX";
        root = mkdtemp(pattern);
        csv = Write("list.csv", ',');
        plain = Write("list.txt", 0);
        separated = Write("separated.txt", ';');
    }
    ~Lists() { std::filesystem::remove_all(root); }

    std::string Write(const char* name, char separator) {
        const std::string path = root + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        for (int i = 0; i < kLines; ++i) {
            std::string line =
                "http://links.partner-" + std::to_string(i) + ".example.net/friends.html";
            if (separator != 0) {
                line += separator;
                line += "webmaster" + std::to_string(i) + "@partner.example.net";
            }
            line += "\r\n";
            std::fwrite(line.data(), 1, line.size(), file);
        }
        std::fclose(file);
        return path;
    }
};

Lists& Files() {
    static Lists lists;
    return lists;
}

void ReadLines(benchmark::State& state) {
    for (auto _ : state) {
        StoreLineReader reader(Files().csv);
        std::string line;
        size_t total = 0;
        while (reader.ReadLine(line)) {
            total += line.size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(ReadLines)->Unit(benchmark::kMillisecond);

void Csv(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImportCsv(Files().csv));
    }
}
BENCHMARK(Csv)->Unit(benchmark::kMillisecond);

void PlainText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImportPlainText(Files().plain));
    }
}
BENCHMARK(PlainText)->Unit(benchmark::kMillisecond);

void SeparatedText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImportSeparatedText(Files().separated, ";"));
    }
}
BENCHMARK(SeparatedText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Files();  // the lists are written before any timing
    tarnwick::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool ok = reporter.PrintRatios(
        "ReadLines", "reading the lines of the file (" + std::to_string(kLines) + " lines)", 8.0);
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
