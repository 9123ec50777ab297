// What one run checks, taken when Play is pressed: the ticked profiles in
// pane order and their pages, profile after profile, each page in file order.
// A value: the run works from its own copy, so nothing it does reads a pane
// or a profile file again while it goes on. The session shares it with its
// listeners for the whole run (runStarted), so a run of 50,000 pages holds
// their addresses once however many listeners show them; the texts pages
// share (the advertiser's address, the notification word) are held once.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "scan/BuildResultRows.h"
#include "scan/ResultRow.h"
#include "scan/ScanJob.h"
#include "store/DataFolder.h"

namespace tarnwick {

class ScanPlan {
public:
    std::vector<TickedProfile> m_profiles;  // ticked, in pane order
    // The files of ticked profiles that could not be read: no rows.
    std::vector<std::string> m_unreadable;

    // The pages of the ticked profiles as the profile files hold them now.
    static ScanPlan fromStore(const DataFolder& folder, std::vector<TickedProfile> ticked);

    // Appends the page of a results row (its columns, not its result) as the
    // next row.
    void addRow(const ResultRow& row);

    // The number of pages (rows).
    std::size_t size() const { return m_pages.size(); }
    bool empty() const { return m_pages.empty(); }
    // Row k's page, as the run hands it over (its m_row is k).
    ScanJob job(std::size_t k) const;
    const std::string& page(std::size_t k) const { return m_pages.at(k).m_page; }
    const std::string& advertiser(std::size_t k) const {
        return m_shared.at(m_pages.at(k).m_advertiser);
    }
    // Row k's results row, with an empty Status.
    ResultRow resultRow(std::size_t k) const;
    // The results rows of the pages, each with an empty Status.
    std::vector<ResultRow> resultRows() const;

private:
    struct PlannedPage {
        std::string m_page;
        std::string m_mail;
        std::uint32_t m_advertiser = 0;  // into m_shared
        std::uint32_t m_notify = 0;      // into m_shared
        int m_profileRow = -1;
    };

    void add(std::string page, std::string mail, const std::string& advertiser,
             const std::string& notify, int profileRow);
    std::uint32_t shared(const std::string& text);

    std::vector<PlannedPage> m_pages;
    std::vector<std::string> m_shared;
    std::unordered_map<std::string, std::uint32_t> m_sharedIndex;
};

}  // namespace tarnwick
