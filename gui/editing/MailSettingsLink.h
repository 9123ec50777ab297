// How the profile dialogs open the mail settings dialog (their "Mail
// Settings" buttons): MailSettingsDialog, modally over the dialog.
#pragma once

#include <functional>

class QWidget;

namespace tarnwick {

void openMailSettings(QWidget* parent);

// Test seam: another opener in place of the dialog (nullptr: the dialog).
void setMailSettingsOpener(std::function<void(QWidget*)> opener);

}  // namespace tarnwick
