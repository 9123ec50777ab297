#include "gui/app/WindowScanPanes.h"

#include "gui/app/MainWindow.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultsPane.h"
#include "gui/controls/AppMessageBox.h"
#include "mail/MailSender.h"
#include "mail/NotificationQueue.h"

namespace tarnwick {

WindowScanPanes::WindowScanPanes(MainWindow& frame) : m_frame(frame) {}

WindowScanPanes::~WindowScanPanes() {
    Close();
}

void WindowScanPanes::Close() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
    }
    m_guiThread.Close();
}

bool WindowScanPanes::OnGuiThread(const std::function<void()>& work) {
    return m_guiThread.Call(work);
}

int WindowScanPanes::ProfileRowCount() {
    int count = 0;
    OnGuiThread([&] { count = m_frame.profilePane()->ProfileRowCount(); });
    return count;
}

bool WindowScanPanes::IsProfileTicked(int row) {
    bool ticked = false;
    OnGuiThread([&] { ticked = m_frame.profilePane()->IsProfileTicked(row); });
    return ticked;
}

std::string WindowScanPanes::ProfileStatus(int row) {
    std::string status;
    OnGuiThread([&] { status = m_frame.profilePane()->ProfileStatus(row); });
    return status;
}

void WindowScanPanes::SetProfileStatus(int row, const std::string& status) {
    OnGuiThread([&] { m_frame.profilePane()->SetProfileStatus(row, status); });
}

void WindowScanPanes::RebuildResults() {
    OnGuiThread([&] { m_frame.resultsPane()->RebuildForRun(); });
}

int WindowScanPanes::ResultRowCount() {
    int count = 0;
    OnGuiThread([&] { count = m_frame.resultsPane()->RowCount(); });
    return count;
}

ResultRow WindowScanPanes::ResultRowAt(int row) {
    ResultRow value;
    OnGuiThread([&] { value = m_frame.resultsPane()->RowAt(row); });
    return value;
}

void WindowScanPanes::SetResultStatus(int row, const std::string& status) {
    OnGuiThread([&] { m_frame.resultsPane()->SetStatus(row, status); });
}

void WindowScanPanes::SetResult(int row, const PageResult& result) {
    OnGuiThread([&] { m_frame.resultsPane()->SetResult(row, result); });
}

void WindowScanPanes::SetResultEvidence(int row, const PageEvidence& evidence) {
    OnGuiThread([&] { m_frame.resultsPane()->SetEvidence(row, evidence); });
}

void WindowScanPanes::SetResultMail(int row, const std::string& text) {
    // Counted once the letter has ended (letterDone): a letter may write
    // more than one text on its way.
    OnGuiThread([&] { m_frame.resultsPane()->SetMail(row, text); });
}

void WindowScanPanes::SetLetterHeldBack(int row, const std::string& reason) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_letters.m_nHeld;
    }
    OnGuiThread(
        [&] { m_frame.resultsPane()->SetLetter(row, LetterMark::HeldBack, kNotMailed + reason); });
}

void WindowScanPanes::letterDone(const NotificationJob& job, const std::string& outcome) {
    const bool sent = outcome == kLetterOutcomeSent;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (sent) {
            ++m_letters.m_nSent;
        } else {
            ++m_letters.m_failures[outcome];
        }
    }
    OnGuiThread([&] {
        m_frame.resultsPane()->SetLetter(
            job.m_nRow, sent ? LetterMark::Sent : LetterMark::Failed,
            sent ? "Letter sent to " + job.m_strMail
                 : "Letter to " + job.m_strMail + " could not be sent: " + outcome,
            job.m_strMail);
    });
}

void WindowScanPanes::BeginRun(bool withoutMail) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bWithoutMail = withoutMail;
    m_letters = LetterCounts{};
}

LetterCounts WindowScanPanes::Letters() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_letters;
}

void WindowScanPanes::SetResultChange(int row, const std::string& text) {
    OnGuiThread([&] { m_frame.resultsPane()->SetChange(row, text); });
}

void WindowScanPanes::ShowRunSummary(const std::string& summary) {
    OnGuiThread([&] { m_frame.ShowRunSummary(summary); });
}

void WindowScanPanes::OfferReport() {
    OnGuiThread([&] {
        m_frame.ShowReady();
        m_frame.UpdateCommandUI();
        if (m_fnOfferReport) {
            m_fnOfferReport();
        }
    });
}

void WindowScanPanes::StartNotification(const NotificationJob& job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bClosed || m_bWithoutMail) {
            return;
        }
        ++m_letters.m_nHandedOver;
    }
    if (m_fnStartNotification) {
        m_fnStartNotification(job);
    }
}

void WindowScanPanes::ShowMessage(const std::string& text) {
    if (text == kMsgMessageSent) {
        AppMessageBox::Inform(text, nullptr);
    } else {
        AppMessageBox::Show(text, AppMessageBox::Buttons::Ok, nullptr);
    }
}

void WindowScanPanes::PageStarted(int row) {
    // Progress only: noted for the window's next update, without a wait.
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_bClosed) {
        m_frame.NotePageStarted(row);
    }
}

void WindowScanPanes::PagesFetched(int fetched) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_bClosed) {
        m_frame.NotePagesFetched(fetched);
    }
}

}  // namespace tarnwick
