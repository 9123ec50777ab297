// The history database on real files: migration from the first schema,
// refusal of what it cannot read, runs, changes, timelines and pruning.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>

#include "history/EarlierPages.h"
#include "history/EvidenceRecord.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryDump.h"
#include "history/HistoryError.h"
#include "history/PageTransition.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

// A database as the first released schema (version 1) left it, with one
// completed run of two pages and one letter.
const char kVersion1[] =
    "CREATE TABLE runs(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, ended INTEGER,"
    " source TEXT NOT NULL, outcome TEXT);"
    "CREATE TABLE pages(id INTEGER PRIMARY KEY, advertiser TEXT NOT NULL, page TEXT NOT NULL,"
    " UNIQUE(advertiser, page));"
    "CREATE TABLE results(run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    " page_id INTEGER NOT NULL REFERENCES pages(id), profile TEXT NOT NULL,"
    " row INTEGER NOT NULL, result TEXT NOT NULL, checked INTEGER NOT NULL);"
    "CREATE TABLE letters(id INTEGER PRIMARY KEY,"
    " run_id INTEGER REFERENCES runs(id) ON DELETE CASCADE,"
    " page_id INTEGER NOT NULL REFERENCES pages(id), recipient TEXT NOT NULL,"
    " sent INTEGER NOT NULL, outcome TEXT NOT NULL);"
    "INSERT INTO runs VALUES(1, 1000, 1060, 'desktop', 'completed');"
    "INSERT INTO pages VALUES(1, 'www.a.com', 'http://p1/'), (2, 'www.a.com', 'http://p2/');"
    "INSERT INTO results VALUES(1, 1, 'www.a', 0, 'Link Found', 1010),"
    " (1, 2, 'www.a', 1, 'Link Not Found', 1020);"
    "INSERT INTO letters VALUES(1, 1, 2, 'w@p2.com', 1030, 'sent');"
    "PRAGMA user_version=1;";

void execRaw(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

PageRecord record(const std::string& page, const std::string& result, int row,
                  const std::string& profile = "www.a") {
    PageRecord r;
    r.m_profile = profile;
    r.m_advertiser = "www.a.com";
    r.m_page = page;
    r.m_row = row;
    r.m_result = test::linkResultOf(result);
    r.m_checked = 5000 + row;
    return r;
}

class HistoryDatabaseTest : public ::testing::Test {
protected:
    test::TempDataFolder m_folder;
    std::string m_path = HistoryDatabase::pathIn(m_folder.folder().folder());
};

// A run that did not complete (stopped, or its program killed) counts the
// pages of the run before it that it never reached: "no change" alone
// would hide them.
TEST_F(HistoryDatabaseTest, ARunThatDidNotFinishCountsThePagesItNeverReached) {
    HistoryDatabase db(m_path);
    const std::int64_t first = db.beginRun("cli", 1000);
    for (int row = 0; row < 4; ++row) {
        db.addResult(first, record("http://p" + std::to_string(row) + "/", "Link Found", row));
    }
    db.endRun(first, 1100, "completed");
    const struct {
        const char* outcome;  // nullptr: the program ended mid-run
        int pages;
        int notChecked;
    } cases[] = {{nullptr, 1, 3}, {"stopped", 3, 1}, {"completed", 4, 0}};
    std::int64_t started = 2000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outcome != nullptr ? c.outcome : "cut off");
        const std::int64_t run = db.beginRun("cli", started += 1000);
        for (int row = 0; row < c.pages; ++row) {
            db.addResult(run, record("http://p" + std::to_string(row) + "/", "Link Found", row));
        }
        if (c.outcome != nullptr) {
            db.endRun(run, started + 10, c.outcome);
        }
        const RunChanges changes = db.changesOf();
        EXPECT_EQ(changes.m_runId, run);
        EXPECT_EQ(changes.m_outcome, c.outcome != nullptr ? c.outcome : "");
        EXPECT_EQ(changes.m_notChecked, c.notChecked);
        EXPECT_FALSE(changes.m_counts.anyChange());
    }
}

