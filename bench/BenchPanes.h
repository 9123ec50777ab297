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
    int profileRowCount() override { return 1; }
    bool isProfileTicked(int) override { return true; }
    std::string profileStatus(int) override { return m_profile; }
    void setProfileStatus(int, const std::string& s) override { m_profile = s; }
    void rebuildResults() override {
        m_rows.clear();
        for (const std::string& page : m_pages) {
            ResultRow r;
            r.m_advertiser = "www.example.com";
            r.m_page = page;
            r.m_notify = "Disabled";
            r.m_profileRow = 0;
            m_rows.push_back(r);
        }
    }
    int resultRowCount() override { return static_cast<int>(m_rows.size()); }
    ResultRow resultRowAt(int row) override { return m_rows.at(row); }
    void setResultStatus(int row, const std::string& s) override { m_rows.at(row).m_status = s; }
    void setResultMail(int, const std::string&) override {}
    void setResultChange(int row, const std::string& s) override { m_rows.at(row).m_change = s; }
    void offerReport() override {}
    void startNotification(const NotificationJob&) override {}

    int found() const {
        return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const auto& r) {
            return r.m_status == "Link Found";
        }));
    }

private:
    std::vector<std::string> m_pages;
    std::vector<ResultRow> m_rows;
    std::string m_profile;
};

}  // namespace tarnwick::bench
