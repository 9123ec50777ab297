// The Add, Edit Profile and Delete commands of the main window, whole: the
// guard while a scan runs, the dialog, the messages and the command flags.
// The window's handlers call these and nothing else.
#pragma once

class QWidget;

namespace tarnwick {

class ProfilePaneAccess;

// Add: refused during a scan run; the wizard; after a save, "Your profile has
// been successfully added." and Play enabled, Stop disabled.
void runAddCommand(QWidget* parent, ProfilePaneAccess& panes);

// Edit Profile: refused during a scan run; the Edit Profile dialog.
void runEditProfileCommand(QWidget* parent, ProfilePaneAccess& panes);

// Delete: refused during a scan run; suppresses ticking on load; deletes the
// ticked profiles after the confirmation, reloads the pane and rebuilds the
// results; an empty pane disables Play and Stop.
void runDeleteCommand(QWidget* parent, ProfilePaneAccess& panes);

}  // namespace tarnwick
