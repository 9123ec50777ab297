#include "mail/NotificationQueue.h"

#include <exception>
#include <iterator>

#include "mail/SendNotificationProc.h"

namespace tarnwick {
namespace {

// Passes everything on and keeps the last text of the letter's row.
class OutcomeSink : public NotificationSink {
public:
    OutcomeSink(NotificationSink& sink, int row) : m_sink(sink), m_nRow(row) {}
    void SetResultMail(int row, const std::string& text) override {
        if (row == m_nRow) {
            m_strOutcome = text;
        }
        m_sink.SetResultMail(row, text);
    }
    void ShowMessage(const std::string& text) override {
        m_strOutcome = text;
        m_sink.ShowMessage(text);
    }
    const std::string& Outcome() const { return m_strOutcome; }

private:
    NotificationSink& m_sink;
    int m_nRow;
    std::string m_strOutcome;
};

}  // namespace

NotificationQueue::NotificationQueue(NotificationSink& sink, int senders)
    : m_sink(sink), m_nSenders(senders > 0 ? senders : 1) {}

NotificationQueue::~NotificationQueue() {
    WaitUntilDrained();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_cvWork.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

void NotificationQueue::Enqueue(NotificationJob job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
        // A sending thread is started only when every existing one is busy.
        const int idle = static_cast<int>(m_threads.size()) - m_nBusy;
        if (static_cast<int>(m_jobs.size()) > idle &&
            static_cast<int>(m_threads.size()) < m_nSenders) {
            m_threads.emplace_back([this] { Run(); });
        }
    }
    m_cvWork.notify_one();
}

void NotificationQueue::BeginRun() {
    m_bEmptyShown = false;
}

int NotificationQueue::Outstanding() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_jobs.size()) + m_nBusy;
}

void NotificationQueue::WaitUntilDrained() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cvDrained.wait(lock, [this] { return m_jobs.empty() && m_nBusy == 0; });
}

bool NotificationQueue::WaitUntilDrainedFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cvDrained.wait_for(lock, timeout, [this] { return m_jobs.empty() && m_nBusy == 0; });
}

std::vector<NotificationJob> NotificationQueue::TakeQueued() {
    std::vector<NotificationJob> taken;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        taken.assign(std::make_move_iterator(m_jobs.begin()),
                     std::make_move_iterator(m_jobs.end()));
        m_jobs.clear();
        if (m_nBusy == 0) {
            m_cvDrained.notify_all();
        }
    }
    return taken;
}

void NotificationQueue::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_cvWork.wait(lock, [this] { return m_bStopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return;
        }
        NotificationJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        ++m_nBusy;
        lock.unlock();
        OutcomeSink sink(m_sink, job.m_nRow);
        int stoppedEarly = 1;
        try {
            stoppedEarly = SendNotificationProc(job, sink, &m_bEmptyShown, [this, &job] {
                if (m_sendingListener) {
                    m_sendingListener(job);
                }
            });
        } catch (const std::exception& e) {
            // Out of memory or the like: the letter fails, the thread goes on.
            sink.SetResultMail(job.m_nRow, e.what());
        }
        if (m_listener) {
            std::string outcome = sink.Outcome();
            if (outcome.empty()) {
                outcome = stoppedEarly == 0 ? kLetterOutcomeSent : "not sent";
            }
            m_listener(job, outcome);
        }
        lock.lock();
        --m_nBusy;
        if (m_jobs.empty() && m_nBusy == 0) {
            m_cvDrained.notify_all();
        }
    }
}

}  // namespace tarnwick
