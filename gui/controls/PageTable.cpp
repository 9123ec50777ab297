#include "gui/controls/PageTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <algorithm>

#include "gui/controls/InPlaceCombo.h"
#include "gui/controls/InPlaceEdit.h"

namespace tarnwick {

PageTable::PageTable(QWidget* parent)
    : RowTableView(parent), m_model(new QStandardItemModel(0, 0, this)) {
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as compact as a list's, with room for the in-place editors.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setStretchLastSection(false);
    // A scroll by the user's hand ends an open edit, committing it.
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            &PageTable::commitBeforeScroll);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &PageTable::commitBeforeScroll);
}

PageTable::~PageTable() {
    // The editors are children of the viewport; they must not report into a
    // list that is half gone.
    if (m_edit != nullptr) {
        m_edit->abandon();
        delete m_edit;
    }
    if (m_combo != nullptr) {
        m_combo->abandon();
        delete m_combo;
    }
}

int PageTable::insertColumn(int column, const QString& heading, int width) {
    column = qBound(0, column, m_model->columnCount());
    m_model->insertColumn(column);
    m_model->setHeaderData(column, Qt::Horizontal, heading);
    m_model->setHeaderData(column, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter),
                           Qt::TextAlignmentRole);
    setColumnWidth(column, width);
    return column;
}

int PageTable::getColumnCount() const {
    return m_model->columnCount();
}

QString PageTable::getColumnHeading(int column) const {
    return m_model->headerData(column, Qt::Horizontal).toString();
}

int PageTable::insertItem(int row, const QString& text) {
    row = qBound(0, row, m_model->rowCount());
    QList<QStandardItem*> items;
    for (int c = 0; c < qMax(1, m_model->columnCount()); ++c) {
        auto* item = new QStandardItem(c == 0 ? text : QString());
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        items.append(item);
    }
    m_model->insertRow(row, items);
    return row;
}

void PageTable::deleteAllItems() {
    endEdit();
    m_model->removeRows(0, m_model->rowCount());
}

int PageTable::getItemCount() const {
    return m_model->rowCount();
}

QString PageTable::getItemText(int row, int column) const {
    return m_model->data(m_model->index(row, column)).toString();
}

void PageTable::setItemText(int row, int column, const QString& text) {
    if (row < 0 || row >= m_model->rowCount() || column < 0 || column >= m_model->columnCount()) {
        return;
    }
    QStandardItem* item = m_model->item(row, column);
    if (item == nullptr) {
        item = new QStandardItem;
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_model->setItem(row, column, item);
    }
    item->setText(text);
}

QList<int> PageTable::getSelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PageTable::setDropDownColumn(int column, bool on) {
    if (on && !m_dropDownColumns.contains(column)) {
        m_dropDownColumns.append(column);
    } else if (!on) {
        m_dropDownColumns.removeAll(column);
    }
}

void PageTable::setReadOnlyColumn(int column, bool on) {
    if (on && !m_readOnlyColumns.contains(column)) {
        m_readOnlyColumns.append(column);
    } else if (!on) {
        m_readOnlyColumns.removeAll(column);
    }
}

void PageTable::setValidCharacters(const QString& characters) {
    m_validChars = characters;
}

void PageTable::setEditLabels(bool on) {
    m_editLabels = on;
}

bool PageTable::isDropDownColumn(int column) const {
    return m_dropDownColumns.contains(column);
}

bool PageTable::isReadOnlyColumn(int column) const {
    return m_readOnlyColumns.contains(column);
}

void PageTable::applyDropDownScrollBars(QAbstractItemView* view) const {
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QRect PageTable::rowBounds(int row) const {
    const int columns = m_model->columnCount();
    int width = 0;
    for (int c = 0; c < columns; ++c) {
        width += columnWidth(c);
    }
    const int left = columns > 0 ? columnViewportPosition(0) : -horizontalOffset();
    return QRect(left, rowViewportPosition(row), width, rowHeight(row));
}

bool PageTable::hitTestCell(const QPoint& point, int& row, int& column) const {
    row = rowAt(point.y());
    column = 0;
    if (row < 0) {
        return false;
    }
    const QRect bounds = rowBounds(row);
    if (!bounds.contains(point)) {
        return false;
    }
    int left = bounds.left();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int width = columnWidth(c);
        if (point.x() >= left && point.x() <= left + width) {
            column = c;
            return true;
        }
        left += width;
    }
    return false;
}

