// The Add, Edit Profile and Delete commands of the main window, whole: the
// guard while a scan runs, the dialog, the messages and whether Play has
// anything to play (the run state). The window's handlers call these and
// nothing else.
#pragma once

class QWidget;

namespace tarnwick {

class ProfilePaneAccess;
class RunState;

// Add: refused during a scan run; the wizard; after a save, "Your profile has
// been successfully added." and Play enabled.
void runAddCommand(QWidget* parent, ProfilePaneAccess& panes, RunState& runState);

// Edit Profile: refused during a scan run; the Edit Profile dialog.
void runEditProfileCommand(QWidget* parent, ProfilePaneAccess& panes, const RunState& runState);

// Delete: refused during a scan run; suppresses ticking on load; deletes the
// ticked profiles after the confirmation, reloads the pane and rebuilds the
// results; an empty pane disables Play.
void runDeleteCommand(QWidget* parent, ProfilePaneAccess& panes, RunState& runState);

}  // namespace tarnwick
