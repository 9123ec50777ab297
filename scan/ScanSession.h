// The scan session: Play checks every page of the run's plan (the ticked
// profiles' pages, in pane order) on one scan thread; Stop ends it. What the
// run does is told to its listeners (ScanListener: the window's models, the
// command line's printer); the run history is a collaborator asked for each
// page's change since the last run, whether a letter is held back and the
// run's summary. Nothing here reads a pane: the plan is a value handed over
// at Play by the plan source.
//
// The pages are fetched side by side (PageFetcher: up to Options::jobs on the
// wire, a few per host, all driven by the scan thread), but everything the
// run tells follows the rows one by one as below: row k is "the page being
// checked" (pageStarted, the scan lock held) from the moment row k-1's result
// is told until its own is. Pages further down that finish sooner wait in
// memory (their result and evidence, never their bodies) for their turn;
// their fetches never wait for that turn. With one job one page is fetched
// after the other. With a PageChecker the same loop runs over a
// CheckedPageQueue, which checks each page in its turn.
//
// Play (onPlay):
//   - marks the run state running (Stop enabled, Play disabled) and clears
//     the stop flag, takes the plan from the plan source, tells
//     "Running..." for the first planned profile and "Waiting..." for the
//     others, keeps the planned profile rows (runRows(): "0+2+5+") and tells
//     runStarted with the plan;
//   - starts the scan thread and returns. Play while a run is in progress
//     does nothing.
// The scan thread, for each row, holding the scan lock for the whole page:
//   - ends the run's work when the stop flag is set (Stop has already told
//     the rows left pageStopped);
//   - pageStarted(row) (and pagesFetched whenever pages come back from the
//     wire, those ahead of the row included), checks the page, asks the
//     history for its change and tells pageChecked;
//   - for "Link Not Found" or "Page Cannot be Found" with notification
//     "Enabled" tells letterQueued (or letterHeldBack when the history's
//     letter rules hold it back); such a result comes only from a page seen
//     completely (see PageFetcher). A profile without an advertiser's
//     address has nothing to ask back: its letter is held back;
//   - profile progression: when the page belongs to another profile than the
//     one marked "Running...", that one becomes "Completed." and the page's
//     profile "Running..." (profiles without pages in between become
//     "Completed." on the way);
//   - after the last row: the current profile becomes "Completed" (profiles
//     without pages after it "Completed."), the stop flag is set and the run
//     state is no longer running (Play enabled again, Stop disabled), the
//     history's summary is told and then runFinished, still under the scan
//     lock.
// A run without pages ends at once in the same way.
// Stop (onStop): ends the run state as the end of a run does, tells pageStopped
// for every row without a result and "Stopped." for waiting and running
// profiles, the summary, and runFinished(false). It does not interrupt the
// page being checked: that page still gets its result, letter and
// progression, and when it is the last row the end of the run follows (a
// second runFinished). Every fetch of a later row ends at once and shows
// nothing.
//
// Threads and the listeners:
//   - onPlay, onStop, waitForScanThread, requestShutdown and the destructor
//     are called from one thread (the GUI thread in the desktop program); the
//     events they cause are told on that thread. The scan thread tells its
//     events from its own thread, some of them (runFinished, the end of run)
//     while holding the scan lock. A listener that forwards events to
//     another thread and waits for them must run an event made on that
//     thread itself directly; so must the plan source.
//   - No call on the caller's thread ever waits for the scan thread or takes
//     the scan lock, with two exceptions: waitForScanThread, and the
//     destructor (which joins). Both must not be called on a thread a
//     listener forwards to while the scan thread can still be telling; the
//     desktop program calls requestShutdown, lets its event loop run until
//     isScanThreadActive() is false, and then destroys the session.
//   - The end of a webmaster letter (letterDone) comes later, from the
//     thread that sent it (a sending thread of the mail queue) or gave it up
//     (the owner's), at any time after its letterQueued: during the run,
//     after runFinished, during the next run. The history records it and the
//     listeners hear letterSent or letterNotSent on that thread. The owner
//     keeps the session until its mail queue has ended.
//   - Play right after Stop, while the stopped run's scan thread is still
//     checking its last page: that fetch is cancelled and its result never
//     told; the new run's thread waits for the old one to end and then takes
//     its plan and starts itself (so the new run's statuses appear a moment
//     after onPlay returns). A Stop in that moment also stops the new run.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "scan/CheckedPageQueue.h"
#include "scan/PageFetcher.h"
#include "scan/PageResult.h"
#include "scan/ProfileStatus.h"
#include "scan/RunHistory.h"
#include "scan/RunState.h"
#include "scan/ScanJob.h"
#include "scan/ScanListener.h"
#include "scan/ScanPlan.h"

