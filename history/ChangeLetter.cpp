#include "history/ChangeLetter.h"

#include <ctime>

#include "common/ProductName.h"

namespace tarnwick {
namespace {

std::string format(std::int64_t time, const char* format) {
    const auto t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

std::string was(const PageChange& c, bool verdicts) {
    std::string from = c.m_from.empty() ? "not checked before" : c.m_from;
    std::string to = c.m_to;
    if (verdicts) {
        from = c.m_fromVerdict.value_or(from);
        to = c.m_toVerdict.value_or(to);
    }
    return from + " -> " + to;
}

}  // namespace

std::string localMinuteText(std::int64_t time) {
    return format(time, "%Y-%m-%d %H:%M");
}

std::string localIsoText(std::int64_t time) {
    return format(time, "%Y-%m-%dT%H:%M:%S%z");
}

std::string changeLetterSubject(const RunChanges& changes) {
    if (!changes.m_counts.anyChange() && !changes.m_offlineStarts.empty()) {
        const size_t missed = changes.m_offlineStarts.size();
        return std::string(kProductName) + ": " + std::to_string(missed) +
               (missed == 1 ? " check" : " checks") + " could not reach the pages";
    }
    return std::string(kProductName) + ": " + changeSummary(changes.m_counts);
}

bool changeLetterDue(const RunChanges& changes) {
    return changes.m_counts.anyChange() || !changes.m_offlineStarts.empty();
}

std::string changeLetterBody(const RunChanges& changes, std::int64_t started) {
    std::string body = "The link check of " + localMinuteText(started) + " looked at " +
                       std::to_string(changes.m_changes.size()) + " pages.\n\n" +
                       changeSummary(changes.m_counts) + ".\n";
    // A week without a check is news of its own: the owner thought the links
    // were watched.
    for (const std::int64_t missed : changes.m_offlineStarts) {
        body += "\nNot checked: the link check of " + localMinuteText(missed) +
                " reached no page, as the network was down.\n";
    }
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
                lines += "  " + c.m_page + "  (link to " + c.m_advertiser + ", profile " +
                         c.m_profile +
                         "): " + was(c, section.transition == Transition::QualityChanged) + "\n";
            }
        }
        if (!lines.empty()) {
            body += "\n" + std::string(section.heading) + ":\n" + lines;
        }
    }
    return body;
}

}  // namespace tarnwick