TEST_F(HistoryDatabaseTest, VersionOneIsMigratedAndKeepsItsRecords) {
    execRaw(m_path, kVersion1);
    HistoryDatabase db(m_path);
    EXPECT_EQ(db.schemaVersion(), kHistorySchemaVersion);

    const std::vector<RunInfo> runs = db.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].m_started, 1000);
    EXPECT_EQ(runs[0].m_ended, 1060);
    EXPECT_EQ(runs[0].m_source, "desktop");
    EXPECT_EQ(runs[0].m_outcome, "completed");
    EXPECT_EQ(runs[0].m_counts, (ResultCounts{1, 1, 0, 0}));

    // The old rows have no evidence; new rows carry it.
    const std::vector<PageRecord> old = db.resultsOf(1);
    ASSERT_EQ(old.size(), 2u);
    EXPECT_FALSE(old[0].m_reason.has_value());
    EXPECT_FALSE(old[0].m_httpStatus.has_value());
    EXPECT_FALSE(old[0].m_findings.has_value());

    const std::int64_t run = db.beginRun("cli", 2000);
    PageRecord restored = record("http://p2/", "Link Found", 1);
    restored.m_reason = "HTTP 200";
    restored.m_httpStatus = 200;
    restored.m_noindex = false;
    restored.m_verdict = "follow";
    restored.m_findings = "";
    db.addResult(run, restored);
    db.addResult(run, record("http://p1/", "Link Not Found", 0));
    db.endRun(run, 2100, "completed");
    const std::vector<PageRecord> now = db.resultsOf(run);
    ASSERT_EQ(now.size(), 2u);
    EXPECT_EQ(now[1].m_reason, "HTTP 200");
    EXPECT_EQ(now[1].m_httpStatus, 200);
    EXPECT_EQ(now[1].m_noindex, false);
    EXPECT_EQ(now[1].m_findings, "");

    const RunChanges changes = db.changesOf();
    EXPECT_EQ(changes.m_runId, run);
    EXPECT_EQ(changes.m_previousId, 1);
    ASSERT_EQ(changes.m_changes.size(), 2u);
    EXPECT_EQ(changes.m_changes[0].m_transition, Transition::Lost);
    EXPECT_EQ(changes.m_changes[1].m_transition, Transition::Restored);
    EXPECT_EQ(changeSummary(changes.m_counts), "1 link lost, 1 restored since the last run");

    // The letter of version 1 still counts for the quiet days.
    const auto letters = db.lastLettersSent();
    EXPECT_EQ(letters.at({{"www.a.com", "http://p2/"}, "w@p2.com"}), 1030);
}

// A copy of a real history of schema 4 (six runs of tarnwick-cli: links lost,
// restored and changed in quality, a stopped run, letters sent and held back,
// a page in two profiles) is converted in place and answers every query as
// the program of schema 4 answered it (history-v4.txt); what runs add later
// is kept compactly and read back the same.
TEST_F(HistoryDatabaseTest, ARealHistoryOfTheLastSchemaAnswersAsBeforeOnceMigrated) {
    const std::string fixture = TARNWICK_HISTORY_DATA "/history-v4.sqlite3";
    test::writeBytes(m_path, test::readBytes(fixture));
    const std::string before = test::readBytes(TARNWICK_HISTORY_DATA "/history-v4.txt");
    ASSERT_FALSE(before.empty());
    {
        HistoryDatabase db(m_path);
        EXPECT_EQ(db.schemaVersion(), kHistorySchemaVersion);
        EXPECT_EQ(test::dumpHistory(db), before);
    }
    HistoryDatabase db(m_path);
    EXPECT_EQ(test::dumpHistory(db), before);

    // A seventh run checks the same pages again, finding the same as the
    // sixth: each check reuses its page's state, and the answers are those
    // of an unchanged run.
    const std::vector<PageRecord> last = db.resultsOf(db.changesOf().m_runId);
    ASSERT_FALSE(last.empty());
    db.begin();
    const std::int64_t run =
        db.beginRun(kSourceCli, last.front().m_checked + std::int64_t{7} * 86400);
    std::vector<PageRecord> again = last;
    for (PageRecord& r : again) {
        r.m_checked += std::int64_t{7} * 86400;
        r.m_elapsedMs = 10 + r.m_row;
        db.addResult(run, r);
    }
    db.endRun(run, again.back().m_checked + 5, kOutcomeCompleted);
    db.commit();
    const std::vector<PageRecord> read = db.resultsOf(run);
    ASSERT_EQ(read.size(), again.size());
    for (size_t k = 0; k < read.size(); ++k) {
        EXPECT_EQ(read[k].m_checked, again[k].m_checked) << k;
        EXPECT_EQ(read[k].m_elapsedMs, again[k].m_elapsedMs) << k;
        EXPECT_EQ(read[k].m_findings, again[k].m_findings) << k;
        EXPECT_EQ(read[k].m_anchorText, again[k].m_anchorText) << k;
    }
    const RunChanges changes = db.changesOf();
    EXPECT_EQ(changes.m_runId, run);
    EXPECT_EQ(changes.m_counts.m_unchanged, static_cast<int>(again.size()));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw,
                                 "SELECT (SELECT COUNT(*) FROM states),"
                                 " (SELECT COUNT(DISTINCT state_id) FROM checks WHERE run_id < ?)",
                                 -1, &st, nullptr),
              SQLITE_OK);
    sqlite3_bind_int64(st, 1, run);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1)) << "a state was added";
    sqlite3_finalize(st);
    sqlite3_close(raw);
}

