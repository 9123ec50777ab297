#include "scan/ScanSession.h"

#include "scan/PageRenderer.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "mail/NotificationQueue.h"
#include "scan/CheckedPageQueue.h"
#include "scan/PageFetcher.h"
#include "scan/StatusWords.h"

namespace tarnwick {

struct ScanSession::Run {
    // Taken at Play; shared with the listeners, never changed.
    std::shared_ptr<const ScanPlan> plan = std::make_shared<const ScanPlan>();
    // A newer run or shutdown took over: this run shows nothing more.
    std::atomic<bool> abandoned{false};
    std::unique_ptr<PageQueue> fetcher;      // the web, or the given checker
    LinkRules linkRules;                     // what the fetched evidence is judged with
    std::unique_ptr<PageRenderer> renderer;  // when pages are rendered too
    bool deferred = false;                   // the plan is taken by the scan thread
    std::uint64_t stopsAtPlay = 0;

    // What Stop reads while the scan thread goes on.
    mutable std::mutex mutex;
    // The planned profile rows; the progression advances runHead over them
    // instead of cutting a text for every page, which with thousands of
    // profiles would cost time quadratic in their number.
    std::vector<int> runRows;
    size_t runHead = 0;
    // The last status told of each planned profile, by its place in runRows.
    std::vector<ProfileStatus> profileStatuses;
    std::vector<bool> checked;  // by row: its result was told
};

namespace {

// The fewest pages the fetcher holds at once.
constexpr size_t kMinimumWindow = 2048;

}  // namespace

ScanSession::ScanSession(PlanSource planSource, PageChecker checker)
    : m_planSource(std::move(planSource)), m_checker(std::move(checker)) {}

ScanSession::~ScanSession() {
    requestShutdown();
    waitForScanThread();
}

void ScanSession::addListener(ScanListener* listener) {
    m_listeners.push_back(listener);
}

void ScanSession::removeListener(ScanListener* listener) {
    std::erase(m_listeners, listener);
}

void ScanSession::beginRunning() {
    m_runState.setRunning(true);
    m_stopRequested = false;
}

void ScanSession::endRunning() {
    m_stopRequested = true;
    m_runState.setRunning(false);
}

std::string ScanSession::runRows() const {
    std::shared_ptr<Run> run;
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        run = m_run;
    }
    std::string text;
    if (run) {
        std::lock_guard<std::mutex> lock(run->mutex);
        for (size_t i = run->runHead; i < run->runRows.size(); ++i) {
            text += std::to_string(run->runRows[i]) + "+";
        }
    }
    return text;
}

void ScanSession::requestShutdown() {
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (m_run) {
        m_run->abandoned = true;
        if (m_run->fetcher) {
            m_run->fetcher->cancel();
        }
    }
}

void ScanSession::waitForScanThread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void ScanSession::onPlay() {
    if (m_runState.isRunning()) {
        return;
    }
    auto run = std::make_shared<Run>();
    if (m_checker) {
        run->fetcher = std::make_unique<CheckedPageQueue>(m_checker);
    } else {
        run->fetcher = std::make_unique<PageFetcher>(m_fetchOptions);
        if (m_linkRules.m_render) {
            run->renderer = std::make_unique<PageRenderer>(m_fetchOptions.pageTimeoutSeconds);
        }
    }
    run->linkRules = m_linkRules;
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        if (m_run) {
            // A stopped run may still be checking its last page.
            m_run->abandoned = true;
            if (m_run->fetcher) {
                m_run->fetcher->cancel();
            }
        }
        beginRunning();
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
        prepareRun(*run);
    }
    ++m_activeThreads;
    m_thread = std::thread(&ScanSession::scanThread, this, run, std::move(previous));
}

void ScanSession::setProfileStatus(int profileRow, ProfileStatus status) {
    for (ScanListener* listener : m_listeners) {
        listener->profileStatusChanged(profileRow, status);
    }
}

void ScanSession::prepareRun(Run& run) {
    auto plan = std::make_shared<const ScanPlan>(m_planSource ? m_planSource() : ScanPlan{});
    std::vector<int> runRows;
    runRows.reserve(plan->m_profiles.size());
    for (const TickedProfile& profile : plan->m_profiles) {
        runRows.push_back(profile.m_row);
    }
    {
        std::lock_guard<std::mutex> lock(run.mutex);
        run.runRows = runRows;
        run.runHead = 0;
        run.profileStatuses.assign(runRows.size(), ProfileStatus::Waiting);
        if (!runRows.empty()) {
            run.profileStatuses.front() = ProfileStatus::Running;
        }
        run.checked.assign(plan->size(), false);
    }
    for (size_t i = 0; i < runRows.size(); ++i) {
        setProfileStatus(runRows[i], i == 0 ? ProfileStatus::Running : ProfileStatus::Waiting);
    }
    run.plan = plan;
    for (ScanListener* listener : m_listeners) {
        listener->runStarted(plan);
    }
    if (m_history != nullptr) {
        m_history->runStarted(*plan);
    }
}

