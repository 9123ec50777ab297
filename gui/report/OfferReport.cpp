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

void offerReportHere(QWidget* parent, const std::vector<ResultRow>& rows) {
    std::string path;
    {
        ReportFormatDialog dialog(parent);
        dialog.exec();
        path = dialog.reportPath();
    }
    if (path.empty()) {
        g_bReportSaved = false;
        return;
    }
    try {
        writeReport(path, rows, std::time(nullptr));
        g_bReportSaved = true;
    } catch (const FileError& error) {
        g_bReportSaved = false;
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, parent);
    }
}

}  // namespace

void offerReport(QWidget* parent, const std::vector<ResultRow>& rows) {
    // From the scan thread too: the dialogs belong to the GUI thread; wait
    // there until the prompt is closed and the file written.
    if (!GuiThread::callOnApplication([&] { offerReportHere(parent, rows); })) {
        g_bReportSaved = false;
    }
}

}  // namespace tarnwick
