// A bad network day on loopback: 1,000 pages on 200 hosts (127.0.0.2 ... of
// the tests' page server, each on a port of its own), each page answering
// after its own log-normal latency (median 115 ms, 5% over 1 s, drawn from a
// fixed seed), and 1% of the pages never answering. Measured in one run:
//   1. the scan with its defaults (no limit but the 20 s of silence and the
//      120 s page limit): at most 25 s;
//   2. the scan with a page limit of 10 s: within 1.25x of the lower bound
//      (below) and not behind linkinator at the same limit; the same without
//      the second fetch as Googlebot (one request per page, as the peers
//      make), for information;
//   3. curl --parallel -m 10 with at most 32 and 256 transfers at once, and
//      linkinator --timeout 10000 when it is on PATH (left out with a message
//      otherwise), on the same addresses.
// The lower bound is what politeness leaves: on each host, no more than
// host_connections requests at once, so the host cannot be done before its
// slowest page, nor before the sum of its requests' times shared by those
// connections; every request counts at most its time limit (a silent page the
// time it is given). The run cannot end before its slowest host. A page whose
// link is worth following is asked a second time as Googlebot, after the
// first answer: that request counts in the bound of the scans that make it.
// Exit status 1 when a target is missed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/BenchPanes.h"
#include "bench/BenchPeers.h"
#include "scan/FetchSettings.h"
#include "scan/PageServer.h"
#include "scan/ScanSession.h"

namespace {

using tarnwick::bench::BenchPanes;

constexpr int kHosts = 200;
constexpr int kPages = 1000;
constexpr double kMedianMs = 115.0;
constexpr double kOverOneSecond = 0.05;
constexpr int kSilentEvery = 100;  // 1% of the pages
constexpr unsigned kSeed = 27;

// A partner page of everyday size that links to the advertiser.
std::string partnerPage() {
    std::string page =
        "<!DOCTYPE html><html><head><title>Partner links</title>"
        "<meta name=\"viewport\" content=\"width=device-width\"></head><body><nav>";
    for (int k = 0; k < 20; ++k) {
        page += "<a href=\"/section/" + std::to_string(k) + "/\">Section " + std::to_string(k) +
                "</a> ";
    }
    page += "</nav>";
    for (int k = 0; k < 30; ++k) {
        page +=
            "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
            "incididunt ut labore et dolore magna aliqua. <a href=\"https://partner" +
            std::to_string(k) + ".example.org/\">partner</a></p>\n";
    }
    page += "<p>Our friends: <a href=\"http://www.example.com/\">Example</a></p></body></html>";
    return page;
}

struct Page {
    std::string url;
    int latencyMs = 0;  // -1: never answers
};

// The latencies: exp(N(ln median, sigma)), sigma such that 5% lie over 1 s.
// The normal numbers are made by Box-Muller from mt19937, whose output the
// standard fixes, so every library draws the same pages.
std::vector<Page> makePages(const tarnwick::test::PageServer& server) {
    const double z95 = 1.6448536269514722;
    const double sigma = std::log(1000.0 / kMedianMs) / z95;
    std::mt19937 rng(kSeed);
    const auto uniform = [&rng] { return (static_cast<double>(rng()) + 0.5) / 4294967296.0; };
    // The silent pages: drawn like the rest, so that they fall on hosts as
    // they come (most on a host of their own).
    std::vector<bool> silent(kPages, false);
    for (int drawn = 0; drawn < kPages / kSilentEvery;) {
        const size_t k = rng() % kPages;
        drawn += silent[k] ? 0 : 1;
        silent[k] = true;
    }
    std::vector<Page> pages;
    for (int k = 0; k < kPages; ++k) {
        const double normal =
            std::sqrt(-2.0 * std::log(uniform())) * std::cos(2.0 * std::numbers::pi * uniform());
        Page page;
        page.latencyMs = silent[static_cast<size_t>(k)]
                             ? -1
                             : static_cast<int>(std::lround(kMedianMs * std::exp(sigma * normal)));
        const std::string path = page.latencyMs < 0
                                     ? "/silent"
                                     : "/delay/" + std::to_string(page.latencyMs) + "/page.html";
        page.url = server.hostHttp(k % kHosts, path + "?" + std::to_string(k));
        pages.push_back(std::move(page));
    }
    return pages;
}

// The lower bound of a run over the pages with the options' limits and
// per-host connections; crawler: pages that answer are asked twice.
double lowerBound(const std::vector<Page>& pages, const tarnwick::PageFetcher::Options& options,
                  bool crawler) {
    const double limit = static_cast<double>(options.pageTimeoutSeconds);
    const double silent = std::min(limit, static_cast<double>(options.stallSeconds));
    std::vector<double> longest(kHosts, 0.0);
    std::vector<double> sum(kHosts, 0.0);
    for (size_t k = 0; k < pages.size(); ++k) {
        const size_t host = k % kHosts;
        const bool answers = pages[k].latencyMs >= 0 && pages[k].latencyMs / 1000.0 < limit;
        const double one =
            pages[k].latencyMs < 0 ? silent : std::min(limit, pages[k].latencyMs / 1000.0);
        const double chain = answers && crawler ? 2 * one : one;
        longest[host] = std::max(longest[host], chain);
        sum[host] += chain;
    }
    double bound = 0;
    for (int h = 0; h < kHosts; ++h) {
        bound = std::max({bound, longest[h], sum[h] / options.hostConnections});
    }
    return bound;
}

struct ScanFigures {
    double seconds = 0;
    int found = 0;
};

ScanFigures scan(const std::vector<Page>& pages, tarnwick::PageFetcher::Options options) {
    if (const auto fewer = tarnwick::FetchSettings::fitOpenFiles(options)) {
        std::printf("  %s\n", fewer->c_str());
    }
    std::vector<std::string> urls;
    for (const Page& page : pages) {
        urls.push_back(page.url);
    }
    BenchPanes panes(urls);
    tarnwick::bench::BenchSession run(panes);
    run.setFetchOptions(options);
    const auto start = std::chrono::steady_clock::now();
    run.onPlay();
    run.waitForScanThread();
    return {tarnwick::bench::secondsSince(start), panes.found()};
}

bool report(const char* what, double ratio, double limit) {
    const bool ok = ratio <= limit;
    std::printf("  %-58s %7.2fx (target <= %.2fx)%s\n", what, ratio, limit, ok ? "" : "  MISSED");
    return ok;
}

}  // namespace

