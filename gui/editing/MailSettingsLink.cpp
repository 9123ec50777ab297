#include "gui/editing/MailSettingsLink.h"

#include <utility>

#include "gui/mail/MailSettingsDialog.h"

namespace tarnwick {
namespace {

std::function<void(QWidget*)>& Opener() {
    static std::function<void(QWidget*)> opener;
    return opener;
}

}  // namespace

void OpenMailSettings(QWidget* parent) {
    if (Opener()) {
        Opener()(parent);
        return;
    }
    MailSettingsDialog dialog(parent);
    dialog.DoModal();
}

void SetMailSettingsOpener(std::function<void(QWidget*)> opener) {
    Opener() = std::move(opener);
}

}  // namespace tarnwick
