#include "gui/controls/InPlaceCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QTimer>
#include <utility>

#include "gui/controls/PageTable.h"

namespace tarnwick {

InPlaceCombo::InPlaceCombo(PageTable* list, int row, int column, QStringList items)
    : QComboBox(list->viewport()),
      m_editing(list, row, column, QString()),
      m_items(std::move(items)) {
    setEditable(false);
    setFont(list->font());
    setInsertPolicy(QComboBox::NoInsert);
    view()->installEventFilter(this);
}

InPlaceCombo* InPlaceCombo::showEditor(PageTable* list, const QRect& rect, int row, int column,
                                       const QStringList& items, const QString& text,
                                       int selection) {
    auto* combo = new InPlaceCombo(list, row, column, items);
    combo->setAccessibleName(list->getColumnHeading(column));
    // Desktop accessibility gives a drop-down its current text as its name:
    // the column heading goes with it as its description.
    combo->setAccessibleDescription(list->getColumnHeading(column));
    combo->addItems(items);
    combo->m_editing.setInitialText(selection >= 0 && selection < items.size() ? items.at(selection)
                                                                               : text);
    combo->setCurrentIndex(selection >= 0 && selection < items.size() ? selection : -1);
    combo->setMaxVisibleItems(PageTable::dropDownRoomRows(static_cast<int>(items.size())));
    list->applyDropDownScrollBars(combo->view());
    combo->setGeometry(rect);
    combo->show();
    combo->setFocus(Qt::MouseFocusReason);
    return combo;
}

void InPlaceCombo::selectString(const QString& text) {
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

void InPlaceCombo::endEdit() {
    m_editing.end(this, currentText(), [this](int row, int column, const QString& result) {
        emit editEnded(row, column, result);
    });
}

void InPlaceCombo::abandon() {
    m_editing.abandon();
}

void InPlaceCombo::handFocusToList() {
    m_editing.focusList();
    endEdit();
}

void InPlaceCombo::showPopup() {
    m_popupOpen = true;
    QComboBox::showPopup();
}

void InPlaceCombo::hidePopup() {
    m_popupOpen = false;
    QComboBox::hidePopup();
    // The list closed up, with or without a choice: the choice is made just
    // after the list hides, so the edit ends once control returns.
    if (!m_editing.isEnded()) {
        QTimer::singleShot(0, this, &InPlaceCombo::handFocusToList);
    }
}

void InPlaceCombo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            m_editing.escape();
            [[fallthrough]];
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            handFocusToList();
            return;
        default:
            QComboBox::keyPressEvent(event);
    }
}

bool InPlaceCombo::eventFilter(QObject* watched, QEvent* event) {
    // Escape in the open list closes it and restores the cell's text.
    if (watched == view() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_editing.escape();
    }
    return QComboBox::eventFilter(watched, event);
}

void InPlaceCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // The drop-down's own list has the focus while it is open.
    if (event->reason() != Qt::PopupFocusReason && !m_popupOpen) {
        endEdit();
    }
}

}  // namespace tarnwick
