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
        csv = write("list.csv", ',');
        plain = write("list.txt", 0);
        separated = write("separated.txt", ';');
    }
    ~Lists() { std::filesystem::remove_all(root); }

    std::string write(const char* name, char separator) {
        std::string path = root + "/" + name;
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

Lists& files() {
    static Lists lists;
    return lists;
}

void readLines(benchmark::State& state) {
    for (auto _ : state) {
        StoreLineReader reader(files().csv);
        std::string line;
        size_t total = 0;
        while (reader.readLine(line)) {
            total += line.size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(readLines)->Unit(benchmark::kMillisecond);

void csv(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(importCsv(files().csv));
    }
}
BENCHMARK(csv)->Unit(benchmark::kMillisecond);

void plainText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(importPlainText(files().plain));
    }
}
BENCHMARK(plainText)->Unit(benchmark::kMillisecond);

void separatedText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(importSeparatedText(files().separated, ";"));
    }
}
BENCHMARK(separatedText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    files();  // the lists are written before any timing
    tarnwick::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool ok = reporter.printRatios(
        "ReadLines", "reading the lines of the file (" + std::to_string(kLines) + " lines)", 8.0);
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
