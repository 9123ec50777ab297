#include "gui/controls/InPlaceEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "gui/controls/PageTable.h"

namespace tarnwick {

InPlaceEdit::InPlaceEdit(PageTable* list, int row, int column, const QString& validChars,
                         const QString& text)
    : QLineEdit(list->viewport()), m_editing(list, row, column, text), m_validChars(validChars) {
    setFrame(false);
    setFont(list->font());
    setAcceptDrops(validChars.isEmpty());
}

InPlaceEdit* InPlaceEdit::showEditor(PageTable* list, const QRect& rect, int row, int column,
                                     const QString& validChars, const QString& text) {
    auto* edit = new InPlaceEdit(list, row, column, validChars, text);
    edit->setAccessibleName(list->getColumnHeading(column));
    edit->setGeometry(rect);
    edit->setText(text);
    edit->selectAll();
    edit->show();
    edit->setFocus(Qt::MouseFocusReason);
    return edit;
}

void InPlaceEdit::endEdit() {
    m_editing.end(this, text(), [this](int row, int column, const QString& result) {
        emit editEnded(row, column, result);
    });
}

void InPlaceEdit::abandon() {
    m_editing.abandon();
}

void InPlaceEdit::handFocusToList() {
    m_editing.focusList();
    endEdit();
}

bool InPlaceEdit::isValid(QChar c) const {
    return m_validChars.isEmpty() || m_validChars.contains(c);
}

void InPlaceEdit::pasteFiltered() {
    const QString pasted = QApplication::clipboard()->text();
    for (const QChar c : pasted) {
        if (!isValid(c)) {
            return;
        }
    }
    paste();
}

void InPlaceEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            m_editing.escape();
            [[fallthrough]];
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Consumed here, so the dialog neither closes nor presses a button.
            event->accept();
            handFocusToList();
            return;
        default:
            break;
    }
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        pasteFiltered();
        return;
    }
    if (!m_validChars.isEmpty() && !event->text().isEmpty()) {
        const QChar c = event->text().front();
        // Backspace, Ctrl+C, Ctrl+V and Ctrl+X always pass.
        const bool editingKey = c == QChar(8) || c == QChar(3) || c == QChar(22) || c == QChar(24);
        if (!editingKey && !isValid(c)) {
            event->accept();
            QApplication::beep();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void InPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu of the box itself does not end the edit.
    if (event->reason() != Qt::PopupFocusReason) {
        endEdit();
    }
}

void InPlaceEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (QAction* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(pasteAction, &QAction::triggered, this, &InPlaceEdit::pasteFiltered);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace tarnwick
