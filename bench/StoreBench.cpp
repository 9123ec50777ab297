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
        folder.ensureExists();
        folder.ensureProfilesFolder();
        StoreFileWriter index(folder.indexPath());
        StoreFileWriter sites(folder.stIndexPath());
        for (int i = 0; i < kProfiles; ++i) {
            const std::string name = "partner-site-number-" + std::to_string(i) + ".com";
            const std::string path = folder.profilePath(name);
            index.writeLine(path);
            sites.writeLine(name + "**http://www." + name + "/links.html||");
            std::ofstream(path, std::ios::binary) << "Link: http://www." << name << "/";
        }
        index.close();
        sites.close();
        std::ifstream in(folder.indexPath(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        indexBytes = bytes.str();
    }
    ~Store() { std::filesystem::remove_all(root); }

    void restoreIndex() const {
        std::ofstream(folder.indexPath(), std::ios::binary | std::ios::trunc) << indexBytes;
    }
};

Store& theStore() {
    static Store store;
    return store;
}

void bmCopyIndexOnce(benchmark::State& state) {
    const Store& s = theStore();
    const std::string copy = s.folder.folder() + "/copy.txt";
    for (auto _ : state) {
        std::filesystem::copy_file(s.folder.indexPath(), copy,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::remove(copy.c_str());
}
BENCHMARK(bmCopyIndexOnce)->Unit(benchmark::kMicrosecond);

void bmAddToProfileList(benchmark::State& state) {
    const Store& s = theStore();
    ProfileList list(s.folder);
    const std::string path = s.folder.profilePath("new-partner.com");
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.add(path));
        state.PauseTiming();
        truncate(s.folder.indexPath().c_str(), static_cast<off_t>(s.indexBytes.size()));
        state.ResumeTiming();
    }
}
BENCHMARK(bmAddToProfileList)->Unit(benchmark::kMicrosecond);

void bmRemoveOneRow(benchmark::State& state) {
    const Store& s = theStore();
    ProfileList list(s.folder);
    const std::string victim = s.folder.profilePath("partner-site-number-5000.com");
    for (auto _ : state) {
        list.remove({5000});
        state.PauseTiming();
        s.restoreIndex();
        std::ofstream(victim, std::ios::binary) << "Link: x";
        state.ResumeTiming();
    }
}
BENCHMARK(bmRemoveOneRow)->Unit(benchmark::kMicrosecond);

void bmSiteIndexLookup(benchmark::State& state) {
    const Store& s = theStore();
    SiteIndex index(s.folder);
    // The last line: the whole index is read.
    const std::string base = "partner-site-number-" + std::to_string(kProfiles - 1) + ".com";
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.lookup(base, "http://www.example.com/"));
    }
}
BENCHMARK(bmSiteIndexLookup)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tarnwick::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool ok = reporter.printRatios(
        "BM_CopyIndexOnce", "one copy of index.txt (" + std::to_string(kProfiles) + " profiles)",
        5.0);
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
