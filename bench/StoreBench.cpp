// Store operations on a store of 10,000 profiles, each beside the time to copy
// index.txt once (the least any rewrite of the list can cost). Prints the
// ratios and fails when an operation takes more than 5x that floor.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "store/DataFolder.h"
#include "store/ProfileList.h"
#include "store/SiteIndex.h"
#include "store/StoreFileWriter.h"

namespace {

using namespace tarnwick;

constexpr int kProfiles = 10000;

struct Store {
    std::string root;
    DataFolder folder{""};
    std::string indexBytes;

    Store() {
        char pattern[] = "/tmp/tarnwick-bench-XXXXXX";
        root = mkdtemp(pattern);
        folder = DataFolder(root);
        folder.EnsureExists();
        folder.EnsureProfilesFolder();
        StoreFileWriter index(folder.IndexPath());
        StoreFileWriter sites(folder.StIndexPath());
        for (int i = 0; i < kProfiles; ++i) {
            const std::string name = "partner-site-number-" + std::to_string(i) + ".com";
            const std::string path = folder.ProfilePath(name);
            index.WriteLine(path);
            sites.WriteLine(name + "**http://www." + name + "/links.html||");
            std::ofstream(path, std::ios::binary) << "Link: http://www." << name << "/";
        }
        index.Close();
        sites.Close();
        std::ifstream in(folder.IndexPath(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        indexBytes = bytes.str();
    }
    ~Store() { std::filesystem::remove_all(root); }

    void RestoreIndex() const {
        std::ofstream(folder.IndexPath(), std::ios::binary | std::ios::trunc) << indexBytes;
    }
};

Store& TheStore() {
    static Store store;
    return store;
}

void BM_CopyIndexOnce(benchmark::State& state) {
    const Store& s = TheStore();
    const std::string copy = s.folder.Folder() + "/copy.txt";
    for (auto _ : state) {
        std::filesystem::copy_file(s.folder.IndexPath(), copy,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::remove(copy.c_str());
}
BENCHMARK(BM_CopyIndexOnce)->Unit(benchmark::kMicrosecond);

void BM_AddToProfileList(benchmark::State& state) {
    const Store& s = TheStore();
    ProfileList list(s.folder);
    const std::string path = s.folder.ProfilePath("new-partner.com");
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.Add(path));
        state.PauseTiming();
        truncate(s.folder.IndexPath().c_str(), static_cast<off_t>(s.indexBytes.size()));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddToProfileList)->Unit(benchmark::kMicrosecond);

void BM_RemoveOneRow(benchmark::State& state) {
    const Store& s = TheStore();
    ProfileList list(s.folder);
    const std::string victim = s.folder.ProfilePath("partner-site-number-5000.com");
    for (auto _ : state) {
        list.Remove({5000});
        state.PauseTiming();
        s.RestoreIndex();
        std::ofstream(victim, std::ios::binary) << "Link: x";
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveOneRow)->Unit(benchmark::kMicrosecond);

void BM_SiteIndexLookup(benchmark::State& state) {
    const Store& s = TheStore();
    SiteIndex index(s.folder);
    // The last line: the whole index is read.
    const std::string base = "partner-site-number-" + std::to_string(kProfiles - 1) + ".com";
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.Lookup(base, "http://www.example.com/"));
    }
}
BENCHMARK(BM_SiteIndexLookup)->Unit(benchmark::kMicrosecond);

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
    const double floor = reporter.times["BM_CopyIndexOnce"];
    if (floor <= 0) {
        return 0;
    }
    bool ok = true;
    std::cout << "\nRatio to one copy of index.txt (" << kProfiles << " profiles; target <= 5x):\n";
    for (const auto& [name, t] : reporter.times) {
        if (name == "BM_CopyIndexOnce") {
            continue;
        }
        const double ratio = t / floor;
        ok = ok && ratio <= 5.0;
        std::cout << "  " << name << ": " << ratio << "x\n";
    }
    return ok ? 0 : 1;
}
