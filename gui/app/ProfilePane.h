// The profile pane: one row per line of index.txt with a check box, the
// profile's display text ("Proile") and the run's profile status. Its ticked
// rows choose the profiles of a scan run and of a delete; the results pane is
// built from them.
#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "gui/controls/FormView.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "scan/BuildResultRows.h"

namespace tarnwick {

class PaneTableView;
class ProfileListModel;
class ResultsPane;

class ProfilePane : public FormView, public ProfilePaneAccess {
    Q_OBJECT
public:
    static constexpr char kProfileList[] = "profileList";

    explicit ProfilePane(QWidget* parent = nullptr);
    ~ProfilePane() override;

    // Builds the list (columns, check-box header) and loads the profiles.
    void onInitialUpdate() override;

    PaneTableView& list() const { return *m_list; }
    // The results pane that the ticked rows fill (none: ticking rebuilds
    // nothing).
    void setResultsPane(ResultsPane* results);
    ResultsPane* resultsPane() const;
    ProfileListModel& model() const { return *m_model; }

    // ProfilePaneAccess
    int profileRowCount() const override;
    QString profileText(int row) const override;
    bool isProfileTicked(int row) const override;
    void insertProfileRow(int row, const QString& displayText) override;
    void setProfileTicked(int row, bool ticked) override;
    // Empties the pane and adds one row per line of the profile list, ticked
    // unless a Delete suppressed it; ticked rows run the check-state rule
    // once (which rebuilds the results).
    void loadProfiles() override;
    void suppressTickOnLoad() override { m_tickSuppressed = true; }
    bool isTickOnLoadSuppressed() const override { return m_tickSuppressed; }
    void rebuildResults() override;
    int selectedProfileRow() const override;

    // Cells as the store's 8-bit text.
    std::string profileText8(int row) const;
    std::string profileStatus(int row) const;
    void setProfileStatus(int row, const std::string& status);
    std::vector<TickedProfile> tickedProfiles() const;

private:
    PaneTableView* m_list = nullptr;
    ProfileListModel* m_model = nullptr;
    QPointer<ResultsPane> m_resultsPane;
    bool m_tickSuppressed = false;
};

}  // namespace tarnwick
