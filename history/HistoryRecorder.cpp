#include "history/HistoryRecorder.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <exception>
#include <limits>

#include "common/Cp1252.h"
#include "history/EvidenceRecord.h"
#include "history/HistoryError.h"
#include "history/RunInfo.h"
#include "scan/StatusWords.h"

namespace tarnwick {

HistoryRecorder::HistoryRecorder(std::string path, std::string source, Reporter reporter,
                                 Clock clock)
    : m_strPath(std::move(path)),
      m_strSource(std::move(source)),
      m_reporter(std::move(reporter)),
      m_clock(std::move(clock)) {
    std::promise<std::shared_ptr<const Snapshot>> none;
    none.set_value(std::make_shared<Snapshot>());
    m_snapshot = none.get_future().share();
    m_thread = std::thread(&HistoryRecorder::WriterThread, this);
}

HistoryRecorder::~HistoryRecorder() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_cvWork.notify_all();
    m_thread.join();
}

std::int64_t HistoryRecorder::Now() const {
    return m_clock ? m_clock() : static_cast<std::int64_t>(std::time(nullptr));
}

void HistoryRecorder::SetProfileTexts(std::vector<std::string> texts) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileTexts = std::move(texts);
}

void HistoryRecorder::SetLetterRules(const LetterRules& rules) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rules = rules;
}

void HistoryRecorder::Enqueue(Task task, bool beginsRun, bool urgent) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        wake = QueueLocked(std::move(task), beginsRun, urgent);
    }
    if (wake) {
        m_cvWork.notify_one();
    }
}

bool HistoryRecorder::QueueLocked(Task task, bool beginsRun, bool urgent) {
    // The writer sleeps on an empty queue, then gathers a batch: it needs
    // waking for the first task, for the start of a run (the scan waits for
    // what the earlier runs knew), for a letter about to be sent and for a
    // full batch. Waking it for every page would cost two thread switches
    // per page.
    urgent = urgent || beginsRun;
    const bool wake = m_tasks.empty() || urgent || m_tasks.size() + 1 >= kBatch;
    m_tasks.push_back({std::move(task), beginsRun});
    m_bUrgent = m_bUrgent || urgent;
    return wake;
}

void HistoryRecorder::Report(const std::string& message) {
    if (m_bReported) {
        return;
    }
    m_bReported = true;
    if (m_reporter) {
        m_reporter("History not recorded: " + message);
    }
}

void HistoryRecorder::WriterThread() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_cvWork.wait(lock, [this] { return m_bStopping || !m_tasks.empty(); });
        if (m_tasks.empty()) {
            return;
        }
        // One transaction for what gathers in a moment, not one per page:
        // the run's thread and this one then share the processor fairly.
        m_cvWork.wait_for(lock, std::chrono::milliseconds(250), [this] {
            return m_bStopping || m_bUrgent || m_nFlushWaiters > 0 || m_tasks.size() >= kBatch;
        });
        m_bUrgent = false;
        std::deque<Queued> batch;
        batch.swap(m_tasks);
        m_bWriting = true;
        lock.unlock();

        bool inTransaction = false;
        for (Queued& queued : batch) {
            if (queued.beginsRun) {
                // A new run tries again whatever became of the last one.
                m_bBroken = false;
                m_bReported = false;
                m_nRunId = 0;
            }
            if (m_bBroken) {
                continue;
            }
            try {
                if (!m_db) {
                    m_db = std::make_unique<HistoryDatabase>(m_strPath);
                }
                if (!inTransaction) {
                    m_db->Begin();
                    inTransaction = true;
                }
                queued.task(*m_db);
            } catch (const std::exception& e) {
                if (m_db) {
                    m_db->Rollback();
                }
                m_sendingRows.clear();  // their rows may be gone with the transaction
                inTransaction = false;
                m_db.reset();  // the next run opens it afresh
                m_bBroken = true;
                m_nRunId = 0;
                Report(e.what());
            }
        }
        if (inTransaction) {
            try {
                m_db->Commit();
            } catch (const std::exception& e) {
                m_db->Rollback();
                m_sendingRows.clear();
                m_db.reset();
                m_bBroken = true;
                m_nRunId = 0;
                Report(e.what());
            }
        }

        batch.clear();  // a skipped run start delivers its empty snapshot here
        lock.lock();
        m_nLastRunId = m_nRunId;
        m_bWriting = false;
        if (m_tasks.empty()) {
            m_cvIdle.notify_all();
        }
    }
}

