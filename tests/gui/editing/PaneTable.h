// The two panes as a plain table for the dialogs under test: the profile rows
// (display text, tick) and a count of results-pane rebuilds. Loading follows
// the pane's rule: rows ticked unless a Delete suppressed it.
#pragma once

#include <QString>
#include <vector>

#include "gui/controls/TextCodec.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "store/ProfileList.h"

namespace tarnwick::test {

class PaneTable : public ProfilePaneAccess {
public:
    struct Row {
        QString m_text;
        bool m_ticked = false;
    };

    int profileRowCount() const override { return static_cast<int>(m_rows.size()); }
    QString profileText(int row) const override {
        return m_rows.at(static_cast<size_t>(row)).m_text;
    }
    bool isProfileTicked(int row) const override {
        return m_rows.at(static_cast<size_t>(row)).m_ticked;
    }
    void insertProfileRow(int row, const QString& displayText) override {
        m_rows.insert(m_rows.begin() + row, Row{displayText, false});
    }
    void setProfileTicked(int row, bool ticked) override {
        m_rows.at(static_cast<size_t>(row)).m_ticked = ticked;
        ++m_rebuilds;  // ticking runs the check-state rule, which rebuilds
    }
    void loadProfiles() override {
        m_rows.clear();
        for (const std::string& line : ProfileList(DataFolder::fromEnvironment()).read()) {
            m_rows.push_back(Row{toQ(ProfileList::displayText(line)), !m_tickSuppressed});
        }
        ++m_loads;
    }
    void suppressTickOnLoad() override { m_tickSuppressed = true; }
    bool isTickOnLoadSuppressed() const override { return m_tickSuppressed; }
    void rebuildResults() override { ++m_rebuilds; }
    int selectedProfileRow() const override { return m_selected; }

    QStringList texts() const {
        QStringList texts;
        for (const Row& row : m_rows) {
            texts << row.m_text;
        }
        return texts;
    }

    std::vector<Row> m_rows;
    int m_loads = 0;
    int m_rebuilds = 0;
    int m_selected = -1;
    bool m_tickSuppressed = false;
};

}  // namespace tarnwick::test
