#include "history/HistoryRecorder.h"

#include <unistd.h>
#include <csignal>

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
    : m_path(std::move(path)),
      m_source(std::move(source)),
      m_reporter(std::move(reporter)),
      m_clock(std::move(clock)) {
    std::promise<std::shared_ptr<const Snapshot>> none;
    none.set_value(std::make_shared<Snapshot>());
    m_snapshot = none.get_future().share();
    m_thread = std::thread(&HistoryRecorder::writerThread, this);
}

HistoryRecorder::~HistoryRecorder() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_work.notify_all();
    m_thread.join();
}

std::int64_t HistoryRecorder::now() const {
    return m_clock ? m_clock() : static_cast<std::int64_t>(std::time(nullptr));
}

void HistoryRecorder::setProfileTexts(std::vector<std::string> texts) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profileTexts = std::move(texts);
}

void HistoryRecorder::setLetterRules(const LetterRules& rules) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rules = rules;
}

void HistoryRecorder::enqueue(Task task, bool beginsRun, bool urgent) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        wake = queueLocked(std::move(task), beginsRun, urgent);
    }
    if (wake) {
        m_work.notify_one();
    }
}

bool HistoryRecorder::queueLocked(Task task, bool beginsRun, bool urgent) {
    // The writer sleeps on an empty queue, then gathers a batch: it needs
    // waking for the first task, for the start of a run (the scan waits for
    // what the earlier runs knew), for a letter about to be sent and for a
    // full batch. Waking it for every page would cost two thread switches
    // per page.
    urgent = urgent || beginsRun;
    const bool wake = m_tasks.empty() || urgent || m_tasks.size() + 1 >= kBatch;
    m_tasks.push_back({std::move(task), beginsRun});
    m_urgent = m_urgent || urgent;
    return wake;
}

void HistoryRecorder::report(const std::string& message) {
    if (m_reported) {
        return;
    }
    m_reported = true;
    if (m_reporter) {
        m_reporter("History not recorded: " + message);
    }
}

void HistoryRecorder::writerThread() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
        if (m_tasks.empty()) {
            return;
        }
        // One transaction for what gathers in a moment, not one per page:
        // the run's thread and this one then share the processor fairly.
        m_work.wait_for(lock, std::chrono::milliseconds(250), [this] {
            return m_stopping || m_urgent || m_flushWaiters > 0 || m_tasks.size() >= kBatch;
        });
        m_urgent = false;
        std::deque<Queued> batch;
        batch.swap(m_tasks);
        m_writing = true;
        lock.unlock();

        bool inTransaction = false;
        for (Queued& queued : batch) {
            if (queued.beginsRun) {
                // A new run tries again whatever became of the last one.
                m_broken = false;
                m_reported = false;
                m_runId = 0;
            }
            if (m_broken) {
                continue;
            }
            try {
                if (!m_db) {
                    m_db = std::make_unique<HistoryDatabase>(m_path);
                }
                if (!inTransaction) {
                    m_db->begin();
                    inTransaction = true;
                }
                queued.task(*m_db);
            } catch (const std::exception& e) {
                if (m_db) {
                    m_db->rollback();
                }
                m_sendingRows.clear();  // their rows may be gone with the transaction
                inTransaction = false;
                m_db.reset();  // the next run opens it afresh
                m_broken = true;
                m_runId = 0;
                report(e.what());
            }
        }
        if (inTransaction) {
            try {
                m_db->commit();
            } catch (const std::exception& e) {
                m_db->rollback();
                m_sendingRows.clear();
                m_db.reset();
                m_broken = true;
                m_runId = 0;
                report(e.what());
            }
        }

        batch.clear();  // a skipped run start delivers its empty snapshot here
        lock.lock();
        m_lastRunId = m_runId;
        m_writing = false;
        if (m_tasks.empty()) {
            m_idle.notify_all();
        }
    }
}

