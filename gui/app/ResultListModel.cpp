#include "gui/app/ResultListModel.h"

#include <QColor>
#include <QStringList>
#include <algorithm>

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

namespace {

// Every fact of the evidence, one "name: value" line each (empty values left
// out).
QString EvidenceToolTip(const ResultRow& row) {
    QStringList lines;
    for (const auto& [name, value] : EvidenceFacts(row.m_evidence)) {
        if (!value.empty()) {
            lines.append(QString::fromStdString(name) + QStringLiteral(": ") +
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QColor WorthlessMark() {
    return QColor(255, 176, 0);  // amber
}

// The mark after the address in the Mail Address cell, and its words for
// those who do not see it.
QString LetterMarkText(LetterMark mark) {
    switch (mark) {
        case LetterMark::Sent:
            return QStringLiteral("\u2713");  // check mark
        case LetterMark::Failed:
            return QStringLiteral("\u2717");  // ballot x
        case LetterMark::HeldBack:
            return QStringLiteral("\u2298");  // circled slash
        case LetterMark::None:
            break;
    }
    return {};
}

QString LetterMarkWords(LetterMark mark) {
    switch (mark) {
        case LetterMark::Sent:
            return QStringLiteral("letter sent");
        case LetterMark::Failed:
            return QStringLiteral("letter not sent");
        case LetterMark::HeldBack:
            return QStringLiteral("letter held back");
        case LetterMark::None:
            break;
    }
    return {};
}

}  // namespace

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RowCount() || index.column() >= ColumnCount) {
        return {};
    }
    if (index.column() == ColDetails) {
        const ResultRow& row = Row(index.row());
        if (!row.m_evidence->m_bChecked) {
            return {};
        }
        switch (role) {
            case Qt::DisplayRole:
                return QString::fromStdString(EvidenceVerdict(row.m_evidence));
            case Qt::ToolTipRole:
                return EvidenceToolTip(row);
            case Qt::DecorationRole:
                return IsWorthlessLink(row.m_evidence, row.m_strStatus) ? QVariant(WorthlessMark())
                                                                        : QVariant();
            case Qt::AccessibleDescriptionRole:
                return IsWorthlessLink(row.m_evidence, row.m_strStatus)
                           ? QStringLiteral("link worth nothing to search engines")
                           : QString();
            default:
                return {};
        }
    }
    if (index.column() == ColMail && Row(index.row()).m_eLetter != LetterMark::None) {
        const ResultRow& row = Row(index.row());
        switch (role) {
            case Qt::DisplayRole:
                return ToQ(row.m_strLetterTo) + QLatin1Char(' ') + LetterMarkText(row.m_eLetter);
            case Qt::ToolTipRole:
                return ToQ(row.m_strLetterNote);
            case Qt::AccessibleDescriptionRole:
                return LetterMarkWords(row.m_eLetter);
            default:
                return {};
        }
    }
    if (role == Qt::AccessibleDescriptionRole && index.column() == ColStatus) {
        // Why a page got its result, for those who cannot hover for the tip.
        return ToQ(Row(index.row()).m_strReason);
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
        case ColDetails:
            return QStringLiteral("Details");
        default:
            return {};
    }
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ResultListModel::SetRows(std::vector<ResultRow> rows) {
    // The same pages again (a click on a row rebuilds the list): the rows
    // change in place, so the selection and the scroll position stay.
    const auto samePage = [](const ResultRow& a, const ResultRow& b) {
        return a.m_strAdvertiser == b.m_strAdvertiser && a.m_strPage == b.m_strPage &&
               a.m_nProfileRow == b.m_nProfileRow;
    };
    if (!m_rows.empty() && rows.size() == m_rows.size() &&
        std::equal(rows.begin(), rows.end(), m_rows.begin(), samePage)) {
        const bool changed = rows != m_rows;
        m_rows = std::move(rows);
        m_letterFailed.clear();
        if (changed) {
            emit dataChanged(index(0, 0), index(RowCount() - 1, columnCount() - 1));
        }
        return;
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_letterFailed.clear();
    endResetModel();
}

void ResultListModel::Clear() {
    if (m_rows.empty()) {
        return;
    }
    beginResetModel();
    m_rows.clear();
    m_letterFailed.clear();
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
    if (r.m_bRecorded) {
        // The run's own result replaces the recorded one and its mark.
        r.m_bRecorded = false;
        r.m_strChange.clear();
    }
    // The Details cell's mark depends on the Status too.
    emit dataChanged(index(row, ColStatus), index(row, ColDetails));
}

void ResultListModel::SetMail(int row, const std::string& text) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_strMail = text;
    m_letterFailed.resize(m_rows.size());
    m_letterFailed[static_cast<size_t>(row)] = true;
    const QModelIndex cell = index(row, ColMail);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ResultListModel::SetLetter(int row, LetterMark mark, const std::string& note,
                                const std::string& to) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    ResultRow& r = m_rows[static_cast<size_t>(row)];
    r.m_eLetter = mark;
    r.m_strLetterNote = note;
    r.m_strLetterTo = to.empty() ? r.m_strMail : to;
    const QModelIndex cell = index(row, ColMail);
    emit dataChanged(cell, cell);
}

bool ResultListModel::LetterFailed(int row) const {
    if (row < 0 || row >= RowCount()) {
        return false;
    }
    const LetterMark mark = Row(row).m_eLetter;
    return mark == LetterMark::Failed || mark == LetterMark::HeldBack ||
           (static_cast<size_t>(row) < m_letterFailed.size() &&
            m_letterFailed[static_cast<size_t>(row)]);
}

void ResultListModel::SetChange(int row, const std::string& text) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_strChange = text;
    const QModelIndex cell = index(row, ColChange);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ResultListModel::SetEvidence(int row, const PageEvidence& evidence) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_evidence = evidence;
    const QModelIndex cell = index(row, ColDetails);
    emit dataChanged(cell, cell);
}

bool ResultListModel::AnyStatus() const {
    for (const ResultRow& row : m_rows) {
        if (!row.m_bRecorded && IsNonBlank(row.m_strStatus)) {
            return true;
        }
    }
    return false;
}

}  // namespace tarnwick
