// A table view read row by row: Home and End go to the first and the last row
// (a plain table moves along the row's columns, which a list of whole-row
// selections never shows), PageUp and PageDown by a page as usual.
#pragma once

#include <QTableView>

namespace tarnwick {

class RowTableView : public QTableView {
    Q_OBJECT
public:
    explicit RowTableView(QWidget* parent = nullptr);
    ~RowTableView() override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
};

}  // namespace tarnwick
