// How the profile dialogs open the mail settings dialog (their "Mail
// Settings" buttons). The window, or a test, says what opens it.
#pragma once

#include <functional>

class QWidget;

namespace tarnwick {

// Opens the mail settings dialog modally over parent; nothing when no opener
// is set.
void OpenMailSettings(QWidget* parent);
void SetMailSettingsOpener(std::function<void(QWidget*)> opener);

}  // namespace tarnwick
