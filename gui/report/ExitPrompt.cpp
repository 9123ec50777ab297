#include "gui/report/ExitPrompt.h"

#include "gui/report/CExit.h"
#include "gui/report/CExit2.h"
#include "scan/ScanState.h"

namespace tarnwick {

bool RunExitPrompt(QWidget* parent, const std::function<void()>& onStop) {
    if (g_bScanRunning && !g_bReportSaved) {
        CExit dialog(onStop, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    CExit2 dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tarnwick
