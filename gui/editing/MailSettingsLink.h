// How the profile dialogs open the mail settings dialog (their "Mail
// Settings" buttons): MailSettingsDialog, modally over the dialog.
#pragma once

#include <functional>

class QWidget;

namespace tarnwick {

void OpenMailSettings(QWidget* parent);

// Test seam: another opener in place of the dialog (nullptr: the dialog).
void SetMailSettingsOpener(std::function<void(QWidget*)> opener);

}  // namespace tarnwick