void HistoryRecorder::RunStarted(const std::vector<ScanJob>&) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<const Snapshot>>>();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_snapshot = promise->get_future().share();
        m_counts = {};
        m_nPagesChecked = 0;
        m_nPagesOffNetwork = 0;
        m_bOffline = false;
        m_evidence.reset();
        m_bRunEnded = false;
    }
    const std::int64_t started = Now();
    // The snapshot is delivered either by the task or, when the database
    // cannot be had, by the guard that ends with the task.
    struct Guard {
        std::shared_ptr<std::promise<std::shared_ptr<const Snapshot>>> promise;
        bool delivered = false;
        ~Guard() {
            if (!delivered) {
                promise->set_value(std::make_shared<Snapshot>());
            }
        }
    };
    auto guard = std::make_shared<Guard>();
    guard->promise = promise;
    Enqueue(
        [this, guard, started](HistoryDatabase& db) {
            const std::vector<std::string> told = takeOrphanLettersAsSent(db);
            auto snapshot = std::make_shared<Snapshot>();
            // Recorded first, so that the earlier runs are read as this
            // run's past: a run taking up a stopped one continues its round.
            m_nRunId = db.BeginRun(m_strSource, started);
            db.EachPageBefore(m_nRunId, [&snapshot](const PageKey& key, const PageBefore& before) {
                snapshot->pages.add(key.first, key.second, before);
            });
            snapshot->pages.seal();
            snapshot->lettersSent = db.LastLettersSent();
            snapshot->firstRun = snapshot->pages.empty();
            snapshot->valid = true;
            guard->promise->set_value(std::move(snapshot));
            guard->delivered = true;
            if (m_reporter) {
                for (const std::string& message : told) {
                    m_reporter(message);
                }
            }
        },
        true);
}

std::vector<std::string> HistoryRecorder::takeOrphanLettersAsSent(HistoryDatabase& db) {
    std::vector<std::string> told;
    const auto self = static_cast<std::int64_t>(::getpid());
    for (const SendingLetter& sending : db.lettersSending()) {
        const LetterRecord& l = sending.m_letter;
        // This program's own letters on their way are completed by
        // LetterDone; another living program's (a desktop program sending
        // the letters of its last run) count as sent meanwhile.
        const bool alive = l.m_nProcess > 0 && l.m_nProcess <= std::numeric_limits<pid_t>::max() &&
                           (l.m_nProcess == self ||
                            ::kill(static_cast<pid_t>(l.m_nProcess), 0) == 0 || errno == EPERM);
        if (alive) {
            continue;
        }
        db.completeLetter(sending.m_nId, l.m_nTime, kLetterTakenAsSent);
        told.push_back(
            "The letter to " + Cp1252ToUtf8(l.m_strRecipient) + " about " +
            Cp1252ToUtf8(l.m_strPage) + " was being sent when its program" +
            (l.m_nProcess > 0 ? " (process " + std::to_string(l.m_nProcess) + ")" : std::string()) +
            " ended; it is taken as sent");
    }
    return told;
}

std::shared_ptr<const HistoryRecorder::Snapshot> HistoryRecorder::WaitSnapshot() {
    std::shared_future<std::shared_ptr<const Snapshot>> snapshot;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        snapshot = m_snapshot;
    }
    return snapshot.get();
}

void HistoryRecorder::PageEvidenceSeen(const ScanJob& job, const PageEvidence& evidence) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_evidence.emplace(job.m_nRow, evidence);
}

std::string HistoryRecorder::PageChecked(const ScanJob& job, const PageResult& checked) {
    const std::string& result = checked.m_strStatus;
    PageRecord record;
    record.m_strAdvertiser = job.m_strAdvertiser;
    record.m_strPage = job.m_strPage;
    record.m_nRow = job.m_nRow;
    record.m_strResult = result;
    if (!checked.m_strReason.empty()) {
        record.m_reason = checked.m_strReason;
    }
    if (checked.m_nHttpStatus != 0) {
        record.m_httpStatus = static_cast<int>(checked.m_nHttpStatus);
    }
    record.m_nChecked = Now();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (job.m_nProfileRow >= 0 &&
            static_cast<size_t>(job.m_nProfileRow) < m_profileTexts.size()) {
            record.m_strProfile = m_profileTexts[static_cast<size_t>(job.m_nProfileRow)];
        }
        if (m_evidence && m_evidence->first == job.m_nRow) {
            AddEvidence(record, m_evidence->second);
        }
        m_evidence.reset();
        ++m_nPagesChecked;
        if (checked.m_bNetworkDown) {
            ++m_nPagesOffNetwork;
        }
    }
    if (record.m_strProfile.empty()) {
        record.m_strProfile = job.m_strAdvertiser;
    }
    const std::shared_ptr<const Snapshot> snapshot = WaitSnapshot();
    Enqueue([this, record](HistoryDatabase& db) { db.AddResult(m_nRunId, record); });
    if (!snapshot->valid) {
        return {};
    }
    const std::optional<PageBefore> before =
        snapshot->pages.find(job.m_strAdvertiser, job.m_strPage);
    const Transition transition = TransitionOf(before, result, record.m_verdict, record.m_findings);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_counts.Add(transition);
    return TransitionCellText(transition);
}