bool ScanSession::beginDeferred(Run& run) {
    std::lock_guard<std::mutex> state(m_stateMutex);
    if (run.abandoned || m_stops != run.stopsAtPlay) {
        return false;  // stopped or replaced before it began
    }
    // The previous run's end may have ended the run state meanwhile.
    beginRunning();
    return true;
}

void ScanSession::scanThread(std::shared_ptr<Run> run, std::thread previous) {
    if (previous.joinable()) {
        previous.join();
    }
    bool go = true;
    if (run->deferred) {
        go = beginDeferred(*run);
        if (go) {
            prepareRun(*run);
            std::unique_lock<std::mutex> state(m_stateMutex);
            if (m_stops != run->stopsAtPlay && !run->abandoned) {
                // Stop came while the plan was being taken: its marks may
                // have been told before the run's first statuses.
                state.unlock();
                markStopped(*run, true);
                tellSummary(false);
                go = false;
            }
        }
    }
    if (go && run->plan->empty()) {
        // Nothing to check: the run ends as a completed run does.
        std::lock_guard<std::mutex> scan(m_scanMutex);
        if (!m_stopRequested && !run->abandoned) {
            endOfRun(*run, true);
        }
    }
    if (go && !run->plan->empty()) {
        fetchInOrder(*run);
    }
    --m_activeThreads;
}

void ScanSession::fetchInOrder(Run& run) {
    PageQueue& fetcher = *run.fetcher;
    // The fetcher is handed pages as it gives them back, never more than a
    // window at once: each page queued there costs memory until it is
    // fetched. The window is counted in the fetcher, not from the head row,
    // so that a slow page at the head never holds the transfers behind it
    // back; a window many times the transfers on the wire keeps them busy.
    const size_t window =
        std::max<size_t>(kMinimumWindow, static_cast<size_t>(m_fetchOptions.jobs) * 8);
    const ScanPlan& plan = *run.plan;
    size_t added = 0;
    const auto topUp = [&] {
        for (; added < plan.size() && fetcher.outstanding() < window; ++added) {
            fetcher.add(added, plan.page(added), plan.advertiser(added), true);
        }
    };
    topUp();
    // Pages done ahead of the head row, waiting for their turn: a result and
    // its evidence each, never a body.
    std::map<size_t, PageQueue::Fetched> ahead;
    bool stopSeen = false;
    // Pages back from the wire so far, for the progress display: the rows
    // committed tell only how far the slowest page has let the run go.
    int fetchedCount = 0;
    // One turn of the transfers: what came back waits in `ahead` for its
    // row, the listeners hear the new count, and the wire is filled again.
    const auto turn = [&](std::chrono::milliseconds wait) {
        std::vector<PageQueue::Fetched> done = fetcher.run(wait);
        if (!done.empty()) {
            fetchedCount += static_cast<int>(done.size());
            for (ScanListener* listener : m_listeners) {
                listener->pagesFetched(fetchedCount);
            }
        }
        for (PageQueue::Fetched& fetched : done) {
            ahead.emplace(fetched.id, std::move(fetched));
        }
        if (!stopSeen) {
            topUp();
        }
    };
    constexpr int kCommitsBetweenTurns = 64;  // the most pages on the wire
    int commitsSinceTurn = 0;
    for (size_t row = 0; row < plan.size(); ++row) {
        const ScanJob job = plan.job(row);
        std::lock_guard<std::mutex> scan(m_scanMutex);
        if (m_stopRequested || run.abandoned) {
            break;  // Stop has marked this row and the rest "Stopped by user"
        }
        topUp();  // the head row among them
        for (ScanListener* listener : m_listeners) {
            listener->pageStarted(job.m_row);
        }
        auto it = ahead.find(row);
        while (it == ahead.end() && !run.abandoned) {
            if (m_stopRequested && !stopSeen) {
                // The head row finishes as the page in hand; every fetch
                // running ahead of it ends now and never shows.
                stopSeen = true;
                fetcher.forget(row);
                ahead.clear();
            }
            turn(std::chrono::seconds(1));
            it = ahead.find(row);
        }
        if (run.abandoned) {
            break;
        }
        PageQueue::Fetched fetched = std::move(it->second);
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
                for (ScanListener* listener : m_listeners) {
                    listener->runSummary(run.renderer->missingReason());
                }
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
            turn(std::chrono::milliseconds(0));
        }
    }
    fetcher.forget(std::nullopt);
}

