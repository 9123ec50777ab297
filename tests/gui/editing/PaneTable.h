// The two panes as a plain table for the dialogs under test: the profile rows
// (display text, tick) and a count of results-pane rebuilds. Loading follows
// the pane's rule: rows ticked unless g_bSuppressAutoCheck is set.
#pragma once

#include <QString>
#include <vector>

#include "editing/SuppressAutoCheck.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "store/ProfileList.h"

namespace tarnwick::test {

class PaneTable : public ProfilePaneAccess {
public:
    struct Row {
        QString m_strText;
        bool m_bTicked = false;
    };

    int ProfileRowCount() const override { return static_cast<int>(m_rows.size()); }
    QString ProfileText(int row) const override {
        return m_rows.at(static_cast<size_t>(row)).m_strText;
    }
    bool IsProfileTicked(int row) const override {
        return m_rows.at(static_cast<size_t>(row)).m_bTicked;
    }
    void InsertProfileRow(int row, const QString& displayText) override {
        m_rows.insert(m_rows.begin() + row, Row{displayText, false});
    }
    void SetProfileTicked(int row, bool ticked) override {
        m_rows.at(static_cast<size_t>(row)).m_bTicked = ticked;
        ++m_nRebuilds;  // ticking runs the check-state rule, which rebuilds
    }
    void LoadProfiles() override {
        m_rows.clear();
        for (const std::string& line : ProfileList(DataFolder::FromEnvironment()).Read()) {
            m_rows.push_back(Row{ToQ(ProfileList::DisplayText(line)), !g_bSuppressAutoCheck});
        }
        ++m_nLoads;
    }
    void RebuildResults() override { ++m_nRebuilds; }
    int SelectedProfileRow() const override { return m_nSelected; }

    QStringList Texts() const {
        QStringList texts;
        for (const Row& row : m_rows) {
            texts << row.m_strText;
        }
        return texts;
    }

    std::vector<Row> m_rows;
    int m_nLoads = 0;
    int m_nRebuilds = 0;
    int m_nSelected = -1;
};

}  // namespace tarnwick::test