std::string HistoryRecorder::LetterHeldBack(const ScanJob& job) {
    const std::shared_ptr<const Snapshot> snapshot = WaitSnapshot();
    if (!snapshot->valid) {
        return {};  // without history every letter goes, as it always did
    }
    const PageKey page{job.m_strAdvertiser, job.m_strPage};
    const std::optional<PageBefore> before = snapshot->pages.find(page.first, page.second);
    const int missingRuns = 1 + (before ? before->m_nMissingStreak : 0);
    const std::int64_t now = Now();
    std::string reason;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::optional<std::int64_t> lastSent;
        const std::pair<PageKey, std::string> key{page, job.m_strMail};
        if (const auto it = snapshot->lettersSent.find(key); it != snapshot->lettersSent.end()) {
            lastSent = it->second;
        }
        if (const auto it = m_lettersUnderWay.find(key); it != m_lettersUnderWay.end()) {
            lastSent = it->second;
        }
        reason = LetterHoldBackReason(m_rules, missingRuns, lastSent, now);
        if (reason.empty()) {
            m_lettersUnderWay[key] = now;
            return {};
        }
    }
    LetterRecord letter{job.m_strAdvertiser, job.m_strPage, job.m_strMail, now,
                        kNotMailed + reason};
    Enqueue([this, letter](HistoryDatabase& db) { db.AddLetter(m_nRunId, letter); });
    return reason;
}

void HistoryRecorder::letterSending(const NotificationJob& job) {
    const LetterRecord letter{job.m_strAdvertiser, job.m_strPage,
                              job.m_strMail,       Now(),
                              kLetterSending,      static_cast<std::int64_t>(::getpid())};
    // Told when the task is gone: after its transaction's commit (or
    // rollback), or when a broken history skipped it.
    struct Committed {
        std::promise<void> promise;
        ~Committed() { promise.set_value(); }
    };
    auto committed = std::make_shared<Committed>();
    std::future<void> done = committed->promise.get_future();
    Enqueue(
        [this, letter, committed](HistoryDatabase& db) {
            m_sendingRows[{{letter.m_strAdvertiser, letter.m_strPage}, letter.m_strRecipient}] =
                db.AddLetter(m_nRunId, letter);
        },
        false, true);
    committed.reset();
    // The database waits at most a few seconds for another program's lock;
    // a letter never waits much longer than that for its record.
    done.wait_for(std::chrono::seconds(10));
}

void HistoryRecorder::LetterDone(const NotificationJob& job, const std::string& outcome) {
    LetterRecord letter{job.m_strAdvertiser, job.m_strPage, job.m_strMail, Now(), outcome};
    bool wake = false;
    {
        // No longer under way once its record is queued: a run's look at the
        // history is queued after it and finds the letter there.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lettersUnderWay.erase({{job.m_strAdvertiser, job.m_strPage}, job.m_strMail});
        wake = QueueLocked(
            [this, letter](HistoryDatabase& db) {
                const std::pair<PageKey, std::string> key{
                    {letter.m_strAdvertiser, letter.m_strPage}, letter.m_strRecipient};
                const auto row = m_sendingRows.find(key);
                const bool completed =
                    row != m_sendingRows.end() &&
                    db.completeLetter(row->second, letter.m_nTime, letter.m_strOutcome);
                if (row != m_sendingRows.end()) {
                    m_sendingRows.erase(row);
                }
                if (!completed) {
                    db.AddLetter(m_nRunId, letter);
                }
            },
            false);
    }
    if (wake) {
        m_cvWork.notify_one();
    }
}

std::string HistoryRecorder::RunEnded(bool completed) {
    const std::int64_t ended = Now();
    std::shared_future<std::shared_ptr<const Snapshot>> snapshot;
    TransitionCounts counts;
    bool first = false;
    bool offline = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        first = !m_bRunEnded;
        m_bRunEnded = true;
        snapshot = m_snapshot;
        counts = m_counts;
        if (first) {
            // Every page failing for want of a network says nothing of the
            // partners: the run must not be compared as if their links had
            // all gone, and the next run is compared with the one before.
            m_bOffline = completed && m_nPagesChecked > 0 && m_nPagesOffNetwork == m_nPagesChecked;
        }
        offline = m_bOffline;
    }
    if (first) {
        const std::string outcome = offline     ? kOutcomeOffline
                                    : completed ? kOutcomeCompleted
                                                : kOutcomeStopped;
        Enqueue([this, ended, outcome, offline](HistoryDatabase& db) {
            if (m_nRunId > 0) {
                db.EndRun(m_nRunId, ended, outcome);
                if (offline) {
                    db.ForgetResults(m_nRunId);
                }
            }
        });
    }
    if (offline) {
        return kOfflineSummary;
    }
    // Stop on the GUI thread must not wait for a slow database.
    if (snapshot.wait_for(std::chrono::seconds(0)) != std::future_status::ready ||
        !snapshot.get()->valid) {
        return {};
    }
    return ChangeSummary(counts, snapshot.get()->firstRun);
}

void HistoryRecorder::Flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_nFlushWaiters;
    m_cvWork.notify_all();
    m_cvIdle.wait(lock, [this] { return m_tasks.empty() && !m_bWriting; });
    --m_nFlushWaiters;
}

std::int64_t HistoryRecorder::LastRunId() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nLastRunId;
}

bool HistoryRecorder::Recording() {
    return WaitSnapshot()->valid;
}

bool HistoryRecorder::RunWasOffline() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bOffline;
}

TransitionCounts HistoryRecorder::Counts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_counts;
}

}  // namespace tarnwick
