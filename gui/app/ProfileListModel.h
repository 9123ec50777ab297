// The rows of the profile pane: a check box (column 0), the profile's display
// text ("Proile", column 1) and the run's profile status ("Status", column 2).
// Texts are kept as the store's 8-bit text and converted only when shown.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace tarnwick {

struct ProfileRow {
    std::string m_text;
    std::string m_status;
    bool m_ticked = false;
};

class ProfileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColCheck = 0, ColProfile = 1, ColStatus = 2, ColumnCount = 3 };

    explicit ProfileListModel(QObject* parent = nullptr);
    ~ProfileListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const ProfileRow& rowAt(int row) const { return m_rows[static_cast<size_t>(row)]; }
    void clear();
    void appendRows(std::vector<ProfileRow> rows);
    void insertRow(int row, ProfileRow value);
    void setStatus(int row, const std::string& status);

private:
    std::vector<ProfileRow> m_rows;
};

}  // namespace tarnwick
