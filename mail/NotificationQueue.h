// The webmaster letters of a scan run, sent a few at a time.
//
// The scan hands each letter over with Enqueue, which returns at once: the
// scan never waits for mail. At most `senders` letters (4 unless told) are
// being sent at any moment, each through SendNotificationProc on a sending
// thread of the queue; the rest wait in order. Outcomes go to the sink given
// at construction, from the sending threads.
//
// Wiring:
//   - the owner (main window, command-line scan) creates one queue with its
//     sink and keeps it for the program's life;
//   - a scan listener told letterQueued(job) calls Enqueue(job);
//   - Play calls BeginRun(), so that an empty Mail.txt is reported once per
//     run ("First Enter The Mail Settings"), not once per page;
//   - before the program ends, the owner waits for the letters still queued.
//     The command-line scan waits a bounded time (WaitUntilDrainedFor), then
//     takes what is still queued (TakeQueued) and names it. The desktop program must
//     keep its event loop turning meanwhile (a sending thread may be showing a
//     message box through the GUI thread): it calls WaitUntilDrained() on a
//     thread of its own while the GUI thread handles events, showing that
//     mail is being sent. WaitUntilDrainedFor polls with a limit instead.
// The destructor waits for every queued letter too, then ends the threads.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "mail/NotificationJob.h"
#include "mail/NotificationSink.h"
#include "mail/SmtpClient.h"

namespace tarnwick {

// The outcome the letter listener hears for a letter that went out.
inline constexpr char kLetterOutcomeSent[] = "sent";

class NotificationQueue {
public:
    static constexpr int kDefaultSenders = 4;

    explicit NotificationQueue(NotificationSink& sink, int senders = kDefaultSenders);
    ~NotificationQueue();
    NotificationQueue(const NotificationQueue&) = delete;
    NotificationQueue& operator=(const NotificationQueue&) = delete;

    // Told of every letter's end, from a sending thread: "sent", or the text
    // its Mail Address cell received (the last one), or the message shown.
    using LetterListener =
        std::function<void(const NotificationJob& job, const std::string& outcome)>;
    // Set before the first Enqueue.
    void setLetterListener(LetterListener listener) { m_listener = std::move(listener); }
    // Told on the sending thread right before a letter's SMTP exchange
    // begins; the letter waits until it returns, so that the history has
    // recorded it before the server can accept it (a program ended right
    // after that acceptance never mails the webmaster again). Set before the
    // first Enqueue.
    using SendingListener = std::function<void(const NotificationJob& job)>;
    void setSendingListener(SendingListener listener) { m_sendingListener = std::move(listener); }

    // The time-outs and deadline of every letter; set before the first
    // Enqueue (the deadline it points to may move while letters are sent).
    void setLimits(const SmtpClient::Limits& limits) { m_limits = limits; }

    // Queues one letter; never blocks on sending.
    void enqueue(NotificationJob job);

    // A new scan run begins: an empty Mail.txt is reported again.
    void beginRun();

    // Letters queued or being sent.
    int outstanding() const;

    // Waits until every queued letter has been sent or has failed.
    void waitUntilDrained();
    // The same with a limit; true when nothing is outstanding any more.
    bool waitUntilDrainedFor(std::chrono::milliseconds timeout);
    // Takes the letters not yet begun out of the queue and returns them, so
    // an owner that cannot wait longer can name them; the letters being sent
    // finish (each within its own time bound).
    std::vector<NotificationJob> takeQueued();

private:
    void run();

    NotificationSink& m_sink;
    const int m_senders;
    SmtpClient::Limits m_limits;
    LetterListener m_listener;
    SendingListener m_sendingListener;
    mutable std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_drained;
    std::deque<NotificationJob> m_jobs;
    int m_busy = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
    std::atomic<bool> m_emptyShown{false};
};

}  // namespace tarnwick
