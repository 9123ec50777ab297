// The results as the pane shows them: filtered ("All", "Problems only", "Not
// mailed") and sorted by a column, over the results model whose row numbers
// the scan run and the letters keep using. Columns are passed through as the
// model has them, so a column added there shows here without a change.
#pragma once

#include <QSortFilterProxyModel>
#include <string>

#include "viewrules/ResultsView.h"

namespace tarnwick {

class ResultListModel;

class ResultFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ResultFilterProxy(ResultListModel* source, QObject* parent = nullptr);
    ~ResultFilterProxy() override;

    void setFilter(ResultFilter filter);
    // Only the rows holding this text (the search box); "" shows every row
    // the filter keeps.
    void setSearchText(const QString& text);

    // The model row of a shown row and back (-1 / an invalid index when
    // there is none).
    int sourceRow(int shownRow) const;
    QModelIndex shownIndex(int sourceRow, int column = 0) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    ResultListModel* m_source;
    ResultFilter m_filter = ResultFilter::All;
    std::string m_search;
};

}  // namespace tarnwick