// A migration that fails half-way leaves the file as the older program left
// it, still of its schema with every record, and the next open tries again.
TEST_F(HistoryDatabaseTest, AFailedMigrationLeavesTheOldFileUsable) {
    test::writeBytes(m_path, test::readBytes(TARNWICK_HISTORY_DATA "/history-v4.sqlite3"));
    // A table in the way of the migration's second step.
    execRaw(m_path, "CREATE TABLE checks(x)");
    EXPECT_THROW(HistoryDatabase db(m_path), HistoryError);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw,
                                 "SELECT (SELECT user_version FROM pragma_user_version),"
                                 " (SELECT COUNT(*) FROM results),"
                                 " (SELECT COUNT(*) FROM sqlite_master WHERE name = 'states')",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 4);
    EXPECT_EQ(sqlite3_column_int(st, 1), 42);
    EXPECT_EQ(sqlite3_column_int(st, 2), 0);
    sqlite3_finalize(st);
    sqlite3_close(raw);

    execRaw(m_path, "DROP TABLE checks");
    HistoryDatabase db(m_path);
    EXPECT_EQ(test::dumpHistory(db), test::readBytes(TARNWICK_HISTORY_DATA "/history-v4.txt"));
}

TEST_F(HistoryDatabaseTest, WhatItCannotUseIsRefusedAndLeftAsItIs) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"not a database", std::string(4096, 'x')},
        {"truncated header", std::string("SQLite format 3\0", 16) + std::string(50, '\1')},
    };
    for (const auto& [name, bytes] : cases) {
        test::writeBytes(m_path, bytes);
        EXPECT_THROW(HistoryDatabase db(m_path), HistoryError) << name;
        EXPECT_EQ(test::readBytes(m_path), bytes) << name;
    }
    // A newer schema than this program knows.
    std::remove(m_path.c_str());
    execRaw(m_path, "CREATE TABLE future(x); PRAGMA user_version=99;");
    try {
        HistoryDatabase db(m_path);
        ADD_FAILURE() << "a newer schema was opened";
    } catch (const HistoryError& e) {
        EXPECT_NE(std::string(e.what()).find("newer"), std::string::npos) << e.what();
    }
    // Not created when asked not to.
    const std::string missing = m_folder.root() + "/none.sqlite3";
    EXPECT_THROW(HistoryDatabase db(missing, false), HistoryError);
    EXPECT_FALSE(test::exists(missing));
}

