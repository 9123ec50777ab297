// View > History: what the history database holds. The recorded runs in a
// list; for the profile picked, a chart of its pages' results per run
// (found, not found, cannot be found, cannot be displayed); for the page
// picked, its timeline of results and letters. Reads only; the database is
// in WAL mode, so a run being recorded meanwhile never waits for it.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QTreeWidget;

namespace tarnwick {

class HistoryDatabase;

class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    HistoryWindow(std::string databasePath, QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // Reads the runs and profiles anew (keeping the profile picked).
    void Reload();

    QTreeWidget* RunList() const { return m_pRuns; }
    QComboBox* ProfileBox() const { return m_pProfiles; }
    QChartView* Chart() const { return m_pChart; }
    QListWidget* PageList() const { return m_pPages; }
    QTreeWidget* Timeline() const { return m_pTimeline; }
    QString Message() const;

private:
    void ShowProfile(int index);
    void ShowPage(int row);
    void Fail(const QString& what);

    std::string m_strPath;
    std::unique_ptr<HistoryDatabase> m_db;
    std::vector<std::pair<std::string, std::string>> m_pageKeys;  // of m_pPages' rows
    QLabel* m_pMessage = nullptr;
    QTreeWidget* m_pRuns = nullptr;
    QComboBox* m_pProfiles = nullptr;
    QChartView* m_pChart = nullptr;
    QListWidget* m_pPages = nullptr;
    QTreeWidget* m_pTimeline = nullptr;
};

}  // namespace tarnwick
