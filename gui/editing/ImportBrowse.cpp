#include "gui/editing/ImportBrowse.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "gui/controls/FileDialog.h"

namespace tarnwick {

ImportDialogSettings importDialogSettingsFor(const QString& type) {
    ImportDialogSettings settings;
    settings.m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (type == QLatin1String("csv")) {
        settings.m_initialFile = QStringLiteral("*.csv ");
        settings.m_filter = QCoreApplication::translate("ImportBrowse", "CSV Files(*.csv)");
    } else {
        settings.m_initialFile = QStringLiteral("*.txt ");
        settings.m_filter = QCoreApplication::translate("ImportBrowse", "Text Files(*.txt)");
    }
    return settings;
}

QString runImportDialog(QWidget* owner, const ImportDialogSettings& settings) {
    FileDialog dialog(true, owner, settings.m_folder, settings.m_initialFile, settings.m_filter);
    return dialog.runDialog() ? dialog.getChosenPath() : QString();
}

}  // namespace tarnwick
