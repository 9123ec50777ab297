// The results pane: one row per publisher page of the ticked profiles, with
// the page's advertiser's site, mail address, notification value and, once a
// run has reached it, its result. The working table of a scan run; never
// stored.
#pragma once

#include <QPointer>
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
class ProfilePane;
class ResultFilterProxy;
class ResultListModel;

class ResultsPane : public FormView {
    Q_OBJECT
public:
    static constexpr char kResultList[] = "resultList";

    explicit ResultsPane(QWidget* parent = nullptr);
    ~ResultsPane() override;

    void onInitialUpdate() override;

    PaneTableView& list() const { return *m_list; }
    // The profile pane whose ticked rows the list is built from (none: the
    // list stays empty).
    void setProfilePane(ProfilePane* profiles);
    ProfilePane* profilePane() const;
    // The rows the run works on, by their row numbers (never sorted or
    // filtered); the list shows them through Shown().
    ResultListModel& model() const { return *m_model; }
    ResultFilterProxy& shown() const { return *m_proxy; }
    QComboBox& filterBox() const { return *m_filter; }
    // The search box beside the filter: only the rows holding its text.
    QLineEdit& searchBox() const { return *m_search; }
    // The shown rows sorted by a column (-1: the run's order).
    void sortBy(int column, Qt::SortOrder order);

    // Brings a row into view (unless the filter hides it).
    void scrollToRow(int row);
    // What a result row offers: its page in the browser, its address or the
    // whole row (tab-separated, as shown) on the clipboard.
    void openPage(int row);
    void copyAddress(int row) const;
    void copyRow(int row) const;

    // Empties the list and fills it from the profile files of the profile
    // pane's ticked rows, each page with its result of the last run recorded
    // in the history (marked "last run: 3 Dec"). A profile whose file cannot
    // be read gives no rows; the user is told once which one it was.
    void rebuildResults();
    // The same without the recorded results: the rows a run starts from.
    void rebuildForRun();
    // Called before the recorded results are read, so that the history's
    // writer has written what it was given (the last rows of a run that has
    // just ended) and the rows show that run, not the one before.
    void setBeforeReadingHistory(std::function<void()> wait) {
        m_beforeReadingHistory = std::move(wait);
    }
    void deleteAllRows();

    int rowCount() const;
    // How many times the list has been rebuilt.
    int rebuildCount() const { return m_rebuilds; }
    ResultRow rowAt(int row) const;
    void setStopped(int row);
    void setResult(int row, const PageResult& result);
    void setMail(int row, const std::string& text);
    // The row's letter: sent, failed or held back, and why (see
    // ResultListModel::SetLetter).
    void setLetter(int row, LetterMark mark, const std::string& note, const std::string& to = {});
    void setChange(int row, const std::string& text);
    void setEvidence(int row, const PageEvidence& evidence);

    // The row with the keyboard focus (-1: none) and the Page Details dialog
    // of a row (also Enter on the list).
    int currentRow() const;
    void showPageDetails(int row);

signals:
    // "Check This Page Now" from a row's menu.
    void checkPageNowRequested(int row);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild(bool recorded);
    static std::map<PageKey, PageRecord> lastRecordedResults(const DataFolder& folder);
    void showRowMenu(int shownRow, const QPoint& globalPos);
    void tellUnreadable(const DataFolder& folder, const std::vector<TickedProfile>& ticked,
                        const std::vector<std::string>& missing);

    PaneTableView* m_list = nullptr;
    ResultListModel* m_model = nullptr;
    QPointer<ProfilePane> m_profilePane;
    ResultFilterProxy* m_proxy = nullptr;
    QWidget* m_filterBar = nullptr;
    QComboBox* m_filter = nullptr;
    QLineEdit* m_search = nullptr;
    std::set<std::string> m_toldUnreadable;
    int m_rebuilds = 0;
    std::function<void()> m_beforeReadingHistory;
};

}  // namespace tarnwick
