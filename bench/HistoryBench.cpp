// The run history's cost.
//  1. Time: a serial scan of 10,000 small pages from a loopback HTTP server,
//     with and without the history recording it (target: at most 1.05x).
//     Five rounds each, alternating; medians compared.
//  2. Size: a year of weekly runs of 1,000 pages with every evidence field
//     filled and a letter for each lost page, written the way a run writes
//     them; the database file's size is printed (target: well under 50 MB),
//     and how long a run then waits at its start for what the earlier runs
//     knew of its pages.
//  3. Growth: 10,000 pages over 20 weekly runs in which nothing changes but
//     the moment of each check and its time: the bytes each unchanged page
//     adds to the file per run, with the write-ahead log checkpointed
//     (target: at most 40), against the bytes of a page's first record; and
//     how long `changes` and the look-back at the start of a run take after
//     20 runs against after 1 and 2 (target: within 1.2x of after 1 run).
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
#include "scan/ScanSession.h"

namespace {

constexpr int kScanPages = 10000;
constexpr int kRounds = 5;
constexpr int kYearPages = 1000;
constexpr int kYearRuns = 52;
constexpr int kGrowthPages = 10000;
constexpr int kGrowthRuns = 20;

using tarnwick::bench::BenchPanes;

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::uintmax_t fileSize(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

// A week's check of page k of the growth part, as a run records it.
tarnwick::PageRecord growthRecord(int k, std::int64_t started) {
    tarnwick::PageRecord r;
    r.m_profile = "www.partner-profile-" + std::to_string(k / 100) + ".example";
    r.m_advertiser = "http://www.my-advertised-site.example/";
    r.m_page = "http://www.partner-site-" + std::to_string(k) + ".example/links/our-friends.html";
    r.m_row = k;
    const bool missing = k % 50 == 0;
    r.m_result = missing ? tarnwick::LinkResult::NotFound : tarnwick::LinkResult::Found;
    r.m_checked = started + k / 20;
    r.m_reason = missing ? "no link to the advertiser"
                         : "link to http://www.my-advertised-site.example/ found";
    r.m_httpStatus = 200;
    r.m_finalUrl = r.m_page;
    r.m_rel = k % 5 == 0 ? "nofollow" : "";
    r.m_anchorText = missing ? "" : "My advertised site, the best of its kind";
    r.m_noindex = false;
    r.m_robotsTxt = "allowed";
    r.m_elapsedMs = 120 + (std::int64_t{k} * 7 + started / 604800) % 400;  // never the same twice
    r.m_verdict = missing ? "no link" : (k % 5 == 0 ? "nofollow" : "follow");
    r.m_findings = k % 5 == 0 && !missing ? "nofollow" : "";
    return r;
}

// Median time of a few calls of f.
template <class F>
double medianSeconds(F f) {
    std::vector<double> times;
    for (int k = 0; k < 5; ++k) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(seconds(start));
    }
    return median(times);
}

// 3. Growth; returns whether both targets are met.
bool growth(const std::string& folder) {
    const std::string path = folder + "/growth.sqlite3";
    const std::int64_t start = 1'767'225'600;
    std::vector<std::uintmax_t> sizes;
    for (int week = 0; week < kGrowthRuns; ++week) {
        const std::int64_t t = start + std::int64_t{week} * 7 * 86400;
        {
            // Closing the last connection checkpoints the write-ahead log
            // into the file and removes it: the size is the history's.
            tarnwick::HistoryDatabase db(path);
            db.begin();
            const std::int64_t run = db.beginRun("cli", t);
            for (int k = 0; k < kGrowthPages; ++k) {
                db.addResult(run, growthRecord(k, t));
            }
            db.endRun(run, t + 3600, "completed");
            db.commit();
        }
        sizes.push_back(fileSize(path));
        if (week < 2) {
            // Kept to be timed beside the last: the machine's load then
            // weighs on all three alike.
            std::filesystem::copy_file(path, path + "." + std::to_string(week + 1));
        }
    }
    const std::vector<std::string> timed = {path + ".1", path + ".2", path};
    std::vector<std::vector<double>> changeTimes(timed.size());
    std::vector<std::vector<double>> lookBackTimes(timed.size());
    for (int round = 0; round < 5; ++round) {
        for (size_t k = 0; k < timed.size(); ++k) {
            tarnwick::HistoryDatabase db(timed[k]);
            db.changesOf();  // read once, so that every file is in the cache
            const auto begun = std::chrono::steady_clock::now();
            db.changesOf();
            changeTimes[k].push_back(seconds(begun));
            // What the next run reads at its start.
            const auto looked = std::chrono::steady_clock::now();
            db.pagesBefore();
            lookBackTimes[k].push_back(seconds(looked));
        }
    }
    std::vector<double> changes;
    std::vector<double> lookBack;
    for (size_t k = 0; k < timed.size(); ++k) {
        changes.push_back(median(changeTimes[k]));
        lookBack.push_back(median(lookBackTimes[k]));
    }
    const double first = static_cast<double>(sizes[0]) / kGrowthPages;
    const double unchanged = static_cast<double>(sizes.back() - sizes[0]) /
                             (static_cast<double>(kGrowthRuns - 1) * kGrowthPages);
    std::printf("%d pages over %d runs: %.2f MB; first run %.0f bytes a page\n", kGrowthPages,
                kGrowthRuns, static_cast<double>(sizes.back()) / 1e6, first);
    std::printf("bytes per unchanged page per run: %.1f (target <= 40); / first record: %.3f\n",
                unchanged, unchanged / first);
    const double ratio = changes[2] / changes[0];
    std::printf("changes after 1, 2 and %d runs: %.4f s, %.4f s, %.4f s\n", kGrowthRuns, changes[0],
                changes[1], changes[2]);
    std::printf("changes after %d runs / after 1: %.2f (target <= 1.2); / after 2: %.2f\n",
                kGrowthRuns, ratio, changes[2] / changes[1]);
    std::printf(
        "look-back of the run after 1, 2 and %d runs: %.4f s, %.4f s, %.4f s;"
        " after %d / after 1: %.2f\n",
        kGrowthRuns, lookBack[0], lookBack[1], lookBack[2], kGrowthRuns, lookBack[2] / lookBack[0]);
    return unchanged <= 40 && ratio <= 1.2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = "/tmp/tarnwick-history-bench-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    // --growth: the growth part alone (it needs no page server).
    if (argc > 1 && std::string(argv[1]) == "--growth") {
        const bool met = growth(folder);
        std::filesystem::remove_all(folder);
        return met ? 0 : 1;
    }

    // 1. Time.
    tarnwick::test::PageServer server(false, false);
    std::string page = "<html><head><title>Partner</title></head><body>";
    for (int k = 0; k < 40; ++k) {
        page += "<p>Lorem ipsum dolor sit amet, <a href=\"/other/\">consectetur</a></p>\n";
    }
    page += "<a href=\"http://www.example.com/\">Example</a></body></html>";
    server.addFile("p.html", page);
    std::vector<std::string> pages;
    pages.reserve(kScanPages);
    for (int k = 0; k < kScanPages; ++k) {
        // One file, many addresses: the server ignores the query.
        pages.push_back(server.http("/files/p.html?k=" + std::to_string(k)));
    }
    const std::string scanDb = folder + "/scan.sqlite3";
    std::vector<double> bare;
    std::vector<double> recorded;
    const auto scanBare = [&] {
        BenchPanes panes(pages);
        tarnwick::bench::BenchSession run(panes);
        const auto start = std::chrono::steady_clock::now();
        run.onPlay();
        run.waitForScanThread();
        bare.push_back(seconds(start));
    };
    const auto scanRecorded = [&] {
        BenchPanes panes(pages);
        tarnwick::HistoryRecorder recorder(scanDb, tarnwick::kSourceCli, [](const std::string& m) {
            std::fprintf(stderr, "%s\n", m.c_str());
        });
        tarnwick::bench::BenchSession run(panes);
        run.setHistory(&recorder);
        const auto start = std::chrono::steady_clock::now();
        run.onPlay();
        run.waitForScanThread();
        recorder.flush();  // counted: the run is recorded when it ends
        recorded.push_back(seconds(start));
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
    const double ratio = median(recorded) / median(bare);
    std::printf("scan of %d pages: %.3f s without history, %.3f s recorded (medians of %d)\n",
                kScanPages, median(bare), median(recorded), kRounds);
    std::printf("recorded / bare: %.3f (target <= 1.05)\n", ratio);

    // 2. Size of a year.
    const std::string yearDb = folder + "/year.sqlite3";
    {
        tarnwick::HistoryDatabase db(yearDb);
        const std::int64_t start = 1'767'225'600;  // a Monday in 2026
        for (int week = 0; week < kYearRuns; ++week) {
            const std::int64_t t = start + std::int64_t{week} * 7 * 86400;
            db.begin();
            const std::int64_t run = db.beginRun("cli", t);
            for (int k = 0; k < kYearPages; ++k) {
                tarnwick::PageRecord r;
                r.m_profile = "www.partner-profile-" + std::to_string(k / 100) + ".example";
                r.m_advertiser = "http://www.my-advertised-site.example/";
                r.m_page = "http://www.partner-site-" + std::to_string(k) +
                           ".example/links/our-friends.html";
                r.m_row = k;
                const bool lost = (k + week) % 17 == 0;
                r.m_result = lost ? tarnwick::LinkResult::NotFound : tarnwick::LinkResult::Found;
                r.m_checked = t + k;
                r.m_reason =
                    lost ? "no link in 48213 bytes" : "link found 12 characters after href=";
                r.m_httpStatus = 200;
                r.m_finalUrl = r.m_page;
                r.m_rel = k % 5 == 0 ? "nofollow" : "";
                r.m_anchorText = "My advertised site, the best of its kind";
                r.m_noindex = false;
                r.m_robotsTxt = "allowed";
                r.m_elapsedMs = 180 + k % 90;
                r.m_verdict = lost ? "no link" : (k % 5 == 0 ? "nofollow" : "follow");
                db.addResult(run, r);
                if (lost) {
                    db.addLetter(run, {r.m_advertiser, r.m_page,
                                       "webmaster@partner-site-" + std::to_string(k) + ".example",
                                       t + k, "sent"});
                }
            }
            db.endRun(run, t + 3600, "completed");
            db.commit();
        }
    }
    {
        tarnwick::HistoryDatabase db(yearDb);
        const auto start = std::chrono::steady_clock::now();
        const auto before = db.pagesBefore();
        const auto letters = db.lastLettersSent();
        std::printf("snapshot after a year: %.3f s (%zu pages, %zu letters)\n", seconds(start),
                    before.size(), letters.size());
    }
    const double mb = static_cast<double>(fileSize(yearDb) + fileSize(yearDb + "-wal")) / 1e6;
    std::printf("a year of weekly runs of %d pages: %.1f MB (target well under 50 MB)\n",
                kYearPages, mb);

    const bool growthMet = growth(folder);
    std::filesystem::remove_all(folder);
    return ratio <= 1.05 && mb < 50 && growthMet ? 0 : 1;
}
