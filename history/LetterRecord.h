// One webmaster letter as the history keeps it: sent, failed (the failure
// text) or held back (the reason).
#pragma once

#include <cstdint>
#include <string>

#include "mail/NotificationQueue.h"

namespace tarnwick {

inline constexpr const char* kLetterSent = kLetterOutcomeSent;

struct LetterRecord {
    std::string m_strAdvertiser;
    std::string m_strPage;
    std::string m_strRecipient;
    std::int64_t m_nTime = 0;  // seconds since the epoch
    // kLetterSent, "Not mailed: ..." for a letter held back, or the failure
    // text the Mail Address cell received.
    std::string m_strOutcome;
};

}  // namespace tarnwick
