// Every answer the history gives about a database, as text: the runs, each
// run's results and changes, what the runs before each one knew of every
// page, the letters, the profiles with their counts and pages, and each
// page's timeline. Two databases that give the same text answer every query
// alike, whatever their tables look like.
#pragma once

#include <set>
#include <sstream>
#include <string>

#include "history/HistoryDatabase.h"

namespace tarnwick::test {

inline std::string DumpHistory(HistoryDatabase& db) {
    std::ostringstream out;
    const auto opt = [](const auto& value) {
        std::ostringstream text;
        if (value) {
            text << *value;
        } else {
            text << "NULL";
        }
        return text.str();
    };
    const auto counts = [](const ResultCounts& c) {
        return std::to_string(c.m_nFound) + "/" + std::to_string(c.m_nNotFound) + "/" +
               std::to_string(c.m_nCannotBeFound) + "/" + std::to_string(c.m_nCannotBeDisplayed);
    };
    const auto pagesBefore = [&](std::int64_t runId) {
        for (const auto& [key, before] : db.PagesBefore(runId)) {
            out << "  before " << runId << " " << key.first << " " << key.second << ": "
                << before.m_strResult << " | " << opt(before.m_verdict) << " | "
                << opt(before.m_findings) << " | streak " << before.m_nMissingStreak << "\n";
        }
    };
    std::set<PageKey> pages;
    for (const RunInfo& run : db.Runs()) {
        out << "run " << run.m_nId << " " << run.m_nStarted << " " << run.m_nEnded << " "
            << run.m_strSource << " " << run.m_strOutcome << " " << counts(run.m_counts) << "\n";
        for (const PageRecord& r : db.ResultsOf(run.m_nId)) {
            pages.insert({r.m_strAdvertiser, r.m_strPage});
            out << "  result " << r.m_nRow << " " << r.m_strProfile << " | " << r.m_strAdvertiser
                << " | " << r.m_strPage << " | " << r.m_strResult << " | " << r.m_nChecked << " | "
                << opt(r.m_reason) << " | " << opt(r.m_httpStatus) << " | " << opt(r.m_finalUrl)
                << " | " << opt(r.m_rel) << " | " << opt(r.m_anchorText) << " | "
                << opt(r.m_noindex) << " | " << opt(r.m_robotsTxt) << " | " << opt(r.m_elapsedMs)
                << " | " << opt(r.m_verdict) << " | " << opt(r.m_findings) << "\n";
        }
        const RunChanges changes = db.ChangesOf(run.m_nId);
        out << "  changes " << changes.m_nRunId << " after " << changes.m_nPreviousId << " "
            << changes.m_strOutcome << " not checked " << changes.m_nNotChecked << " offline";
        for (const std::int64_t started : changes.m_offlineStarts) {
            out << " " << started;
        }
        out << " summary " << ChangeSummary(changes.m_counts) << "\n";
        for (const PageChange& c : changes.m_changes) {
            out << "  change " << c.m_strProfile << " | " << c.m_strPage << " | " << c.m_strFrom
                << " -> " << c.m_strTo << " | " << opt(c.m_fromVerdict) << " -> "
                << opt(c.m_toVerdict) << " | " << opt(c.m_fromFindings) << " -> "
                << opt(c.m_toFindings) << " | " << TransitionWord(c.m_transition) << "\n";
        }
        pagesBefore(run.m_nId);
    }
    const RunChanges last = db.ChangesOf();
    out << "last changes " << last.m_nRunId << " after " << last.m_nPreviousId << " "
        << ChangeSummary(last.m_counts) << "\n";
    pagesBefore(0);
    for (const auto& [key, sent] : db.LastLettersSent()) {
        out << "letter sent " << key.first.second << " " << key.second << " " << sent << "\n";
    }
    for (const SendingLetter& l : db.lettersSending()) {
        out << "letter sending " << l.m_nId << " " << l.m_letter.m_strPage << "\n";
    }
    for (const std::string& profile : db.Profiles()) {
        out << "profile " << profile << "\n";
        for (const ProfileRunCounts& c : db.CountsOfProfile(profile)) {
            out << "  counts " << c.m_nRunId << " " << c.m_nStarted << " " << counts(c.m_counts)
                << "\n";
        }
        for (const PageKey& page : db.PagesOfProfile(profile)) {
            out << "  page " << page.first << " " << page.second << "\n";
        }
    }
    for (const PageKey& page : pages) {
        out << "timeline " << page.second << "\n";
        for (const TimelineEntry& e : db.Timeline(page)) {
            out << "  " << e.m_nTime << " " << e.m_nRunId << " "
                << (e.m_bLetter ? "letter" : "result") << " " << e.m_strText << " | "
                << e.m_strDetail << "\n";
        }
    }
    return out.str();
}

}  // namespace tarnwick::test
