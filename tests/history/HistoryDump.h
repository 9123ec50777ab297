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

inline std::string dumpHistory(HistoryDatabase& db) {
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
        return std::to_string(c.m_found) + "/" + std::to_string(c.m_notFound) + "/" +
               std::to_string(c.m_cannotBeFound) + "/" + std::to_string(c.m_cannotBeDisplayed);
    };
    const auto pagesBefore = [&](std::int64_t runId) {
        for (const auto& [key, before] : db.pagesBefore(runId)) {
            out << "  before " << runId << " " << key.first << " " << key.second << ": "
                << resultWord(before.m_result) << " | " << opt(before.m_verdict) << " | "
                << opt(before.m_findings) << " | streak " << before.m_missingStreak << "\n";
        }
    };
    std::set<PageKey> pages;
    for (const RunInfo& run : db.runs()) {
        out << "run " << run.m_id << " " << run.m_started << " " << run.m_ended << " "
            << run.m_source << " " << run.m_outcome << " " << counts(run.m_counts) << "\n";
        for (const PageRecord& r : db.resultsOf(run.m_id)) {
            pages.insert({r.m_advertiser, r.m_page});
            out << "  result " << r.m_row << " " << r.m_profile << " | " << r.m_advertiser << " | "
                << r.m_page << " | " << resultWord(r.m_result) << " | " << r.m_checked << " | "
                << opt(r.m_reason) << " | " << opt(r.m_httpStatus) << " | " << opt(r.m_finalUrl)
                << " | " << opt(r.m_rel) << " | " << opt(r.m_anchorText) << " | "
                << opt(r.m_noindex) << " | " << opt(r.m_robotsTxt) << " | " << opt(r.m_elapsedMs)
                << " | " << opt(r.m_verdict) << " | " << opt(r.m_findings) << "\n";
        }
        const RunChanges changes = db.changesOf(run.m_id);
        out << "  changes " << changes.m_runId << " after " << changes.m_previousId << " "
            << changes.m_outcome << " not checked " << changes.m_notChecked << " offline";
        for (const std::int64_t started : changes.m_offlineStarts) {
            out << " " << started;
        }
        out << " summary " << changeSummary(changes.m_counts) << "\n";
        for (const PageChange& c : changes.m_changes) {
            out << "  change " << c.m_profile << " | " << c.m_page << " | " << c.m_from << " -> "
                << c.m_to << " | " << opt(c.m_fromVerdict) << " -> " << opt(c.m_toVerdict) << " | "
                << opt(c.m_fromFindings) << " -> " << opt(c.m_toFindings) << " | "
                << transitionWord(c.m_transition) << "\n";
        }
        pagesBefore(run.m_id);
    }
    const RunChanges last = db.changesOf();
    out << "last changes " << last.m_runId << " after " << last.m_previousId << " "
        << changeSummary(last.m_counts) << "\n";
    pagesBefore(0);
    for (const auto& [key, sent] : db.lastLettersSent()) {
        out << "letter sent " << key.first.second << " " << key.second << " " << sent << "\n";
    }
    for (const SendingLetter& l : db.lettersSending()) {
        out << "letter sending " << l.m_id << " " << l.m_letter.m_page << "\n";
    }
    for (const std::string& profile : db.profiles()) {
        out << "profile " << profile << "\n";
        for (const ProfileRunCounts& c : db.countsOfProfile(profile)) {
            out << "  counts " << c.m_runId << " " << c.m_started << " " << counts(c.m_counts)
                << "\n";
        }
        for (const PageKey& page : db.pagesOfProfile(profile)) {
            out << "  page " << page.first << " " << page.second << "\n";
        }
    }
    for (const PageKey& page : pages) {
        out << "timeline " << page.second << "\n";
        for (const TimelineEntry& e : db.timeline(page)) {
            out << "  " << e.m_time << " " << e.m_runId << " " << (e.m_letter ? "letter" : "result")
                << " " << e.m_text << " | " << e.m_detail << "\n";
        }
    }
    return out.str();
}

}  // namespace tarnwick::test
