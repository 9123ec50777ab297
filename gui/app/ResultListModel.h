// The rows of the results pane: "Advetiser's Site", "Publisher's Site", "Mail
// Address", "Email Notification", "Status", "Since last run", "Details" (the
// evidence's verdict, every fact in its tool tip, an amber mark when a found
// link is worth nothing to search engines). Kept as the store's 8-bit text and
// converted only when shown, so 100,000 rows load quickly.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "scan/PageResult.h"
#include "scan/ResultRow.h"

namespace tarnwick {

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColAdvertiser = 0,
        ColPublisher = 1,
        ColMail = 2,
        ColNotify = 3,
        ColStatus = 4,
        ColChange = 5,
        ColDetails = 6,  // the evidence's short verdict
        ColumnCount = 7
    };

    explicit ResultListModel(QObject* parent = nullptr);
    ~ResultListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const ResultRow& rowAt(int row) const { return m_rows[static_cast<size_t>(row)]; }
    const std::vector<ResultRow>& rows() const { return m_rows; }
    void setRows(std::vector<ResultRow> rows);
    void clear();
    // Stop's mark on a row without a result; setResult keeps the page's
    // reason and HTTP status too. The reason is the Status cell's tooltip.
    void setStopped(int row);
    void setResult(int row, const PageResult& result);
    // A letter's failure text in place of the mail address (the row's letter
    // then counts as not sent).
    void setMail(int row, const std::string& text);
    // The row's letter ended (sent or failed) or was held back: the Mail
    // Address cell shows the address it was for (to, or the cell's text when
    // to is empty) with a mark, and note in its tool tip.
    void setLetter(int row, LetterMark mark, const std::string& note, const std::string& to = {});
    void setChange(int row, const std::string& text);
    // Whether the row's letter did not go out (failed or held back).
    bool letterFailed(int row) const;
    void setEvidence(int row, const PageEvidence& evidence);
    // Whether any Status cell holds a result or a stop mark from a run of
    // this session (a result shown from the history does not count: a rebuild
    // shows it again).
    bool anyStatus() const;

    static const std::string& cell(const ResultRow& row, int column);

private:
    std::vector<ResultRow> m_rows;
    std::vector<bool> m_letterFailed;  // by row; empty until a letter fails
};

}  // namespace tarnwick
