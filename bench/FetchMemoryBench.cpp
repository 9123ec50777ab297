// Peak memory while a 1 GiB page streams in from a loopback server and is
// classified as it arrives (target: under 64 MiB for the whole process), and
// again with the page's evidence gathered from the same bytes, against the
// peak of the same fetch of a 1 MiB page measured first in this run (target:
// a ratio of about 1: memory does not grow with the page).
// Reads the process's own peak resident size (VmHWM) from /proc, after
// resetting it once the program is up.
//
// Then memory per page of a whole scan: tarnwick-cli scan of 50,000 small
// pages from the loopback server, recorded in its history, against the same
// scan of 1,000 pages in the same run. The peak resident size of each (the
// child's own, from wait4, of the second scan of each, which reads the
// history of the first) gives the memory a page holds until the run ends
// (target: at most 0.6 KB a page) and the peak of the large scan (target: at
// most 40 MB). `fetch_memory_bench --pages` runs this part alone.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scan/PageFetcher.h"
#include "scan/PageServer.h"

namespace {

// KiB as MiB, for the figures printed.
double mib(long kib) {
    return static_cast<double>(kib) / 1024.0;
}

long kibOf(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return -1;
}

// Peak resident size in KiB of `tarnwick-cli scan` over `pages` pages of
// server, in a data folder of its own; -1 when it could not run.
long scanPeakKib(const tarnwick::test::PageServer& server, int pages) {
    const std::string root =
        "/tmp/tarnwick-memory-bench-" + std::to_string(::getpid()) + "-" + std::to_string(pages);
    const std::string data = root + "/Osgrel Tarnwick Ambrel";
    std::filesystem::create_directories(data + "/Profiles");
    const std::string profile = data + "/Profiles/example.com.txt";
    {
        std::ofstream out(profile, std::ios::binary);
        out << "Link: http://www.example.com/";
        for (int k = 0; k < pages; ++k) {
            // One file, many addresses: the server ignores the query.
            out << "\r\n"
                << server.http("/files/small.html?partner=" + std::to_string(k))
                << "|||webmaster@partner-" << k << ".example|||0|||";
        }
    }
    std::ofstream(data + "/index.txt", std::ios::binary) << profile;
    // The second of two scans is measured: a weekly scan looks back at the
    // history of the one before.
    bool ran = true;
    long peak = -1;
    for (int scan = 0; scan < 2 && ran; ++scan) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("TARNWICK_PROGRAM_FILES", root.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
            std::freopen("/dev/null", "w", stdout);
            ::execl(TARNWICK_CLI, TARNWICK_CLI, "scan", "--no-mail", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ran = child > 0 && ::wait4(child, &status, 0, &usage) == child && WIFEXITED(status) &&
              WEXITSTATUS(status) == 0;
        peak = usage.ru_maxrss;
    }
    std::filesystem::remove_all(root);
    return ran ? peak : -1;
}

// The memory of a whole scan; returns whether both targets are met.
bool scanMemory(const tarnwick::test::PageServer& server) {
    constexpr int kSmall = 1000;
    constexpr int kLarge = 50000;
    const long small = scanPeakKib(server, kSmall);
    const long large = scanPeakKib(server, kLarge);
    if (small < 0 || large < 0) {
        std::printf("tarnwick-cli scan failed\n");
        return false;
    }
    const double perPage = static_cast<double>(large - small) / (kLarge - kSmall);
    std::printf("scan of %d pages: peak %.1f MiB; of %d pages: peak %.1f MiB (target <= 40 MB)\n",
                kSmall, mib(small), kLarge, mib(large));
    std::printf("memory per page: %.2f KiB (target <= 0.6 KB); peak %d / peak %d: %.2f\n", perPage,
                kLarge, kSmall, static_cast<double>(large) / static_cast<double>(small));
    return perPage * 1024 <= 600 && static_cast<double>(large) * 1024.0 <= 40e6;
}

}  // namespace

int main(int argc, char** argv) {
    tarnwick::test::PageServer server(false, false);
    server.addFile("small.html", "<a href=\"http://www.example.com/\">x</a>");
    if (argc > 1 && std::string(argv[1]) == "--pages") {
        return scanMemory(server) ? 0 : 1;
    }
    tarnwick::PageFetcher fetcher;
    fetcher.check(server.http("/files/small.html"), "www.example.com");  // everything loaded
    std::ofstream("/proc/self/clear_refs") << "5";                       // VmHWM = VmRSS now
    const long before = kibOf("VmHWM:");

    const auto pageOf = [&server](long long size) {
        return server.http("/big?size=" + std::to_string(size) +
                           "&tail=%3Ca%20href%3D%22http%3A%2F%2Fwww.example.com%2F%22%3E");
    };

    // Baseline: a 1 MiB page with its evidence.
    tarnwick::PageEvidence smallEvidence;
    const std::string smallResult =
        fetcher.check(pageOf(1LL << 20), "www.example.com", &smallEvidence).word();
    const long smallPeak = kibOf("VmHWM:");
    std::printf("1 MiB page with evidence: %s, anchor seen: %s, peak %.1f MiB\n",
                smallResult.c_str(), smallEvidence.m_anchorFound ? "yes" : "no", mib(smallPeak));

    std::ofstream("/proc/self/clear_refs") << "5";
    const long long size = 1LL << 30;
    const std::string big = pageOf(size);
    auto start = std::chrono::steady_clock::now();
    const std::string result = fetcher.check(big, "www.example.com").word();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = kibOf("VmHWM:");

    std::printf("result: %s (expected Link Found: the link is the page's last bytes)\n",
                result.c_str());
    std::printf("1 GiB page in %.2f s (%.0f MiB/s)\n", seconds, 1024.0 / seconds);
    std::printf("resident before: %.1f MiB, peak while classifying: %.1f MiB\n", mib(before),
                mib(peak));
    std::printf("peak / 64 MiB: %.2f (target < 1); peak / page size: %.4f\n", mib(peak) / 64.0,
                mib(peak) / 1024.0);

    // The same page with its evidence: the anchor at its very end must be
    // seen, with the HTML parser's memory as flat as the classifier's.
    std::ofstream("/proc/self/clear_refs") << "5";
    tarnwick::PageEvidence evidence;
    start = std::chrono::steady_clock::now();
    const std::string withEvidence = fetcher.check(big, "www.example.com", &evidence).word();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long evidencePeak = kibOf("VmHWM:");
    std::printf("with evidence: %s, anchor seen: %s, verdict: %s\n", withEvidence.c_str(),
                evidence.m_anchorFound ? "yes" : "no", tarnwick::evidenceVerdict(evidence).c_str());
    std::printf("1 GiB page with evidence in %.2f s (%.0f MiB/s)\n", seconds, 1024.0 / seconds);
    std::printf("peak with evidence: %.1f MiB; / 64 MiB: %.2f (target < 1); / peak without: %.2f\n",
                mib(evidencePeak), mib(evidencePeak) / 64.0,
                static_cast<double>(evidencePeak) / static_cast<double>(peak));
    std::printf("peak with evidence, 1 GiB page / 1 MiB page: %.2f (target about 1)\n",
                static_cast<double>(evidencePeak) / static_cast<double>(smallPeak));
    const bool scanMet = scanMemory(server);
    return result == "Link Found" && withEvidence == "Link Found" && evidence.m_anchorFound &&
                   smallEvidence.m_anchorFound && scanMet
               ? 0
               : 1;
}
