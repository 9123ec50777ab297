// The run history as the scan session's collaborator: the session asks it at
// the start of a run, after each checked page (its change since the last
// run), before each webmaster letter (whether the letter rules hold it back)
// and at the end (the run's summary), and tells its listeners the answers;
// it also hands over the end of every letter. runStarted and runEnded may be
// called on the thread of Play and Stop (the GUI thread) and must return at
// once; letterDone comes from the thread that sent the letter or gave it up;
// the others come from the scan thread.
#pragma once

#include <string>
#include <vector>

#include "mail/NotificationJob.h"
#include "scan/PageEvidence.h"
#include "scan/PageResult.h"
#include "scan/ScanJob.h"
#include "scan/ScanPlan.h"

namespace tarnwick {

class RunHistory {
public:
    virtual ~RunHistory() = default;

    virtual void runStarted(const ScanPlan& plan) = 0;
    // What the fetch of a page saw besides its result, just before
    // PageChecked for the same page (not called for pages checked without
    // evidence).
    virtual void pageEvidenceSeen(const ScanJob& /*job*/, const PageEvidence& /*evidence*/) {}
    // Returns the text of the page's "Since last run" cell ("" when unknown).
    virtual std::string pageChecked(const ScanJob& job, const PageResult& result) = 0;
    // Before a letter: "" lets it go, otherwise why it is held back.
    virtual std::string letterHeldBack(const ScanJob& job) = 0;
    // A letter let go ended: outcome is kLetterOutcomeSent or why it was not
    // sent.
    virtual void letterDone(const NotificationJob& /*job*/, const std::string& /*outcome*/) {}
    // completed: the last page was checked; otherwise Stop. Returns the
    // run's summary for the status bar ("" when there is none). Called twice
    // when the page checked during Stop was the last one.
    virtual std::string runEnded(bool completed) = 0;
};

}  // namespace tarnwick
