#include "gui/report/ReportOffer.h"

#include <QWidget>
#include <ctime>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/GuiThread.h"
#include "gui/report/ReportFormatDialog.h"
#include "report/ReportWriters.h"
#include "store/FileError.h"

namespace tarnwick {

void ReportOffer::offerHere(QWidget* parent, const std::vector<ResultRow>& rows) {
    std::string path;
    {
        ReportFormatDialog dialog(parent);
        dialog.exec();
        path = dialog.reportPath();
    }
    if (path.empty()) {
        m_saved = false;
        return;
    }
    try {
        writeReport(path, rows, std::time(nullptr));
        m_saved = true;
    } catch (const FileError& error) {
        m_saved = false;
        AppMessageBox::show(error, AppMessageBox::Buttons::Ok, parent);
    }
}

void ReportOffer::offer(QWidget* parent, const std::vector<ResultRow>& rows) {
    // From the scan thread too: the dialogs belong to the GUI thread; wait
    // there until the prompt is closed and the file written.
    if (!GuiThread::callOnApplication([&] { offerHere(parent, rows); })) {
        m_saved = false;
    }
}

}  // namespace tarnwick