namespace tarnwick {

class ScanSession {
public:
    // Gives the plan of a run; called at Play on the thread of Play, or on
    // the scan thread when Play came while a stopped run was still ending.
    using PlanSource = std::function<ScanPlan()>;

    // Without a checker, pages are fetched with one PageFetcher per run, side
    // by side as its options say; with one, they are checked with it.
    explicit ScanSession(PlanSource planSource, PageChecker checker = {});
    // Requests shutdown and joins the scan thread (see above).
    ~ScanSession();
    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

    // Listeners and the history are set before the first run (letters of a
    // run may still end after it) and left so.
    void addListener(ScanListener* listener);
    void removeListener(ScanListener* listener);
    // Asked during every later run (the history); none when null.
    void setHistory(RunHistory* history) { m_history = history; }

    void onPlay();
    void onStop();

    // Whether a run is in progress and what Play and Stop may do; the window
    // follows it and tells it whether there is anything to play.
    RunState& runState() { return m_runState; }
    const RunState& runState() const { return m_runState; }

    // A letter told with letterQueued has ended (see above): outcome is
    // kLetterOutcomeSent, or why it was not sent (the text its "Mail
    // Address" cell received last, or the message shown).
    void letterDone(const NotificationJob& job, const std::string& outcome);

    // The time-outs and the number of pages side by side of the fetcher of
    // every later run (without a checker).
    void setFetchOptions(const PageFetcher::Options& options) { m_fetchOptions = options; }
    // What the evidence of every later run's pages is judged with.
    void setLinkRules(const LinkRules& rules) { m_linkRules = rules; }

    // Cancels the fetch in progress; the scan thread tells nothing more (but
    // may be inside a listener) and ends soon after. Returns at once.
    void requestShutdown();

    bool isScanThreadActive() const { return m_activeThreads.load() > 0; }
    // Waits until the scan thread has ended (tests and the command line).
    void waitForScanThread();

    // Pages not yet begun are not checked (Stop, or the end of the run).
    bool stopRequested() const { return m_stopRequested.load(); }
    // The profile rows of the current run from the one marked "Running..."
    // on, "0+2+5+" ("" before the first run).
    std::string runRows() const;

private:
    struct Run;

    void prepareRun(Run& run);
    void scanThread(std::shared_ptr<Run> run, std::thread previous);
    bool beginDeferred(Run& run);
    void fetchInOrder(Run& run);
    void commit(Run& run, const ScanJob& job, const PageResult& checked,
                const PageEvidence& evidence);
    void progress(Run& run, const ScanJob& job);
    void endOfRun(Run& run, bool completed);
    void tellSummary(bool completed);
    // again: tell the marks of profiles already stopped once more.
    void markStopped(Run& run, bool again);
    void setProfileStatus(int profileRow, ProfileStatus status);
    void beginRunning();
    void endRunning();

    PlanSource m_planSource;
    PageChecker m_checker;
    PageFetcher::Options m_fetchOptions;
    LinkRules m_linkRules;
    std::vector<ScanListener*> m_listeners;
    RunHistory* m_history = nullptr;
    RunState m_runState;
    std::atomic<bool> m_stopRequested{false};
    // The scan lock: held by the scan thread for the whole check of a page
    // (and, at the end of a run, across runFinished).
    std::mutex m_scanMutex;
    // Guards m_run, m_stops and the run state's writes of onPlay, onStop and
    // a deferred start; never held while a listener is told.
    mutable std::mutex m_stateMutex;
    std::shared_ptr<Run> m_run;
    std::uint64_t m_stops = 0;
    std::thread m_thread;
    std::atomic<int> m_activeThreads{0};
};

}  // namespace tarnwick
