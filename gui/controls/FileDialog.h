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
    bool RunDialog();
    // The full path of the chosen file after a confirmed RunDialog.
    QString GetChosenPath() const;
    // The default extension as kept (no dots, at most 3 characters).
    QString DefaultExtension() const { return m_strDefExt; }

    // Test seam: the next RunDialog returns at once without a window, with the
    // path as chosen file or as cancelled. Presets queue up in order.
    static void PresetNextPath(const QString& path);
    static void PresetCancel();
    static void ClearPresets();
    // What the last RunDialog was asked for.
    static QString LastFilter();
    static QString LastInitialFolder();
    static QString LastInitialFile();
    static bool LastWasOpen();

private:
    bool m_bOpen;
    QPointer<QWidget> m_pOwner;
    QString m_strInitialFolder;
    QString m_strInitialFile;
    QString m_strFilter;
    QString m_strDefExt;
    QString m_strChosen;
};

}  // namespace tarnwick
