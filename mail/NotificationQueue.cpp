#include "mail/NotificationQueue.h"

#include <exception>
#include <iterator>

#include "mail/SendNotificationProc.h"

namespace tarnwick {
namespace {

// Passes everything on and keeps the last text of the letter's row.
class OutcomeSink : public NotificationSink {
public:
    OutcomeSink(NotificationSink& sink, int row) : m_sink(sink), m_row(row) {}
    void setResultMail(int row, const std::string& text) override {
        if (row == m_row) {
            m_outcome = text;
        }
        m_sink.setResultMail(row, text);
    }
    void showMessage(const std::string& text) override {
        m_outcome = text;
        m_sink.showMessage(text);
    }
    const std::string& outcome() const { return m_outcome; }

private:
    NotificationSink& m_sink;
    int m_row;
    std::string m_outcome;
};

}  // namespace

NotificationQueue::NotificationQueue(NotificationSink& sink, int senders)
    : m_sink(sink), m_senders(senders > 0 ? senders : 1) {}

NotificationQueue::~NotificationQueue() {
    waitUntilDrained();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_work.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

void NotificationQueue::enqueue(NotificationJob job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
        // A sending thread is started only when every existing one is busy.
        const int idle = static_cast<int>(m_threads.size()) - m_busy;
        if (static_cast<int>(m_jobs.size()) > idle &&
            static_cast<int>(m_threads.size()) < m_senders) {
            m_threads.emplace_back([this] { run(); });
        }
    }
    m_work.notify_one();
}

void NotificationQueue::beginRun() {
    m_emptyShown = false;
}

int NotificationQueue::outstanding() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_jobs.size()) + m_busy;
}

void NotificationQueue::waitUntilDrained() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_drained.wait(lock, [this] { return m_jobs.empty() && m_busy == 0; });
}

bool NotificationQueue::waitUntilDrainedFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_drained.wait_for(lock, timeout, [this] { return m_jobs.empty() && m_busy == 0; });
}

std::vector<NotificationJob> NotificationQueue::takeQueued() {
    std::vector<NotificationJob> taken;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        taken.assign(std::make_move_iterator(m_jobs.begin()),
                     std::make_move_iterator(m_jobs.end()));
        m_jobs.clear();
        if (m_busy == 0) {
            m_drained.notify_all();
        }
    }
    return taken;
}

void NotificationQueue::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return;
        }
        NotificationJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        ++m_busy;
        lock.unlock();
        OutcomeSink sink(m_sink, job.m_row);
        int stoppedEarly = 1;
        try {
            stoppedEarly = sendNotificationProc(job, sink, m_limits, &m_emptyShown, [this, &job] {
                if (m_sendingListener) {
                    m_sendingListener(job);
                }
            });
        } catch (const std::exception& e) {
            // Out of memory or the like: the letter fails, the thread goes on.
            sink.setResultMail(job.m_row, e.what());
        }
        if (m_listener) {
            std::string outcome = sink.outcome();
            if (outcome.empty()) {
                outcome = stoppedEarly == 0 ? kLetterOutcomeSent : "not sent";
            }
            m_listener(job, outcome);
        }
        lock.lock();
        --m_busy;
        if (m_jobs.empty() && m_busy == 0) {
            m_drained.notify_all();
        }
    }
}

}  // namespace tarnwick
