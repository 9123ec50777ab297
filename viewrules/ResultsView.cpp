#include "viewrules/ResultsView.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "scan/StatusWords.h"
#include "scan/WebUrl.h"
#include "viewrules/ListRules.h"

namespace tarnwick {

bool isProblemRow(const ResultRow& row) {
    return row.hasStatus() && row.m_result != LinkResult::Found;
}

bool isNotMailedRow(const ResultRow& row, bool letterFailed) {
    if (!isProblemRow(row)) {
        return false;
    }
    const bool mailable = row.m_result && isLinkMissing(*row.m_result);
    return !mailable || row.m_notify != kEnabled || letterFailed;
}

bool isQualityProblemRow(const ResultRow& row) {
    return row.m_evidence->m_checked && isWorthlessLink(row.m_evidence, row.m_result);
}

bool filterKeeps(ResultFilter filter, const ResultRow& row, bool letterFailed) {
    switch (filter) {
        case ResultFilter::Quality:
            return isQualityProblemRow(row);
        case ResultFilter::Problems:
            return isProblemRow(row);
        case ResultFilter::NotMailed:
            return isNotMailedRow(row, letterFailed);
        case ResultFilter::All:
            break;
    }
    return true;
}

namespace {

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string summariseRun(const std::vector<ResultRow>& rows, const LetterCounts& letters) {
    std::vector<std::pair<std::string, int>> counts;
    int worthless = 0;
    for (const ResultRow& row : rows) {
        if (!row.hasStatus()) {
            continue;
        }
        worthless += isQualityProblemRow(row) ? 1 : 0;
        auto it = counts.begin();
        while (it != counts.end() && it->first != row.statusText()) {
            ++it;
        }
        if (it == counts.end()) {
            counts.emplace_back(row.statusText(), 1);
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
            "; " + counted(worthless, "link found has", "links found have") + " quality problems";
    }
    text += ".";
    if (letters.m_handedOver > 0 || letters.m_held > 0) {
        text += " Letters: " + std::to_string(letters.m_sent) + " sent";
        if (letters.m_outstanding > 0) {
            text += ", " + std::to_string(letters.m_outstanding) + " being sent";
        }
        if (letters.m_held > 0) {
            text += ", " + std::to_string(letters.m_held) + " held back";
        }
        for (const auto& [reason, count] : letters.m_failures) {
            text += ", " + counted(count, "could not be sent", "could not be sent") + ": " + reason;
        }
        text += ".";
    }
    return text;
}

int estimateSecondsLeft(int done, int total, double elapsedSeconds) {
    if (done <= 0 || total <= done || elapsedSeconds < 0) {
        return done > 0 && total <= done ? 0 : -1;
    }
    return static_cast<int>(std::lround(elapsedSeconds / done * (total - done)));
}

std::string describeTimeLeft(int seconds) {
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

bool rowHasText(const ResultRow& row, std::string_view text) {
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
    return has(row.m_advertiser) || has(row.m_page) || has(row.m_mail) || has(row.m_notify) ||
           has(row.statusText()) || has(row.m_change) || has(row.m_reason) || has(row.m_letterTo);
}

std::string describeFetchProgress(int fetched, const std::string& waitingPage, int waitedSeconds,
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

std::string recordedResultMark(std::int64_t checked) {
    const auto when = static_cast<std::time_t>(checked);
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return "last run";
    }
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return "last run: " + std::to_string(local.tm_mday) + " " + kMonths[local.tm_mon % 12];
}

void showRecordedResults(std::vector<ResultRow>& rows, const std::map<PageKey, PageRecord>& last) {
    if (last.empty()) {
        return;
    }
    for (ResultRow& row : rows) {
        if (row.hasStatus()) {
            continue;
        }
        const auto it = last.find({row.m_advertiser, row.m_page});
        if (it == last.end()) {
            continue;
        }
        const PageRecord& record = it->second;
        row.m_result = record.m_result;
        row.m_reason = record.m_reason.value_or("");
        row.m_httpStatus = record.m_httpStatus.value_or(0);
        row.m_change = recordedResultMark(record.m_checked);
        row.m_recorded = true;
    }
}

}  // namespace tarnwick
