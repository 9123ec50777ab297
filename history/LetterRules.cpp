#include "history/LetterRules.h"

#include "history/ChangeLetter.h"
#include "store/IniFile.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

constexpr int kMaxMissingRuns = 1000;
constexpr int kMaxQuietDays = 36500;

std::string date(std::int64_t time) {
    return localMinuteText(time).substr(0, 10);
}

}  // namespace

LetterRules readLetterRules(const std::string& dataFolder, std::vector<std::string>* warnings) {
    LetterRules rules;
    IniFile file(dataFolder + "/" + kLetterRulesFileName);
    rules.m_missingRuns =
        static_cast<int>(file.number("", "missing_runs", 1, kMaxMissingRuns, rules.m_missingRuns));
    rules.m_quietDays =
        static_cast<int>(file.number("", "quiet_days", 0, kMaxQuietDays, rules.m_quietDays));
    if (warnings != nullptr) {
        warnings->insert(warnings->end(), file.warnings().begin(), file.warnings().end());
    }
    return rules;
}

void writeLetterRules(const std::string& dataFolder, const LetterRules& rules) {
    const std::string path = dataFolder + "/" + kLetterRulesFileName;
    StoreFileWriter writer(path + ".tmp");
    writer.writeLine("missing_runs=" + std::to_string(rules.m_missingRuns));
    writer.writeLine("quiet_days=" + std::to_string(rules.m_quietDays));
    writer.commitOver(path);
}

std::string letterHoldBackReason(const LetterRules& rules, int missingRuns,
                                 std::optional<std::int64_t> lastSent, std::int64_t now) {
    if (missingRuns < rules.m_missingRuns) {
        return "the link has been missing in " + std::to_string(missingRuns) +
               (missingRuns == 1 ? " run" : " consecutive runs") + ", letters wait for " +
               std::to_string(rules.m_missingRuns);
    }
    constexpr std::int64_t kDay = 24 * 60 * 60;
    if (rules.m_quietDays > 0 && lastSent && now - *lastSent < rules.m_quietDays * kDay) {
        return "this webmaster was mailed about the page on " + date(*lastSent) + ", within " +
               std::to_string(rules.m_quietDays) + (rules.m_quietDays == 1 ? " day" : " days");
    }
    return {};
}

}  // namespace tarnwick
