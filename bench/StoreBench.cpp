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

#include "bench/RatioReporter.h"
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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tarnwick::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool ok = reporter.PrintRatios(
        "BM_CopyIndexOnce", "one copy of index.txt (" + std::to_string(kProfiles) + " profiles)",
        5.0);
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
