// history.sqlite3 in the data folder: every run, every checked page of a run
// and every webmaster letter, kept across runs. The profile files stay the
// source of the profiles; this only records.
//
// The schema's version is PRAGMA user_version; opening a database of an
// older version migrates it in one transaction, one of a newer version is
// refused (left as it is). The database runs in WAL mode, so readers (the
// History window, tarnwick-cli history) never wait for the writer.
//
// One object is one connection; use it from one thread at a time. Every
// failure throws HistoryError.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/LetterRecord.h"
#include "history/PageRecord.h"
#include "history/PageTransition.h"
#include "history/RunInfo.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tarnwick {

inline constexpr char kHistoryFileName[] = "history.sqlite3";
inline constexpr int kHistorySchemaVersion = 5;

// A page is the pair (advertiser's site, publisher's site).
using PageKey = std::pair<std::string, std::string>;

struct PageChange {
    std::string m_profile;
    std::string m_advertiser;
    std::string m_page;
    std::string m_from;  // "" for a new page
    std::string m_to;
    std::optional<std::string> m_fromVerdict;
    std::optional<std::string> m_toVerdict;
    std::optional<std::string> m_fromFindings;  // one per line
    std::optional<std::string> m_toFindings;
    Transition m_transition = Transition::Unchanged;
};

struct RunChanges {
    std::int64_t m_runId = 0;           // 0: no run recorded
    std::int64_t m_previousId = 0;      // the run before it; 0 when none
    std::vector<PageChange> m_changes;  // every page of the run, in row order
    TransitionCounts m_counts;
    // The run's outcome (kOutcomeCompleted, ...; "" when its program ended
    // mid-run) and, when it did not complete, the pages of the run before it
    // that it never reached.
    std::string m_outcome;
    int m_notChecked = 0;
    // When the runs between the previous run and this one started that
    // reached no page (kOutcomeOffline): the weeks that went unchecked.
    std::vector<std::int64_t> m_offlineStarts;
};

// One entry of a page's timeline: a result or a letter.
struct TimelineEntry {
    std::int64_t m_time = 0;
    std::int64_t m_runId = 0;
    bool m_letter = false;
    std::string m_text;    // result word, or the letter's outcome
    std::string m_detail;  // reason / verdict of a result; recipient of a letter
};

struct ProfileRunCounts {
    std::int64_t m_runId = 0;
    std::int64_t m_started = 0;
    ResultCounts m_counts;
};

class HistoryDatabase {
public:
    // Opens (creating it when create is set) and migrates. Throws HistoryError.
    // busyWaitMs: how long a statement waits for another program's lock
    // before it fails; a window reading the history waits less than a run.
    explicit HistoryDatabase(const std::string& path, bool create = true, int busyWaitMs = 2000);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    static std::string pathIn(const std::string& dataFolder);

    int schemaVersion();

    // Writing. Begin/Commit group writes into one transaction.
    void begin();
    void commit();
    void rollback() noexcept;
    std::int64_t beginRun(const std::string& source, std::int64_t started);
    void endRun(std::int64_t runId, std::int64_t ended, const std::string& outcome);
    // Drops the results of a run (an offline run is compared with nothing).
    void forgetResults(std::int64_t runId);
    void addResult(std::int64_t runId, const PageRecord& record);
    // Returns the letter's row id.
    std::int64_t addLetter(std::int64_t runId, const LetterRecord& letter);
    // The end of a letter recorded as kLetterSending: its time and outcome.
    // False when the row is no longer "sending" (or gone).
    bool completeLetter(std::int64_t letterId, std::int64_t time, const std::string& outcome);
    // Removes the runs started before time, with their results and letters,
    // and the pages no run mentions any more. Returns the number of runs.
    int pruneBefore(std::int64_t time);

    // Reading.
    std::vector<RunInfo> runs();
    // What the runs before runId knew of every page (all runs when runId is 0).
    // The missing streak counts rounds: a stopped run and the run played
    // after it are one, and runId's own round is not counted.
    std::map<PageKey, PageBefore> pagesBefore(std::int64_t runId = 0);
    // The same, page by page, without holding them all.
    void eachPageBefore(std::int64_t runId,
                        const std::function<void(const PageKey&, const PageBefore&)>& visit);
    // Time of the last letter sent per (page, recipient); a letter being
    // sent, or taken as sent, counts.
    std::map<std::pair<PageKey, std::string>, std::int64_t> lastLettersSent();
    // The letters still recorded as being sent, oldest first.
    std::vector<SendingLetter> lettersSending();
    // The changes of runId against the runs before it; runId 0: the last run.
    RunChanges changesOf(std::int64_t runId = 0);
    std::vector<PageRecord> resultsOf(std::int64_t runId);
    // Every page's result in the newest run that checked it (its word,
    // reason, HTTP status, findings and when it was checked): what the
    // window shows from its start until the next Play.
    std::map<PageKey, PageRecord> lastResults();
    std::vector<std::string> profiles();
    std::vector<ProfileRunCounts> countsOfProfile(const std::string& profile);
    std::vector<PageKey> pagesOfProfile(const std::string& profile);
    std::vector<TimelineEntry> timeline(const PageKey& page);

private:
    void exec(const char* sql);
    void migrate();
    std::int64_t pageId(const std::string& advertiser, const std::string& page);
    // The page's recorded state equal to what r found, recorded when new.
    std::int64_t stateId(std::int64_t pageId, const PageRecord& r);
    // When run runId started (checks are kept as seconds after it).
    std::int64_t startOf(std::int64_t runId);
    // The round of every run, by run id: consecutive numbers from 1.
    std::map<std::int64_t, std::int64_t> rounds();
    // What a look at the runs before a run needs: their rounds, the run's
    // own round and the first run id not looked at.
    struct LookBack {
        std::map<std::int64_t, std::int64_t> m_rounds;
        std::int64_t m_ownRound = -2;
        std::int64_t m_below = 0;
        std::int64_t roundOf(std::int64_t run) const;
    };
    LookBack lookBackBefore(std::int64_t runId);
    // What the runs before look.m_below knew of one page; none when they
    // never checked it.
    std::optional<PageBefore> pageBeforeOf(std::int64_t pageId, const LookBack& look);
    // The results of a run and, when pageIds is given, their pages' ids.
    std::vector<PageRecord> resultsOf(std::int64_t runId, std::vector<std::int64_t>* pageIds);
    [[noreturn]] void fail(const std::string& what);
    // SQLite's message (or message), with what the system said when it was a
    // full disk or the file size limit.
    std::string why(const char* message = nullptr) const;
    // The statements every page result runs, prepared once.
    sqlite3_stmt* cached(const char* sql);

    std::string m_path;
    sqlite3* m_db = nullptr;
    std::map<const char*, sqlite3_stmt*> m_statements;
    std::map<std::int64_t, std::int64_t> m_runStarts;  // forgotten on rollback
};

}  // namespace tarnwick
