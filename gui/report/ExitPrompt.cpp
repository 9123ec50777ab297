#include "gui/report/ExitPrompt.h"

#include "gui/report/ConfirmExitDialog.h"
#include "gui/report/SaveReportQuestion.h"

namespace tarnwick {

bool runExitPrompt(QWidget* parent, bool scanRunning, bool reportSaved,
                   const std::function<void()>& onStop) {
    if (scanRunning && !reportSaved) {
        SaveReportQuestion dialog(onStop, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    ConfirmExitDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tarnwick
