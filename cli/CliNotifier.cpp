#include "cli/CliNotifier.h"

#include "common/Cp1252.h"
#include "scan/StatusWords.h"

namespace tarnwick::cli {

CliNotifier::CliNotifier(bool enabled, std::ostream& err) : m_err(err) {
    if (enabled) {
        m_queue = std::make_unique<NotificationQueue>(*this);
    }
}

CliNotifier::~CliNotifier() {
    m_queue.reset();  // waits for the letters still queued
}

void CliNotifier::SetPanes(ScanPanes* panes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pPanes = panes;
}

void CliNotifier::SetLetterListener(NotificationQueue::LetterListener listener) {
    m_listener = listener;
    if (m_queue) {
        m_queue->SetLetterListener(std::move(listener));
    }
}

void CliNotifier::setSendingListener(NotificationQueue::SendingListener listener) {
    if (m_queue) {
        m_queue->setSendingListener(std::move(listener));
    }
}

void CliNotifier::BeginRun() {
    if (m_queue) {
        m_queue->BeginRun();
    }
}

void CliNotifier::Start(const NotificationJob& job) {
    if (m_queue) {
        m_queue->Enqueue(job);
    }
}

bool CliNotifier::waitUntilDrained(std::chrono::milliseconds wait) {
    return !m_queue || m_queue->WaitUntilDrainedFor(wait);
}

int CliNotifier::giveUpQueued(const std::string& cellText, const std::string& why) {
    if (!m_queue) {
        return 0;
    }
    const std::vector<NotificationJob> unsent = m_queue->TakeQueued();
    for (const NotificationJob& job : unsent) {
        ShowMessage("the letter to " + job.m_strMail + " about " + job.m_strPage +
                    " was not sent: " + why);
        SetResultMail(job.m_nRow, cellText);
        if (m_listener) {
            m_listener(job, cellText);
        }
    }
    return static_cast<int>(unsent.size());
}

void CliNotifier::SetResultMail(int row, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pPanes != nullptr && row >= 0) {
        m_pPanes->SetResultMail(row, text);
    }
}

void CliNotifier::ShowMessage(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_err << "tarnwick-cli: " << Cp1252ToUtf8(text) << '\n';
    m_err.flush();
}

}  // namespace tarnwick::cli
