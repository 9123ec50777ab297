// Pages fetched side by side, measured on loopback hosts (127.0.0.2 ...) of
// the tests' page server that answer after a delay. Every figure is a ratio to
// a floor or to a baseline measured in this same run:
//   1. 500 pages over 25 hosts, each answering after 50 ms: the default scan
//      (256 transfers at once, at most 2 per host, every page that links asked
//      a second time as Googlebot) within 1.25x of the floor: the requests
//      the hosts saw x 50 ms shared by the 50 connections politeness allows.
//      Each host sees at most 2 connections at once, and the scan is at least
//      20x faster than one page at a time. For information, curl asks the
//      same pages as often with as many at once: what this machine and the
//      server make of the floor;
//   2. the same 500 pages with LinkChecker and linkinator (each at its
//      defaults, told only to check the links of a page that lists them):
//      the scan ahead of both (a peer that is not installed is left out);
//   3. the same pages where every 50th answers only after 3 s: within 2x of
//      3 s + the floor of 1;
//   4. pages without delay: the default no slower than one page at a time
//      (within 10%; medians of five rounds);
//   5. peak memory (RSS) of a scan of 50,000 pages: the default within 1.2x
//      of one page at a time (each scan in a process of its own).
// Exit status 1 when a target is missed.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchPanes.h"
#include "bench/BenchPeers.h"
#include "scan/PageServer.h"
#include "scan/ScanSession.h"

namespace {

using tarnwick::bench::BenchPanes;
using tarnwick::bench::installed;
using tarnwick::bench::timed;

constexpr int kHosts = 25;
constexpr int kPages = 500;
constexpr int kDelayMs = 50;
const int kJobs = tarnwick::PageFetcher::Options{}.jobs;
constexpr int kRssPages = 50000;

const char kPage[] =
    "<html><head><title>Partner</title></head><body><p>Lorem ipsum dolor sit amet, "
    "<a href=\"/other/\">consectetur</a></p><a href=\"http://www.example.com/\">Example</a>"
    "</body></html>";

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A scan of the pages with jobs side by side: its wall time, and how many
// pages were "Link Found".
double scan(const std::vector<std::string>& pages, int jobs, int* found = nullptr) {
    BenchPanes panes(pages);
    tarnwick::bench::BenchSession run(panes);
    tarnwick::PageFetcher::Options options;
    options.jobs = jobs;
    run.setFetchOptions(options);
    const auto start = std::chrono::steady_clock::now();
    run.onPlay();
    run.waitForScanThread();
    const double seconds = tarnwick::bench::secondsSince(start);
    if (found != nullptr) {
        *found = panes.found();
    }
    return seconds;
}

// Page k of n on the hosts: consecutive pages on different hosts.
std::string pageOn(const tarnwick::test::PageServer& server, int k, int delayMs) {
    const std::string path =
        delayMs > 0 ? "/delay/" + std::to_string(delayMs) + "/page.html" : "/files/page.html";
    return server.hostHttp(k % kHosts, path + "?" + std::to_string(k));
}

bool report(const char* what, double ratio, double limit, bool atMost = true) {
    const bool ok = atMost ? ratio <= limit : ratio >= limit;
    std::printf("  %-58s %7.2fx (target %s %.2fx)%s\n", what, ratio, atMost ? "<=" : ">=", limit,
                ok ? "" : "  MISSED");
    return ok;
}

// The child of the memory measurement: scans kRssPages pages of the hosts
// given as "http://127.0.0.k:port" and prints its peak RSS in KiB.
int rssChild(int jobs, const std::vector<std::string>& hosts) {
    std::vector<std::string> pages;
    pages.reserve(kRssPages);
    for (int k = 0; k < kRssPages; ++k) {
        pages.push_back(hosts[static_cast<size_t>(k) % hosts.size()] + "/files/page.html?" +
                        std::to_string(k));
    }
    int found = 0;
    const double seconds = scan(pages, jobs, &found);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld %.3f %d\n", usage.ru_maxrss, seconds, found);
    return 0;
}

// Peak RSS (KiB) of a scan of kRssPages pages in a process of its own.
long peakRss(const char* self, int jobs, const tarnwick::test::PageServer& server,
             double* seconds) {
    std::string command = std::string(self) + " --rss " + std::to_string(jobs);
    for (int h = 0; h < kHosts; ++h) {
        std::string host = server.hostHttp(h, "");
        command += " " + host;
    }
    FILE* child = popen(command.c_str(), "r");
    if (child == nullptr) {
        return -1;
    }
    long rss = -1;
    int found = 0;
    if (std::fscanf(child, "%ld %lf %d", &rss, seconds, &found) != 3 || found != kRssPages) {
        rss = -1;
    }
    pclose(child);
    return rss;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--rss") == 0) {
        return rssChild(std::atoi(argv[2]), std::vector<std::string>(argv + 3, argv + argc));
    }
    tarnwick::test::PageServer server(false, false, kHosts);
    server.addFile("page.html", kPage);
    bool ok = true;

