#include "viewrules/ResultsView.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "scan/StatusWords.h"
#include "scan/WebUrl.h"
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

bool RowHasText(const ResultRow& row, std::string_view text) {
    if (text.empty()) {
        return true;
    }
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    const auto has = [&](const std::string& cell) {
        const auto at = std::search(cell.begin(), cell.end(), text.begin(), text.end(),
                                    [&](char a, char b) { return lower(a) == lower(b); });
        return at != cell.end();
    };
    return has(row.m_strAdvertiser) || has(row.m_strPage) || has(row.m_strMail) ||
           has(row.m_strNotify) || has(row.m_strStatus) || has(row.m_strChange) ||
           has(row.m_strReason) || has(row.m_strLetterTo);
}

std::string DescribeFetchProgress(int fetched, const std::string& waitingPage, int waitedSeconds,
                                  int waitThreshold) {
    if (fetched <= 0) {
        return {};
    }
    std::string text = "\u00b7 " + std::to_string(fetched) + " fetched";
    if (!waitingPage.empty() && waitedSeconds >= waitThreshold) {
        // The site is what tells the user whom the run waits for; a page
        // typed without a scheme is a web page too.
        const bool scheme = waitingPage.find("://") != std::string::npos;
        const auto url = WebUrl::parse(scheme ? waitingPage : "http://" + waitingPage);
        const std::string& site = url && !url->host().empty() ? url->host() : waitingPage;
        text += " \u00b7 waiting for " + site + " (" + std::to_string(waitedSeconds) + " s)";
    }
    return text;
}

std::string RecordedResultMark(std::int64_t checked) {
    const auto when = static_cast<std::time_t>(checked);
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return "last run";
    }
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return "last run: " + std::to_string(local.tm_mday) + " " + kMonths[local.tm_mon % 12];
}

void ShowRecordedResults(std::vector<ResultRow>& rows, const std::map<PageKey, PageRecord>& last) {
    if (last.empty()) {
        return;
    }
    for (ResultRow& row : rows) {
        if (IsNonBlank(row.m_strStatus)) {
            continue;
        }
        const auto it = last.find({row.m_strAdvertiser, row.m_strPage});
        if (it == last.end()) {
            continue;
        }
        const PageRecord& record = it->second;
        row.m_strStatus = record.m_strResult;
        row.m_strReason = record.m_reason.value_or("");
        row.m_nHttpStatus = record.m_httpStatus.value_or(0);
        row.m_strChange = RecordedResultMark(record.m_nChecked);
        row.m_bRecorded = true;
    }
}

}  // namespace tarnwick
