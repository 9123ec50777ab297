#include "history/LetterRules.h"

#include <fstream>

#include "history/ChangeLetter.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

constexpr int kMaxMissingRuns = 1000;
constexpr int kMaxQuietDays = 36500;

std::optional<int> Number(const std::string& text, int lowest, int highest) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int n = std::stoi(text);
    return n < lowest || n > highest ? std::nullopt : std::optional<int>(n);
}

std::string Date(std::int64_t time) {
    return LocalMinuteText(time).substr(0, 10);
}

}  // namespace

LetterRules ReadLetterRules(const std::string& dataFolder) {
    LetterRules rules;
    std::ifstream in(dataFolder + "/" + kLetterRulesFileName, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "missing_runs") {
            rules.m_nMissingRuns = Number(value, 1, kMaxMissingRuns).value_or(1);
        } else if (key == "quiet_days") {
            rules.m_nQuietDays = Number(value, 0, kMaxQuietDays).value_or(0);
        }
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
