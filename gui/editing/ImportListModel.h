// The rows of the Add wizard's list of imported publisher pages: column 0 the
// page address, column 1 the mail address, further columns empty. The
// headings are the wizard's to set.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "store/ProfileFile.h"

namespace tarnwick {

class ImportListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ImportListModel(QObject* parent = nullptr);

    void setColumns(const QStringList& headings);
    const QStringList& columns() const { return m_headings; }
    void setRows(std::vector<ImportRow> rows);
    void clearRows();
    const std::vector<ImportRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList m_headings;
    std::vector<ImportRow> m_rows;
};

}  // namespace tarnwick
