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
    std::string m_strAdvertiser;
    std::string m_strPage;
    std::string m_strRecipient;
    std::int64_t m_nTime = 0;  // seconds since the epoch
    // kLetterSent, kLetterSending, "Not mailed: ..." for a letter held back,
    // or the failure text the Mail Address cell received.
    std::string m_strOutcome;
    // The process that is sending it (kLetterSending); 0 when none.
    std::int64_t m_nProcess = 0;
};

// A letter row still "sending", as found at the start of a run.
struct SendingLetter {
    std::int64_t m_nId = 0;
    LetterRecord m_letter;
};

}  // namespace tarnwick
