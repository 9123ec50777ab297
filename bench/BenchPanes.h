// The two panes of a benchmark's scan: one ticked profile whose pages are the
// given addresses (advertiser www.example.com, no letters), the results kept
// in memory.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "scan/ScanPanes.h"

namespace tarnwick::bench {

class BenchPanes : public ScanPanes {
public:
    explicit BenchPanes(const std::vector<std::string>& pages) : m_pages(pages) {}
    int ProfileRowCount() override { return 1; }
    bool IsProfileTicked(int) override { return true; }
    std::string ProfileStatus(int) override { return m_strProfile; }
    void SetProfileStatus(int, const std::string& s) override { m_strProfile = s; }
    void RebuildResults() override {
        m_rows.clear();
        for (const std::string& page : m_pages) {
            ResultRow r;
            r.m_strAdvertiser = "www.example.com";
            r.m_strPage = page;
            r.m_strNotify = "Disabled";
            r.m_nProfileRow = 0;
            m_rows.push_back(r);
        }
    }
    int ResultRowCount() override { return static_cast<int>(m_rows.size()); }
    ResultRow ResultRowAt(int row) override { return m_rows.at(row); }
    void SetResultStatus(int row, const std::string& s) override { m_rows.at(row).m_strStatus = s; }
    void SetResultMail(int, const std::string&) override {}
    void SetResultChange(int row, const std::string& s) override { m_rows.at(row).m_strChange = s; }
    void OfferReport() override {}
    void StartNotification(const NotificationJob&) override {}

    int Found() const {
        return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const auto& r) {
            return r.m_strStatus == "Link Found";
        }));
    }

private:
    std::vector<std::string> m_pages;
    std::vector<ResultRow> m_rows;
    std::string m_strProfile;
};

}  // namespace tarnwick::bench
