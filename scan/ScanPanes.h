// The two panes as the scan run sees them. The desktop program implements this
// on its list models (every call completes on the GUI thread before it
// returns); the command-line companion on plain tables and standard output.
#pragma once

#include <string>

#include "mail/NotificationJob.h"
#include "scan/PageResult.h"
#include "scan/ResultRow.h"
#include "scan/StatusWords.h"

namespace tarnwick {

class ScanPanes {
public:
    virtual ~ScanPanes() = default;

    // Profile pane.
    virtual int profileRowCount() = 0;
    virtual bool isProfileTicked(int row) = 0;
    virtual std::string profileStatus(int row) = 0;
    virtual void setProfileStatus(int row, const std::string& status) = 0;

    // Results pane. RebuildResults clears it and fills it with one row per
    // page of the ticked profiles, profile after profile, with an empty Status.
    virtual void rebuildResults() = 0;
    virtual int resultRowCount() = 0;
    virtual ResultRow resultRowAt(int row) = 0;
    virtual void setResultStatus(int row, const std::string& status) = 0;
    virtual void setResultMail(int row, const std::string& text) = 0;
    // The row's letter is held back by the letter rules (reason: why). Panes
    // without a mark of their own write "Not mailed: " + reason as the
    // Mail Address cell's text.
    virtual void setLetterHeldBack(int row, const std::string& reason) {
        setResultMail(row, kNotMailed + reason);
    }
    // A page's result: its Status, and the reason and HTTP status kept with
    // the row. Panes that keep only the Status need not override it.
    virtual void setResult(int row, const PageResult& result) {
        setResultStatus(row, result.m_status);
    }
    // What the check of the row's page saw of the link's worth (before its
    // result is written). Panes that show none need not override it.
    virtual void setResultEvidence(int /*row*/, const PageEvidence& /*evidence*/) {}

    // The report prompt, at the end of a run and after Stop.
    virtual void offerReport() = 0;
    // Hands one webmaster letter over; must not wait for it to be sent.
    virtual void startNotification(const NotificationJob& job) = 0;
    // The page of a row is about to be fetched (progress display).
    virtual void pageStarted(int /*row*/) {}
    // How many pages of the run have come back from the wire so far, those
    // still waiting for their turn behind the page being checked included
    // (progress display; called from the scan thread whenever it grows).
    virtual void pagesFetched(int /*fetched*/) {}
    // The page's change since the last run ("Since last run" column).
    virtual void setResultChange(int /*row*/, const std::string& /*text*/) {}
    // At the end of a run (and after Stop): what changed, for the status bar.
    virtual void showRunSummary(const std::string& /*summary*/) {}
};

}  // namespace tarnwick
