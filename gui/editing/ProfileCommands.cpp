#include "gui/editing/ProfileCommands.h"

#include <set>

#include "editing/EditingTexts.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/AddProfileWizard.h"
#include "gui/editing/DeleteProfilesQuestion.h"
#include "gui/editing/EditProfileDialog.h"
#include "gui/editing/ProfilePaneAccess.h"
#include "scan/RunState.h"
#include "store/FileError.h"
#include "store/ProfileList.h"
#include "store/Trash.h"

namespace tarnwick {

void runAddCommand(QWidget* parent, ProfilePaneAccess& panes, RunState& runState) {
    if (runState.isRunning()) {
        AppMessageBox::show(texts::kAddWhileRunning, AppMessageBox::Buttons::Ok, parent);
        return;
    }
    // A new wizard starts on its first page with no plain import made.
    AddProfileWizard wizard(panes, parent);
    if (wizard.exec() == QDialog::Rejected) {
        return;
    }
    QString added = QString::fromLatin1(texts::kAdded);
    if (wizard.skippedPages() > 0) {
        added += QStringLiteral(
                     "\n\n%1 of the pages were in the profile already and were left "
                     "out.")
                     .arg(wizard.skippedPages());
    }
    AppMessageBox::inform(added, parent);
    runState.setProfilesToPlay(true);
}

void runEditProfileCommand(QWidget* parent, ProfilePaneAccess& panes, const RunState& runState) {
    if (runState.isRunning()) {
        AppMessageBox::show(texts::kEditWhileRunning, AppMessageBox::Buttons::Ok, parent);
        return;
    }
    EditProfileDialog dialog(panes, parent);
    dialog.exec();
}

void runDeleteCommand(QWidget* parent, ProfilePaneAccess& panes, RunState& runState) {
    if (runState.isRunning()) {
        AppMessageBox::show(texts::kDeleteWhileRunning, AppMessageBox::Buttons::Ok, parent);
        return;
    }
    panes.suppressTickOnLoad();
    std::set<int> ticked;
    for (int row = 0; row < panes.profileRowCount(); ++row) {
        if (panes.isProfileTicked(row)) {
            ticked.insert(row);
        }
    }
    if (ticked.empty()) {
        AppMessageBox::show(texts::kSelectToDelete, AppMessageBox::Buttons::Ok, parent);
    } else {
        const ProfileList list(DataFolder::fromEnvironment());
        DeleteProfilesQuestion confirm(list.planRemove(ticked), parent);
        if (confirm.exec() == QDialog::Accepted) {
            try {
                // A deleted profile goes to the desktop's trash, so a wrong
                // Delete can be undone from the file manager.
                list.remove(ticked, moveToTrash);
            } catch (const FileError& error) {
                // The profiles removed before the failure are gone: the pane
                // still has to show the list as it now is.
                AppMessageBox::show(error, AppMessageBox::Buttons::Ok, parent);
            }
            panes.loadProfiles();
            panes.rebuildResults();
        }
    }
    if (panes.profileRowCount() == 0) {
        runState.setProfilesToPlay(false);
    }
}

}  // namespace tarnwick
