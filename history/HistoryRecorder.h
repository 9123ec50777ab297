// Records scan runs into the history database without slowing them: every
// write is queued to a writer thread of its own, which opens the database,
// writes what has gathered in one transaction and goes on. The scan thread
// waits only once per run, for what the earlier runs knew of the pages (read
// while the first page is being fetched); the GUI thread never waits.
//
// A database that cannot be opened or written (locked, corrupt, read-only,
// full disk) is reported once per run through the reporter, from the writer
// thread; the run goes on without history, its letters go out as they would
// without history, and the next run tries again.
//
// The recorder is the scan session's RunHistory: it gives each page its transition
// since the last run that checked it, holds letters back by the LetterRules
// and sums the run up at its end. From the notification queue's threads,
// letterSending records a letter as "sending" and waits until that is
// committed, before the letter's SMTP exchange begins; LetterDone completes
// the record with the outcome. A letter found "sending" at the start of a
// run whose program has ended (killed while sending) is taken as sent, and
// told through the reporter: the server may have accepted it, and a second
// letter to the webmaster is worse than none.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "history/EarlierPages.h"
#include "history/HistoryDatabase.h"
#include "history/LetterRecord.h"
#include "history/LetterRules.h"
#include "mail/NotificationJob.h"
#include "scan/RunHistory.h"

namespace tarnwick {

class HistoryRecorder : public RunHistory {
public:
    using Reporter = std::function<void(const std::string& message)>;
    using Clock = std::function<std::int64_t()>;

    // path: the database file; source: kSourceDesktop or kSourceCli.
    HistoryRecorder(std::string path, std::string source, Reporter reporter, Clock clock = {});
    // Writes what is still queued, then ends the writer thread.
    ~HistoryRecorder() override;
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // Before Play: the profile pane's texts by row, and the letter rules.
    void setProfileTexts(std::vector<std::string> texts);
    void setLetterRules(const LetterRules& rules);

    void runStarted(const ScanPlan& plan) override;
    void pageEvidenceSeen(const ScanJob& job, const PageEvidence& evidence) override;
    std::string pageChecked(const ScanJob& job, const PageResult& result) override;
    std::string letterHeldBack(const ScanJob& job) override;
    std::string runEnded(bool completed) override;

    // Before a letter's SMTP exchange: records it as being sent, and returns
    // once that is committed (or the history cannot be written, or after a
    // few seconds of a busy database: the letter then goes as it would
    // without history).
    void letterSending(const NotificationJob& job);
    // outcome: kLetterSent or the failure text of the Mail Address cell.
    void letterDone(const NotificationJob& job, const std::string& outcome) override;

    // Waits until everything queued so far is written (or failed).
    void flush();
    // The database id of the last run begun (0 when it could not be recorded);
    // valid after Flush.
    std::int64_t lastRunId();
    // Whether the current run is being recorded; waits for the run's start.
    bool recording();
    TransitionCounts counts();
    // After RunEnded: whether the run reached no page because this computer
    // was off the network (every page's name failed to resolve or had no
    // route). Such a run is recorded as kOutcomeOffline, without results.
    bool runWasOffline();

private:
    struct Snapshot {
        bool valid = false;
        bool firstRun = false;  // no earlier run recorded a page
        EarlierPages pages;
        std::map<std::pair<PageKey, std::string>, std::int64_t> lettersSent;
    };
    using Task = std::function<void(HistoryDatabase&)>;

    // beginsRun: the start of a run (the scan waits for what earlier runs
    // knew); urgent: someone waits for it to be committed.
    void enqueue(Task task, bool beginsRun = false, bool urgent = false);
    // Enqueue with m_mutex held; returns whether the writer needs waking.
    bool queueLocked(Task task, bool beginsRun, bool urgent = false);
    // At the start of a run: the letters left "sending" by programs that
    // have ended are taken as sent; returns what to tell of them.
    std::vector<std::string> takeOrphanLettersAsSent(HistoryDatabase& db);
    void writerThread();
    void report(const std::string& message);
    std::shared_ptr<const Snapshot> waitSnapshot();
    std::int64_t now() const;

    const std::string m_path;
    const std::string m_source;
    Reporter m_reporter;
    Clock m_clock;

    std::mutex m_mutex;  // everything below
    std::condition_variable m_work;
    std::condition_variable m_idle;
    struct Queued {
        Task task;
        bool beginsRun = false;
    };
    std::deque<Queued> m_tasks;
    bool m_writing = false;
    bool m_stopping = false;
    int m_flushWaiters = 0;
    bool m_urgent = false;
    static constexpr size_t kBatch = 2000;

    std::vector<std::string> m_profileTexts;
    // What the fetch of the page about to be checked saw, by results row.
    std::optional<std::pair<int, PageEvidence>> m_evidence;
    LetterRules m_rules;
    std::shared_future<std::shared_ptr<const Snapshot>> m_snapshot;
    // Letters let go and not yet done (sent or failed), by page and
    // recipient: the same page in two profiles of one run, or a run begun
    // while the last one's letters are still on their way, must not mail
    // the webmaster again before the history knows of the first letter.
    std::map<std::pair<PageKey, std::string>, std::int64_t> m_lettersUnderWay;
    TransitionCounts m_counts;
    int m_pagesChecked = 0;
    int m_pagesOffNetwork = 0;
    bool m_offline = false;
    bool m_runEnded = true;

    // Writer thread only.
    std::unique_ptr<HistoryDatabase> m_db;
    // The rows of the letters recorded as "sending" by this recorder, by page
    // and recipient; forgotten when a transaction is rolled back.
    std::map<std::pair<PageKey, std::string>, std::int64_t> m_sendingRows;
    bool m_broken = false;    // this run's history is given up
    bool m_reported = false;  // this run's failure has been reported
    std::int64_t m_runId = 0;
    std::int64_t m_lastRunId = 0;  // under m_mutex

    std::thread m_thread;
};

}  // namespace tarnwick
