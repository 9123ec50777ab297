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
    : QLineEdit(list->viewport()), m_editing(list, row, column, text), m_strValidChars(validChars) {
    setFrame(false);
    setFont(list->font());
    setAcceptDrops(validChars.isEmpty());
}

InPlaceEdit* InPlaceEdit::ShowEditor(PageTable* list, const QRect& rect, int row, int column,
                                     const QString& validChars, const QString& text) {
    auto* edit = new InPlaceEdit(list, row, column, validChars, text);
    edit->setAccessibleName(list->GetColumnHeading(column));
    edit->setGeometry(rect);
    edit->setText(text);
    edit->selectAll();
    edit->show();
    edit->setFocus(Qt::MouseFocusReason);
    return edit;
}

void InPlaceEdit::EndEdit() {
    m_editing.End(this, text(), [this](int row, int column, const QString& result) {
        emit editEnded(row, column, result);
    });
}

void InPlaceEdit::Abandon() {
    m_editing.Abandon();
}

void InPlaceEdit::HandFocusToList() {
    m_editing.FocusList();
    EndEdit();
}

bool InPlaceEdit::IsValid(QChar c) const {
    return m_strValidChars.isEmpty() || m_strValidChars.contains(c);
}

void InPlaceEdit::PasteFiltered() {
    const QString pasted = QApplication::clipboard()->text();
    for (const QChar c : pasted) {
        if (!IsValid(c)) {
            return;
        }
    }
    paste();
}

void InPlaceEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            m_editing.Escape();
            [[fallthrough]];
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Consumed here, so the dialog neither closes nor presses a button.
            event->accept();
            HandFocusToList();
            return;
        default:
            break;
    }
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        PasteFiltered();
        return;
    }
    if (!m_strValidChars.isEmpty() && !event->text().isEmpty()) {
        const QChar c = event->text().front();
        // Backspace, Ctrl+C, Ctrl+V and Ctrl+X always pass.
        const bool editingKey = c == QChar(8) || c == QChar(3) || c == QChar(22) || c == QChar(24);
        if (!editingKey && !IsValid(c)) {
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
        EndEdit();
    }
}

void InPlaceEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (QAction* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(pasteAction, &QAction::triggered, this, &InPlaceEdit::PasteFiltered);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace tarnwick
