#include "scan/ScanRun.h"

#include "scan/PageRenderer.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "scan/PageFetcher.h"
#include "scan/ScanState.h"
#include "scan/StatusWords.h"

namespace tarnwick {

struct ScanRun::Run {
    std::vector<ScanJob> jobs;
    // A newer run or shutdown took over: this run shows nothing more.
    std::atomic<bool> abandoned{false};
    std::unique_ptr<PageFetcher> fetcher;    // when no checker was given
    LinkRules linkRules;                     // what the fetched evidence is judged with
    std::unique_ptr<PageRenderer> renderer;  // when pages are rendered too
    bool deferred = false;                   // the panes are set up by the scan thread
    std::uint64_t stopsAtPlay = 0;
    // g_strRunRows as numbers, from runHead on: the progression reads and
    // advances these instead of parsing the text for every page, which with
    // thousands of profiles would cost time quadratic in their number.
    std::vector<int> runRows;
    size_t runHead = 0;
};

namespace {

// The fewest pages the fetcher holds at once.
constexpr size_t kMinimumWindow = 2048;

// "0+2+5+" -> {0, 2, 5}.
std::vector<int> runRowsOf(const std::string& text) {
    std::vector<int> rows;
    size_t from = 0;
    for (size_t plus = text.find('+'); plus != std::string::npos; plus = text.find('+', from)) {
        rows.push_back(std::atoi(text.substr(from, plus - from).c_str()));
        from = plus + 1;
    }
    return rows;
}

void setRunningFlags() {
    g_bStopEnabled = true;
    g_bPlayEnabled = false;
    g_bScanRunning = true;
    g_bReportSaved = false;
    g_bStopRequested = false;
}

void setEndedFlags() {
    g_bPlayEnabled = true;
    g_bStopEnabled = false;
    g_bStopRequested = true;
    g_bScanRunning = false;
}

}  // namespace

ScanRun::ScanRun(ScanPanes& panes, PageChecker checker)
    : m_panes(panes), m_checker(std::move(checker)) {}

ScanRun::~ScanRun() {
    requestShutdown();
    waitForScanThread();
}

void ScanRun::requestShutdown() {
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (m_run) {
        m_run->abandoned = true;
        if (m_run->fetcher) {
            m_run->fetcher->cancel();
        }
    }
}

void ScanRun::waitForScanThread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void ScanRun::onPlay() {
    if (g_bScanRunning) {
        return;
    }
    auto run = std::make_shared<Run>();
    if (!m_checker) {
        run->fetcher = std::make_unique<PageFetcher>(m_fetchOptions);
        run->linkRules = m_linkRules;
        if (m_linkRules.m_render) {
            run->renderer = std::make_unique<PageRenderer>(m_fetchOptions.pageTimeoutSeconds);
        }
    }
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        if (m_run) {
            // A stopped run may still be checking its last page.
            m_run->abandoned = true;
            if (m_run->fetcher) {
                m_run->fetcher->cancel();
            }
        }
        setRunningFlags();
        run->stopsAtPlay = m_stops;
        m_run = run;
    }
    std::thread previous;
    const bool busy = isScanThreadActive();
    if (busy) {
        previous = std::move(m_thread);
        run->deferred = true;
    } else {
        waitForScanThread();  // ended already
        prepareRun(*run, false);
    }
    ++m_activeThreads;
    m_thread = std::thread(&ScanRun::scanThread, this, run, std::move(previous));
}

void ScanRun::prepareRun(Run& run, bool onScanThread) {
    std::string runRows;
    bool first = true;
    const int profiles = m_panes.profileRowCount();
    for (int j = 0; j < profiles; ++j) {
        if (m_panes.isProfileTicked(j)) {
            m_panes.setProfileStatus(j, first ? kRunning : kWaiting);
            first = false;
            runRows += std::to_string(j) + "+";
        }
    }
    if (onScanThread) {
        std::lock_guard<std::mutex> scan(g_csScan);
        g_strRunRows = runRows;
    } else {
        g_strRunRows = runRows;  // no scan thread is running
    }
    m_panes.rebuildResults();
    const int rows = m_panes.resultRowCount();
    run.runRows = runRowsOf(runRows);
    run.runHead = 0;
    run.jobs.reserve(static_cast<size_t>(rows));
    for (int k = 0; k < rows; ++k) {
        const ResultRow row = m_panes.resultRowAt(k);
        ScanJob job;
        job.m_advertiser = row.m_advertiser;
        job.m_page = row.m_page;
        job.m_row = k;
        job.m_mail = row.m_mail;
        job.m_notify = row.m_notify;
        job.m_last = k == rows - 1;
        job.m_profileRow = row.m_profileRow;
        run.jobs.push_back(std::move(job));
    }
    if (m_observer != nullptr) {
        m_observer->runStarted(run.jobs);
    }
}

bool ScanRun::beginDeferred(Run& run) {
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (run.abandoned || m_stops != run.stopsAtPlay) {
        return false;  // stopped or replaced before it began
    }
    // The previous run's end may have reset the flags meanwhile.
    setRunningFlags();
    return true;
}

