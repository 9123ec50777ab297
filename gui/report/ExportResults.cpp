#include "gui/report/ExportResults.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/FileDialog.h"
#include "report/ResultExport.h"
#include "store/FileError.h"

namespace tarnwick {

bool runExportCommand(QWidget* parent, const std::vector<ResultRow>& rows) {
    // No default extension: the dialog appends the chosen filter's, and a
    // three-letter cut would turn "json" into "jso".
    FileDialog dialog(
        false, parent, QString(), QStringLiteral("Results"),
        QCoreApplication::translate("ExportResults", "CSV Files (*.csv);;JSON Files (*.json)"));
    if (!dialog.runDialog()) {
        return false;
    }
    const std::string path = QFile::encodeName(dialog.getChosenPath()).toStdString();
    std::vector<ExportRow> exported;
    exported.reserve(rows.size());
    for (const ResultRow& row : rows) {
        exported.push_back(exportRowOf(row));
    }
    try {
        writeExport(path, exported, exportKindFor(path));
        return true;
    } catch (const FileError& error) {
        AppMessageBox::show(QFile::decodeName(error.what()), AppMessageBox::Buttons::Ok, parent);
        return false;
    }
}

}  // namespace tarnwick
