// The program's open and save file dialog: Qt's own file dialog, in which the
// user picks a file but cannot change the file system. Names cannot be edited,
// nothing can be deleted, cut, pasted, dragged or dropped, there is no context
// menu and no new-folder button; Delete, Ctrl+X and Ctrl+V do nothing anywhere
// in the dialog. Save dialogs replace an existing file without asking.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace tarnwick {

class FileDialog {
public:
    // filter: Qt filter list, e.g. "Text Files(*.txt);;All Files(*.*)"; "*.*"
    // matches every file, also one without an extension. defaultExt is
    // appended when the user types a name without extension; its dots are
    // dropped and it is cut to 3 characters. Without one, a save dialog
    // appends the extension of the selected filter. An empty initial folder
    // (or one that does not exist) gives the last folder a file was chosen in,
    // else the documents folder. An initial file name holding wildcards
    // ("*.txt ") is not put in the name box: the filter narrows the list.
    FileDialog(bool bOpen, QWidget* owner, const QString& initialFolder, const QString& initialFile,
               const QString& filter, const QString& defaultExt = QString());

    // Modal; true when the user confirmed a file.
    bool runDialog();
    // The full path of the chosen file after a confirmed RunDialog.
    QString getChosenPath() const;
    // The default extension as kept (no dots, at most 3 characters).
    QString defaultExtension() const { return m_defExt; }

    // Test seam: the next RunDialog returns at once without a window, with the
    // path as chosen file or as cancelled. Presets queue up in order.
    static void presetNextPath(const QString& path);
    static void presetCancel();
    static void clearPresets();
    // What the last RunDialog was asked for.
    static QString lastFilter();
    static QString lastInitialFolder();
    static QString lastInitialFile();
    static bool lastWasOpen();

private:
    bool m_open;
    QPointer<QWidget> m_owner;
    QString m_initialFolder;
    QString m_initialFile;
    QString m_filter;
    QString m_defExt;
    QString m_chosen;
};

}  // namespace tarnwick
