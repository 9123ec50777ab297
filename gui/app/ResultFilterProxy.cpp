#include "gui/app/ResultFilterProxy.h"

#include "gui/app/ResultListModel.h"
#include "gui/controls/TextCodec.h"

namespace tarnwick {

ResultFilterProxy::ResultFilterProxy(ResultListModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_pSource(source) {
    setSourceModel(source);
    // A status written during a run moves its row at once when the pane is
    // sorted or filtered by it.
    setDynamicSortFilter(true);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

ResultFilterProxy::~ResultFilterProxy() = default;

void ResultFilterProxy::SetFilter(ResultFilter filter) {
    if (filter == m_eFilter) {
        return;
    }
    m_eFilter = filter;
    invalidateFilter();
}

void ResultFilterProxy::SetSearchText(const QString& text) {
    std::string search = FromQ(text.trimmed());
    if (search == m_strSearch) {
        return;
    }
    m_strSearch = std::move(search);
    invalidateFilter();
}

int ResultFilterProxy::SourceRow(int shownRow) const {
    const QModelIndex shown = index(shownRow, 0);
    return shown.isValid() ? mapToSource(shown).row() : -1;
}

QModelIndex ResultFilterProxy::ShownIndex(int sourceRow, int column) const {
    return mapFromSource(m_pSource->index(sourceRow, column));
}

bool ResultFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid() || sourceRow >= m_pSource->RowCount()) {
        return false;
    }
    const ResultRow& row = m_pSource->Row(sourceRow);
    return FilterKeeps(m_eFilter, row, m_pSource->LetterFailed(sourceRow)) &&
           RowHasText(row, m_strSearch);
}

bool ResultFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const int order = QString::localeAwareCompare(left.data().toString(), right.data().toString());
    if (order != 0) {
        return order < 0;
    }
    // Equal cells keep the run's order.
    return left.row() < right.row();
}

}  // namespace tarnwick