void HistoryRecorder::runStarted(const ScanPlan& /*plan*/) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<const Snapshot>>>();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_snapshot = promise->get_future().share();
        m_counts = {};
        m_pagesChecked = 0;
        m_pagesOffNetwork = 0;
        m_offline = false;
        m_evidence.reset();
        m_runEnded = false;
    }
    const std::int64_t started = now();
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
    enqueue(
        [this, guard, started](HistoryDatabase& db) {
            const std::vector<std::string> told = takeOrphanLettersAsSent(db);
            auto snapshot = std::make_shared<Snapshot>();
            // Recorded first, so that the earlier runs are read as this
            // run's past: a run taking up a stopped one continues its round.
            m_runId = db.beginRun(m_source, started);
            db.eachPageBefore(m_runId, [&snapshot](const PageKey& key, const PageBefore& before) {
                snapshot->pages.add(key.first, key.second, before);
            });
            snapshot->pages.seal();
            snapshot->lettersSent = db.lastLettersSent();
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
        const bool alive = l.m_process > 0 && l.m_process <= std::numeric_limits<pid_t>::max() &&
                           (l.m_process == self ||
                            ::kill(static_cast<pid_t>(l.m_process), 0) == 0 || errno == EPERM);
        if (alive) {
            continue;
        }
        db.completeLetter(sending.m_id, l.m_time, kLetterTakenAsSent);
        told.push_back(
            "The letter to " + cp1252ToUtf8(l.m_recipient) + " about " + cp1252ToUtf8(l.m_page) +
            " was being sent when its program" +
            (l.m_process > 0 ? " (process " + std::to_string(l.m_process) + ")" : std::string()) +
            " ended; it is taken as sent");
    }
    return told;
}

std::shared_ptr<const HistoryRecorder::Snapshot> HistoryRecorder::waitSnapshot() {
    std::shared_future<std::shared_ptr<const Snapshot>> snapshot;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        snapshot = m_snapshot;
    }
    return snapshot.get();
}

void HistoryRecorder::pageEvidenceSeen(const ScanJob& job, const PageEvidence& evidence) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_evidence.emplace(job.m_row, evidence);
}

std::string HistoryRecorder::pageChecked(const ScanJob& job, const PageResult& checked) {
    const LinkResult result = checked.m_result;
    PageRecord record;
    record.m_advertiser = job.m_advertiser;
    record.m_page = job.m_page;
    record.m_row = job.m_row;
    record.m_result = result;
    if (!checked.m_reason.empty()) {
        record.m_reason = checked.m_reason;
    }
    if (checked.m_httpStatus != 0) {
        record.m_httpStatus = static_cast<int>(checked.m_httpStatus);
    }
    record.m_checked = now();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (job.m_profileRow >= 0 &&
            static_cast<size_t>(job.m_profileRow) < m_profileTexts.size()) {
            record.m_profile = m_profileTexts[static_cast<size_t>(job.m_profileRow)];
        }
        if (m_evidence && m_evidence->first == job.m_row) {
            addEvidence(record, m_evidence->second);
        }
        m_evidence.reset();
        ++m_pagesChecked;
        if (checked.m_networkDown) {
            ++m_pagesOffNetwork;
        }
    }
    if (record.m_profile.empty()) {
        record.m_profile = job.m_advertiser;
    }
    const std::shared_ptr<const Snapshot> snapshot = waitSnapshot();
    enqueue([this, record](HistoryDatabase& db) { db.addResult(m_runId, record); });
    if (!snapshot->valid) {
        return {};
    }
    const std::optional<PageBefore> before = snapshot->pages.find(job.m_advertiser, job.m_page);
    const Transition transition = transitionOf(before, result, record.m_verdict, record.m_findings);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_counts.add(transition);
    return transitionCellText(transition);
}

std::string HistoryRecorder::letterHeldBack(const ScanJob& job) {
    const std::shared_ptr<const Snapshot> snapshot = waitSnapshot();
    if (!snapshot->valid) {
        return {};  // without history every letter goes, as it always did
    }
    const PageKey page{job.m_advertiser, job.m_page};
    const std::optional<PageBefore> before = snapshot->pages.find(page.first, page.second);
    const int missingRuns = 1 + (before ? before->m_missingStreak : 0);
    const std::int64_t now = this->now();
    std::string reason;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::optional<std::int64_t> lastSent;
        const std::pair<PageKey, std::string> key{page, job.m_mail};
        if (const auto it = snapshot->lettersSent.find(key); it != snapshot->lettersSent.end()) {
            lastSent = it->second;
        }
        if (const auto it = m_lettersUnderWay.find(key); it != m_lettersUnderWay.end()) {
            lastSent = it->second;
        }
        reason = letterHoldBackReason(m_rules, missingRuns, lastSent, now);
        if (reason.empty()) {
            m_lettersUnderWay[key] = now;
            return {};
        }
    }
    LetterRecord letter{job.m_advertiser, job.m_page, job.m_mail, now, kNotMailed + reason};
    enqueue([this, letter](HistoryDatabase& db) { db.addLetter(m_runId, letter); });
    return reason;
}

