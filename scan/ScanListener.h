// Follows a scan session: the desktop program's list models, the command
// line's printer, a test's tables. Several listen to one session, each told
// every event in the order below, from the thread that caused it (the scan
// thread, or the thread of Play and Stop; the end of a letter, from the
// thread that sent it or gave it up). A listener that shows the events
// elsewhere (the GUI thread) carries them over itself; one that waits for
// that thread must run an event made on it directly.
//
// Rows are the rows of the run's plan; profile rows those of the profile
// pane. Every method does nothing unless overridden.
#pragma once

#include <memory>
#include <string>

#include "mail/NotificationJob.h"
#include "scan/PageEvidence.h"
#include "scan/PageResult.h"
#include "scan/ProfileStatus.h"
#include "scan/ScanJob.h"
#include "scan/ScanPlan.h"

namespace tarnwick {

class ScanListener {
public:
    virtual ~ScanListener() = default;

    // A profile's Status: running, waiting, done...
    virtual void profileStatusChanged(int /*profileRow*/, ProfileStatus /*status*/) {}
    // The results list becomes the plan's rows, each with an empty Status.
    // Told after the profiles of the run have their first status. The plan
    // does not change while the run goes on; a listener may keep it rather
    // than copy its pages.
    virtual void runStarted(const std::shared_ptr<const ScanPlan>& /*plan*/) {}
    // The page of a row is about to be checked (progress display).
    virtual void pageStarted(int /*row*/) {}
    // How many pages of the run have come back from the wire so far, those
    // still waiting for their turn behind the page being checked included.
    virtual void pagesFetched(int /*fetched*/) {}
    // A page's result. evidence.m_checked is false when the check saw
    // nothing besides the result; change is the "Since last run" text, ""
    // when unknown. A result replaces a stop mark of the same row.
    virtual void pageChecked(const ScanJob& /*job*/, const PageResult& /*result*/,
                             const PageEvidence& /*evidence*/, const std::string& /*change*/) {}
    // Stop reached a row without a result: it shows "Stopped by user" unless
    // its result came meanwhile (a stop mark never replaces a result).
    virtual void pageStopped(int /*row*/) {}
    // A webmaster letter the letter rules hold back, and why.
    virtual void letterHeldBack(const ScanJob& /*job*/, const std::string& /*reason*/) {}
    // A webmaster letter handed over to be sent; must not wait for the mail.
    virtual void letterQueued(const NotificationJob& /*job*/) {}
    // The end of a letter told with letterQueued, later and on the mail's
    // own thread (a sending thread of the mail queue, or the owner's thread
    // when the letters still queued are given up): it was sent, or it was
    // not and why (the text its "Mail Address" cell received last, or the
    // message shown). It may come after runFinished, or during the next
    // run; the history has recorded it already.
    virtual void letterSent(const NotificationJob& /*job*/) {}
    virtual void letterNotSent(const NotificationJob& /*job*/, const std::string& /*why*/) {}
    // A line for the status bar: what changed, or that pages could not be
    // rendered.
    virtual void runSummary(const std::string& /*summary*/) {}
    // The run ended (completed: its last page was checked; otherwise Stop):
    // the moment of the report prompt. Told twice when the page checked
    // during Stop was the last one.
    virtual void runFinished(bool /*completed*/) {}
};

}  // namespace tarnwick
