// Pages that try to hold a run, and a run over many profiles, each measured
// against its own baseline in the same run:
//   - a page that trickles one byte every 0.2 s forever, and a page that sends
//     an endless body at full speed, under a time limit of 3 s: each must cost
//     at most the limit + 2 s; the endless page must keep the resident memory
//     flat (peak growth < 64 MiB);
//   - the scan run's own work for 16,000 profiles of one page each against
//     one profile of 16,000 pages (pages answered at once, without network):
//     time per page within 1.5x.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchPanes.h"
#include "scan/PageFetcher.h"
#include "scan/PageServer.h"
#include "scan/ScanSession.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
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

// Profiles of the given page counts, all ticked; every page is answered at
// once by the checker.
class CountingPanes : public tarnwick::ScanListener {
public:
    CountingPanes(int profiles, int pagesEach) : m_statuses(static_cast<size_t>(profiles)) {
        m_pagesEach = pagesEach;
    }
    tarnwick::ScanPlan plan() const {
        tarnwick::ScanPlan plan;
        for (size_t j = 0; j < m_statuses.size(); ++j) {
            plan.m_profiles.push_back({static_cast<int>(j), "www.example.com"});
            for (int k = 0; k < m_pagesEach; ++k) {
                tarnwick::ResultRow r;
                r.m_advertiser = "www.example.com";
                r.m_page = "http://p" + std::to_string(j) + "-" + std::to_string(k) + "/";
                r.m_notify = "Disabled";
                r.m_profileRow = static_cast<int>(j);
                plan.addRow(r);
            }
        }
        return plan;
    }
    void profileStatusChanged(int row, tarnwick::ProfileStatus s) override {
        m_statuses.at(row) = tarnwick::profileStatusWord(s);
    }
    void runStarted(const std::shared_ptr<const tarnwick::ScanPlan>& plan) override {
        m_rows = plan->resultRows();
    }
    void pageChecked(const tarnwick::ScanJob& job, const tarnwick::PageResult& result,
                     const tarnwick::PageEvidence&, const std::string&) override {
        m_rows.at(static_cast<size_t>(job.m_row)).m_result = result.m_result;
    }
    const std::string& last() const { return m_statuses.back(); }

private:
    int m_pagesEach = 0;
    std::vector<std::string> m_statuses;
    std::vector<tarnwick::ResultRow> m_rows;
};

double scanSeconds(int profiles, int pagesEach) {
    CountingPanes panes(profiles, pagesEach);
    tarnwick::bench::BenchSession run(panes, [](const std::string&, const std::string&) {
        return tarnwick::PageResult(tarnwick::LinkResult::Found, "link found", 200);
    });
    const auto start = Clock::now();
    run.onPlay();
    run.waitForScanThread();
    const double s = seconds(start);
    if (panes.last() != "Completed") {
        std::fprintf(stderr, "run did not complete\n");
    }
    return s;
}

}  // namespace

int main() {
    bool ok = true;
    tarnwick::test::PageServer server(false, false);
    server.addFile("a.html", "<a href=\"http://www.example.com/\">x</a>");
    constexpr long kLimit = 3;
    tarnwick::PageFetcher::Options options;
    options.pageTimeoutSeconds = kLimit;
    tarnwick::PageFetcher fetcher(options);
    fetcher.check(server.http("/files/a.html"), "www.example.com");  // everything loaded
    std::ofstream("/proc/self/clear_refs") << "5";                   // VmHWM = VmRSS now
    const long before = kibOf("VmHWM:");
    for (const char* path : {"/trickle/a.html?every=0.2", "/endless"}) {
        const auto start = Clock::now();
        const tarnwick::PageResult r = fetcher.check(server.http(path), "www.example.com");
        const double s = seconds(start);
        const double ratio = s / static_cast<double>(kLimit + 2);
        std::printf("%-28s %.2f s (%s: %s); / (limit + 2 s) = %.2f (target <= 1)\n", path, s,
                    r.word().c_str(), r.m_reason.c_str(), ratio);
        ok = ok && ratio <= 1.0;
    }
    const double growth = (kibOf("VmHWM:") - before) / 1024.0;
    std::printf("peak resident growth over both: %.1f MiB (target < 64)\n", growth);
    ok = ok && growth < 64;

    constexpr int kPages = 16000;
    std::vector<double> many;
    std::vector<double> one;
    for (int round = 0; round < 3; ++round) {
        many.push_back(scanSeconds(kPages, 1));
        one.push_back(scanSeconds(1, kPages));
    }
    std::sort(many.begin(), many.end());
    std::sort(one.begin(), one.end());
    const double ratio = many[1] / one[1];
    std::printf("%d profiles of 1 page: %.3f s; 1 profile of %d pages: %.3f s (medians of 3)\n",
                kPages, many[1], kPages, one[1]);
    std::printf("many profiles / one profile: %.2f (target <= 1.5)\n", ratio);
    ok = ok && ratio <= 1.5;
    return ok ? 0 : 1;
}
