// Where the command line's scan hands its webmaster letters: the mail
// module's notification queue, which sends a few at a time while the scan goes
// on. A failure text goes into the page's "Mail Address" cell (the command
// line prints it on standard error); messages meant for a message box are
// printed there too. With --no-mail nothing is sent.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <ostream>

#include "mail/NotificationJob.h"
#include "mail/NotificationQueue.h"
#include "mail/NotificationSink.h"
#include "mail/SmtpClient.h"
#include "scan/ScanListener.h"

namespace tarnwick::cli {

class CliPrinter;

class CliNotifier : public NotificationSink, public ScanListener {
public:
    // limits: the time-outs and deadline of every letter.
    CliNotifier(bool enabled, std::ostream& err, const SmtpClient::Limits& limits = {});
    ~CliNotifier() override;

    // The printer whose "Mail Address" cells receive failure texts.
    void setPrinter(CliPrinter* printer);

    // Told of every letter's outcome (before the first letter), also of the
    // letters given up.
    void setLetterListener(NotificationQueue::LetterListener listener);
    // Told right before a letter's SMTP exchange; the letter waits for it.
    void setSendingListener(NotificationQueue::SendingListener listener);

    // Before Play: an empty Mail.txt is reported once per run.
    void beginRun();
    // A letter of the scan, from the scan thread; returns at once.
    void letterQueued(const NotificationJob& job) override;
    // Before the program ends, the letters still queued are waited for a
    // bounded time, in slices (so that a signal can end the wait):
    // true once none is queued or being sent.
    bool waitUntilDrained(std::chrono::milliseconds wait);
    // The letters not yet begun are not sent: each is named on the error
    // stream ("... was not sent: " + why), its "Mail Address" cell gets
    // cellText and the letter listener hears it. The letters being sent go
    // on, each within its own bound. Returns how many were given up.
    int giveUpQueued(const std::string& cellText, const std::string& why);

    void setResultMail(int row, const std::string& text) override;
    void showMessage(const std::string& text) override;

private:
    std::ostream& m_err;
    std::mutex m_mutex;
    CliPrinter* m_printer = nullptr;
    std::unique_ptr<NotificationQueue> m_queue;  // none with --no-mail
    NotificationQueue::LetterListener m_listener;
};

}  // namespace tarnwick::cli
