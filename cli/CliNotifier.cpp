#include "cli/CliNotifier.h"

#include "cli/CliPrinter.h"
#include "common/Cp1252.h"
#include "scan/StatusWords.h"

namespace tarnwick::cli {

CliNotifier::CliNotifier(bool enabled, std::ostream& err, const SmtpClient::Limits& limits)
    : m_err(err) {
    if (enabled) {
        m_queue = std::make_unique<NotificationQueue>(*this);
        m_queue->setLimits(limits);
    }
}

CliNotifier::~CliNotifier() {
    m_queue.reset();  // waits for the letters still queued
}

void CliNotifier::setPrinter(CliPrinter* printer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_printer = printer;
}

void CliNotifier::setLetterListener(NotificationQueue::LetterListener listener) {
    m_listener = listener;
    if (m_queue) {
        m_queue->setLetterListener(std::move(listener));
    }
}

void CliNotifier::setSendingListener(NotificationQueue::SendingListener listener) {
    if (m_queue) {
        m_queue->setSendingListener(std::move(listener));
    }
}

void CliNotifier::beginRun() {
    if (m_queue) {
        m_queue->beginRun();
    }
}

void CliNotifier::letterQueued(const NotificationJob& job) {
    if (m_queue) {
        m_queue->enqueue(job);
    }
}

bool CliNotifier::waitUntilDrained(std::chrono::milliseconds wait) {
    return !m_queue || m_queue->waitUntilDrainedFor(wait);
}

int CliNotifier::giveUpQueued(const std::string& cellText, const std::string& why) {
    if (!m_queue) {
        return 0;
    }
    const std::vector<NotificationJob> unsent = m_queue->takeQueued();
    for (const NotificationJob& job : unsent) {
        showMessage("the letter to " + job.m_mail + " about " + job.m_page +
                    " was not sent: " + why);
        setResultMail(job.m_row, cellText);
        if (m_listener) {
            m_listener(job, cellText);
        }
    }
    return static_cast<int>(unsent.size());
}

void CliNotifier::setResultMail(int row, const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_printer != nullptr && row >= 0) {
        m_printer->setResultMail(row, text);
    }
}

void CliNotifier::showMessage(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_err << "tarnwick-cli: " << cp1252ToUtf8(text) << '\n';
    m_err.flush();
}

}  // namespace tarnwick::cli