TEST_F(HistoryDatabaseTest, StreaksTimelinesProfilesAndPruning) {
    HistoryDatabase db(m_path);
    // Four runs of one page: found, missing, unreadable, missing.
    const char* results[] = {"Link Found", "Page Cannot be Found", "Page cannot be displayed",
                             "Link Not Found"};
    std::int64_t ids[4];
    for (int i = 0; i < 4; ++i) {
        ids[i] = db.beginRun("desktop", std::int64_t{1000} * (i + 1));
        PageRecord r = record("http://p/", results[i], 0);
        r.m_checked = 1000 * (i + 1) + 1;
        db.addResult(ids[i], r);
        db.addResult(ids[i], record("http://q/", "Link Found", 1, "www.b"));
        db.endRun(ids[i], 1000 * (i + 1) + 50, i == 3 ? "stopped" : "completed");
    }
    db.addLetter(ids[1], {"www.a.com", "http://p/", "w@p.com", 2002, "sent"});
    db.addLetter(ids[3], {"www.a.com", "http://p/", "w@p.com", 4002, "Not mailed: quiet"});

    const auto before = db.pagesBefore();
    const PageBefore& p = before.at({"www.a.com", "http://p/"});
    EXPECT_EQ(resultWord(p.m_result), "Link Not Found");
    EXPECT_EQ(p.m_missingStreak, 2);  // the unreadable run is passed over
    // Before the last run, the unreadable run says nothing: the missing one counts.
    EXPECT_EQ(resultWord(db.pagesBefore(ids[3]).at({"www.a.com", "http://p/"}).m_result),
              "Page Cannot be Found");
    EXPECT_EQ(db.changesOf().m_changes[0].m_transition, Transition::Unchanged);

    // Only letters that went out count as sent.
    EXPECT_EQ(db.lastLettersSent().at({{"www.a.com", "http://p/"}, "w@p.com"}), 2002);

    const std::vector<TimelineEntry> timeline = db.timeline({"www.a.com", "http://p/"});
    std::vector<std::string> texts;
    for (const TimelineEntry& e : timeline) {
        texts.push_back((e.m_letter ? "letter " : "") + e.m_text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Link Found", "Page Cannot be Found", "letter sent",
                                               "Page cannot be displayed", "Link Not Found",
                                               "letter Not mailed: quiet"}));

    EXPECT_EQ(db.profiles(), (std::vector<std::string>{"www.a", "www.b"}));
    const auto counts = db.countsOfProfile("www.a");
    ASSERT_EQ(counts.size(), 4u);
    EXPECT_EQ(counts[1].m_counts, (ResultCounts{0, 0, 1, 0}));
    EXPECT_EQ(counts[2].m_counts, (ResultCounts{0, 0, 0, 1}));
    EXPECT_EQ(db.pagesOfProfile("www.b"), (std::vector<PageKey>{{"www.a.com", "http://q/"}}));

    // Each page's newest result, as the window shows it at start.
    const auto last = db.lastResults();
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(resultWord(last.at({"www.a.com", "http://p/"}).m_result), "Link Not Found");
    EXPECT_EQ(last.at({"www.a.com", "http://p/"}).m_checked, 4001);
    EXPECT_EQ(last.at({"www.a.com", "http://q/"}).m_profile, "www.b");

    // Runs started before 3000 go, with their results and letters.
    EXPECT_EQ(db.pruneBefore(3000), 2);
    const std::vector<RunInfo> runs = db.runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].m_id, ids[2]);
    EXPECT_EQ(runs[1].m_outcome, "stopped");
    EXPECT_TRUE(db.lastLettersSent().empty());
    EXPECT_EQ(db.timeline({"www.a.com", "http://p/"}).size(), 3u);
}

