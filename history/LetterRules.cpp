#include "history/LetterRules.h"

#include "history/ChangeLetter.h"
#include "store/IniFile.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

constexpr int kMaxMissingRuns = 1000;
constexpr int kMaxQuietDays = 36500;

std::string Date(std::int64_t time) {
    return LocalMinuteText(time).substr(0, 10);
}

}  // namespace

LetterRules ReadLetterRules(const std::string& dataFolder, std::vector<std::string>* warnings) {
    LetterRules rules;
    IniFile file(dataFolder + "/" + kLetterRulesFileName);
    rules.m_nMissingRuns =
        static_cast<int>(file.number("", "missing_runs", 1, kMaxMissingRuns, rules.m_nMissingRuns));
    rules.m_nQuietDays =
        static_cast<int>(file.number("", "quiet_days", 0, kMaxQuietDays, rules.m_nQuietDays));
    if (warnings != nullptr) {
        warnings->insert(warnings->end(), file.warnings().begin(), file.warnings().end());
    }
    return rules;
}

void WriteLetterRules(const std::string& dataFolder, const LetterRules& rules) {
    const std::string path = dataFolder + "/" + kLetterRulesFileName;
    StoreFileWriter writer(path + ".tmp");
    writer.WriteLine("missing_runs=" + std::to_string(rules.m_nMissingRuns));
    writer.WriteLine("quiet_days=" + std::to_string(rules.m_nQuietDays));
    writer.CommitOver(path);
}

std::string LetterHoldBackReason(const LetterRules& rules, int missingRuns,
                                 std::optional<std::int64_t> lastSent, std::int64_t now) {
    if (missingRuns < rules.m_nMissingRuns) {
        return "the link has been missing in " + std::to_string(missingRuns) +
               (missingRuns == 1 ? " run" : " consecutive runs") + ", letters wait for " +
               std::to_string(rules.m_nMissingRuns);
    }
    constexpr std::int64_t kDay = 24 * 60 * 60;
    if (rules.m_nQuietDays > 0 && lastSent && now - *lastSent < rules.m_nQuietDays * kDay) {
        return "this webmaster was mailed about the page on " + Date(*lastSent) + ", within " +
               std::to_string(rules.m_nQuietDays) + (rules.m_nQuietDays == 1 ? " day" : " days");
    }
    return {};
}

}  // namespace tarnwick
