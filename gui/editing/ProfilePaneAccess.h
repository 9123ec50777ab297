// What the profile-editing dialogs do to the two panes of the main window.
// The profile pane (ProfilePane) implements it; dialogs under test get a small
// table of their own.
#pragma once

#include <QString>

namespace tarnwick {

class ProfilePaneAccess {
public:
    virtual ~ProfilePaneAccess() = default;

    virtual int profileRowCount() const = 0;
    // Column 1, the "Proile" column: the profile's display text.
    virtual QString profileText(int row) const = 0;
    virtual bool isProfileTicked(int row) const = 0;

    // Inserts an unticked row with an empty Status at the position.
    virtual void insertProfileRow(int row, const QString& displayText) = 0;
    // Ticks or unticks a row; ticking follows the check-state rule of the
    // list (which rebuilds the results pane).
    virtual void setProfileTicked(int row, bool ticked) = 0;
    // Deletes every row and refills the pane from index.txt; the rows are
    // ticked unless ticking on load is suppressed.
    virtual void loadProfiles() = 0;
    // After a Delete, every later load of the pane leaves its rows unticked,
    // so the user ticks again what the next run checks.
    virtual void suppressTickOnLoad() = 0;
    virtual bool isTickOnLoadSuppressed() const = 0;
    // Clears the results pane and rebuilds it from the ticked profiles.
    virtual void rebuildResults() = 0;
    // The row the user has selected (the current row), -1 for none: where
    // Edit Profile starts.
    virtual int selectedProfileRow() const { return -1; }
};

}  // namespace tarnwick
