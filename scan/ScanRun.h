// The scan run: Play checks every publisher page of the ticked profiles in
// results-row order on one scan thread; Stop ends it.
//
// The pages are fetched side by side (PageFetcher: up to Options::jobs on the
// wire, a few per host, all driven by the scan thread), but everything the
// run shows follows the rows one by one as below: row k is "the page being
// checked" (PageStarted, g_csScan held) from the moment row k-1's result and
// steps are written until its own are. Pages further down that finish sooner
// wait in memory (their result and evidence, never their bodies) for their
// turn; their fetches never wait for that turn. With one job, or with a
// PageChecker, one page is fetched after the other.
//
// Play (OnPlay):
//   - sets the run flags (Stop enabled, Play disabled, running, report not
//     saved, stop flag cleared), writes "Running..." on the first ticked
//     profile and "Waiting..." on the others, records the ticked rows in
//     g_strRunRows ("0+2+5+"), rebuilds the results pane and takes every
//     results row as a ScanJob;
//   - starts the scan thread and returns. Play while a run is in progress
//     (g_bScanRunning) does nothing.
// The scan thread, for each row, holding g_csScan for the whole page:
//   - ends the run's work when the stop flag is set (Stop has already marked
//     the rows left "Stopped by user");
//   - PageStarted(row) (and PagesFetched whenever pages come back from the
//     wire, those ahead of the row included), checks the page, hands what the fetch saw of the
//     link's worth to SetResultEvidence and writes the result into its
//     Status (SetResult: with the reason and the HTTP status);
//   - for "Link Not Found" or "Page Cannot be Found" with notification
//     "Enabled" hands a NotificationJob to StartNotification (never waits);
//     such a result comes only from a page seen completely (see PageFetcher).
//     A profile without an advertiser's address has nothing to ask back:
//     no letter, and its Mail Address cell says so;
//   - profile progression: when the page belongs to another profile than the
//     one marked "Running...", that one becomes "Completed." and the page's
//     profile "Running..." (profiles without pages in between become
//     "Completed." on the way);
//   - after the last row: the current profile becomes "Completed" (profiles
//     without pages after it "Completed."), the flags go back (Play enabled,
//     Stop disabled, stop flag set, not running) and OfferReport runs, still
//     under g_csScan.
// A run without pages ends at once in the same way.
// Stop (OnStop): sets the flags as the end of a run does, writes "Stopped by
// user" into every empty Status and "Stopped." on waiting and running
// profiles, and runs OfferReport. It does not interrupt the page being
// checked: that page still gets its result, notification and progression,
// and when it is the last row the end of the run follows (a second report
// prompt). Every fetch of a later row ends at once and shows nothing.
//
// Threads and the panes:
//   - OnPlay, OnStop, WaitForScanThread, RequestShutdown and the destructor
//     are called from one thread (the GUI thread in the desktop program); the
//     panes calls they make run on that thread. The scan thread calls the
//     panes from its own thread, some of them (OfferReport, the end of run)
//     while holding g_csScan. A panes implementation that forwards calls to
//     another thread and waits for them must run a call made on that thread
//     itself directly.
//   - No call on the caller's thread ever waits for the scan thread or takes
//     g_csScan, with two exceptions: WaitForScanThread, and the destructor
//     (which joins). Both must not be called on a thread the panes forward to
//     while the scan thread can still be in a panes call; the desktop program
//     calls RequestShutdown, lets its event loop run until
//     IsScanThreadActive() is false, and then destroys the ScanRun.
//   - Play right after Stop, while the stopped run's scan thread is still
//     checking its last page: that fetch is cancelled and its result never
//     shown; the new run's thread waits for the old one to end and then sets
//     up the panes itself (so the new run's statuses appear a moment after
//     OnPlay returns). A Stop in that moment also stops the new run.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "scan/PageFetcher.h"
#include "scan/PageResult.h"
#include "scan/RunObserver.h"
#include "scan/ScanJob.h"
#include "scan/ScanPanes.h"

namespace tarnwick {

// Checks one page: one of the four result words, with its reason.
using PageChecker =
    std::function<PageResult(const std::string& page, const std::string& advertiser)>;

class ScanRun {
public:
    // Without a checker, pages are fetched with one PageFetcher per run, side
    // by side as its options say.
    explicit ScanRun(ScanPanes& panes, PageChecker checker = {});
    // Requests shutdown and joins the scan thread (see above).
    ~ScanRun();
    ScanRun(const ScanRun&) = delete;
    ScanRun& operator=(const ScanRun&) = delete;

    void onPlay();
    void onStop();

    // The time-outs and the number of pages side by side of the fetcher of
    // every later run (without a checker).
    void setFetchOptions(const PageFetcher::Options& options) { m_fetchOptions = options; }
    // What the evidence of every later run's pages is judged with.
    void setLinkRules(const LinkRules& rules) { m_linkRules = rules; }
    // Watches every later run (the history); none when null. Set it between
    // runs only.
    void setObserver(RunObserver* observer) { m_observer = observer; }

    // Cancels the fetch in progress; the scan thread makes no further panes
    // call (but may be inside one) and ends soon after. Returns at once.
    void requestShutdown();

    bool isScanThreadActive() const { return m_activeThreads.load() > 0; }
    // Waits until the scan thread has ended (tests and the command line).
    void waitForScanThread();

private:
    struct Run;

    void prepareRun(Run& run, bool onScanThread);
    void scanThread(std::shared_ptr<Run> run, std::thread previous);
    bool beginDeferred(Run& run);
    void fetchInOrder(Run& run);
    void commit(Run& run, const ScanJob& job, const PageResult& checked,
                const PageEvidence& evidence);
    void progress(Run& run, const ScanJob& job);
    void endOfRun(bool completed);
    void endObserved(bool completed);
    void markStopped();

    ScanPanes& m_panes;
    PageChecker m_checker;
    PageFetcher::Options m_fetchOptions;
    LinkRules m_linkRules;
    RunObserver* m_observer = nullptr;
    // Guards m_run, m_stops and the flag writes of OnPlay, OnStop and a
    // deferred start; never held across a panes call.
    std::mutex m_stateMutex;
    std::shared_ptr<Run> m_run;
    std::uint64_t m_stops = 0;
    std::thread m_thread;
    std::atomic<int> m_activeThreads{0};
};

}  // namespace tarnwick