// The missing streak counts rounds, not runs: a run stopped before its end
// and the run played after it on the same day are one round, whether the
// page was checked in the first part, the second or both; a page the stopped
// run never reached resets nothing. The new run's own round is not counted
// (the letter rules add it).
TEST_F(HistoryDatabaseTest, AStoppedRunAndItsRestartAreOneRound) {
    constexpr std::int64_t kHour = 3600;
    constexpr std::int64_t kWeek = std::int64_t{7} * 24 * kHour;
    struct Run {
        std::int64_t started = 0;
        const char* outcome = "";      // "" for a run cut off with its program
        const char* result = nullptr;  // nullptr: the run did not reach the page
    };
    const char* const kMissing = "Link Not Found";
    const char* const kGone = "Page Cannot be Found";
    const char* const kFound = "Link Found";
    const struct {
        const char* name;
        std::vector<Run> runs;  // the last one is the new run, without a result yet
        int streak;
    } cases[] = {
        {"weekly runs", {{0, "completed", kMissing}, {kWeek, "completed", kGone}, {2 * kWeek}}, 2},
        {"the restart of the stopped run it continues",
         {{0, "completed", kMissing}, {kWeek, "stopped", kMissing}, {kWeek + 34}},
         1},
        {"a stopped run cut off with its program",
         {{0, "completed", kMissing}, {kWeek, "", kMissing}, {kWeek + kHour}},
         1},
        {"stopped twice, then the round ends",
         {{0, "stopped", kMissing},
          {60, "stopped", kMissing},
          {120, "completed", kMissing},
          {kWeek}},
         1},
        {"a stop that never reached the page",
         {{0, "completed", kMissing}, {kWeek, "stopped", nullptr}, {kWeek + 60}},
         1},
        {"taken up a day later: a round of its own",
         {{0, "completed", kMissing}, {kWeek, "stopped", kMissing}, {kWeek + 25 * kHour}},
         2},
        {"found in the stopped part of this round",
         {{0, "completed", kMissing}, {kWeek, "stopped", kFound}, {kWeek + 60}},
         0},
        {"a completed run the same day is a round",
         {{0, "completed", kMissing}, {kHour, "completed", kMissing}, {2 * kHour}},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::remove((m_path + suffix).c_str());
        }
        HistoryDatabase db(m_path);
        std::int64_t id = 0;
        for (size_t i = 0; i < c.runs.size(); ++i) {
            const Run& run = c.runs[i];
            id = db.beginRun("desktop", 1'000'000 + run.started);
            if (i + 1 == c.runs.size()) {
                break;
            }
            if (run.result != nullptr) {
                db.addResult(id, record("http://p/", run.result, 0));
            }
            if (*run.outcome != '\0') {
                db.endRun(id, 1'000'000 + run.started + 30, run.outcome);
            }
        }
        const auto before = db.pagesBefore(id);
        const auto page = before.find({"www.a.com", "http://p/"});
        ASSERT_NE(page, before.end());
        EXPECT_EQ(page->second.m_missingStreak, c.streak);
    }
}

TEST_F(HistoryDatabaseTest, EvidenceIsKeptAndAVerdictChangeIsAQualityChange) {
    PageEvidence follow;
    follow.m_checked = true;
    follow.m_httpStatus = 200;
    follow.m_finalUrl = "http://p/final";
    follow.m_anchorFound = true;
    follow.m_href = "http://www.a.com/";
    follow.m_anchorText = "our site";
    follow.m_robotsAll = RobotsVerdict::Allowed;
    follow.m_robotsGooglebot = RobotsVerdict::Allowed;
    follow.m_elapsedMs = 42;
    PageEvidence nofollow = follow;
    nofollow.m_rel = "nofollow";

    HistoryDatabase db(m_path);
    for (const PageEvidence* evidence : {&follow, &nofollow}) {
        const std::int64_t run = db.beginRun("cli", 1000);
        PageRecord r = record("http://p/", "Link Found", 0);
        addEvidence(r, *evidence);
        db.addResult(run, r);
        PageRecord bare = record("http://q/", "Link Found", 1);
        addEvidence(bare, PageEvidence());  // not checked: nothing recorded
        db.addResult(run, bare);
    }
    const std::vector<PageRecord> kept = db.resultsOf(2);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].m_httpStatus, 200);
    EXPECT_EQ(kept[0].m_finalUrl, "http://p/final");
    EXPECT_EQ(kept[0].m_rel, "nofollow");
    EXPECT_EQ(kept[0].m_anchorText, "our site");
    EXPECT_EQ(kept[0].m_noindex, false);
    EXPECT_EQ(kept[0].m_robotsTxt, "allowed");
    EXPECT_EQ(kept[0].m_elapsedMs, 42);
    EXPECT_EQ(kept[0].m_verdict, "nofollow");
    EXPECT_FALSE(kept[1].m_verdict.has_value());
    EXPECT_FALSE(kept[1].m_finalUrl.has_value());

    const RunChanges changes = db.changesOf();
    EXPECT_EQ(changes.m_changes[0].m_transition, Transition::QualityChanged);
    EXPECT_EQ(changes.m_changes[0].m_fromVerdict, "follow");
    EXPECT_EQ(changes.m_changes[0].m_toVerdict, "nofollow");
    EXPECT_EQ(changes.m_changes[1].m_transition, Transition::Unchanged);
    EXPECT_EQ(changeSummary(changes.m_counts), "1 link changed in quality since the last run");
}

