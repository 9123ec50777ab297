// The open-file dialog behind the Add wizard's "..." button: the user's
// documents folder, and per import type its filter and initial file name.
#pragma once

#include <QString>

class QWidget;

namespace tarnwick {

struct ImportDialogSettings {
    QString m_folder;
    QString m_initialFile;  // "*.txt " or "*.csv " (with one trailing blank)
    QString m_filter;       // "Text Files(*.txt)" or "CSV Files(*.csv)"
};

// type "txt" or "csv".
ImportDialogSettings importDialogSettingsFor(const QString& type);

// Runs the program's open dialog (FileDialog) with the wizard as owner and no
// default extension; the chosen file's full path, or empty when cancelled.
QString runImportDialog(QWidget* owner, const ImportDialogSettings& settings);

}  // namespace tarnwick
