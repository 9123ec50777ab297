#include "gui/report/OfferReport.h"

#include <QWidget>
#include <ctime>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/GuiThread.h"
#include "gui/report/ReportFormatDialog.h"
#include "report/ReportWriters.h"
#include "scan/ScanState.h"
#include "store/FileError.h"

namespace tarnwick {

namespace {

void OfferReportHere(QWidget* parent, const std::vector<ResultRow>& rows) {
    std::string path;
    {
        ReportFormatDialog dialog(parent);
        dialog.exec();
        path = dialog.ReportPath();
    }
    if (path.empty()) {
        g_bReportSaved = false;
        return;
    }
    try {
        WriteReport(path, rows, std::time(nullptr));
        g_bReportSaved = true;
    } catch (const FileError& error) {
        g_bReportSaved = false;
        AppMessageBox::Show(error, AppMessageBox::Buttons::Ok, parent);
    }
}

}  // namespace

void OfferReport(QWidget* parent, const std::vector<ResultRow>& rows) {
    // From the scan thread too: the dialogs belong to the GUI thread; wait
    // there until the prompt is closed and the file written.
    if (!GuiThread::CallOnApplication([&] { OfferReportHere(parent, rows); })) {
        g_bReportSaved = false;
    }
}

}  // namespace tarnwick
