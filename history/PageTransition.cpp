#include "history/PageTransition.h"

#include <vector>

#include "scan/StatusWords.h"

namespace tarnwick {

bool IsLinkPresent(const std::string& result) {
    return result == kLinkFound;
}

bool IsLinkMissing(const std::string& result) {
    return result == kLinkNotFound || result == kPageCannotBeFound;
}

Transition TransitionOf(const std::optional<PageBefore>& before, const std::string& result,
                        const std::optional<std::string>& verdict,
                        const std::optional<std::string>& findings) {
    const bool present = IsLinkPresent(result);
    const bool missing = IsLinkMissing(result);
    if (!before) {
        return Transition::New;  // never checked before, whether it could be read or not
    }
    if (!present && !missing) {
        return Transition::Unchanged;  // the page could not be read: nothing to compare
    }
    if (!IsLinkPresent(before->m_strResult) && !IsLinkMissing(before->m_strResult)) {
        return Transition::New;
    }
    const bool wasPresent = IsLinkPresent(before->m_strResult);
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

const char* TransitionWord(Transition transition) {
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

std::string TransitionCellText(Transition transition) {
    std::string text = TransitionWord(transition);
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

void TransitionCounts::Add(Transition transition) {
    switch (transition) {
        case Transition::New:
            ++m_nNew;
            break;
        case Transition::Lost:
            ++m_nLost;
            break;
        case Transition::Restored:
            ++m_nRestored;
            break;
        case Transition::QualityChanged:
            ++m_nQualityChanged;
            break;
        case Transition::Unchanged:
            ++m_nUnchanged;
            break;
    }
}

std::string ChangeSummary(const TransitionCounts& counts, bool firstRun) {
    if (firstRun) {
        const int pages = counts.Total();
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
    add(counts.m_nLost, "lost");
    add(counts.m_nRestored, "restored");
    add(counts.m_nQualityChanged, "changed in quality");
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
