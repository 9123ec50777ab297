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
    : RowTableView(parent), m_pModel(new QStandardItemModel(0, 0, this)) {
    setModel(m_pModel);
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
            &PageTable::CommitBeforeScroll);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &PageTable::CommitBeforeScroll);
}

PageTable::~PageTable() {
    // The editors are children of the viewport; they must not report into a
    // list that is half gone.
    if (m_pEdit != nullptr) {
        m_pEdit->Abandon();
        delete m_pEdit;
    }
    if (m_pCombo != nullptr) {
        m_pCombo->Abandon();
        delete m_pCombo;
    }
}

int PageTable::InsertColumn(int column, const QString& heading, int width) {
    column = qBound(0, column, m_pModel->columnCount());
    m_pModel->insertColumn(column);
    m_pModel->setHeaderData(column, Qt::Horizontal, heading);
    m_pModel->setHeaderData(column, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter),
                            Qt::TextAlignmentRole);
    setColumnWidth(column, width);
    return column;
}

int PageTable::GetColumnCount() const {
    return m_pModel->columnCount();
}

QString PageTable::GetColumnHeading(int column) const {
    return m_pModel->headerData(column, Qt::Horizontal).toString();
}

int PageTable::InsertItem(int row, const QString& text) {
    row = qBound(0, row, m_pModel->rowCount());
    QList<QStandardItem*> items;
    for (int c = 0; c < qMax(1, m_pModel->columnCount()); ++c) {
        auto* item = new QStandardItem(c == 0 ? text : QString());
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        items.append(item);
    }
    m_pModel->insertRow(row, items);
    return row;
}

void PageTable::DeleteAllItems() {
    EndEdit();
    m_pModel->removeRows(0, m_pModel->rowCount());
}

int PageTable::GetItemCount() const {
    return m_pModel->rowCount();
}

QString PageTable::GetItemText(int row, int column) const {
    return m_pModel->data(m_pModel->index(row, column)).toString();
}

void PageTable::SetItemText(int row, int column, const QString& text) {
    if (row < 0 || row >= m_pModel->rowCount() || column < 0 || column >= m_pModel->columnCount()) {
        return;
    }
    QStandardItem* item = m_pModel->item(row, column);
    if (item == nullptr) {
        item = new QStandardItem;
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_pModel->setItem(row, column, item);
    }
    item->setText(text);
}

QList<int> PageTable::GetSelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PageTable::SetDropDownColumn(int column, bool on) {
    if (on && !m_dropDownColumns.contains(column)) {
        m_dropDownColumns.append(column);
    } else if (!on) {
        m_dropDownColumns.removeAll(column);
    }
}

void PageTable::SetReadOnlyColumn(int column, bool on) {
    if (on && !m_readOnlyColumns.contains(column)) {
        m_readOnlyColumns.append(column);
    } else if (!on) {
        m_readOnlyColumns.removeAll(column);
    }
}

void PageTable::SetValidCharacters(const QString& characters) {
    m_strValidChars = characters;
}

void PageTable::EnableDropDownHScroll(bool on) {
    m_bDropDownHScroll = on;
}
void PageTable::EnableDropDownVScroll(bool on) {
    m_bDropDownVScroll = on;
}
void PageTable::SetEditLabels(bool on) {
    m_bEditLabels = on;
}

bool PageTable::IsDropDownColumn(int column) const {
    return m_dropDownColumns.contains(column);
}

bool PageTable::IsReadOnlyColumn(int column) const {
    return m_readOnlyColumns.contains(column);
}