    // 1. Pages that answer after 50 ms.
    std::vector<std::string> slow;
    std::string index = "<html><body>\n";
    for (int k = 0; k < kPages; ++k) {
        slow.push_back(pageOn(server, k, kDelayMs));
        index += "<a href=\"" + slow.back() + "\">page " + std::to_string(k) + "</a>\n";
    }
    index += "</body></html>\n";
    server.addFile("index.html", index);
    int found = 0;
    const double parallel = scan(slow, kJobs, &found);
    if (found != kPages) {
        std::printf("only %d of %d pages were \"Link Found\"\n", found, kPages);
        ok = false;
    }
    // What the hosts saw of that scan: pages, their second fetch as a
    // crawler and robots.txt; and the most connections one host had at once.
    int requests = 0;
    int robots = 0;
    int peak = 0;
    for (int h = 0; h < kHosts; ++h) {
        requests += server.hostStat(h, "requests");
        robots += server.hostStat(h, "robots");
        peak = std::max(peak, server.hostStat(h, "peak"));
    }
    const int perHost = tarnwick::PageFetcher::Options{}.hostConnections;
    const double floor =
        (requests - robots) * kDelayMs / 1000.0 / std::min(kJobs, kHosts * perHost);
    const double serial = scan(slow, 1, &found);
    std::printf("%d pages over %d hosts, each answering after %d ms:\n", kPages, kHosts, kDelayMs);
    std::printf(
        "  the hosts saw %d requests (%d of robots.txt), at most %d connections at once per "
        "host\n",
        requests, robots, peak);
    std::printf("  default scan: %.3f s; one at a time: %.3f s; floor %.3f s\n", parallel, serial,
                floor);
    if (peak > perHost) {
        std::printf("  more than %d connections to one host  MISSED\n", perHost);
        ok = false;
    }
    ok = report("default scan / floor", parallel / floor, 1.25) && ok;
    // What this machine and server make of the floor: curl asking the same
    // pages as often, as many at once as politeness lets the scan.
    if (installed("curl")) {
        const std::string config = "/tmp/tarnwick-parallel-" + std::to_string(getpid()) + ".curl";
        {
            std::ofstream out(config);
            for (int k = 0; k < requests - robots; ++k) {
                out << "url = \"" << slow[static_cast<size_t>(k) % slow.size()]
                    << "\"\noutput = \"/dev/null\"\n";
            }
        }
        const double seconds = timed("curl -s --noproxy '*' --parallel --parallel-max " +
                                     std::to_string(std::min(kJobs, kHosts * perHost)) + " -K " +
                                     config + " >/dev/null 2>&1");
        std::remove(config.c_str());
        std::printf("  curl, the same %d requests as many at once: %.3f s (%.2fx the floor)\n",
                    requests - robots, seconds, seconds / floor);
    }
    ok = report("one at a time / default scan", serial / parallel, 20.0, false) && ok;

    // 2. The same pages with other link checkers.
    const std::string start = server.http("/files/index.html");
    const struct {
        const char* program;
        std::string command;
    } peers[] = {
        {"linkchecker", "linkchecker --check-extern " + start + " >/dev/null 2>&1"},
        {"linkinator", "linkinator " + start + " >/dev/null 2>&1"},
    };
    for (const auto& peer : peers) {
        if (!installed(peer.program)) {
            std::printf("  %s is not installed: left out\n", peer.program);
            continue;
        }
        const double seconds = timed(peer.command);
        std::printf("  %s: %.3f s\n", peer.program, seconds);
        const std::string what = std::string("default scan / ") + peer.program;
        ok = report(what.c_str(), parallel / seconds, 1.0) && ok;
    }

    // 3. Every 50th page answers after 3 s (each on another host).
    std::vector<std::string> someSlow;
    someSlow.reserve(kPages);
    for (int k = 0; k < kPages; ++k) {
        someSlow.push_back(pageOn(server, k, k % 50 == k / 50 ? 3000 : kDelayMs));
    }
    const double withSlow = scan(someSlow, kJobs, &found);
    std::printf("the same with every 50th page answering after 3 s: %.3f s (%d Link Found)\n",
                withSlow, found);
    ok = report("default scan / (3 s + floor)", withSlow / (3.0 + floor), 2.0) && ok;

    // 4. Pages without delay: no slower side by side.
    std::vector<std::string> quick;
    quick.reserve(2000);
    for (int k = 0; k < 2000; ++k) {
        quick.push_back(pageOn(server, k, 0));
    }
    std::vector<double> quickParallel;
    std::vector<double> quickSerial;
    for (int round = 0; round < 5; ++round) {
        quickParallel.push_back(scan(quick, kJobs));
        quickSerial.push_back(scan(quick, 1));
    }
    std::printf("2000 pages without delay: side by side %.3f s, one at a time %.3f s (medians)\n",
                median(quickParallel), median(quickSerial));
    ok =
        report("default scan / one at a time", median(quickParallel) / median(quickSerial), 1.10) &&
        ok;

    // 5. Peak memory of 50,000 pages.
    double rssSecondsParallel = 0;
    double rssSecondsSerial = 0;
    const long rssParallel = peakRss(argv[0], kJobs, server, &rssSecondsParallel);
    const long rssSerial = peakRss(argv[0], 1, server, &rssSecondsSerial);
    std::printf(
        "%d pages: peak RSS side by side %ld KiB (%.1f s), one at a time %ld KiB (%.1f s)\n",
        kRssPages, rssParallel, rssSecondsParallel, rssSerial, rssSecondsSerial);
    if (rssParallel <= 0 || rssSerial <= 0) {
        std::printf("  the memory measurement failed\n");
        ok = false;
    } else {
        ok = report("peak RSS default / one at a time",
                    static_cast<double>(rssParallel) / static_cast<double>(rssSerial), 1.2) &&
             ok;
    }
    return ok ? 0 : 1;
}
