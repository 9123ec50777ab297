// What happened to one page since the previous run that checked it.
//
// The link's state is taken from the result: "Link Found" is present,
// "Link Not Found" and "Page Cannot be Found" are missing, "Page cannot be
// displayed" says nothing about the link (the page could not be read). A
// page is compared with the last run that saw its link present or missing:
//   new              no earlier run checked the page, or none saw the link
//                    present or missing
//   lost             present then, missing now
//   restored         missing then, present now
//   quality changed  present both times, with another verdict (follow,
//                    nofollow, noindex, robots.txt blocks...), when both
//                    runs recorded one, or with other findings (a link
//                    farm beside a nofollow...), when both recorded them
//   unchanged        anything else, "Page cannot be displayed" included
#pragma once

#include <optional>
#include <string>

#include "scan/LinkResult.h"

namespace tarnwick {

enum class Transition { New, Lost, Restored, QualityChanged, Unchanged };

// What the history knows of a page before the run being compared.
struct PageBefore {
    LinkResult m_result = LinkResult::CannotBeDisplayed;  // last that said something of the link
    std::optional<std::string> m_verdict;                 // its verdict, when recorded
    int m_missingStreak = 0;                // consecutive runs with the link missing, newest first
                                            // ("Page cannot be displayed" runs are passed over)
    std::optional<std::string> m_findings;  // its findings, when recorded
};

Transition transitionOf(const std::optional<PageBefore>& before, LinkResult result,
                        const std::optional<std::string>& verdict,
                        const std::optional<std::string>& findings = std::nullopt);

// "new", "lost", "restored", "quality changed", "unchanged": the command
// line's and the letters' word.
const char* transitionWord(Transition transition);
// The same capitalised, for the "Since last run" column.
std::string transitionCellText(Transition transition);

struct TransitionCounts {
    int m_new = 0;
    int m_lost = 0;
    int m_restored = 0;
    int m_qualityChanged = 0;
    int m_unchanged = 0;
    void add(Transition transition);
    int total() const { return m_new + m_lost + m_restored + m_qualityChanged + m_unchanged; }
    // Anything the site owner should hear of (new pages alone are not).
    bool anyChange() const { return m_lost + m_restored + m_qualityChanged > 0; }
};

// "3 links lost, 1 restored since the last run"; "No change since the last
// run" when nothing was lost, restored or changed in quality; "First run: 503
// pages recorded" when no earlier run had recorded any page.
std::string changeSummary(const TransitionCounts& counts, bool firstRun = false);

// The summary of a run that reached no page because this computer was off
// the network (told instead of "No change since the last run").
inline constexpr char kOfflineSummary[] =
    "No page could be reached: the network is down; nothing was compared with the last run";

}  // namespace tarnwick