void ScanSession::commit(Run& run, const ScanJob& job, const PageResult& checked,
                         const PageEvidence& evidence) {
    {
        std::lock_guard<std::mutex> lock(run.mutex);
        run.checked[static_cast<size_t>(job.m_row)] = true;
    }
    std::string change;
    if (m_history != nullptr) {
        if (evidence.m_checked) {
            m_history->pageEvidenceSeen(job, evidence);
        }
        change = m_history->pageChecked(job, checked);
    }
    for (ScanListener* listener : m_listeners) {
        listener->pageChecked(job, checked, evidence, change);
    }
    if (isLinkMissing(checked.m_result) && job.m_notify == kEnabled) {
        // A profile without advertiser's address has no link to ask back.
        const std::string heldBack = job.m_advertiser.empty()
                                         ? std::string("the profile has no advertiser's address")
                                     : m_history != nullptr ? m_history->letterHeldBack(job)
                                                            : std::string();
        if (!heldBack.empty()) {
            for (ScanListener* listener : m_listeners) {
                listener->letterHeldBack(job, heldBack);
            }
        } else {
            NotificationJob notification;
            notification.m_page = job.m_page;
            notification.m_advertiser = job.m_advertiser;
            notification.m_mail = job.m_mail;
            notification.m_row = job.m_row;
            for (ScanListener* listener : m_listeners) {
                listener->letterQueued(notification);
            }
        }
    }
    progress(run, job);
    if (static_cast<size_t>(job.m_row) + 1 == run.plan->size() && !run.abandoned) {
        endOfRun(run, true);
    }
}

void ScanSession::progress(Run& run, const ScanJob& job) {
    std::vector<int> completed;
    int running = -1;
    {
        std::lock_guard<std::mutex> lock(run.mutex);
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
        for (size_t i = head; i < k; ++i) {
            run.profileStatuses[i] = ProfileStatus::Done;
            completed.push_back(rows[i]);
        }
        run.runHead = k;
        run.profileStatuses[k] = ProfileStatus::Running;
        running = rows[k];
    }
    for (const int row : completed) {
        setProfileStatus(row, ProfileStatus::Done);
    }
    setProfileStatus(running, ProfileStatus::Running);
}

void ScanSession::endOfRun(Run& run, bool completed) {
    std::vector<int> rows;
    {
        std::lock_guard<std::mutex> lock(run.mutex);
        rows.assign(run.runRows.begin() + static_cast<long>(run.runHead), run.runRows.end());
        for (size_t i = run.runHead; i < run.profileStatuses.size(); ++i) {
            run.profileStatuses[i] =
                i == run.runHead ? ProfileStatus::Completed : ProfileStatus::Done;
        }
    }
    if (!rows.empty()) {
        setProfileStatus(rows.front(), ProfileStatus::Completed);
        // Profiles after the last page's profile have no pages.
        for (size_t i = 1; i < rows.size(); ++i) {
            setProfileStatus(rows[i], ProfileStatus::Done);
        }
    }
    endRunning();
    tellSummary(completed);
    for (ScanListener* listener : m_listeners) {
        listener->runFinished(completed);
    }
}

void ScanSession::tellSummary(bool completed) {
    if (m_history == nullptr) {
        return;
    }
    const std::string summary = m_history->runEnded(completed);
    if (!summary.empty()) {
        for (ScanListener* listener : m_listeners) {
            listener->runSummary(summary);
        }
    }
}

void ScanSession::onStop() {
    std::shared_ptr<Run> run;
    {
        std::lock_guard<std::mutex> state(m_stateMutex);
        ++m_stops;
        endRunning();
        if (m_run && m_run->fetcher) {
            m_run->fetcher->wakeup();  // the fetches ahead of the head row end at once
        }
        run = m_run;
    }
    if (run) {
        markStopped(*run, false);
    }
    tellSummary(false);
    for (ScanListener* listener : m_listeners) {
        listener->runFinished(false);
    }
}

void ScanSession::letterDone(const NotificationJob& job, const std::string& outcome) {
    if (m_history != nullptr) {
        m_history->letterDone(job, outcome);
    }
    const bool sent = outcome == kLetterOutcomeSent;
    for (ScanListener* listener : m_listeners) {
        if (sent) {
            listener->letterSent(job);
        } else {
            listener->letterNotSent(job, outcome);
        }
    }
}

void ScanSession::markStopped(Run& run, bool again) {
    std::vector<int> rows;
    std::vector<int> profiles;
    {
        std::lock_guard<std::mutex> lock(run.mutex);
        for (size_t k = 0; k < run.checked.size(); ++k) {
            if (!run.checked[k]) {
                rows.push_back(static_cast<int>(k));
            }
        }
        for (size_t i = 0; i < run.profileStatuses.size(); ++i) {
            const ProfileStatus status = run.profileStatuses[i];
            if (status == ProfileStatus::Waiting || status == ProfileStatus::Running ||
                (again && status == ProfileStatus::Stopped)) {
                run.profileStatuses[i] = ProfileStatus::Stopped;
                profiles.push_back(run.runRows[i]);
            }
        }
    }
    for (const int row : rows) {
        for (ScanListener* listener : m_listeners) {
            listener->pageStopped(row);
        }
    }
    for (const int profile : profiles) {
        setProfileStatus(profile, ProfileStatus::Stopped);
    }
}

}  // namespace tarnwick
