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
    void reload();

    QTreeWidget* runList() const { return m_runs; }
    QComboBox* profileBox() const { return m_profiles; }
    QChartView* chart() const { return m_chart; }
    QListWidget* pageList() const { return m_pages; }
    QTreeWidget* timeline() const { return m_timeline; }
    QString message() const;

private:
    void showProfile(int index);
    void showPage(int row);
    void fail(const QString& what);

    std::string m_path;
    std::unique_ptr<HistoryDatabase> m_db;
    std::vector<std::pair<std::string, std::string>> m_pageKeys;  // of m_pages' rows
    QLabel* m_message = nullptr;
    QTreeWidget* m_runs = nullptr;
    QComboBox* m_profiles = nullptr;
    QChartView* m_chart = nullptr;
    QListWidget* m_pages = nullptr;
    QTreeWidget* m_timeline = nullptr;
};

}  // namespace tarnwick