void PageTable::ApplyDropDownScrollBars(QAbstractItemView* view) const {
    view->setHorizontalScrollBarPolicy(m_bDropDownHScroll ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(m_bDropDownVScroll ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAsNeeded);
}

QRect PageTable::RowBounds(int row) const {
    const int columns = m_pModel->columnCount();
    int width = 0;
    for (int c = 0; c < columns; ++c) {
        width += columnWidth(c);
    }
    const int left = columns > 0 ? columnViewportPosition(0) : -horizontalOffset();
    return QRect(left, rowViewportPosition(row), width, rowHeight(row));
}

bool PageTable::HitTestCell(const QPoint& point, int& row, int& column) const {
    row = rowAt(point.y());
    column = 0;
    if (row < 0) {
        return false;
    }
    const QRect bounds = RowBounds(row);
    if (!bounds.contains(point)) {
        return false;
    }
    int left = bounds.left();
    for (int c = 0; c < m_pModel->columnCount(); ++c) {
        const int width = columnWidth(c);
        if (point.x() >= left && point.x() <= left + width) {
            column = c;
            return true;
        }
        left += width;
    }
    return false;
}

void PageTable::ScrollColumnIntoView(int column, QRect& rect) {
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

QRect PageTable::GetCellRect(int column, int row) {
    QRect rect = RowBounds(row);
    ScrollColumnIntoView(column, rect);
    return rect;
}

InPlaceEdit* PageTable::ShowCellEdit(int row, int column, const QString& text) {
    EndEdit();
    const QRect rect = GetCellRect(column, row);
    m_pEdit = InPlaceEdit::ShowEditor(this, rect, row, column, m_strValidChars, text);
    connect(m_pEdit, &InPlaceEdit::editEnded, this, &PageTable::OnEndLabelEdit);
    return m_pEdit;
}

InPlaceCombo* PageTable::ShowCellDropDown(int row, int column, const QStringList& items,
                                          const QString& text, int selection) {
    if (row < 0 || row >= m_pModel->rowCount()) {
        return nullptr;
    }
    scrollTo(m_pModel->index(row, 0), QAbstractItemView::EnsureVisible);
    if (column < 0 || column >= m_pModel->columnCount() || columnWidth(column) < 10) {
        return nullptr;
    }
    EndEdit();
    const QRect rect = GetCellRect(column, row);
    m_pCombo = InPlaceCombo::ShowEditor(this, rect, row, column, items, text, selection);
    connect(m_pCombo, &InPlaceCombo::editEnded, this, &PageTable::OnEndLabelEdit);
    return m_pCombo;
}

QWidget* PageTable::CurrentEditor() const {
    if (m_pEdit != nullptr) {
        return m_pEdit;
    }
    return m_pCombo;
}

void PageTable::EndEdit() {
    if (m_pEdit != nullptr) {
        m_pEdit->EndEdit();
    }
    if (m_pCombo != nullptr) {
        m_pCombo->EndEdit();
    }
}

void PageTable::OnEndLabelEdit(int row, int column, const QString& text) {
    if (sender() == m_pEdit) {
        m_pEdit = nullptr;
    } else if (sender() == m_pCombo) {
        m_pCombo = nullptr;
    }
    SetItemText(row, column, text);
    emit cellEdited(row, column, text);
}

void PageTable::OpenEditor(int row, int column) {
    if (row < 0 || row >= m_pModel->rowCount() || !m_bEditLabels) {
        return;
    }
    const QString text = GetItemText(row, column);
    if (IsDropDownColumn(column)) {
        QStringList items;
        emit getDropDownItems(column, &items);
        if (InPlaceCombo* combo = ShowCellDropDown(row, column, items, text, -1)) {
            combo->SelectString(text);
        }
    } else if (!IsReadOnlyColumn(column)) {
        ShowCellEdit(row, column, text);
    }
}

void PageTable::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    int row = -1;
    int column = -1;
    if (!HitTestCell(event->position().toPoint(), row, column)) {
        // Outside every cell: no selection or focus change at all.
        event->accept();
        return;
    }
    EndEdit();
    QTableView::mousePressEvent(event);
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        return;
    }
    if (currentIndex().row() != row) {
        return;
    }
    OpenEditor(row, column);
}

void PageTable::keyPressEvent(QKeyEvent* event) {
    // F2 edits the current cell, as label editing does from the keyboard.
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier &&
        currentIndex().isValid()) {
        event->accept();
        OpenEditor(currentIndex().row(), currentIndex().column());
        return;
    }
    QTableView::keyPressEvent(event);
}

void PageTable::CommitBeforeScroll() {
    if (CurrentEditor() != nullptr) {
        setFocus(Qt::OtherFocusReason);
        EndEdit();
    }
}

void PageTable::wheelEvent(QWheelEvent* event) {
    CommitBeforeScroll();
    QTableView::wheelEvent(event);
}

}  // namespace tarnwick
