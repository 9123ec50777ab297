#include "gui/controls/FileDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeView>
#include <deque>
#include <mutex>
#include <optional>

namespace tarnwick {
namespace {

struct SeamState {
    std::mutex m_mutex;
    std::deque<std::optional<QString>> m_presets;  // nullopt: cancel
    QString m_strFilter;
    QString m_strFolder;
    QString m_strFile;
    bool m_bOpen = false;
};

SeamState& Seam() {
    static SeamState state;
    return state;
}

// The folder the last confirmed dialog chose its file in.
QString& LastFolder() {
    static QString folder;
    return folder;
}

// How a filter names its patterns: "Description (pattern pattern ...)".
const QRegularExpression& FilterPattern() {
    static const QRegularExpression re(
        QStringLiteral("^(.*)\\(([a-zA-Z0-9_.,*? +;#\\-\\[\\]@\\{\\}/!<>\\$%&=^~:\\|]*)\\)$"));
    return re;
}

QStringList PatternsOf(const QString& filter) {
    const QRegularExpressionMatch match = FilterPattern().match(filter);
    if (!match.hasMatch()) {
        return {};
    }
    static const QRegularExpression separators(QStringLiteral("[ ;]"));
    return match.captured(2).split(separators, Qt::SkipEmptyParts);
}

// The filter as handed to Qt's dialog: the caller's text, which the dialog
// shows unchanged (it hides the appended details), followed by the patterns
// it really matches. "*.*" means every file, also one without an extension.
QString ForDialog(const QString& filter) {
    QStringList patterns = PatternsOf(filter);
    if (patterns.isEmpty()) {
        return filter;
    }
    if (patterns.contains(QStringLiteral("*.*")) && !patterns.contains(QStringLiteral("*"))) {
        patterns.append(QStringLiteral("*"));
    }
    return filter + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// "*.html" gives "html"; patterns that do not name one extension give none.
QString ExtensionOf(const QString& filter) {
    const QStringList patterns = PatternsOf(filter);
    if (patterns.isEmpty() || !patterns.first().startsWith(QStringLiteral("*."))) {
        return {};
    }
    const QString extension = patterns.first().mid(2);
    static const QRegularExpression wild(QStringLiteral("[*?\\[\\].]"));
    return extension.contains(wild) ? QString() : extension;
}

bool HasWildcards(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// Delete, Ctrl+X and Ctrl+V do nothing in any window of the dialog, its
// file-name box included, so no file and no text can be deleted, cut or
// pasted. The shortcut override is claimed too, so no shortcut (such as the
// dialog's own Delete) sees the key.
class KeyFilter : public QObject {
public:
    explicit KeyFilter(QWidget* dialog) : m_pDialog(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride &&
            event->type() != QEvent::KeyRelease) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != m_pDialog) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        const bool blocked = key->key() == Qt::Key_Delete ||
                             (ctrl && (key->key() == Qt::Key_X || key->key() == Qt::Key_V));
        if (!blocked) {
            return false;
        }
        event->accept();
        return true;
    }

private:
    QWidget* m_pDialog;
};

// Nothing in the dialog may change the file system: no name editing, no
// drag and drop, no context menu, no new folder.
void Restrict(QFileDialog& dialog) {
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
        view->setContextMenuPolicy(Qt::PreventContextMenu);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setDragEnabled(false);
        view->setAcceptDrops(false);
        view->setDragDropMode(QAbstractItemView::NoDragDrop);
        if (view->viewport() != nullptr) {
            view->viewport()->setAcceptDrops(false);
        }
    }
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    if (auto* button = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton"))) {
        button->setEnabled(false);
        button->hide();
    }
}

// A name typed without extension gets the default extension, or in a save
// dialog the one of the filter selected when the user confirms.
class ChooserDialog : public QFileDialog {
public:
    ChooserDialog(QWidget* owner, QStringList filters, QString defaultExt)
        : QFileDialog(owner), m_filters(std::move(filters)), m_strDefExt(std::move(defaultExt)) {}

protected:
    void accept() override {
        if (!m_strDefExt.isEmpty()) {
            setDefaultSuffix(m_strDefExt);
        } else if (acceptMode() == AcceptSave) {
            auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            const int index = types != nullptr ? types->currentIndex() : -1;
            setDefaultSuffix(index >= 0 && index < m_filters.size()
                                 ? ExtensionOf(m_filters.at(index))
                                 : QString());
        }
        QFileDialog::accept();
    }

private:
    QStringList m_filters;
    QString m_strDefExt;
};

QString StartFolder(const QString& requested) {
    if (!requested.isEmpty() && QFileInfo(requested).isDir()) {
        return requested;
    }
    if (!LastFolder().isEmpty() && QFileInfo(LastFolder()).isDir()) {
        return LastFolder();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

}  // namespace

FileDialog::FileDialog(bool bOpen, QWidget* owner, const QString& initialFolder,
                       const QString& initialFile, const QString& filter, const QString& defaultExt)
    : m_bOpen(bOpen),
      m_pOwner(owner),
      m_strInitialFolder(initialFolder),
      m_strInitialFile(initialFile),
      m_strFilter(filter) {
    m_strDefExt = defaultExt;
    m_strDefExt.remove(QLatin1Char('.'));
    m_strDefExt.truncate(3);
}

bool FileDialog::RunDialog() {
    m_strChosen.clear();
    {
        SeamState& seam = Seam();
        std::lock_guard<std::mutex> lock(seam.m_mutex);
        seam.m_strFilter = m_strFilter;
        seam.m_strFolder = m_strInitialFolder;
        seam.m_strFile = m_strInitialFile;
        seam.m_bOpen = m_bOpen;
        if (!seam.m_presets.empty()) {
            const std::optional<QString> preset = seam.m_presets.front();
            seam.m_presets.pop_front();
            if (!preset) {
                return false;
            }
            m_strChosen = *preset;
            return true;
        }
    }

    const QStringList filters = m_strFilter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    ChooserDialog dialog(m_pOwner.data(), filters, m_strDefExt);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !m_bOpen);
    dialog.setAcceptMode(m_bOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_bOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);

    QStringList dialogFilters;
    for (const QString& filter : filters) {
        dialogFilters.append(ForDialog(filter));
    }
    if (!dialogFilters.isEmpty()) {
        dialog.setNameFilters(dialogFilters);
    }
    dialog.setDirectory(StartFolder(m_strInitialFolder));
    if (!m_strInitialFile.trimmed().isEmpty() && !HasWildcards(m_strInitialFile)) {
        dialog.selectFile(m_strInitialFile);
    }

    Restrict(dialog);
    KeyFilter keys(&dialog);
    qApp->installEventFilter(&keys);
    const int result = dialog.exec();
    qApp->removeEventFilter(&keys);
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    m_strChosen = dialog.selectedFiles().first();
    LastFolder() = QFileInfo(m_strChosen).absolutePath();
    return true;
}

QString FileDialog::GetChosenPath() const {
    return m_strChosen;
}

void FileDialog::PresetNextPath(const QString& path) {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    Seam().m_presets.emplace_back(path);
}

void FileDialog::PresetCancel() {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    Seam().m_presets.emplace_back(std::nullopt);
}

void FileDialog::ClearPresets() {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    Seam().m_presets.clear();
}

QString FileDialog::LastFilter() {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    return Seam().m_strFilter;
}

QString FileDialog::LastInitialFolder() {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    return Seam().m_strFolder;
}

QString FileDialog::LastInitialFile() {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    return Seam().m_strFile;
}

bool FileDialog::LastWasOpen() {
    std::lock_guard<std::mutex> lock(Seam().m_mutex);
    return Seam().m_bOpen;
}

}  // namespace tarnwick
