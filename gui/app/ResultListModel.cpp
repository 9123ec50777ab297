#include "gui/app/ResultListModel.h"

#include "gui/controls/TextCodec.h"
#include "viewrules/ListRules.h"

namespace tarnwick {

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

ResultListModel::~ResultListModel() = default;

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const std::string& ResultListModel::Cell(const ResultRow& row, int column) {
    switch (column) {
        case ColAdvertiser:
            return row.m_strAdvertiser;
        case ColPublisher:
            return row.m_strPage;
        case ColMail:
            return row.m_strMail;
        case ColNotify:
            return row.m_strNotify;
        case ColChange:
            return row.m_strChange;
        default:
            return row.m_strStatus;
    }
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RowCount() || index.column() >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const ResultRow& row = Row(index.row());
        if (role == Qt::ToolTipRole && index.column() == ColStatus && !row.m_strReason.empty()) {
            return ToQ(row.m_strReason);
        }
        const std::string& text = Cell(row, index.column());
        if (role == Qt::ToolTipRole && text.empty()) {
            return {};
        }
        return ToQ(text);
    }
    return {};
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case ColAdvertiser:
            return QStringLiteral("Advetiser's Site");
        case ColPublisher:
            return QStringLiteral("Publisher's Site");
        case ColMail:
            return QStringLiteral("Mail Address");
        case ColNotify:
            return QStringLiteral("Email Notification");
        case ColStatus:
            return QStringLiteral("Status");
        case ColChange:
            return QStringLiteral("Since last run");
        default:
            return {};
    }
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ResultListModel::SetRows(std::vector<ResultRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ResultListModel::Clear() {
    if (m_rows.empty()) {
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ResultListModel::SetStatus(int row, const std::string& status) {
    SetResult(row, PageResult(status));
}

void ResultListModel::SetResult(int row, const PageResult& result) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    ResultRow& r = m_rows[static_cast<size_t>(row)];
    r.m_strStatus = result.m_strStatus;
    r.m_strReason = result.m_strReason;
    r.m_nHttpStatus = result.m_nHttpStatus;
    const QModelIndex cell = index(row, ColStatus);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::ToolTipRole});
}

void ResultListModel::SetMail(int row, const std::string& text) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_strMail = text;
    const QModelIndex cell = index(row, ColMail);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ResultListModel::SetChange(int row, const std::string& text) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_strChange = text;
    const QModelIndex cell = index(row, ColChange);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

bool ResultListModel::AnyStatus() const {
    for (const ResultRow& row : m_rows) {
        if (IsNonBlank(row.m_strStatus)) {
            return true;
        }
    }
    return false;
}

}  // namespace tarnwick
