#include "gui/controls/CInPlaceCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QTimer>

#include "gui/controls/CComboListCtrl.h"

namespace tarnwick {

CInPlaceCombo::CInPlaceCombo(CComboListCtrl* list, int row, int column, const QStringList& items)
    : QComboBox(list->viewport()), m_editing(list, row, column, QString()), m_items(items) {
    setEditable(false);
    setFont(list->font());
    setInsertPolicy(QComboBox::NoInsert);
    view()->installEventFilter(this);
}

CInPlaceCombo* CInPlaceCombo::ShowEditor(CComboListCtrl* list, const QRect& rect, int row,
                                         int column, const QStringList& items, const QString& text,
                                         int selection) {
    auto* combo = new CInPlaceCombo(list, row, column, items);
    combo->setAccessibleName(list->GetColumnHeading(column));
    // Desktop accessibility gives a drop-down its current text as its name:
    // the column heading goes with it as its description.
    combo->setAccessibleDescription(list->GetColumnHeading(column));
    combo->addItems(items);
    combo->m_editing.SetInitialText(selection >= 0 && selection < items.size() ? items.at(selection)
                                                                               : text);
    combo->setCurrentIndex(selection >= 0 && selection < items.size() ? selection : -1);
    combo->setMaxVisibleItems(CComboListCtrl::DropDownRoomRows(static_cast<int>(items.size())));
    list->ApplyDropDownScrollBars(combo->view());
    combo->setGeometry(rect);
    combo->show();
    combo->setFocus(Qt::MouseFocusReason);
    return combo;
}

void CInPlaceCombo::SelectString(const QString& text) {
    int found = -1;
    if (!text.isEmpty()) {
        for (int i = 0; i < count(); ++i) {
            if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
                found = i;
                break;
            }
        }
    }
    setCurrentIndex(found);
}

void CInPlaceCombo::EndEdit() {
    m_editing.End(this, currentText(), [this](int row, int column, const QString& result) {
        emit editEnded(row, column, result);
    });
}

void CInPlaceCombo::Abandon() {
    m_editing.Abandon();
}

void CInPlaceCombo::HandFocusToList() {
    m_editing.FocusList();
    EndEdit();
}

void CInPlaceCombo::showPopup() {
    m_bPopupOpen = true;
    QComboBox::showPopup();
}

void CInPlaceCombo::hidePopup() {
    m_bPopupOpen = false;
    QComboBox::hidePopup();
    // The list closed up, with or without a choice: the choice is made just
    // after the list hides, so the edit ends once control returns.
    if (!m_editing.IsEnded()) {
        QTimer::singleShot(0, this, &CInPlaceCombo::HandFocusToList);
    }
}

void CInPlaceCombo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            m_editing.Escape();
            [[fallthrough]];
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            HandFocusToList();
            return;
        default:
            QComboBox::keyPressEvent(event);
    }
}

bool CInPlaceCombo::eventFilter(QObject* watched, QEvent* event) {
    // Escape in the open list closes it and restores the cell's text.
    if (watched == view() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_editing.Escape();
    }
    return QComboBox::eventFilter(watched, event);
}

void CInPlaceCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // The drop-down's own list has the focus while it is open.
    if (event->reason() != Qt::PopupFocusReason && !m_bPopupOpen) {
        EndEdit();
    }
}

}  // namespace tarnwick
