// A scan (the default: pages side by side) of 2,000 small pages from a
// loopback HTTP server against the curl tool fetching the same 2,000
// addresses one after the other in one process (target: within 1.25x of
// curl's wall time). Five rounds, alternating; medians compared.
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "bench/BenchPanes.h"
#include "scan/PageServer.h"
#include "scan/ScanSession.h"

namespace {

constexpr int kPages = 2000;

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    tarnwick::test::PageServer server(false, false);
    std::vector<std::string> pages;
    std::string page = "<html><head><title>Partner</title></head><body>";
    for (int k = 0; k < 40; ++k) {
        page += "<p>Lorem ipsum dolor sit amet, <a href=\"/other/\">consectetur</a></p>\n";
    }
    page += "<a href=\"http://www.example.com/\">Example</a></body></html>";
    const std::string config = "/tmp/tarnwick-scan-bench-" + std::to_string(::getpid()) + ".cfg";
    std::ofstream cfg(config);
    for (int k = 0; k < kPages; ++k) {
        std::string name = "p";  // (not "p" + ...: a false -Wrestrict alarm of GCC 12)
        name += std::to_string(k);
        name += ".html";
        server.addFile(name, page);
        pages.push_back(server.http("/files/" + name));
        cfg << "url = \"" << pages.back() << "\"\noutput = \"/dev/null\"\n";
    }
    cfg.close();
    const std::string curl = "curl -s -K " + config;

    std::vector<double> scan;
    std::vector<double> tool;
    int found = 0;
    for (int round = 0; round < 5; ++round) {
        tarnwick::bench::BenchPanes panes(pages);
        tarnwick::bench::BenchSession run(panes);
        auto start = std::chrono::steady_clock::now();
        run.onPlay();
        run.waitForScanThread();
        scan.push_back(seconds(start));
        found = panes.found();

        start = std::chrono::steady_clock::now();
        if (std::system(curl.c_str()) != 0) {
            std::fprintf(stderr, "curl failed\n");
            return 1;
        }
        tool.push_back(seconds(start));
    }
    std::remove(config.c_str());
    std::printf("scan of %d pages: %.3f s (%d Link Found); curl: %.3f s (medians of 5)\n", kPages,
                median(scan), found, median(tool));
    std::printf("scan time / curl time: %.2f (target <= 1.25)\n", median(scan) / median(tool));
    return found == kPages ? 0 : 1;
}
