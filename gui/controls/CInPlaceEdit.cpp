#include "gui/controls/CInPlaceEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "gui/controls/CComboListCtrl.h"

namespace tarnwick {

CInPlaceEdit::CInPlaceEdit(CComboListCtrl* list, int row, int column, const QString& validChars,
                           const QString& text)
    : QLineEdit(list->viewport()),
      m_pList(list),
      m_nRow(row),
      m_nColumn(column),
      m_strValidChars(validChars),
      m_strInitialText(text) {
    setFrame(false);
    setFont(list->font());
    setAcceptDrops(validChars.isEmpty());
}

CInPlaceEdit* CInPlaceEdit::ShowEditor(CComboListCtrl* list, const QRect& rect, int row, int column,
                                       const QString& validChars, const QString& text) {
    auto* edit = new CInPlaceEdit(list, row, column, validChars, text);
    edit->setAccessibleName(list->GetColumnHeading(column));
    edit->setGeometry(rect);
    edit->setText(text);
    edit->selectAll();
    edit->show();
    edit->setFocus(Qt::MouseFocusReason);
    return edit;
}

void CInPlaceEdit::EndEdit() {
    if (m_bEnded) {
        return;
    }
    m_bEnded = true;
    const QString result = m_bEscape ? m_strInitialText : text();
    hide();
    emit editEnded(m_nRow, m_nColumn, result);
    deleteLater();
}

void CInPlaceEdit::Abandon() {
    m_bEnded = true;
    m_pList = nullptr;
}

void CInPlaceEdit::HandFocusToList() {
    if (m_pList != nullptr) {
        m_pList->setFocus(Qt::OtherFocusReason);
    }
    // Without an active window the focus does not move: end here all the same.
    EndEdit();
}

bool CInPlaceEdit::IsValid(QChar c) const {
    return m_strValidChars.isEmpty() || m_strValidChars.contains(c);
}

void CInPlaceEdit::PasteFiltered() {
    const QString pasted = QApplication::clipboard()->text();
    for (const QChar c : pasted) {
        if (!IsValid(c)) {
            return;
        }
    }
    paste();
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            m_bEscape = true;
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

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu of the box itself does not end the edit.
    if (event->reason() != Qt::PopupFocusReason) {
        EndEdit();
    }
}

void CInPlaceEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (QAction* pasteAction = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(pasteAction, &QAction::triggered, this, &CInPlaceEdit::PasteFiltered);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace tarnwick