// A finding that comes or goes under the same verdict (a link farm beside a
// nofollow) is a change in quality too; runs recorded before findings were
// kept compare by their verdicts alone.
TEST_F(HistoryDatabaseTest, AFindingThatComesOrGoesIsAQualityChange) {
    PageEvidence nofollow;
    nofollow.m_checked = true;
    nofollow.m_httpStatus = 200;
    nofollow.m_anchorFound = true;
    nofollow.m_rel = "nofollow";
    nofollow.m_linkFarmLinks = 100;
    nofollow.m_outboundLinks = 20;
    PageEvidence farm = nofollow;
    farm.m_outboundLinks = 340;
    PageEvidence canonical = nofollow;
    canonical.m_canonicalElsewhere = true;
    canonical.m_canonical = "http://p/";

    HistoryDatabase db(m_path);
    const std::vector<std::pair<const PageEvidence*, Transition>> runs = {
        {&nofollow, Transition::New},
        {&farm, Transition::QualityChanged},       // appears
        {&farm, Transition::Unchanged},            // stays
        {&nofollow, Transition::QualityChanged},   // goes
        {&canonical, Transition::QualityChanged},  // the verdict too
    };
    for (const auto& [evidence, expected] : runs) {
        const std::int64_t run = db.beginRun("cli", 1000);
        PageRecord r = record("http://p/", "Link Found", 0);
        addEvidence(r, *evidence);
        db.addResult(run, r);
        const RunChanges changes = db.changesOf(run);
        ASSERT_EQ(changes.m_changes.size(), 1u);
        EXPECT_EQ(changes.m_changes[0].m_transition, expected);
        EXPECT_EQ(changes.m_changes[0].m_toFindings, findingsText(*evidence));
    }
    EXPECT_EQ(db.resultsOf(2)[0].m_findings, "nofollow\nlink farm: 340 links");
    EXPECT_EQ(db.resultsOf(2)[0].m_verdict, "nofollow");
    EXPECT_EQ(db.resultsOf(5)[0].m_verdict, "canonical \xE2\x86\x92 http://p/");

    PageBefore unrecorded{LinkResult::Found, "nofollow", 0, std::nullopt};
    EXPECT_EQ(
        transitionOf(unrecorded, LinkResult::Found, "nofollow", "nofollow\nlink farm: 340 links"),
        Transition::Unchanged);
}

