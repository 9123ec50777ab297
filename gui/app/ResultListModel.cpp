#include "gui/app/ResultListModel.h"

#include <QColor>
#include <QStringList>
#include <algorithm>

#include "gui/controls/CellColourDelegate.h"
#include "gui/controls/TextCodec.h"
#include "viewrules/ListRules.h"

namespace tarnwick {

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

ResultListModel::~ResultListModel() = default;

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const std::string& ResultListModel::cell(const ResultRow& row, int column) {
    switch (column) {
        case ColAdvertiser:
            return row.m_advertiser;
        case ColPublisher:
            return row.m_page;
        case ColMail:
            return row.m_mail;
        case ColNotify:
            return row.m_notify;
        case ColChange:
            return row.m_change;
        default:
            return row.statusText();
    }
}

namespace {

// Every fact of the evidence, one "name: value" line each (empty values left
// out).
QString evidenceToolTip(const ResultRow& row) {
    QStringList lines;
    for (const auto& [name, value] : evidenceFacts(row.m_evidence)) {
        if (!value.empty()) {
            lines.append(QString::fromStdString(name) + QStringLiteral(": ") +
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QColor worthlessMark() {
    return QColor(255, 176, 0);  // amber
}

// The mark after the address in the Mail Address cell, and its words for
// those who do not see it.
QString letterMarkText(LetterMark mark) {
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

QString letterMarkWords(LetterMark mark) {
    switch (mark) {
        case LetterMark::Sent:
            return ResultListModel::tr("letter sent");
        case LetterMark::Failed:
            return ResultListModel::tr("letter not sent");
        case LetterMark::HeldBack:
            return ResultListModel::tr("letter held back");
        case LetterMark::None:
            break;
    }
    return {};
}

}  // namespace

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return {};
    }
    if (index.column() == ColDetails) {
        const ResultRow& row = rowAt(index.row());
        if (!row.m_evidence->m_checked) {
            return {};
        }
        switch (role) {
            case Qt::DisplayRole:
                return QString::fromStdString(evidenceVerdict(row.m_evidence));
            case Qt::ToolTipRole:
                return evidenceToolTip(row);
            case Qt::DecorationRole:
                return isWorthlessLink(row.m_evidence, row.m_result) ? QVariant(worthlessMark())
                                                                     : QVariant();
            case Qt::AccessibleDescriptionRole:
                return isWorthlessLink(row.m_evidence, row.m_result)
                           ? tr("link worth nothing to search engines")
                           : QString();
            default:
                return {};
        }
    }
    if (index.column() == ColMail && rowAt(index.row()).m_letter != LetterMark::None) {
        const ResultRow& row = rowAt(index.row());
        switch (role) {
            case Qt::DisplayRole:
                return toQ(row.m_letterTo) + QLatin1Char(' ') + letterMarkText(row.m_letter);
            case Qt::ToolTipRole:
                return toQ(row.m_letterNote);
            case Qt::AccessibleDescriptionRole:
                return letterMarkWords(row.m_letter);
            default:
                return {};
        }
    }
    if (role == CellColourDelegate::LinkResultRole) {
        const std::optional<LinkResult> result = rowAt(index.row()).m_result;
        return index.column() == ColStatus && result ? QVariant(static_cast<int>(*result))
                                                     : QVariant();
    }
    if (role == Qt::AccessibleDescriptionRole && index.column() == ColStatus) {
        // Why a page got its result, for those who cannot hover for the tip.
        return toQ(rowAt(index.row()).m_reason);
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const ResultRow& row = rowAt(index.row());
        if (role == Qt::ToolTipRole && index.column() == ColStatus && !row.m_reason.empty()) {
            return toQ(row.m_reason);
        }
        const std::string& text = cell(row, index.column());
        if (role == Qt::ToolTipRole && text.empty()) {
            return {};
        }
        return toQ(text);
    }
    return {};
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case ColAdvertiser:
            return tr("Advetiser's Site");
        case ColPublisher:
            return tr("Publisher's Site");
        case ColMail:
            return tr("Mail Address");
        case ColNotify:
            return tr("Email Notification");
        case ColStatus:
            return tr("Status");
        case ColChange:
            return tr("Since last run");
        case ColDetails:
            return tr("Details");
        default:
            return {};
    }
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ResultListModel::setRows(std::vector<ResultRow> rows) {
    // The same pages again (a click on a row rebuilds the list): the rows
    // change in place, so the selection and the scroll position stay.
    const auto samePage = [](const ResultRow& a, const ResultRow& b) {
        return a.m_advertiser == b.m_advertiser && a.m_page == b.m_page &&
               a.m_profileRow == b.m_profileRow;
    };
    if (!m_rows.empty() && rows.size() == m_rows.size() &&
        std::equal(rows.begin(), rows.end(), m_rows.begin(), samePage)) {
        const bool changed = rows != m_rows;
        m_rows = std::move(rows);
        m_letterFailed.clear();
        if (changed) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
        return;
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_letterFailed.clear();
    endResetModel();
}

void ResultListModel::clear() {
    if (m_rows.empty()) {
        return;
    }
    beginResetModel();
    m_rows.clear();
    m_letterFailed.clear();
    endResetModel();
}

void ResultListModel::setStopped(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    ResultRow& r = m_rows[static_cast<size_t>(row)];
    r.m_result.reset();
    r.m_stopped = true;
    r.m_reason.clear();
    r.m_httpStatus = 0;
    if (r.m_recorded) {
        r.m_recorded = false;
        r.m_change.clear();
    }
    emit dataChanged(index(row, ColStatus), index(row, ColDetails));
}

void ResultListModel::setResult(int row, const PageResult& result) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    ResultRow& r = m_rows[static_cast<size_t>(row)];
    r.m_result = result.m_result;
    r.m_stopped = false;
    r.m_reason = result.m_reason;
    r.m_httpStatus = result.m_httpStatus;
    if (r.m_recorded) {
        // The run's own result replaces the recorded one and its mark.
        r.m_recorded = false;
        r.m_change.clear();
    }
    // The Details cell's mark depends on the Status too.
    emit dataChanged(index(row, ColStatus), index(row, ColDetails));
}

void ResultListModel::setMail(int row, const std::string& text) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_mail = text;
    m_letterFailed.resize(m_rows.size());
    m_letterFailed[static_cast<size_t>(row)] = true;
    const QModelIndex cell = index(row, ColMail);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ResultListModel::setLetter(int row, LetterMark mark, const std::string& note,
                                const std::string& to) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    ResultRow& r = m_rows[static_cast<size_t>(row)];
    r.m_letter = mark;
    r.m_letterNote = note;
    r.m_letterTo = to.empty() ? r.m_mail : to;
    const QModelIndex cell = index(row, ColMail);
    emit dataChanged(cell, cell);
}

bool ResultListModel::letterFailed(int row) const {
    if (row < 0 || row >= rowCount()) {
        return false;
    }
    const LetterMark mark = rowAt(row).m_letter;
    return mark == LetterMark::Failed || mark == LetterMark::HeldBack ||
           (static_cast<size_t>(row) < m_letterFailed.size() &&
            m_letterFailed[static_cast<size_t>(row)]);
}

void ResultListModel::setChange(int row, const std::string& text) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_change = text;
    const QModelIndex cell = index(row, ColChange);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ResultListModel::setEvidence(int row, const PageEvidence& evidence) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rows[static_cast<size_t>(row)].m_evidence = evidence;
    const QModelIndex cell = index(row, ColDetails);
    emit dataChanged(cell, cell);
}

bool ResultListModel::anyStatus() const {
    for (const ResultRow& row : m_rows) {
        if (!row.m_recorded && row.hasStatus()) {
            return true;
        }
    }
    return false;
}

}  // namespace tarnwick
