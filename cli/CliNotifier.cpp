#include "cli/CliNotifier.h"

#include "common/Cp1252.h"

namespace tarnwick::cli {

void CliNotifier::Start(const NotificationJob& job) {
    if (!m_bEnabled) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_err << "tarnwick-cli: webmaster of " << Cp1252ToUtf8(job.m_strPage) << " ("
          << Cp1252ToUtf8(job.m_strMail) << ") not notified: this build cannot send mail\n";
    m_err.flush();
}

void CliNotifier::WaitForAll() {}

}  // namespace tarnwick::cli
