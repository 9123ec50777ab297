#include "gui/editing/ImportListModel.h"

#include "gui/controls/TextCodec.h"

namespace tarnwick {

ImportListModel::ImportListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportListModel::setColumns(const QStringList& headings) {
    beginResetModel();
    m_headings = headings;
    endResetModel();
}

void ImportListModel::setRows(std::vector<ImportRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ImportListModel::clearRows() {
    setRows({});
}

int ImportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ImportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
}

QVariant ImportListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) {
        return QVariant();
    }
    const ImportRow& row = m_rows[static_cast<size_t>(index.row())];
    switch (index.column()) {
        case 0:
            return toQ(row.m_page);
        case 1:
            return toQ(row.m_mail);
        default:
            return QString();
    }
}

QVariant ImportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return m_headings.at(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QVariant();
}

}  // namespace tarnwick
