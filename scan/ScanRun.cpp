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
std::vector<int> RunRows(const std::string& text) {
    std::vector<int> rows;
    size_t from = 0;
    for (size_t plus = text.find('+'); plus != std::string::npos; plus = text.find('+', from)) {
        rows.push_back(std::atoi(text.substr(from, plus - from).c_str()));
        from = plus + 1;
    }
    return rows;
}

void SetRunningFlags() {
    g_bStopEnabled = true;
    g_bPlayEnabled = false;
    g_bScanRunning = true;
    g_bReportSaved = false;
    g_bStopRequested = false;
}

void SetEndedFlags() {
    g_bPlayEnabled = true;
    g_bStopEnabled = false;
    g_bStopRequested = true;
    g_bScanRunning = false;
}

}  // namespace

ScanRun::ScanRun(ScanPanes& panes, PageChecker checker)
    : m_panes(panes), m_checker(std::move(checker)) {}

ScanRun::~ScanRun() {
    RequestShutdown();
    WaitForScanThread();
}

void ScanRun::RequestShutdown() {
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (m_run) {
        m_run->abandoned = true;
        if (m_run->fetcher) {
            m_run->fetcher->Cancel();
        }
    }
}

void ScanRun::WaitForScanThread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void ScanRun::OnPlay() {
    if (g_bScanRunning) {
        return;
    }
    auto run = std::make_shared<Run>();
    if (!m_checker) {
        run->fetcher = std::make_unique<PageFetcher>(m_fetchOptions);
        run->linkRules = m_linkRules;
        if (m_linkRules.m_bRender) {
            run->renderer = std::make_unique<PageRenderer>(m_fetchOptions.pageTimeoutSeconds);
        }
    }
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        if (m_run) {
            // A stopped run may still be checking its last page.
            m_run->abandoned = true;
            if (m_run->fetcher) {
                m_run->fetcher->Cancel();
            }
        }
        SetRunningFlags();
        run->stopsAtPlay = m_nStops;
        m_run = run;
    }
    std::thread previous;
    const bool busy = IsScanThreadActive();
    if (busy) {
        previous = std::move(m_thread);
        run->deferred = true;
    } else {
        WaitForScanThread();  // ended already
        PrepareRun(*run, false);
    }
    ++m_nActiveThreads;
    m_thread = std::thread(&ScanRun::ScanThread, this, run, std::move(previous));
}

