#include "gui/controls/RowTableView.h"

namespace tarnwick {

RowTableView::RowTableView(QWidget* parent) : QTableView(parent) {}

RowTableView::~RowTableView() = default;

QModelIndex RowTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    if ((cursorAction == MoveHome || cursorAction == MoveEnd) && model() != nullptr &&
        model()->rowCount(rootIndex()) > 0) {
        const int row = cursorAction == MoveHome ? 0 : model()->rowCount(rootIndex()) - 1;
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        // Hidden rows (a filter's) are the model's business; a hidden column
        // is skipped by the view's own move below.
        const QModelIndex target = model()->index(row, column, rootIndex());
        if (target.isValid() && !isIndexHidden(target)) {
            return target;
        }
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

}  // namespace tarnwick
