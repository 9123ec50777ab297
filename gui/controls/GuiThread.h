// The one way between worker threads (scan run, mail senders, the test mail)
// and the GUI thread, where every widget lives.
//
// A worker reaches the GUI thread with Call: the work is queued there and the
// worker waits until it has run. A GuiThread object is a door that can be
// closed: when the window it leads to goes away, Close() drops the calls
// still queued (each waiting worker goes on, told that nothing ran) and turns
// later calls away at once. CallOnApplication goes through the application
// object instead, open for the program's whole life (message boxes, the
// report prompt).
//
// The GUI thread waits for a worker with RunAside: the work runs on a thread
// of its own while the GUI thread keeps handling events, so the window keeps
// painting and the work may Call back without a deadlock.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

namespace tarnwick {

class GuiThread {
public:
    // Made on the GUI thread.
    GuiThread();
    ~GuiThread();
    GuiThread(const GuiThread&) = delete;
    GuiThread& operator=(const GuiThread&) = delete;

    // GUI thread: drops the calls waiting to run; later calls return false.
    void close();

    // Any thread: runs work on the GUI thread and returns once it has run (at
    // once when called there). False, with work not run, after Close().
    bool call(const std::function<void()>& work);

    // The same through the application object; false without one.
    static bool callOnApplication(const std::function<void()>& work);

    // GUI thread: runs work on a thread of its own and handles events until
    // it has finished.
    static void runAside(const std::function<void()>& work);

private:
    // Queues work for context's thread while lock is held (context stays
    // alive), then lets lock go and waits.
    static bool callThrough(QObject* context, const std::function<void()>& work,
                            std::unique_lock<std::mutex>& lock);

    std::unique_ptr<QObject> m_context;
    std::mutex m_mutex;
};

}  // namespace tarnwick
