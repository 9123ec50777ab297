// The drop-down list that PageTable lays over a cell of a drop-down
// column for the length of one edit. Its items come from the list's parent.
// Choosing an item or closing the list, Enter and Escape (which restores the
// text the cell had) hand the focus back to the list, which ends the edit.
#pragma once

#include <QComboBox>
#include <QStringList>

#include "gui/controls/InPlaceEditing.h"

namespace tarnwick {

class PageTable;

class InPlaceCombo : public QComboBox {
    Q_OBJECT
public:
    // Creates the drop-down over rect with the items in the order given and
    // selects the item at selection (-1: none). The initial text is that
    // item's text, or text when selection is -1.
    static InPlaceCombo* showEditor(PageTable* list, const QRect& rect, int row, int column,
                                    const QStringList& items, const QString& text, int selection);

    // Selects the first item that begins with text, ignoring case; none when
    // no item does (or the text is empty).
    void selectString(const QString& text);

    int row() const { return m_editing.row(); }
    int column() const { return m_editing.column(); }

    void endEdit();
    void abandon();
    void showPopup() override;
    void hidePopup() override;

signals:
    void editEnded(int row, int column, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InPlaceCombo(PageTable* list, int row, int column, QStringList items);
    void handFocusToList();

    InPlaceEditing m_editing;
    bool m_popupOpen = false;
    QStringList m_items;
};

}  // namespace tarnwick
