#include "gui/editing/MailSettingsLink.h"

#include <utility>

#include "gui/mail/MailSettingsDialog.h"

namespace tarnwick {
namespace {

std::function<void(QWidget*)>& openerSlot() {
    static std::function<void(QWidget*)> opener;
    return opener;
}

}  // namespace

void openMailSettings(QWidget* parent) {
    if (openerSlot()) {
        openerSlot()(parent);
        return;
    }
    MailSettingsDialog dialog(parent);
    dialog.doModal();
}

void setMailSettingsOpener(std::function<void(QWidget*)> opener) {
    openerSlot() = std::move(opener);
}

}  // namespace tarnwick
