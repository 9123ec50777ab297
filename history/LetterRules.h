// When a webmaster letter is held back:
//   - mail only after the link has been missing in K consecutive rounds (1);
//     a run stopped before its end and the run after it (within a day) are
//     one round, so a stop and a second Play do not count twice;
//   - do not mail the same webmaster about the same page again within D
//     days (1: a run played again on the same day, after a stop or by
//     mistake, never sends a second letter; 0: every run may mail).
// Kept in "Letters.ini" in the data folder ("missing_runs=K",
// "quiet_days=D"), beside Mail.txt, whose format stays as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

inline constexpr char kLetterRulesFileName[] = "Letters.ini";

struct LetterRules {
    int m_missingRuns = 1;  // K, at least 1
    int m_quietDays = 1;    // D, 0 or more
    bool operator==(const LetterRules&) const = default;
};

// Read by IniFile (blanks, letter case, a byte-order mark and CR LF do not
// matter; a FIFO or device is never read). A missing file or key gives the
// default; a number outside its range is clamped into it (missing_runs 1 to
// 1000, quiet_days 0 to 36500), text that is no number gives the default;
// each with a warning appended to warnings.
LetterRules readLetterRules(const std::string& dataFolder,
                            std::vector<std::string>* warnings = nullptr);
// Throws FileError when the file cannot be written.
void writeLetterRules(const std::string& dataFolder, const LetterRules& rules);

// Why a letter is held back ("" when it may go): missingRuns counts this run;
// lastSent is when the same webmaster was last mailed about the page.
std::string letterHoldBackReason(const LetterRules& rules, int missingRuns,
                                 std::optional<std::int64_t> lastSent, std::int64_t now);

}  // namespace tarnwick
