// Draws the cells of a coloured list: the background follows the page result
// a cell holds (red, green or yellow; every other cell white), the text
// is black. Check boxes in cells are drawn here but toggled by the list
// itself, so a mouse click toggles them once, on the press.
#pragma once

#include <QList>
#include <QStyledItemDelegate>

namespace tarnwick {

class CellColourDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The role under which a model gives a cell's page result (a LinkResult
    // as int; none for a cell without one).
    static constexpr int LinkResultRole = Qt::UserRole + 1;

    // Where the check box of the cell is drawn, for an option laid out for it.
    QRect checkIndicatorRect(QStyleOptionViewItem option, const QModelIndex& index) const;
    // Columns of addresses: cut in the middle when too narrow, since their
    // ends (the page's path, the mail domain) tell the rows apart.
    void setMiddleElidedColumns(const QList<int>& columns) { m_middleElided = columns; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QList<int> m_middleElided;
};

}  // namespace tarnwick
