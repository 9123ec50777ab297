// The run history's cost.
//  1. Time: a serial scan of 10,000 small pages from a loopback HTTP server,
//     with and without the history recording it (target: at most 1.05x).
//     Five rounds each, alternating; medians compared.
//  2. Size: a year of weekly runs of 1,000 pages with every evidence field
//     filled and a letter for each lost page, written the way a run writes
//     them; the database file's size is printed (target: well under 50 MB),
//     and how long a run then waits at its start for what the earlier runs
//     knew of its pages.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchPanes.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "scan/PageServer.h"
#include "scan/ScanRun.h"

namespace {

constexpr int kScanPages = 10000;
constexpr int kRounds = 5;
constexpr int kYearPages = 1000;
constexpr int kYearRuns = 52;

using tarnwick::bench::BenchPanes;

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::uintmax_t FileSize(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

}  // namespace

int main() {
    const std::string folder = "/tmp/tarnwick-history-bench-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);

    // 1. Time.
    tarnwick::test::PageServer server(false, false);
    std::string page = "<html><head><title>Partner</title></head><body>";
    for (int k = 0; k < 40; ++k) {
        page += "<p>Lorem ipsum dolor sit amet, <a href=\"/other/\">consectetur</a></p>\n";
    }
    page += "<a href=\"http://www.example.com/\">Example</a></body></html>";
    server.AddFile("p.html", page);
    std::vector<std::string> pages;
    for (int k = 0; k < kScanPages; ++k) {
        // One file, many addresses: the server ignores the query.
        pages.push_back(server.Http("/files/p.html?k=" + std::to_string(k)));
    }
    const std::string scanDb = folder + "/scan.sqlite3";
    std::vector<double> bare;
    std::vector<double> recorded;
    const auto scanBare = [&] {
        BenchPanes panes(pages);
        tarnwick::ScanRun run(panes);
        const auto start = std::chrono::steady_clock::now();
        run.OnPlay();
        run.WaitForScanThread();
        bare.push_back(Seconds(start));
    };
    const auto scanRecorded = [&] {
        BenchPanes panes(pages);
        tarnwick::HistoryRecorder recorder(scanDb, tarnwick::kSourceCli, [](const std::string& m) {
            std::fprintf(stderr, "%s\n", m.c_str());
        });
        tarnwick::ScanRun run(panes);
        run.SetObserver(&recorder);
        const auto start = std::chrono::steady_clock::now();
        run.OnPlay();
        run.WaitForScanThread();
        recorder.Flush();  // counted: the run is recorded when it ends
        recorded.push_back(Seconds(start));
    };
    // Each order in turn, so a machine that slows down or speeds up during
    // the rounds weighs on both sides alike.
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2 == 0) {
            scanBare();
            scanRecorded();
        } else {
            scanRecorded();
            scanBare();
        }
    }
    const double ratio = Median(recorded) / Median(bare);
    std::printf("scan of %d pages: %.3f s without history, %.3f s recorded (medians of %d)\n",
                kScanPages, Median(bare), Median(recorded), kRounds);
    std::printf("recorded / bare: %.3f (target <= 1.05)\n", ratio);

    // 2. Size of a year.
    const std::string yearDb = folder + "/year.sqlite3";
    {
        tarnwick::HistoryDatabase db(yearDb);
        const std::int64_t start = 1'767'225'600;  // a Monday in 2026
        for (int week = 0; week < kYearRuns; ++week) {
            const std::int64_t t = start + week * 7 * 86400;
            db.Begin();
            const std::int64_t run = db.BeginRun("cli", t);
            for (int k = 0; k < kYearPages; ++k) {
                tarnwick::PageRecord r;
                r.m_strProfile = "www.partner-profile-" + std::to_string(k / 100) + ".example";
                r.m_strAdvertiser = "http://www.my-advertised-site.example/";
                r.m_strPage = "http://www.partner-site-" + std::to_string(k) +
                              ".example/links/our-friends.html";
                r.m_nRow = k;
                const bool lost = (k + week) % 17 == 0;
                r.m_strResult = lost ? "Link Not Found" : "Link Found";
                r.m_nChecked = t + k;
                r.m_reason =
                    lost ? "no link in 48213 bytes" : "link found 12 characters after href=";
                r.m_httpStatus = 200;
                r.m_finalUrl = r.m_strPage;
                r.m_rel = k % 5 == 0 ? "nofollow" : "";
                r.m_anchorText = "My advertised site, the best of its kind";
                r.m_noindex = false;
                r.m_robotsTxt = "allowed";
                r.m_elapsedMs = 180 + k % 90;
                r.m_verdict = lost ? "no link" : (k % 5 == 0 ? "nofollow" : "follow");
                db.AddResult(run, r);
                if (lost) {
                    db.AddLetter(run, {r.m_strAdvertiser, r.m_strPage,
                                       "webmaster@partner-site-" + std::to_string(k) + ".example",
                                       t + k, "sent"});
                }
            }
            db.EndRun(run, t + 3600, "completed");
            db.Commit();
        }
    }
    {
        tarnwick::HistoryDatabase db(yearDb);
        const auto start = std::chrono::steady_clock::now();
        const auto before = db.PagesBefore();
        const auto letters = db.LastLettersSent();
        std::printf("snapshot after a year: %.3f s (%zu pages, %zu letters)\n", Seconds(start),
                    before.size(), letters.size());
    }
    const double mb = static_cast<double>(FileSize(yearDb) + FileSize(yearDb + "-wal")) / 1e6;
    std::printf("a year of weekly runs of %d pages: %.1f MB (target well under 50 MB)\n",
                kYearPages, mb);

    std::filesystem::remove_all(folder);
    return ratio <= 1.05 && mb < 50 ? 0 : 1;
}
