#include "gui/editing/ImportListModel.h"

#include "gui/controls/TextCodec.h"

namespace tarnwick {

ImportListModel::ImportListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportListModel::SetColumns(const QStringList& headings) {
    beginResetModel();
    m_headings = headings;
    endResetModel();
}

void ImportListModel::SetRows(std::vector<ImportRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ImportListModel::ClearRows() {
    SetRows({});
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
            return ToQ(row.m_strPage);
        case 1:
            return ToQ(row.m_strMail);
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