void ScanRun::scanThread(std::shared_ptr<Run> run, std::thread previous) {
    if (previous.joinable()) {
        previous.join();
    }
    bool go = true;
    if (run->deferred) {
        go = beginDeferred(*run);
        if (go) {
            prepareRun(*run, true);
            std::unique_lock<std::mutex> state(m_stateMutex);
            if (m_stops != run->stopsAtPlay && !run->abandoned) {
                // Stop came while the panes were being set up.
                state.unlock();
                markStopped();
                endObserved(false);
                go = false;
            }
        }
    }
    if (go && run->jobs.empty()) {
        // Nothing to check: the run ends as a completed run does.
        std::lock_guard<std::mutex> scan(g_csScan);
        if (!g_bStopRequested && !run->abandoned) {
            endOfRun(true);
        }
    }
    if (go && !run->jobs.empty()) {
        if (m_checker) {
            for (const ScanJob& job : run->jobs) {
                std::lock_guard<std::mutex> scan(g_csScan);
                if (g_bStopRequested || run->abandoned) {
                    break;  // Stop has marked this row and the rest "Stopped by user"
                }
                m_panes.pageStarted(job.m_row);
                // A given checker has no evidence.
                const PageResult checked = m_checker(job.m_page, job.m_advertiser);
                m_panes.pagesFetched(job.m_row + 1);
                if (!run->abandoned) {
                    commit(*run, job, checked, PageEvidence{});
                }
            }
        } else {
            fetchInOrder(*run);
        }
    }
    --m_activeThreads;
}

void ScanRun::fetchInOrder(Run& run) {
    PageFetcher& fetcher = *run.fetcher;
    // The fetcher is handed pages as it gives them back, never more than a
    // window at once: each page queued there costs memory until it is
    // fetched. The window is counted in the fetcher, not from the head row,
    // so that a slow page at the head never holds the transfers behind it
    // back; a window many times the transfers on the wire keeps them busy.
    const size_t window =
        std::max<size_t>(kMinimumWindow, static_cast<size_t>(m_fetchOptions.jobs) * 8);
    size_t added = 0;
    const auto topUp = [&] {
        for (; added < run.jobs.size() && fetcher.outstanding() < window; ++added) {
            const ScanJob& next = run.jobs[added];
            fetcher.add(static_cast<size_t>(next.m_row), next.m_page, next.m_advertiser, true);
        }
    };
    topUp();
    // Pages done ahead of the head row, waiting for their turn: a result and
    // its evidence each, never a body.
    std::map<size_t, PageFetcher::Fetched> ahead;
    bool stopSeen = false;
    // Pages back from the wire so far, for the progress display: the rows
    // committed tell only how far the slowest page has let the run go.
    int fetchedCount = 0;
    const auto noteFetched = [&](size_t more) {
        if (more > 0) {
            fetchedCount += static_cast<int>(more);
            m_panes.pagesFetched(fetchedCount);
        }
    };
    constexpr int kCommitsBetweenTurns = 64;  // the most pages on the wire
    int commitsSinceTurn = 0;
    for (const ScanJob& job : run.jobs) {
        const auto row = static_cast<size_t>(job.m_row);
        std::lock_guard<std::mutex> scan(g_csScan);
        if (g_bStopRequested || run.abandoned) {
            break;  // Stop has marked this row and the rest "Stopped by user"
        }
        topUp();  // the head row among them
        m_panes.pageStarted(job.m_row);
        auto it = ahead.find(row);
        while (it == ahead.end() && !run.abandoned) {
            if (g_bStopRequested && !stopSeen) {
                // The head row finishes as the page in hand; every fetch
                // running ahead of it ends now and never shows.
                stopSeen = true;
                fetcher.forget(row);
                ahead.clear();
            }
            std::vector<PageFetcher::Fetched> done = fetcher.run(std::chrono::seconds(1));
            noteFetched(done.size());
            for (PageFetcher::Fetched& fetched : done) {
                ahead.emplace(fetched.id, std::move(fetched));
            }
            if (!stopSeen) {
                topUp();
            }
            it = ahead.find(row);
        }
        if (run.abandoned) {
            break;
        }
        PageFetcher::Fetched fetched = std::move(it->second);
        ahead.erase(it);
        applyLinkRules(fetched.evidence, job.m_page, run.linkRules);
        const PageEvidence& e = fetched.evidence;
        if (run.renderer && e.m_checked && e.m_httpStatus >= 200 && e.m_httpStatus < 300) {
            // One page at a time, in row order: rendering is opt-in and slow
            // anyway, and a browser missing is told once, here.
            const bool missingBefore = run.renderer->missing();
            judgeRendered(fetched.evidence, job.m_advertiser,
                          run.renderer->render(e.m_finalUrl.empty() ? job.m_page : e.m_finalUrl));
            if (!missingBefore && run.renderer->missing()) {
                m_panes.showRunSummary(run.renderer->missingReason());
            }
        }
        commit(run, job, fetched.result, fetched.evidence);
        // The transfers move on when the next result is not there yet, and
        // now and then during a long row of results that waited behind a slow
        // page. Not after every commit: a turn of the transfers can bring
        // back as many pages as are on the wire, and results would pile up
        // faster than one commit a turn writes them.
        if (!ahead.count(row + 1) || ++commitsSinceTurn >= kCommitsBetweenTurns) {
            commitsSinceTurn = 0;
            std::vector<PageFetcher::Fetched> done = fetcher.run(std::chrono::milliseconds(0));
            noteFetched(done.size());
            for (PageFetcher::Fetched& more : done) {
                ahead.emplace(more.id, std::move(more));
            }
            if (!stopSeen) {
                topUp();
            }
        }
    }
    fetcher.forget(std::nullopt);
}