// The compact look-back a run holds: each page reads back its own state and
// streak, pages that share a state share it, the split between advertiser
// and address counts, and a page never recorded is not found.
TEST(EarlierPagesTest, EachPageReadsBackWhatWasAddedForIt) {
    EarlierPages pages;
    EXPECT_TRUE(pages.empty());
    std::map<PageKey, PageBefore> added;
    for (int k = 0; k < 500; ++k) {
        PageBefore before;
        before.m_result = k % 3 == 0 ? LinkResult::NotFound : LinkResult::Found;
        if (k % 7 != 0) {
            before.m_verdict = k % 2 == 0 ? "follow" : "nofollow";
        }
        if (k % 11 == 0) {
            before.m_findings = "hidden by CSS\nnofollow";
        }
        before.m_missingStreak = k % 3 == 0 ? k % 5 + 1 : 0;
        const PageKey key{"www.a" + std::to_string(k % 4) + ".com",
                          "http://p" + std::to_string(k) + "/"};
        pages.add(key.first, key.second, before);
        added[key] = before;
    }
    pages.add("ab", "c", PageBefore{LinkResult::Found, "follow", 0, std::nullopt});
    pages.seal();
    EXPECT_EQ(pages.size(), 501u);
    for (const auto& [key, before] : added) {
        const std::optional<PageBefore> found = pages.find(key.first, key.second);
        ASSERT_TRUE(found.has_value()) << key.second;
        EXPECT_EQ(found->m_result, before.m_result) << key.second;
        EXPECT_EQ(found->m_verdict, before.m_verdict) << key.second;
        EXPECT_EQ(found->m_findings, before.m_findings) << key.second;
        EXPECT_EQ(found->m_missingStreak, before.m_missingStreak) << key.second;
    }
    EXPECT_TRUE(pages.find("ab", "c").has_value());
    EXPECT_FALSE(pages.find("a", "bc").has_value());
    EXPECT_FALSE(pages.find("www.a0.com", "http://p1/").has_value());  // p1 is www.a1.com's
    EXPECT_FALSE(EarlierPages().find("ab", "c").has_value());
}

TEST(PageTransitionTest, TransitionsAndSummaries) {
    struct Case {
        std::optional<std::string> before;
        std::optional<std::string> beforeVerdict;
        std::string now;
        std::optional<std::string> verdict;
        Transition expected;
    };
    const std::vector<Case> cases = {
        {std::nullopt, std::nullopt, "Link Found", std::nullopt, Transition::New},
        {std::nullopt, std::nullopt, "Link Not Found", std::nullopt, Transition::New},
        {"Page cannot be displayed", std::nullopt, "Link Found", std::nullopt, Transition::New},
        {"Link Found", std::nullopt, "Link Not Found", std::nullopt, Transition::Lost},
        {"Link Found", std::nullopt, "Page Cannot be Found", std::nullopt, Transition::Lost},
        {"Link Not Found", std::nullopt, "Link Found", std::nullopt, Transition::Restored},
        {"Page Cannot be Found", std::nullopt, "Link Found", std::nullopt, Transition::Restored},
        {"Link Found", "follow", "Link Found", "nofollow", Transition::QualityChanged},
        {"Link Found", "noindex", "Link Found", "follow", Transition::QualityChanged},
        {"Link Found", std::nullopt, "Link Found", "nofollow", Transition::Unchanged},
        {"Link Found", "follow", "Link Found", "follow", Transition::Unchanged},
        {"Link Not Found", std::nullopt, "Page Cannot be Found", std::nullopt,
         Transition::Unchanged},
        {"Link Found", std::nullopt, "Page cannot be displayed", std::nullopt,
         Transition::Unchanged},
    };
    for (const Case& c : cases) {
        std::optional<PageBefore> before;
        if (c.before) {
            before = PageBefore{test::linkResultOf(*c.before), c.beforeVerdict, 0, std::nullopt};
        }
        EXPECT_EQ(transitionOf(before, test::linkResultOf(c.now), c.verdict), c.expected)
            << c.before.value_or("none") << " -> " << c.now;
    }
    EXPECT_EQ(transitionCellText(Transition::QualityChanged), "Quality changed");

    TransitionCounts counts;
    EXPECT_EQ(changeSummary(counts), "No change since the last run");
    counts.m_new = 4;
    counts.m_unchanged = 7;
    EXPECT_EQ(changeSummary(counts), "No change since the last run");
    EXPECT_FALSE(counts.anyChange());
    counts.m_lost = 3;
    counts.m_restored = 1;
    EXPECT_EQ(changeSummary(counts), "3 links lost, 1 restored since the last run");
    counts = {};
    counts.m_restored = 2;
    counts.m_qualityChanged = 1;
    EXPECT_EQ(changeSummary(counts), "2 links restored, 1 changed in quality since the last run");
    EXPECT_TRUE(counts.anyChange());
}

}  // namespace
}  // namespace tarnwick
