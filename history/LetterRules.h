// When a webmaster letter is held back. The defaults send every letter, as
// a run without history does:
//   - mail only after the link has been missing in K consecutive runs (1);
//   - do not mail the same webmaster about the same page again within D
//     days (0: no limit).
// Kept in "Letters.ini" in the data folder ("missing_runs=K",
// "quiet_days=D"), beside Mail.txt, whose format stays as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick {

inline constexpr char kLetterRulesFileName[] = "Letters.ini";

struct LetterRules {
    int m_nMissingRuns = 1;  // K, at least 1
    int m_nQuietDays = 0;    // D, 0 or more
    bool operator==(const LetterRules&) const = default;
};

// Missing or unreadable file, or bad values: the defaults for what is bad.
LetterRules ReadLetterRules(const std::string& dataFolder);
// Throws FileError when the file cannot be written.
void WriteLetterRules(const std::string& dataFolder, const LetterRules& rules);

// Why a letter is held back ("" when it may go): missingRuns counts this run;
// lastSent is when the same webmaster was last mailed about the page.
std::string LetterHoldBackReason(const LetterRules& rules, int missingRuns,
                                 std::optional<std::int64_t> lastSent, std::int64_t now);

}  // namespace tarnwick
