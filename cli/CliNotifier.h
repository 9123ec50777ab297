// Where the command line's scan hands its webmaster letters. This is the one
// place that will pass them to the mail module's notification sender once the
// core has it; until then every letter is reported on standard error as not
// sent. With --no-mail nothing is sent or reported.
#pragma once

#include <mutex>
#include <ostream>

#include "mail/NotificationJob.h"

namespace tarnwick::cli {

class CliNotifier {
public:
    CliNotifier(bool enabled, std::ostream& err) : m_bEnabled(enabled), m_err(err) {}

    // From the scan thread; must not wait for the letter to be sent.
    void Start(const NotificationJob& job);
    // Before the program ends: waits for letters still being sent.
    void WaitForAll();

private:
    bool m_bEnabled;
    std::ostream& m_err;
    std::mutex m_mutex;
};

}  // namespace tarnwick::cli
