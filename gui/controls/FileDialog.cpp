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
    QString m_filter;
    QString m_folder;
    QString m_file;
    bool m_open = false;
};

SeamState& seamState() {
    static SeamState state;
    return state;
}

// The folder the last confirmed dialog chose its file in.
QString& lastFolder() {
    static QString folder;
    return folder;
}

// How a filter names its patterns: "Description (pattern pattern ...)".
const QRegularExpression& filterPattern() {
    static const QRegularExpression re(
        QStringLiteral("^(.*)\\(([a-zA-Z0-9_.,*? +;#\\-\\[\\]@\\{\\}/!<>\\$%&=^~:\\|]*)\\)$"));
    return re;
}

QStringList patternsOf(const QString& filter) {
    const QRegularExpressionMatch match = filterPattern().match(filter);
    if (!match.hasMatch()) {
        return {};
    }
    static const QRegularExpression separators(QStringLiteral("[ ;]"));
    return match.captured(2).split(separators, Qt::SkipEmptyParts);
}

// The filter as handed to Qt's dialog: the caller's text, which the dialog
// shows unchanged (it hides the appended details), followed by the patterns
// it really matches. "*.*" means every file, also one without an extension.
QString forDialog(const QString& filter) {
    QStringList patterns = patternsOf(filter);
    if (patterns.isEmpty()) {
        return filter;
    }
    if (patterns.contains(QStringLiteral("*.*")) && !patterns.contains(QStringLiteral("*"))) {
        patterns.append(QStringLiteral("*"));
    }
    return filter + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// "*.html" gives "html"; patterns that do not name one extension give none.
QString extensionOf(const QString& filter) {
    const QStringList patterns = patternsOf(filter);
    if (patterns.isEmpty() || !patterns.first().startsWith(QStringLiteral("*."))) {
        return {};
    }
    const QString extension = patterns.first().mid(2);
    static const QRegularExpression wild(QStringLiteral("[*?\\[\\].]"));
    return extension.contains(wild) ? QString() : extension;
}

bool hasWildcards(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// Delete, Ctrl+X and Ctrl+V do nothing in any window of the dialog, its
// file-name box included, so no file and no text can be deleted, cut or
// pasted. The shortcut override is claimed too, so no shortcut (such as the
// dialog's own Delete) sees the key.
class KeyFilter : public QObject {
public:
    explicit KeyFilter(QWidget* dialog) : m_dialog(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride &&
            event->type() != QEvent::KeyRelease) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != m_dialog) {
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
    QWidget* m_dialog;
};

// Nothing in the dialog may change the file system: no name editing, no
// drag and drop, no context menu, no new folder.
void restrict(QFileDialog& dialog) {
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
        : QFileDialog(owner), m_filters(std::move(filters)), m_defExt(std::move(defaultExt)) {}

protected:
    void accept() override {
        if (!m_defExt.isEmpty()) {
            setDefaultSuffix(m_defExt);
        } else if (acceptMode() == AcceptSave) {
            auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            const int index = types != nullptr ? types->currentIndex() : -1;
            setDefaultSuffix(index >= 0 && index < m_filters.size()
                                 ? extensionOf(m_filters.at(index))
                                 : QString());
        }
        QFileDialog::accept();
    }

private:
    QStringList m_filters;
    QString m_defExt;
};

QString startFolder(const QString& requested) {
    if (!requested.isEmpty() && QFileInfo(requested).isDir()) {
        return requested;
    }
    if (!lastFolder().isEmpty() && QFileInfo(lastFolder()).isDir()) {
        return lastFolder();
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
    : m_open(bOpen),
      m_owner(owner),
      m_initialFolder(initialFolder),
      m_initialFile(initialFile),
      m_filter(filter) {
    m_defExt = defaultExt;
    m_defExt.remove(QLatin1Char('.'));
    m_defExt.truncate(3);
}

bool FileDialog::runDialog() {
    m_chosen.clear();
    {
        SeamState& seam = seamState();
        std::lock_guard<std::mutex> lock(seam.m_mutex);
        seam.m_filter = m_filter;
        seam.m_folder = m_initialFolder;
        seam.m_file = m_initialFile;
        seam.m_open = m_open;
        if (!seam.m_presets.empty()) {
            const std::optional<QString> preset = seam.m_presets.front();
            seam.m_presets.pop_front();
            if (!preset) {
                return false;
            }
            m_chosen = *preset;
            return true;
        }
    }

    const QStringList filters = m_filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    ChooserDialog dialog(m_owner.data(), filters, m_defExt);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !m_open);
    dialog.setAcceptMode(m_open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);

    QStringList dialogFilters;
    for (const QString& filter : filters) {
        dialogFilters.append(forDialog(filter));
    }
    if (!dialogFilters.isEmpty()) {
        dialog.setNameFilters(dialogFilters);
    }
    dialog.setDirectory(startFolder(m_initialFolder));
    if (!m_initialFile.trimmed().isEmpty() && !hasWildcards(m_initialFile)) {
        dialog.selectFile(m_initialFile);
    }

    restrict(dialog);
    KeyFilter keys(&dialog);
    qApp->installEventFilter(&keys);
    const int result = dialog.exec();
    qApp->removeEventFilter(&keys);
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    m_chosen = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(m_chosen).absolutePath();
    return true;
}

QString FileDialog::getChosenPath() const {
    return m_chosen;
}

void FileDialog::presetNextPath(const QString& path) {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    seamState().m_presets.emplace_back(path);
}

void FileDialog::presetCancel() {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    seamState().m_presets.emplace_back(std::nullopt);
}

void FileDialog::clearPresets() {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    seamState().m_presets.clear();
}

QString FileDialog::lastFilter() {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    return seamState().m_filter;
}

QString FileDialog::lastInitialFolder() {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    return seamState().m_folder;
}

QString FileDialog::lastInitialFile() {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    return seamState().m_file;
}

bool FileDialog::lastWasOpen() {
    std::lock_guard<std::mutex> lock(seamState().m_mutex);
    return seamState().m_open;
}

}  // namespace tarnwick
