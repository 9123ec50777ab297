// The desktop program's speed on a store of 1,000 profiles of 100 pages:
// rebuilding the results pane (100,000 rows) beside reading the same profile
// files with the core reader alone (target: within 3x), and start-up to a
// shown main window (target: under 1 s, splash excluded).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QtTest/QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "bench/RatioReporter.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultsPane.h"
#include "gui/app/TarnwickApplication.h"
#include "gui/controls/AppMessageBox.h"
#include "store/DataFolder.h"
#include "store/ProfileFile.h"
#include "store/ProfileList.h"
#include "store/StoreFileWriter.h"

namespace {

using namespace tarnwick;

constexpr int kProfiles = 1000;
constexpr int kPages = 100;

struct Store {
    std::string root;
    DataFolder folder{""};
    std::vector<std::string> paths;

    Store() {
        char pattern[] = "/tmp/tarnwick-app-bench-XXXXXX";
        root = mkdtemp(pattern);
        setenv("TARNWICK_PROGRAM_FILES", root.c_str(), 1);
        folder = DataFolder(root);
        folder.ensureExists();
        folder.ensureProfilesFolder();
        StoreFileWriter index(folder.indexPath());
        for (int i = 0; i < kProfiles; ++i) {
            const std::string name = "partner-" + std::to_string(i) + ".com";
            const std::string path = folder.profilePath(name);
            index.writeLine(path);
            paths.push_back(path);
            std::ofstream file(path, std::ios::binary);
            file << "Link: http://www." << name << "/";
            for (int p = 0; p < kPages; ++p) {
                file << "\r\nhttp://www.publisher-" << p << ".org/links/page-" << i
                     << ".html|||webmaster@publisher-" << p << ".org|||" << (p % 2) << "|||";
            }
        }
        index.close();
    }
    ~Store() { std::filesystem::remove_all(root); }
};

Store& theStore() {
    static Store store;
    return store;
}

void bmCoreReaderAlone(benchmark::State& state) {
    const Store& s = theStore();
    for (auto _ : state) {
        size_t pages = 0;
        for (const std::string& path : s.paths) {
            pages += ProfileFile::readForResults(path).m_pages.size();
        }
        benchmark::DoNotOptimize(pages);
    }
}
BENCHMARK(bmCoreReaderAlone)->Unit(benchmark::kMillisecond);

void bmRebuildResults(benchmark::State& state) {
    theStore();
    TarnwickApplication app(StartOptions{0});
    app.start();
    if (!QTest::qWaitForWindowExposed(app.mainWindow())) {
        state.SkipWithError("the window did not show");
    }
    ResultsPane& results = *app.mainWindow()->resultsPane();
    for (auto _ : state) {
        results.rebuildResults();
        benchmark::DoNotOptimize(results.rowCount());
    }
    state.counters["rows"] = results.rowCount();
}
BENCHMARK(bmRebuildResults)->Unit(benchmark::kMillisecond);

void bmStartUpToShownWindow(benchmark::State& state) {
    theStore();
    for (auto _ : state) {
        auto app = std::make_unique<TarnwickApplication>(StartOptions{0});
        app->start();
        if (!QTest::qWaitForWindowExposed(app->mainWindow())) {
            state.SkipWithError("the window did not show");
        }
        QCoreApplication::processEvents();
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(bmStartUpToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    AppMessageBox::setTestMode(true);
    benchmark::Initialize(&argc, argv);
    tarnwick::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double reader = reporter.time("BM_CoreReaderAlone");
    const double rebuild = reporter.time("BM_RebuildResults");
    const double startUp = reporter.time("BM_StartUpToShownWindow");
    if (reader <= 0 || rebuild <= 0 || startUp <= 0) {
        return 0;
    }
    const bool ok = rebuild / reader <= 3.0 && startUp <= 1000.0;
    std::cout << "\n"
              << kProfiles << " profiles of " << kPages << " pages:\n"
              << "  RebuildResults / core reader alone: " << rebuild / reader
              << "x (target <= 3x)\n"
              << "  start-up to a shown window / 1 s: " << startUp / 1000.0
              << "x (target <= 1x); / core reader alone: " << startUp / reader << "x\n";
    return ok ? 0 : 1;
}
