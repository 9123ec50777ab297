#include "gui/report/ExitPrompt.h"

#include "gui/report/ConfirmExitDialog.h"
#include "gui/report/SaveReportQuestion.h"
#include "scan/ScanState.h"

namespace tarnwick {

bool runExitPrompt(QWidget* parent, const std::function<void()>& onStop) {
    if (g_bScanRunning && !g_bReportSaved) {
        SaveReportQuestion dialog(onStop, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    ConfirmExitDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tarnwick
