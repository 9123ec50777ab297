// The results pane: one row per publisher page of the ticked profiles, with
// the page's advertiser's site, mail address, notification value and, once a
// run has reached it, its result. The working table of a scan run; never
// stored.
#pragma once

#include <functional>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "gui/controls/FormView.h"
#include "history/HistoryDatabase.h"
#include "scan/BuildResultRows.h"
#include "scan/PageResult.h"
#include "scan/ResultRow.h"
#include "store/DataFolder.h"

class QComboBox;
class QLineEdit;

namespace tarnwick {

class PaneTableView;
class ResultFilterProxy;
class ResultListModel;

class ResultsPane : public FormView {
    Q_OBJECT
public:
    static constexpr int kListId = 1001;

    explicit ResultsPane(QWidget* parent = nullptr);
    ~ResultsPane() override;

    void OnInitialUpdate() override;

    PaneTableView& List() const { return *m_list; }
    // The rows the run works on, by their row numbers (never sorted or
    // filtered); the list shows them through Shown().
    ResultListModel& Model() const { return *m_pModel; }
    ResultFilterProxy& Shown() const { return *m_pProxy; }
    QComboBox& FilterBox() const { return *m_pFilter; }
    // The search box beside the filter: only the rows holding its text.
    QLineEdit& SearchBox() const { return *m_pSearch; }
    // The shown rows sorted by a column (-1: the run's order).
    void SortBy(int column, Qt::SortOrder order);

    // Brings a row into view (unless the filter hides it).
    void ScrollToRow(int row);
    // What a result row offers: its page in the browser, its address or the
    // whole row (tab-separated, as shown) on the clipboard.
    void OpenPage(int row);
    void CopyAddress(int row) const;
    void CopyRow(int row) const;

    // Empties the list and fills it from the profile files of the profile
    // pane's ticked rows, each page with its result of the last run recorded
    // in the history (marked "last run: 3 Dec"). A profile whose file cannot
    // be read gives no rows; the user is told once which one it was.
    void RebuildResults();
    // The same without the recorded results: the rows a run starts from.
    void RebuildForRun();
    // Called before the recorded results are read, so that the history's
    // writer has written what it was given (the last rows of a run that has
    // just ended) and the rows show that run, not the one before.
    void SetBeforeReadingHistory(std::function<void()> wait) {
        m_fnBeforeReadingHistory = std::move(wait);
    }
    void DeleteAllRows();

    int RowCount() const;
    // How many times the list has been rebuilt.
    int RebuildCount() const { return m_nRebuilds; }
    ResultRow RowAt(int row) const;
    void SetStatus(int row, const std::string& status);
    void SetResult(int row, const PageResult& result);
    void SetMail(int row, const std::string& text);
    // The row's letter: sent, failed or held back, and why (see
    // ResultListModel::SetLetter).
    void SetLetter(int row, LetterMark mark, const std::string& note, const std::string& to = {});
    void SetChange(int row, const std::string& text);
    void SetEvidence(int row, const PageEvidence& evidence);

    // The row with the keyboard focus (-1: none) and the Page Details dialog
    // of a row (also Enter on the list).
    int CurrentRow() const;
    void ShowPageDetails(int row);

signals:
    // "Check This Page Now" from a row's menu.
    void checkPageNowRequested(int row);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rebuild(bool recorded);
    static std::map<PageKey, PageRecord> LastRecordedResults(const DataFolder& folder);
    void ShowRowMenu(int shownRow, const QPoint& globalPos);
    void TellUnreadable(const DataFolder& folder, const std::vector<TickedProfile>& ticked,
                        const std::vector<std::string>& missing);

    PaneTableView* m_list = nullptr;
    ResultListModel* m_pModel = nullptr;
    ResultFilterProxy* m_pProxy = nullptr;
    QWidget* m_pFilterBar = nullptr;
    QComboBox* m_pFilter = nullptr;
    QLineEdit* m_pSearch = nullptr;
    std::set<std::string> m_toldUnreadable;
    int m_nRebuilds = 0;
    std::function<void()> m_fnBeforeReadingHistory;
};

}  // namespace tarnwick
