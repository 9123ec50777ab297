#include "history/ChangeLetter.h"

#include <ctime>

#include "common/ProductName.h"

namespace tarnwick {
namespace {

std::string Format(std::int64_t time, const char* format) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

std::string Was(const PageChange& c, bool verdicts) {
    std::string from = c.m_strFrom.empty() ? "not checked before" : c.m_strFrom;
    std::string to = c.m_strTo;
    if (verdicts) {
        from = c.m_fromVerdict.value_or(from);
        to = c.m_toVerdict.value_or(to);
    }
    return from + " -> " + to;
}

}  // namespace

std::string LocalMinuteText(std::int64_t time) {
    return Format(time, "%Y-%m-%d %H:%M");
}

std::string LocalIsoText(std::int64_t time) {
    return Format(time, "%Y-%m-%dT%H:%M:%S%z");
}

std::string ChangeLetterSubject(const RunChanges& changes) {
    return std::string(kProductName) + ": " + ChangeSummary(changes.m_counts);
}

std::string ChangeLetterBody(const RunChanges& changes, std::int64_t started) {
    std::string body = "The link check of " + LocalMinuteText(started) + " looked at " +
                       std::to_string(changes.m_changes.size()) + " pages.\n\n" +
                       ChangeSummary(changes.m_counts) + ".\n";
    const struct {
        Transition transition;
        const char* heading;
    } sections[] = {
        {Transition::Lost, "Links lost"},
        {Transition::Restored, "Links restored"},
        {Transition::QualityChanged, "Links changed in quality"},
        {Transition::New, "Pages checked for the first time"},
    };
    for (const auto& section : sections) {
        std::string lines;
        for (const PageChange& c : changes.m_changes) {
            if (c.m_transition == section.transition) {
                lines += "  " + c.m_strPage + "  (link to " + c.m_strAdvertiser + ", profile " +
                         c.m_strProfile +
                         "): " + Was(c, section.transition == Transition::QualityChanged) + "\n";
            }
        }
        if (!lines.empty()) {
            body += "\n" + std::string(section.heading) + ":\n" + lines;
        }
    }
    return body;
}

}  // namespace tarnwick