void ScanRun::commit(Run& run, const ScanJob& job, const PageResult& checked,
                     const PageEvidence& evidence) {
    if (evidence.m_checked) {
        m_panes.setResultEvidence(job.m_row, evidence);
    }
    m_panes.setResult(job.m_row, checked);
    const std::string& result = checked.m_status;
    if (m_observer != nullptr) {
        if (evidence.m_checked) {
            m_observer->pageEvidenceSeen(job, evidence);
        }
        const std::string change = m_observer->pageChecked(job, checked);
        if (!change.empty()) {
            m_panes.setResultChange(job.m_row, change);
        }
    }
    if ((result == kLinkNotFound || result == kPageCannotBeFound) && job.m_notify == kEnabled) {
        // A profile without advertiser's address has no link to ask back.
        const std::string heldBack = job.m_advertiser.empty()
                                         ? std::string("the profile has no advertiser's address")
                                     : m_observer != nullptr ? m_observer->letterHeldBack(job)
                                                             : std::string();
        if (!heldBack.empty()) {
            m_panes.setLetterHeldBack(job.m_row, heldBack);
        } else {
            NotificationJob notification;
            notification.m_page = job.m_page;
            notification.m_advertiser = job.m_advertiser;
            notification.m_mail = job.m_mail;
            notification.m_row = job.m_row;
            m_panes.startNotification(notification);
        }
    }
    progress(run, job);
    if (job.m_last && !run.abandoned) {
        endOfRun(true);
    }
}

void ScanRun::progress(Run& run, const ScanJob& job) {
    const std::vector<int>& rows = run.runRows;
    const size_t head = run.runHead;
    if (head >= rows.size() || rows[head] == job.m_profileRow) {
        return;
    }
    size_t k = head + 1;
    while (k < rows.size() && rows[k] != job.m_profileRow) {
        ++k;
    }
    if (k == rows.size()) {
        return;  // the page's profile is not one of this run's: nothing to tell
    }
    // Profiles passed over have no pages: all of them are checked too.
    size_t cut = 0;
    for (size_t i = head; i < k; ++i) {
        m_panes.setProfileStatus(rows[i], kCompletedStep);
        cut += std::to_string(rows[i]).size() + 1;
    }
    run.runHead = k;
    g_strRunRows.eraseFront(cut);  // the entries before k, each "n+"
    m_panes.setProfileStatus(rows[k], kRunning);
}

void ScanRun::endOfRun(bool completed) {
    const std::vector<int> rows = runRowsOf(std::string(g_strRunRows.view()));
    if (!rows.empty()) {
        m_panes.setProfileStatus(rows.front(), kCompleted);
        // Profiles after the last page's profile have no pages.
        for (size_t i = 1; i < rows.size(); ++i) {
            m_panes.setProfileStatus(rows[i], kCompletedStep);
        }
    }
    setEndedFlags();
    endObserved(completed);
    m_panes.offerReport();
}

void ScanRun::endObserved(bool completed) {
    if (m_observer == nullptr) {
        return;
    }
    const std::string summary = m_observer->runEnded(completed);
    if (!summary.empty()) {
        m_panes.showRunSummary(summary);
    }
}

void ScanRun::onStop() {
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        ++m_stops;
        setEndedFlags();
        if (m_run && m_run->fetcher) {
            m_run->fetcher->wakeup();  // the fetches ahead of the head row end at once
        }
    }
    markStopped();
    endObserved(false);
    m_panes.offerReport();
}

void ScanRun::markStopped() {
    const int rows = m_panes.resultRowCount();
    for (int k = 0; k < rows; ++k) {
        if (m_panes.resultRowAt(k).m_status.empty()) {
            m_panes.setResultStatus(k, kStoppedByUser);
        }
    }
    const int profiles = m_panes.profileRowCount();
    for (int j = 0; j < profiles; ++j) {
        const std::string status = m_panes.profileStatus(j);
        if (status == kWaiting || status == kRunning) {
            m_panes.setProfileStatus(j, kStopped);
        }
    }
}

}  // namespace tarnwick
