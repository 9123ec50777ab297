#include "gui/app/WindowScanPanes.h"

#include "gui/app/MainWindow.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/controls/AppMessageBox.h"
#include "mail/MailSender.h"
#include "scan/StatusWords.h"

namespace tarnwick {

WindowScanPanes::WindowScanPanes(MainWindow& frame) : m_frame(frame) {}

WindowScanPanes::~WindowScanPanes() {
    close();
}

void WindowScanPanes::close() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_guiThread.close();
}

bool WindowScanPanes::onGuiThread(const std::function<void()>& work) {
    return m_guiThread.call(work);
}

ScanPlan WindowScanPanes::plan() {
    ScanPlan plan;
    onGuiThread([&] {
        ResultsPane& results = *m_frame.resultsPane();
        results.rebuildForRun();
        plan.m_profiles = m_frame.profilePane()->tickedProfiles();
        for (const ResultRow& row : results.model().rows()) {
            plan.addRow(row);
        }
    });
    return plan;
}

int WindowScanPanes::profileRowCount() {
    int count = 0;
    onGuiThread([&] { count = m_frame.profilePane()->profileRowCount(); });
    return count;
}

void WindowScanPanes::setProfileStatus(int row, const std::string& status) {
    onGuiThread([&] { m_frame.profilePane()->setProfileStatus(row, status); });
}

void WindowScanPanes::profileStatusChanged(int profileRow, ProfileStatus status) {
    setProfileStatus(profileRow, profileStatusWord(status));
}

int WindowScanPanes::resultRowCount() {
    int count = 0;
    onGuiThread([&] { count = m_frame.resultsPane()->rowCount(); });
    return count;
}

ResultRow WindowScanPanes::resultRowAt(int row) {
    ResultRow value;
    onGuiThread([&] { value = m_frame.resultsPane()->rowAt(row); });
    return value;
}

void WindowScanPanes::setResultStatus(int row, LinkResult result) {
    onGuiThread([&] { m_frame.resultsPane()->setResult(row, result); });
}

void WindowScanPanes::pageChecked(const ScanJob& job, const PageResult& result,
                                  const PageEvidence& evidence, const std::string& change) {
    onGuiThread([&] {
        ResultsPane& results = *m_frame.resultsPane();
        if (evidence.m_checked) {
            results.setEvidence(job.m_row, evidence);
        }
        results.setResult(job.m_row, result);
        if (!change.empty()) {
            results.setChange(job.m_row, change);
        }
    });
}

void WindowScanPanes::pageStopped(int row) {
    onGuiThread([&] {
        ResultsPane& results = *m_frame.resultsPane();
        if (row < results.rowCount() && !results.rowAt(row).hasStatus()) {
            results.setStopped(row);
        }
    });
}

void WindowScanPanes::setResultMail(int row, const std::string& text) {
    // Counted once the letter has ended (letterSent, letterNotSent): a letter may write
    // more than one text on its way.
    onGuiThread([&] { m_frame.resultsPane()->setMail(row, text); });
}

void WindowScanPanes::letterHeldBack(const ScanJob& job, const std::string& reason) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_letters.m_held;
    }
    onGuiThread([&] {
        m_frame.resultsPane()->setLetter(job.m_row, LetterMark::HeldBack, kNotMailed + reason);
    });
}

void WindowScanPanes::letterSent(const NotificationJob& job) {
    markLetter(job, true, {});
}

void WindowScanPanes::letterNotSent(const NotificationJob& job, const std::string& why) {
    markLetter(job, false, why);
}

void WindowScanPanes::markLetter(const NotificationJob& job, bool sent, const std::string& why) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (sent) {
            ++m_letters.m_sent;
        } else {
            ++m_letters.m_failures[why];
        }
    }
    onGuiThread([&] {
        m_frame.resultsPane()->setLetter(
            job.m_row, sent ? LetterMark::Sent : LetterMark::Failed,
            sent ? "Letter sent to " + job.m_mail
                 : "Letter to " + job.m_mail + " could not be sent: " + why,
            job.m_mail);
    });
}

void WindowScanPanes::beginRun(bool withoutMail) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_withoutMail = withoutMail;
    m_letters = LetterCounts{};
}

LetterCounts WindowScanPanes::letters() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_letters;
}

void WindowScanPanes::runSummary(const std::string& summary) {
    onGuiThread([&] { m_frame.showRunSummary(summary); });
}

void WindowScanPanes::runFinished(bool /*completed*/) {
    onGuiThread([&] {
        m_frame.showReady();
        m_frame.updateCommandUi();
        if (m_offerReport) {
            m_offerReport();
        }
    });
}

void WindowScanPanes::letterQueued(const NotificationJob& job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed || m_withoutMail) {
            return;
        }
        ++m_letters.m_handedOver;
    }
    if (m_startNotification) {
        m_startNotification(job);
    }
}

void WindowScanPanes::showMessage(const std::string& text) {
    if (text == kMsgMessageSent) {
        AppMessageBox::inform(text, nullptr);
    } else {
        AppMessageBox::show(text, AppMessageBox::Buttons::Ok, nullptr);
    }
}

void WindowScanPanes::pageStarted(int row) {
    // Progress only: noted for the window's next update, without a wait.
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) {
        m_frame.notePageStarted(row);
    }
}

void WindowScanPanes::pagesFetched(int fetched) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_closed) {
        m_frame.notePagesFetched(fetched);
    }
}

}  // namespace tarnwick
