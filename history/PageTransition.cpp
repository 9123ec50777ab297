#include "history/PageTransition.h"

#include <vector>

namespace tarnwick {

Transition transitionOf(const std::optional<PageBefore>& before, LinkResult result,
                        const std::optional<std::string>& verdict,
                        const std::optional<std::string>& findings) {
    const bool present = isLinkPresent(result);
    const bool missing = isLinkMissing(result);
    if (!before) {
        return Transition::New;  // never checked before, whether it could be read or not
    }
    if (!present && !missing) {
        return Transition::Unchanged;  // the page could not be read: nothing to compare
    }
    if (!isLinkPresent(before->m_result) && !isLinkMissing(before->m_result)) {
        return Transition::New;
    }
    const bool wasPresent = isLinkPresent(before->m_result);
    if (wasPresent && missing) {
        return Transition::Lost;
    }
    if (!wasPresent && present) {
        return Transition::Restored;
    }
    if (present && verdict && before->m_verdict && *verdict != *before->m_verdict) {
        return Transition::QualityChanged;
    }
    if (present && findings && before->m_findings && *findings != *before->m_findings) {
        return Transition::QualityChanged;
    }
    return Transition::Unchanged;
}

const char* transitionWord(Transition transition) {
    switch (transition) {
        case Transition::New:
            return "new";
        case Transition::Lost:
            return "lost";
        case Transition::Restored:
            return "restored";
        case Transition::QualityChanged:
            return "quality changed";
        case Transition::Unchanged:
            break;
    }
    return "unchanged";
}

std::string transitionCellText(Transition transition) {
    std::string text = transitionWord(transition);
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

void TransitionCounts::add(Transition transition) {
    switch (transition) {
        case Transition::New:
            ++m_new;
            break;
        case Transition::Lost:
            ++m_lost;
            break;
        case Transition::Restored:
            ++m_restored;
            break;
        case Transition::QualityChanged:
            ++m_qualityChanged;
            break;
        case Transition::Unchanged:
            ++m_unchanged;
            break;
    }
}

std::string changeSummary(const TransitionCounts& counts, bool firstRun) {
    if (firstRun) {
        const int pages = counts.total();
        return "First run: " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
               " recorded";
    }
    std::vector<std::string> parts;
    const auto add = [&parts](int n, const std::string& what) {
        if (n == 0) {
            return;
        }
        // The first part names the links: "3 links lost, 1 restored".
        std::string text = std::to_string(n) + " ";
        if (parts.empty()) {
            text += n == 1 ? "link " : "links ";
        }
        parts.push_back(text + what);
    };
    add(counts.m_lost, "lost");
    add(counts.m_restored, "restored");
    add(counts.m_qualityChanged, "changed in quality");
    if (parts.empty()) {
        return "No change since the last run";
    }
    std::string summary;
    for (const std::string& part : parts) {
        summary += (summary.empty() ? "" : ", ") + part;
    }
    return summary + " since the last run";
}

}  // namespace tarnwick
