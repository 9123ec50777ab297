// What the results pane shows beside the rows themselves: which rows a filter
// keeps, the one-line summary at the end of a run and the estimate of the
// time left. Plain values, no widgets.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "scan/ResultRow.h"

namespace tarnwick {

// The choices of the filter above the results, in their order.
enum class ResultFilter { All = 0, Problems = 1, NotMailed = 2, Quality = 3 };

// A page with a result other than "Link Found" (a stop mark included).
bool IsProblemRow(const ResultRow& row);

// A problem page whose webmaster got no letter: only "Link Not Found" and
// "Page Cannot be Found" with notification "Enabled" are mailed, and a letter
// that failed (letterFailed) did not go out either.
bool IsNotMailedRow(const ResultRow& row, bool letterFailed);

// A "Link Found" page whose link a search engine does not count (nofollow,
// noindex, robots.txt, hidden, cloaked, ...): a problem of the link's quality.
bool IsQualityProblemRow(const ResultRow& row);

bool FilterKeeps(ResultFilter filter, const ResultRow& row, bool letterFailed);

// The letters of one run as far as they are known, each counted once, by
// its end.
struct LetterCounts {
    int m_nHandedOver = 0;                  // letters the run started
    int m_nOutstanding = 0;                 // still queued or being sent
    int m_nSent = 0;                        // the server took them
    int m_nHeld = 0;                        // held back by the letter rules
    std::map<std::string, int> m_failures;  // failure text -> letters
    bool operator==(const LetterCounts&) const = default;
};

// "Done: 3 Link Found, 1 Link Not Found. Letters: 1 sent, 2 held back." -
// counts per result word in the order of first appearance, rows without a
// result left out; letters only when the run handed any over or held any
// back.
std::string SummariseRun(const std::vector<ResultRow>& rows, const LetterCounts& letters);

// Seconds left when `done` of `total` pages took `elapsedSeconds`; -1 while
// there is too little to go on (no page done yet).
int EstimateSecondsLeft(int done, int total, double elapsedSeconds);
// "About 3 min left", "About 40 s left", "" for -1.
std::string DescribeTimeLeft(int seconds);

}  // namespace tarnwick
