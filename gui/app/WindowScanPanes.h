// The two panes of the main window as the scan session and the mail senders
// see them: the session's plan is taken from the window's models, and its
// events are shown in them. The scan thread and the sending threads call in
// from their own threads: every call is carried over to the GUI thread,
// applied there, and complete before it returns. Calls from the GUI thread
// itself (Play, Stop) are applied at once.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "gui/controls/GuiThread.h"
#include "mail/NotificationSink.h"
#include "scan/ScanListener.h"
#include "scan/ScanPlan.h"
#include "viewrules/ResultsView.h"

namespace tarnwick {

class MainWindow;

class WindowScanPanes : public ScanListener, public NotificationSink {
public:
    explicit WindowScanPanes(MainWindow& frame);
    ~WindowScanPanes() override;
    WindowScanPanes(const WindowScanPanes&) = delete;
    WindowScanPanes& operator=(const WindowScanPanes&) = delete;

    // GUI thread, when the window goes away: calls waiting for the GUI thread
    // return without effect, and later ones return at once.
    void close();

    // What the report prompt does (on the GUI thread) and where a webmaster
    // letter goes (on the calling thread; it must not wait for the mail).
    void setOfferReport(std::function<void()> offer) { m_offerReport = std::move(offer); }
    void setStartNotification(std::function<void(const NotificationJob&)> start) {
        m_startNotification = std::move(start);
    }

    // A new run: its letters are counted afresh; without mailing, letters
    // the run would send are dropped (nothing is written in their rows).
    void beginRun(bool withoutMail);
    LetterCounts letters() const;

    // The plan of a run: the results pane is built afresh for the ticked
    // profiles (without the last run's results) and its rows are the pages.
    ScanPlan plan();

    int profileRowCount();
    void setProfileStatus(int row, const std::string& status);
    int resultRowCount();
    ResultRow resultRowAt(int row);
    void setResultStatus(int row, LinkResult result);
    // Also where a letter's failure is written (row -1, the test mail: nothing).
    void setResultMail(int row, const std::string& text) override;

    // ScanListener.
    void profileStatusChanged(int profileRow, ProfileStatus status) override;
    // Noted for the status bar's progress; does not wait for the window.
    void pageStarted(int row) override;
    void pagesFetched(int fetched) override;
    void pageChecked(const ScanJob& job, const PageResult& result, const PageEvidence& evidence,
                     const std::string& change) override;
    void pageStopped(int row) override;
    // The address stays in the cell, marked as held back; counted.
    void letterHeldBack(const ScanJob& job, const std::string& reason) override;
    void letterQueued(const NotificationJob& job) override;
    // The end of a letter, from its sending thread: counted, and its row
    // marked on the GUI thread.
    void letterSent(const NotificationJob& job) override;
    void letterNotSent(const NotificationJob& job, const std::string& why) override;
    void runSummary(const std::string& summary) override;
    // The report prompt.
    void runFinished(bool completed) override;

    // NotificationSink: a message box, from any thread.
    void showMessage(const std::string& text) override;

private:
    void markLetter(const NotificationJob& job, bool sent, const std::string& why);
    // Runs work on the GUI thread and waits for it; false when the panes
    // were closed before it could run.
    bool onGuiThread(const std::function<void()>& work);

    MainWindow& m_frame;
    GuiThread m_guiThread;
    mutable std::mutex m_mutex;  // guards m_closed and the letter counts
    bool m_closed = false;
    bool m_withoutMail = false;
    LetterCounts m_letters;
    std::function<void()> m_offerReport;
    std::function<void(const NotificationJob&)> m_startNotification;
};

}  // namespace tarnwick
