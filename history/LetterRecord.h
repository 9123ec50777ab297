// One webmaster letter as the history keeps it: being sent, sent, failed
// (the failure text) or held back (the reason).
#pragma once

#include <cstdint>
#include <string>

#include "mail/NotificationQueue.h"

namespace tarnwick {

inline constexpr const char* kLetterSent = kLetterOutcomeSent;
// A letter whose SMTP exchange has begun and whose end is not known yet: the
// row is written (and committed) before the exchange, then completed.
inline constexpr char kLetterSending[] = "sending";
// A letter found "sending" after the program that sent it ended (a crash,
// SIGKILL, a power cut): the server may have accepted it, and a second
// letter is worse than none.
inline constexpr char kLetterTakenAsSent[] = "taken as sent (the program ended while sending it)";

struct LetterRecord {
    std::string m_advertiser;
    std::string m_page;
    std::string m_recipient;
    std::int64_t m_time = 0;  // seconds since the epoch
    // kLetterSent, kLetterSending, "Not mailed: ..." for a letter held back,
    // or the failure text the Mail Address cell received.
    std::string m_outcome;
    // The process that is sending it (kLetterSending); 0 when none.
    std::int64_t m_process = 0;
};

// A letter row still "sending", as found at the start of a run.
struct SendingLetter {
    std::int64_t m_id = 0;
    LetterRecord m_letter;
};

}  // namespace tarnwick
