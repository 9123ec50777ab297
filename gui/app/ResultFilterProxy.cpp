#include "gui/app/ResultFilterProxy.h"

#include "gui/app/ResultListModel.h"
#include "gui/controls/TextCodec.h"

namespace tarnwick {

ResultFilterProxy::ResultFilterProxy(ResultListModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source) {
    setSourceModel(source);
    // A status written during a run moves its row at once when the pane is
    // sorted or filtered by it.
    setDynamicSortFilter(true);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

ResultFilterProxy::~ResultFilterProxy() = default;

void ResultFilterProxy::setFilter(ResultFilter filter) {
    if (filter == m_filter) {
        return;
    }
    m_filter = filter;
    invalidateFilter();
}

void ResultFilterProxy::setSearchText(const QString& text) {
    std::string search = fromQ(text.trimmed());
    if (search == m_search) {
        return;
    }
    m_search = std::move(search);
    invalidateFilter();
}

int ResultFilterProxy::sourceRow(int shownRow) const {
    const QModelIndex shown = index(shownRow, 0);
    return shown.isValid() ? mapToSource(shown).row() : -1;
}

QModelIndex ResultFilterProxy::shownIndex(int sourceRow, int column) const {
    return mapFromSource(m_source->index(sourceRow, column));
}

bool ResultFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid() || sourceRow >= m_source->rowCount()) {
        return false;
    }
    const ResultRow& row = m_source->rowAt(sourceRow);
    return filterKeeps(m_filter, row, m_source->letterFailed(sourceRow)) &&
           rowHasText(row, m_search);
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
