#include "editing/ImportBrowse.h"

#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>
#include <optional>

namespace tarnwick {
namespace {

std::optional<QString>& Preset() {
    static std::optional<QString> preset;
    return preset;
}

}  // namespace

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
    if (Preset().has_value()) {
        const QString path = *Preset();
        Preset().reset();
        return path;
    }
    QFileDialog dialog(owner, QString(), settings.m_strFolder, settings.m_strFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The initial name is a pattern; the filter already shows just those files.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

void PresetImportPath(const QString& path) {
    Preset() = path;
}
void PresetImportCancel() {
    Preset() = QString();
}
void ClearImportPresets() {
    Preset().reset();
}

}  // namespace tarnwick
