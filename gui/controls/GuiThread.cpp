#include "gui/controls/GuiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <future>
#include <thread>

namespace tarnwick {

GuiThread::GuiThread() : m_context(std::make_unique<QObject>()) {}

GuiThread::~GuiThread() {
    close();
}

void GuiThread::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Deleting the context drops the calls still queued for it; each dropped
    // call lets its waiting thread go on.
    m_context.reset();
}

bool GuiThread::call(const std::function<void()>& work) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return callThrough(m_context.get(), work, lock);
}

bool GuiThread::callOnApplication(const std::function<void()>& work) {
    // The application object outlives every worker that calls in.
    std::mutex unused;
    std::unique_lock<std::mutex> lock(unused);
    return callThrough(QCoreApplication::instance(), work, lock);
}

bool GuiThread::callThrough(QObject* context, const std::function<void()>& work,
                            std::unique_lock<std::mutex>& lock) {
    if (context == nullptr) {
        return false;
    }
    if (QThread::currentThread() == context->thread()) {
        lock.unlock();
        work();
        return true;
    }
    // The promise is kept by the queued call; whether the call runs or is
    // dropped, releasing it wakes this thread.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::shared_ptr<void> release(nullptr, [done](void*) { done->set_value(); });
    auto ran = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        context,
        [work, ran, release] {
            work();
            *ran = true;
        },
        Qt::QueuedConnection);
    release.reset();
    lock.unlock();
    finished.wait();
    return *ran;
}

void GuiThread::runAside(const std::function<void()>& work) {
    QEventLoop loop;
    std::thread worker([&] {
        work();
        // Queued: delivered once the loop below runs, even when the work was
        // quicker than the loop's start.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
}

}  // namespace tarnwick
