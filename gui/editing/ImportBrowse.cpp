#include "gui/editing/ImportBrowse.h"

#include <QStandardPaths>

#include "gui/controls/FileDialog.h"

namespace tarnwick {

ImportDialogSettings ImportDialogSettingsFor(const QString& type) {
    ImportDialogSettings settings;
    settings.m_strFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (type == QLatin1String("csv")) {
        settings.m_strInitialFile = QStringLiteral("*.csv ");
        settings.m_strFilter = QStringLiteral("CSV Files(*.csv)");
    } else {
        settings.m_strInitialFile = QStringLiteral("*.txt ");
        settings.m_strFilter = QStringLiteral("Text Files(*.txt)");
    }
    return settings;
}

QString RunImportDialog(QWidget* owner, const ImportDialogSettings& settings) {
    FileDialog dialog(true, owner, settings.m_strFolder, settings.m_strInitialFile,
                      settings.m_strFilter);
    return dialog.RunDialog() ? dialog.GetChosenPath() : QString();
}

}  // namespace tarnwick
