// A table whose cells the user edits in place: a click on a cell of the row
// that has the focus lays an editor exactly over the cell, a one-line edit box
// (InPlaceEdit) or, in a drop-down column, a drop-down list (InPlaceCombo)
// whose items the owner supplies through getDropDownItems. When the editor
// loses the focus its text goes into the cell and cellEdited reports it.
//
// Read-only columns get no editor; the valid characters restrict typing in the
// edit box (a refused character beeps). Shift- or Ctrl-click selects rows
// without an editor, a click outside every cell does nothing at all, and
// scrolling the list ends an open edit first.
#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include "gui/controls/RowTableView.h"

class QAbstractItemView;
class QStandardItemModel;

namespace tarnwick {

class InPlaceEdit;
class InPlaceCombo;

class PageTable : public RowTableView {
    Q_OBJECT
public:
    explicit PageTable(QWidget* parent = nullptr);
    ~PageTable() override;

    // The list's own string table.
    int insertColumn(int column, const QString& heading, int width);
    int getColumnCount() const;
    QString getColumnHeading(int column) const;
    int insertItem(int row, const QString& text);
    void deleteAllItems();
    int getItemCount() const;
    QString getItemText(int row, int column) const;
    void setItemText(int row, int column, const QString& text);
    // Rows with a selected cell, in ascending order.
    QList<int> getSelectedRows() const;

    // Settings; they take effect at the next edit.
    void setDropDownColumn(int column, bool on);
    void setReadOnlyColumn(int column, bool on);
    void setValidCharacters(const QString& characters);
    // Without label editing no editor ever opens (on by default).
    void setEditLabels(bool on);
    bool isDropDownColumn(int column) const;
    bool isReadOnlyColumn(int column) const;

    // The cell under a point of the viewport. A point on the border between
    // two columns belongs to the left-hand one.
    bool hitTestCell(const QPoint& point, int& row, int& column) const;
    // The cell's rectangle in the viewport, after scrolling its column into view.
    QRect getCellRect(int column, int row);
    // Scrolls so the column shows (its left edge when it lies outside, else
    // just enough for its right edge), then moves rect onto the column.
    void scrollColumnIntoView(int column, QRect& rect);

    InPlaceEdit* showCellEdit(int row, int column, const QString& text);
    // nullptr when the row cannot be shown or the column is missing or
    // narrower than 10 pixels.
    InPlaceCombo* showCellDropDown(int row, int column, const QStringList& items,
                                   const QString& text, int selection);

    // The open editor (edit box or drop-down), if any.
    QWidget* currentEditor() const;
    // Ends an open edit as losing the focus would: its text goes into the cell.
    void endEdit();

    // Rows of room the dropped list gets below the cell for n items.
    static int dropDownRoomRows(int itemCount) { return itemCount < 10 ? itemCount + 10 : 11; }
    void applyDropDownScrollBars(QAbstractItemView* view) const;

signals:
    // Asks the owner for the items of a drop-down column, in display order.
    void getDropDownItems(int column, QStringList* items);
    // A cell was written at the end of an edit (Escape included).
    void cellEdited(int row, int column, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void onEndLabelEdit(int row, int column, const QString& text);
    void openEditor(int row, int column);
    void commitBeforeScroll();
    QRect rowBounds(int row) const;

    QStandardItemModel* m_model;
    QList<int> m_dropDownColumns;
    QList<int> m_readOnlyColumns;
    QString m_validChars;
    bool m_editLabels = true;
    QPointer<InPlaceEdit> m_edit;
    QPointer<InPlaceCombo> m_combo;
};

}  // namespace tarnwick
