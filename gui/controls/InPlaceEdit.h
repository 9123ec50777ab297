// The one-line edit box that PageTable lays over a cell for the length of
// one edit. Enter commits, Escape restores the text the cell had; either hands
// the focus back to the list, and losing the focus in any way ends the edit.
#pragma once

#include <QLineEdit>

#include "gui/controls/InPlaceEditing.h"

namespace tarnwick {

class PageTable;

class InPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    // Creates the box over rect (viewport coordinates of the list), fills it
    // with text, selects all of it and gives it the focus. validChars empty:
    // typing is not restricted.
    static InPlaceEdit* showEditor(PageTable* list, const QRect& rect, int row, int column,
                                   const QString& validChars, const QString& text);

    int row() const { return m_editing.row(); }
    int column() const { return m_editing.column(); }

    // Ends the edit as losing the focus does: reports the text (the initial
    // text after Escape) once, then the box goes.
    void endEdit();
    // The list is going away: end without reporting.
    void abandon();

signals:
    void editEnded(int row, int column, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    InPlaceEdit(PageTable* list, int row, int column, const QString& validChars,
                const QString& text);
    void handFocusToList();
    bool isValid(QChar c) const;
    // Pastes the clipboard's text only when every character is valid.
    void pasteFiltered();

    InPlaceEditing m_editing;
    QString m_validChars;
};

}  // namespace tarnwick