void PageTable::scrollColumnIntoView(int column, QRect& rect) {
    const int width = columnWidth(column);
    int offset = 0;
    for (int c = 0; c < column; ++c) {
        offset += columnWidth(c);
    }
    const int x = rect.left() + offset;
    const int clientRight = viewport()->width();
    int dx = 0;
    if (x < 0 || x > clientRight) {
        dx = x;
    } else if (x + width > clientRight) {
        dx = x + width - clientRight;
    }
    // The scroll bar stops at its ends: move the rectangle by what it did.
    QScrollBar* bar = horizontalScrollBar();
    const int before = bar->value();
    bar->setValue(before + dx);
    const int scrolled = bar->value() - before;
    rect.moveLeft(rect.left() - scrolled + offset);
    rect.setWidth(width);
}

QRect PageTable::getCellRect(int column, int row) {
    QRect rect = rowBounds(row);
    scrollColumnIntoView(column, rect);
    return rect;
}

InPlaceEdit* PageTable::showCellEdit(int row, int column, const QString& text) {
    endEdit();
    const QRect rect = getCellRect(column, row);
    m_edit = InPlaceEdit::showEditor(this, rect, row, column, m_validChars, text);
    connect(m_edit, &InPlaceEdit::editEnded, this, &PageTable::onEndLabelEdit);
    return m_edit;
}

InPlaceCombo* PageTable::showCellDropDown(int row, int column, const QStringList& items,
                                          const QString& text, int selection) {
    if (row < 0 || row >= m_model->rowCount()) {
        return nullptr;
    }
    scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
    if (column < 0 || column >= m_model->columnCount() || columnWidth(column) < 10) {
        return nullptr;
    }
    endEdit();
    const QRect rect = getCellRect(column, row);
    m_combo = InPlaceCombo::showEditor(this, rect, row, column, items, text, selection);
    connect(m_combo, &InPlaceCombo::editEnded, this, &PageTable::onEndLabelEdit);
    return m_combo;
}

QWidget* PageTable::currentEditor() const {
    if (m_edit != nullptr) {
        return m_edit;
    }
    return m_combo;
}

void PageTable::endEdit() {
    if (m_edit != nullptr) {
        m_edit->endEdit();
    }
    if (m_combo != nullptr) {
        m_combo->endEdit();
    }
}

void PageTable::onEndLabelEdit(int row, int column, const QString& text) {
    if (sender() == m_edit) {
        m_edit = nullptr;
    } else if (sender() == m_combo) {
        m_combo = nullptr;
    }
    setItemText(row, column, text);
    emit cellEdited(row, column, text);
}

void PageTable::openEditor(int row, int column) {
    if (row < 0 || row >= m_model->rowCount() || !m_editLabels) {
        return;
    }
    const QString text = getItemText(row, column);
    if (isDropDownColumn(column)) {
        QStringList items;
        emit getDropDownItems(column, &items);
        if (InPlaceCombo* combo = showCellDropDown(row, column, items, text, -1)) {
            combo->selectString(text);
        }
    } else if (!isReadOnlyColumn(column)) {
        showCellEdit(row, column, text);
    }
}

void PageTable::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    int row = -1;
    int column = -1;
    if (!hitTestCell(event->position().toPoint(), row, column)) {
        // Outside every cell: no selection or focus change at all.
        event->accept();
        return;
    }
    endEdit();
    QTableView::mousePressEvent(event);
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        return;
    }
    if (currentIndex().row() != row) {
        return;
    }
    openEditor(row, column);
}

void PageTable::keyPressEvent(QKeyEvent* event) {
    // F2 edits the current cell, as label editing does from the keyboard.
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier &&
        currentIndex().isValid()) {
        event->accept();
        openEditor(currentIndex().row(), currentIndex().column());
        return;
    }
    QTableView::keyPressEvent(event);
}

void PageTable::commitBeforeScroll() {
    if (currentEditor() != nullptr) {
        setFocus(Qt::OtherFocusReason);
        endEdit();
    }
}

void PageTable::wheelEvent(QWheelEvent* event) {
    commitBeforeScroll();
    QTableView::wheelEvent(event);
}

}  // namespace tarnwick
