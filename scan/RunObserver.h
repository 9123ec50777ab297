// Watches a scan run from beside it (the run history). ScanRun calls it at
// the start of a run, after each checked page, before each webmaster letter
// and at the end. RunStarted and RunEnded may be called on the thread of
// Play and Stop (the GUI thread) and must return at once; the others come
// from the scan thread.
#pragma once

#include <string>
#include <vector>

#include "scan/PageEvidence.h"
#include "scan/PageResult.h"
#include "scan/ScanJob.h"

namespace tarnwick {

class RunObserver {
public:
    virtual ~RunObserver() = default;

    virtual void runStarted(const std::vector<ScanJob>& jobs) = 0;
    // What the fetch of a page saw besides its result, just before
    // PageChecked for the same page (not called for pages checked without
    // evidence).
    virtual void pageEvidenceSeen(const ScanJob& /*job*/, const PageEvidence& /*evidence*/) {}
    // Returns the text of the page's "Since last run" cell ("" when unknown).
    virtual std::string pageChecked(const ScanJob& job, const PageResult& result) = 0;
    // Before a letter: "" lets it go, otherwise why it is held back.
    virtual std::string letterHeldBack(const ScanJob& job) = 0;
    // completed: the last page was checked; otherwise Stop. Returns the
    // run's summary for the status bar ("" when there is none). Called twice
    // when the page checked during Stop was the last one.
    virtual std::string runEnded(bool completed) = 0;
};

}  // namespace tarnwick