void HistoryRecorder::letterSending(const NotificationJob& job) {
    const LetterRecord letter{job.m_advertiser, job.m_page,
                              job.m_mail,       now(),
                              kLetterSending,   static_cast<std::int64_t>(::getpid())};
    // Told when the task is gone: after its transaction's commit (or
    // rollback), or when a broken history skipped it.
    struct Committed {
        std::promise<void> promise;
        ~Committed() { promise.set_value(); }
    };
    auto committed = std::make_shared<Committed>();
    std::future<void> done = committed->promise.get_future();
    enqueue(
        [this, letter, committed](HistoryDatabase& db) {
            m_sendingRows[{{letter.m_advertiser, letter.m_page}, letter.m_recipient}] =
                db.addLetter(m_runId, letter);
        },
        false, true);
    committed.reset();
    // The database waits at most a few seconds for another program's lock;
    // a letter never waits much longer than that for its record.
    done.wait_for(std::chrono::seconds(10));
}

void HistoryRecorder::letterDone(const NotificationJob& job, const std::string& outcome) {
    LetterRecord letter{job.m_advertiser, job.m_page, job.m_mail, now(), outcome};
    bool wake = false;
    {
        // No longer under way once its record is queued: a run's look at the
        // history is queued after it and finds the letter there.
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lettersUnderWay.erase({{job.m_advertiser, job.m_page}, job.m_mail});
        wake = queueLocked(
            [this, letter](HistoryDatabase& db) {
                const std::pair<PageKey, std::string> key{{letter.m_advertiser, letter.m_page},
                                                          letter.m_recipient};
                const auto row = m_sendingRows.find(key);
                const bool completed =
                    row != m_sendingRows.end() &&
                    db.completeLetter(row->second, letter.m_time, letter.m_outcome);
                if (row != m_sendingRows.end()) {
                    m_sendingRows.erase(row);
                }
                if (!completed) {
                    db.addLetter(m_runId, letter);
                }
            },
            false);
    }
    if (wake) {
        m_work.notify_one();
    }
}

std::string HistoryRecorder::runEnded(bool completed) {
    const std::int64_t ended = now();
    std::shared_future<std::shared_ptr<const Snapshot>> snapshot;
    TransitionCounts counts;
    bool first = false;
    bool offline = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        first = !m_runEnded;
        m_runEnded = true;
        snapshot = m_snapshot;
        counts = m_counts;
        if (first) {
            // Every page failing for want of a network says nothing of the
            // partners: the run must not be compared as if their links had
            // all gone, and the next run is compared with the one before.
            m_offline = completed && m_pagesChecked > 0 && m_pagesOffNetwork == m_pagesChecked;
        }
        offline = m_offline;
    }
    if (first) {
        const std::string outcome = offline     ? kOutcomeOffline
                                    : completed ? kOutcomeCompleted
                                                : kOutcomeStopped;
        enqueue([this, ended, outcome, offline](HistoryDatabase& db) {
            if (m_runId > 0) {
                db.endRun(m_runId, ended, outcome);
                if (offline) {
                    db.forgetResults(m_runId);
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
    return changeSummary(counts, snapshot.get()->firstRun);
}

void HistoryRecorder::flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_flushWaiters;
    m_work.notify_all();
    m_idle.wait(lock, [this] { return m_tasks.empty() && !m_writing; });
    --m_flushWaiters;
}

std::int64_t HistoryRecorder::lastRunId() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastRunId;
}

bool HistoryRecorder::recording() {
    return waitSnapshot()->valid;
}

bool HistoryRecorder::runWasOffline() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_offline;
}

TransitionCounts HistoryRecorder::counts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_counts;
}

}  // namespace tarnwick
