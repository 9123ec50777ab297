#include "viewrules/ResultsView.h"

#include <cmath>

#include "scan/StatusWords.h"
#include "viewrules/ListRules.h"

namespace tarnwick {

bool IsProblemRow(const ResultRow& row) {
    return IsNonBlank(row.m_strStatus) && row.m_strStatus != kLinkFound;
}

bool IsNotMailedRow(const ResultRow& row, bool letterFailed) {
    if (!IsProblemRow(row)) {
        return false;
    }
    const bool mailable = row.m_strStatus == kLinkNotFound || row.m_strStatus == kPageCannotBeFound;
    return !mailable || row.m_strNotify != kEnabled || letterFailed;
}

bool IsQualityProblemRow(const ResultRow& row) {
    return row.m_evidence->m_bChecked && IsWorthlessLink(row.m_evidence, row.m_strStatus);
}

bool FilterKeeps(ResultFilter filter, const ResultRow& row, bool letterFailed) {
    switch (filter) {
        case ResultFilter::Quality:
            return IsQualityProblemRow(row);
        case ResultFilter::Problems:
            return IsProblemRow(row);
        case ResultFilter::NotMailed:
            return IsNotMailedRow(row, letterFailed);
        case ResultFilter::All:
            break;
    }
    return true;
}

namespace {

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string SummariseRun(const std::vector<ResultRow>& rows, const LetterCounts& letters) {
    std::vector<std::pair<std::string, int>> counts;
    int worthless = 0;
    for (const ResultRow& row : rows) {
        if (!IsNonBlank(row.m_strStatus)) {
            continue;
        }
        worthless += IsQualityProblemRow(row) ? 1 : 0;
        auto it = counts.begin();
        while (it != counts.end() && it->first != row.m_strStatus) {
            ++it;
        }
        if (it == counts.end()) {
            counts.emplace_back(row.m_strStatus, 1);
        } else {
            ++it->second;
        }
    }
    std::string text = "Done: ";
    if (counts.empty()) {
        text += "no page checked";
    }
    for (size_t i = 0; i < counts.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(counts[i].second) + " " + counts[i].first;
    }
    if (worthless > 0) {
        text +=
            "; " + Counted(worthless, "link found has", "links found have") + " quality problems";
    }
    text += ".";
    if (letters.m_nHandedOver > 0 || letters.m_nHeld > 0) {
        text += " Letters: " + std::to_string(letters.m_nSent) + " sent";
        if (letters.m_nOutstanding > 0) {
            text += ", " + std::to_string(letters.m_nOutstanding) + " being sent";
        }
        if (letters.m_nHeld > 0) {
            text += ", " + std::to_string(letters.m_nHeld) + " held back";
        }
        for (const auto& [reason, count] : letters.m_failures) {
            text += ", " + Counted(count, "could not be sent", "could not be sent") + ": " + reason;
        }
        text += ".";
    }
    return text;
}

int EstimateSecondsLeft(int done, int total, double elapsedSeconds) {
    if (done <= 0 || total <= done || elapsedSeconds < 0) {
        return done > 0 && total <= done ? 0 : -1;
    }
    return static_cast<int>(std::lround(elapsedSeconds / done * (total - done)));
}

std::string DescribeTimeLeft(int seconds) {
    if (seconds < 0) {
        return {};
    }
    if (seconds < 60) {
        return "About " + std::to_string(seconds < 5 ? 5 : (seconds + 4) / 5 * 5) + " s left";
    }
    const int minutes = (seconds + 30) / 60;
    if (minutes < 120) {
        return "About " + std::to_string(minutes) + " min left";
    }
    return "About " + std::to_string((minutes + 30) / 60) + " h left";
}

}  // namespace tarnwick
