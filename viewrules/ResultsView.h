// What the results pane shows beside the rows themselves: which rows a filter
// keeps, the one-line summary at the end of a run and the estimate of the
// time left. Plain values, no widgets.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "history/HistoryDatabase.h"
#include "scan/ResultRow.h"

namespace tarnwick {

// The choices of the filter above the results, in their order.
enum class ResultFilter { All = 0, Problems = 1, NotMailed = 2, Quality = 3 };

// A page with a result other than "Link Found" (a stop mark included).
bool isProblemRow(const ResultRow& row);

// A problem page whose webmaster got no letter: only "Link Not Found" and
// "Page Cannot be Found" with notification "Enabled" are mailed, and a letter
// that failed (letterFailed) did not go out either.
bool isNotMailedRow(const ResultRow& row, bool letterFailed);

// A "Link Found" page whose link a search engine does not count (nofollow,
// noindex, robots.txt, hidden, cloaked, ...): a problem of the link's quality.
bool isQualityProblemRow(const ResultRow& row);

bool filterKeeps(ResultFilter filter, const ResultRow& row, bool letterFailed);

// Whether text (8-bit, as the store's) occurs in one of the row's cells or in
// the reason of its result, letter case of ASCII ignored; "" is in every row.
bool rowHasText(const ResultRow& row, std::string_view text);

// The letters of one run as far as they are known, each counted once, by
// its end.
struct LetterCounts {
    int m_handedOver = 0;                   // letters the run started
    int m_outstanding = 0;                  // still queued or being sent
    int m_sent = 0;                         // the server took them
    int m_held = 0;                         // held back by the letter rules
    std::map<std::string, int> m_failures;  // failure text -> letters
    bool operator==(const LetterCounts&) const = default;
};

// "Done: 3 Link Found, 1 Link Not Found. Letters: 1 sent, 2 held back." -
// counts per result word in the order of first appearance, rows without a
// result left out; letters only when the run handed any over or held any
// back.
std::string summariseRun(const std::vector<ResultRow>& rows, const LetterCounts& letters);

// Seconds left when `done` of `total` pages took `elapsedSeconds`; -1 while
// there is too little to go on (no page done yet).
int estimateSecondsLeft(int done, int total, double elapsedSeconds);
// "About 3 min left", "About 40 s left", "" for -1.
std::string describeTimeLeft(int seconds);

// What a run has done besides the page in hand, for the status bar beside
// "Page k of m": "· 410 fetched" (pages back from the wire, those waiting for
// their turn behind the page in hand included) and, once the page in hand
// has kept the run waiting for waitThreshold seconds, "· waiting for
// www.slow.example (35 s)". "" before anything came back.
std::string describeFetchProgress(int fetched, const std::string& waitingPage, int waitedSeconds,
                                  int waitThreshold = 5);

// "last run: 3 Dec": how a result shown from the history is marked (the
// day it was checked, in local time).
std::string recordedResultMark(std::int64_t checked);

// Fills the rows that have no result with each page's result from the newest
// run that checked it, marked as such (m_recorded, the "Since last run"
// cell); rows whose page no run has checked stay as they are.
void showRecordedResults(std::vector<ResultRow>& rows, const std::map<PageKey, PageRecord>& last);

}  // namespace tarnwick