int main() {
    tarnwick::test::PageServer server(false, false, kHosts);
    server.addFile("page.html", partnerPage());
    const std::vector<Page> pages = makePages(server);

    int silent = 0;
    int overOneSecond = 0;
    int slowest = 0;
    std::vector<int> latencies;
    std::string index = "<html><body>\n";
    std::string curlConfig;
    for (const Page& page : pages) {
        silent += page.latencyMs < 0 ? 1 : 0;
        overOneSecond += page.latencyMs > 1000 ? 1 : 0;
        slowest = std::max(slowest, page.latencyMs);
        if (page.latencyMs >= 0) {
            latencies.push_back(page.latencyMs);
        }
        index += "<a href=\"" + page.url + "\">page</a>\n";
        curlConfig += "url = \"" + page.url + "\"\noutput = \"/dev/null\"\n";
    }
    index += "</body></html>\n";
    server.addFile("index.html", index);
    std::nth_element(latencies.begin(), latencies.begin() + latencies.size() / 2, latencies.end());
    std::printf(
        "%d pages on %d hosts: median latency %d ms, %d over 1 s, slowest %.2f s, %d never "
        "answer\n",
        kPages, kHosts, latencies[latencies.size() / 2], overOneSecond, slowest / 1000.0, silent);

    bool ok = true;
    const tarnwick::PageFetcher::Options defaults;
    tarnwick::PageFetcher::Options tenSeconds;
    tenSeconds.pageTimeoutSeconds = 10;
    tarnwick::PageFetcher::Options tenSecondsOneRequest = tenSeconds;
    tenSecondsOneRequest.cloakCheck = false;
    const double boundDefaults = lowerBound(pages, defaults, defaults.cloakCheck);
    const double boundTen = lowerBound(pages, tenSeconds, tenSeconds.cloakCheck);
    const double boundTenOne = lowerBound(pages, tenSeconds, false);
    std::printf(
        "lower bound with %d connections per host: defaults %.2f s; a 10 s limit %.2f s "
        "(one request per page %.2f s)\n",
        defaults.hostConnections, boundDefaults, boundTen, boundTenOne);

    const ScanFigures atDefaults = scan(pages, defaults);
    const ScanFigures atTen = scan(pages, tenSeconds);
    const ScanFigures atTenOne = scan(pages, tenSecondsOneRequest);
    std::printf("scan, defaults (%d jobs): %.2f s (%d Link Found)\n", defaults.jobs,
                atDefaults.seconds, atDefaults.found);
    std::printf("scan, 10 s limit: %.2f s (%d Link Found)\n", atTen.seconds, atTen.found);
    std::printf("scan, 10 s limit, no fetch as Googlebot: %.2f s (%d Link Found)\n",
                atTenOne.seconds, atTenOne.found);
    if (atDefaults.found != kPages - silent || atTen.found != kPages - silent) {
        std::printf("  not every page that answers was \"Link Found\"\n");
        ok = false;
    }
    ok = report("scan, defaults / 25 s", atDefaults.seconds / 25.0, 1.0) && ok;
    ok = report("scan, 10 s limit / its lower bound", atTen.seconds / boundTen, 1.25) && ok;
    report("scan, 10 s limit, one request / its lower bound (information)",
           atTenOne.seconds / boundTenOne, 1.25);

    const std::string configFile = "/tmp/tarnwick-mix-" + std::to_string(getpid()) + ".curl";
    std::ofstream(configFile) << curlConfig;
    for (const int parallel : {32, 256}) {
        const double seconds = tarnwick::bench::timed(
            "curl -s --noproxy '*' --parallel --parallel-max " + std::to_string(parallel) +
            " -m 10 -K " + configFile + " >/dev/null 2>&1");
        std::printf("curl --parallel-max %d -m 10: %.2f s; scan at a 10 s limit / curl: %.2fx\n",
                    parallel, seconds, atTen.seconds / seconds);
    }
    std::remove(configFile.c_str());

    if (!tarnwick::bench::installed("linkinator")) {
        std::printf("linkinator is not installed: left out\n");
    } else {
        const double seconds = tarnwick::bench::timed(
            "linkinator --timeout 10000 " + server.http("/files/index.html") + " >/dev/null 2>&1");
        std::printf("linkinator --timeout 10000: %.2f s\n", seconds);
        ok = report("scan, 10 s limit / linkinator", atTen.seconds / seconds, 1.0) && ok;
    }
    return ok ? 0 : 1;
}