void ScanRun::PrepareRun(Run& run, bool onScanThread) {
    std::string runRows;
    bool first = true;
    const int profiles = m_panes.ProfileRowCount();
    for (int j = 0; j < profiles; ++j) {
        if (m_panes.IsProfileTicked(j)) {
            m_panes.SetProfileStatus(j, first ? kRunning : kWaiting);
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
    m_panes.RebuildResults();
    const int rows = m_panes.ResultRowCount();
    run.runRows = RunRows(runRows);
    run.runHead = 0;
    run.jobs.reserve(static_cast<size_t>(rows));
    for (int k = 0; k < rows; ++k) {
        const ResultRow row = m_panes.ResultRowAt(k);
        ScanJob job;
        job.m_strAdvertiser = row.m_strAdvertiser;
        job.m_strPage = row.m_strPage;
        job.m_nRow = k;
        job.m_strMail = row.m_strMail;
        job.m_strNotify = row.m_strNotify;
        job.m_bLast = k == rows - 1;
        job.m_nProfileRow = row.m_nProfileRow;
        run.jobs.push_back(std::move(job));
    }
    if (m_pObserver != nullptr) {
        m_pObserver->RunStarted(run.jobs);
    }
}

bool ScanRun::BeginDeferred(Run& run) {
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (run.abandoned || m_nStops != run.stopsAtPlay) {
        return false;  // stopped or replaced before it began
    }
    // The previous run's end may have reset the flags meanwhile.
    SetRunningFlags();
    return true;
}

void ScanRun::ScanThread(std::shared_ptr<Run> run, std::thread previous) {
    if (previous.joinable()) {
        previous.join();
    }
    bool go = true;
    if (run->deferred) {
        go = BeginDeferred(*run);
        if (go) {
            PrepareRun(*run, true);
            std::unique_lock<std::mutex> state(m_stateMutex);
            if (m_nStops != run->stopsAtPlay && !run->abandoned) {
                // Stop came while the panes were being set up.
                state.unlock();
                MarkStopped();
                EndObserved(false);
                go = false;
            }
        }
    }
    if (go && run->jobs.empty()) {
        // Nothing to check: the run ends as a completed run does.
        std::lock_guard<std::mutex> scan(g_csScan);
        if (!g_bStopRequested && !run->abandoned) {
            EndOfRun(true);
        }
    }
    if (go && !run->jobs.empty()) {
        if (m_checker) {
            for (const ScanJob& job : run->jobs) {
                std::lock_guard<std::mutex> scan(g_csScan);
                if (g_bStopRequested || run->abandoned) {
                    break;  // Stop has marked this row and the rest "Stopped by user"
                }
                m_panes.PageStarted(job.m_nRow);
                // A given checker has no evidence.
                const PageResult checked = m_checker(job.m_strPage, job.m_strAdvertiser);
                m_panes.PagesFetched(job.m_nRow + 1);
                if (!run->abandoned) {
                    Commit(*run, job, checked, PageEvidence{});
                }
            }
        } else {
            FetchInOrder(*run);
        }
    }
    --m_nActiveThreads;
}

void ScanRun::FetchInOrder(Run& run) {
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
        for (; added < run.jobs.size() && fetcher.Outstanding() < window; ++added) {
            const ScanJob& next = run.jobs[added];
            fetcher.Add(static_cast<size_t>(next.m_nRow), next.m_strPage, next.m_strAdvertiser,
                        true);
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
            m_panes.PagesFetched(fetchedCount);
        }
    };
    constexpr int kCommitsBetweenTurns = 64;  // the most pages on the wire
    int commitsSinceTurn = 0;
    for (const ScanJob& job : run.jobs) {
        const auto row = static_cast<size_t>(job.m_nRow);
        std::lock_guard<std::mutex> scan(g_csScan);
        if (g_bStopRequested || run.abandoned) {
            break;  // Stop has marked this row and the rest "Stopped by user"
        }
        topUp();  // the head row among them
        m_panes.PageStarted(job.m_nRow);
        auto it = ahead.find(row);
        while (it == ahead.end() && !run.abandoned) {
            if (g_bStopRequested && !stopSeen) {
                // The head row finishes as the page in hand; every fetch
                // running ahead of it ends now and never shows.
                stopSeen = true;
                fetcher.Forget(row);
                ahead.clear();
            }
            std::vector<PageFetcher::Fetched> done = fetcher.Run(std::chrono::seconds(1));
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
        ApplyLinkRules(fetched.evidence, job.m_strPage, run.linkRules);
        const PageEvidence& e = fetched.evidence;
        if (run.renderer && e.m_bChecked && e.m_nHttpStatus >= 200 && e.m_nHttpStatus < 300) {
            // One page at a time, in row order: rendering is opt-in and slow
            // anyway, and a browser missing is told once, here.
            const bool missingBefore = run.renderer->missing();
            JudgeRendered(
                fetched.evidence, job.m_strAdvertiser,
                run.renderer->render(e.m_strFinalUrl.empty() ? job.m_strPage : e.m_strFinalUrl));
            if (!missingBefore && run.renderer->missing()) {
                m_panes.ShowRunSummary(run.renderer->missingReason());
            }
        }
        Commit(run, job, fetched.result, fetched.evidence);
        // The transfers move on when the next result is not there yet, and
        // now and then during a long row of results that waited behind a slow
        // page. Not after every commit: a turn of the transfers can bring
        // back as many pages as are on the wire, and results would pile up
        // faster than one commit a turn writes them.
        if (!ahead.count(row + 1) || ++commitsSinceTurn >= kCommitsBetweenTurns) {
            commitsSinceTurn = 0;
            std::vector<PageFetcher::Fetched> done = fetcher.Run(std::chrono::milliseconds(0));
            noteFetched(done.size());
            for (PageFetcher::Fetched& more : done) {
                ahead.emplace(more.id, std::move(more));
            }
            if (!stopSeen) {
                topUp();
            }
        }
    }
    fetcher.Forget(std::nullopt);
}

void ScanRun::Commit(Run& run, const ScanJob& job, const PageResult& checked,
                     const PageEvidence& evidence) {
    if (evidence.m_bChecked) {
        m_panes.SetResultEvidence(job.m_nRow, evidence);
    }
    m_panes.SetResult(job.m_nRow, checked);
    const std::string& result = checked.m_strStatus;
    if (m_pObserver != nullptr) {
        if (evidence.m_bChecked) {
            m_pObserver->PageEvidenceSeen(job, evidence);
        }
        const std::string change = m_pObserver->PageChecked(job, checked);
        if (!change.empty()) {
            m_panes.SetResultChange(job.m_nRow, change);
        }
    }
    if ((result == kLinkNotFound || result == kPageCannotBeFound) && job.m_strNotify == kEnabled) {
        // A profile without advertiser's address has no link to ask back.
        const std::string heldBack = job.m_strAdvertiser.empty()
                                         ? std::string("the profile has no advertiser's address")
                                     : m_pObserver != nullptr ? m_pObserver->LetterHeldBack(job)
                                                              : std::string();
        if (!heldBack.empty()) {
            m_panes.SetLetterHeldBack(job.m_nRow, heldBack);
        } else {
            NotificationJob notification;
            notification.m_strPage = job.m_strPage;
            notification.m_strAdvertiser = job.m_strAdvertiser;
            notification.m_strMail = job.m_strMail;
            notification.m_nRow = job.m_nRow;
            m_panes.StartNotification(notification);
        }
    }
    Progress(run, job);
    if (job.m_bLast && !run.abandoned) {
        EndOfRun(true);
    }
}

void ScanRun::Progress(Run& run, const ScanJob& job) {
    const std::vector<int>& rows = run.runRows;
    const size_t head = run.runHead;
    if (head >= rows.size() || rows[head] == job.m_nProfileRow) {
        return;
    }
    size_t k = head + 1;
    while (k < rows.size() && rows[k] != job.m_nProfileRow) {
        ++k;
    }
    if (k == rows.size()) {
        return;  // the page's profile is not one of this run's: nothing to tell
    }
    // Profiles passed over have no pages: all of them are checked too.
    size_t cut = 0;
    for (size_t i = head; i < k; ++i) {
        m_panes.SetProfileStatus(rows[i], kCompletedStep);
        cut += std::to_string(rows[i]).size() + 1;
    }
    run.runHead = k;
    g_strRunRows.EraseFront(cut);  // the entries before k, each "n+"
    m_panes.SetProfileStatus(rows[k], kRunning);
}

void ScanRun::EndOfRun(bool completed) {
    const std::vector<int> rows = RunRows(std::string(g_strRunRows.View()));
    if (!rows.empty()) {
        m_panes.SetProfileStatus(rows.front(), kCompleted);
        // Profiles after the last page's profile have no pages.
        for (size_t i = 1; i < rows.size(); ++i) {
            m_panes.SetProfileStatus(rows[i], kCompletedStep);
        }
    }
    SetEndedFlags();
    EndObserved(completed);
    m_panes.OfferReport();
}

void ScanRun::EndObserved(bool completed) {
    if (m_pObserver == nullptr) {
        return;
    }
    const std::string summary = m_pObserver->RunEnded(completed);
    if (!summary.empty()) {
        m_panes.ShowRunSummary(summary);
    }
}

void ScanRun::OnStop() {
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        ++m_nStops;
        SetEndedFlags();
        if (m_run && m_run->fetcher) {
            m_run->fetcher->Wakeup();  // the fetches ahead of the head row end at once
        }
    }
    MarkStopped();
    EndObserved(false);
    m_panes.OfferReport();
}

void ScanRun::MarkStopped() {
    const int rows = m_panes.ResultRowCount();
    for (int k = 0; k < rows; ++k) {
        if (m_panes.ResultRowAt(k).m_strStatus.empty()) {
            m_panes.SetResultStatus(k, kStoppedByUser);
        }
    }
    const int profiles = m_panes.ProfileRowCount();
    for (int j = 0; j < profiles; ++j) {
        const std::string status = m_panes.ProfileStatus(j);
        if (status == kWaiting || status == kRunning) {
            m_panes.SetProfileStatus(j, kStopped);
        }
    }
}

}  // namespace tarnwick
