#include "gui/app/ProfileListModel.h"

#include <algorithm>

#include "gui/controls/TextCodec.h"

namespace tarnwick {

ProfileListModel::ProfileListModel(QObject* parent) : QAbstractTableModel(parent) {}

ProfileListModel::~ProfileListModel() = default;

int ProfileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ProfileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProfileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const ProfileRow& row = rowAt(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            if (index.column() == ColProfile) {
                return toQ(row.m_text);
            }
            if (index.column() == ColStatus) {
                return toQ(row.m_status);
            }
            return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
        case Qt::AccessibleTextRole:
            // The check box cell reads as the profile it ticks.
            if (index.column() == ColCheck) {
                return toQ(row.m_text);
            }
            return {};
        case Qt::CheckStateRole:
            if (index.column() == ColCheck) {
                return row.m_ticked ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        default:
            return {};
    }
}

QVariant ProfileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (section) {
            case ColCheck:
                return QString();
            case ColProfile:
                return tr("Proile");
            case ColStatus:
                return tr("Status");
            default:
                return {};
        }
    }
    if (role == Qt::AccessibleTextRole && section == ColCheck) {
        return tr("Tick all");
    }
    return {};
}

Qt::ItemFlags ProfileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ColCheck) {
        f |= Qt::ItemIsUserCheckable;
    }
    return f;
}

bool ProfileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount() || index.column() != ColCheck ||
        role != Qt::CheckStateRole) {
        return false;
    }
    const bool ticked = value.toInt() == Qt::Checked;
    ProfileRow& row = m_rows[static_cast<size_t>(index.row())];
    if (row.m_ticked == ticked) {
        return false;
    }
    row.m_ticked = ticked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

void ProfileListModel::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ProfileListModel::appendRows(std::vector<ProfileRow> rows) {
    if (rows.empty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    endInsertRows();
}

void ProfileListModel::insertRow(int row, ProfileRow value) {
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, std::move(value));
    endInsertRows();
}

void ProfileListModel::setStatus(int row, const std::string& status) {
    if (row < 0 || row >= rowCount() || rowAt(row).m_status == status) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_status = status;
    const QModelIndex cell = index(row, ColStatus);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

}  // namespace tarnwick
