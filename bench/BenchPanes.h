// The two panes of a benchmark's scan: one ticked profile whose pages are the
// given addresses (advertiser www.example.com, no letters), the results kept
// in memory. BenchSession is a session over them.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "scan/ScanListener.h"
#include "scan/ScanSession.h"

namespace tarnwick::bench {

class BenchPanes : public ScanListener {
public:
    explicit BenchPanes(std::vector<std::string> pages) : m_pages(std::move(pages)) {}

    ScanPlan plan() const {
        ScanPlan plan;
        plan.m_profiles.push_back({0, "www.example.com"});
        for (const std::string& page : m_pages) {
            ResultRow r;
            r.m_advertiser = "www.example.com";
            r.m_page = page;
            r.m_notify = "Disabled";
            r.m_profileRow = 0;
            plan.addRow(r);
        }
        return plan;
    }
    void profileStatusChanged(int, ProfileStatus s) override { m_profile = s; }
    void runStarted(const std::shared_ptr<const ScanPlan>& plan) override {
        m_rows = plan->resultRows();
    }
    void pageChecked(const ScanJob& job, const PageResult& result, const PageEvidence&,
                     const std::string& change) override {
        ResultRow& r = m_rows.at(static_cast<size_t>(job.m_row));
        r.m_result = result.m_result;
        if (!change.empty()) {
            r.m_change = change;
        }
    }
    void pageStopped(int row) override {
        ResultRow& r = m_rows.at(static_cast<size_t>(row));
        if (!r.hasStatus()) {
            r.m_stopped = true;
        }
    }

    int found() const {
        return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const auto& r) {
            return r.m_result == LinkResult::Found;
        }));
    }

private:
    std::vector<std::string> m_pages;
    std::vector<ResultRow> m_rows;
    ProfileStatus m_profile = ProfileStatus::Waiting;
};

// A session that takes its plan from the panes and tells them every event.
class BenchSession : public ScanSession {
public:
    template <class Panes>
    explicit BenchSession(Panes& panes, PageChecker checker = {})
        : ScanSession([&panes] { return panes.plan(); }, std::move(checker)) {
        addListener(&panes);
    }
};

}  // namespace tarnwick::bench
