// The main window: menu, tool bar, status bar and, as its whole client area,
// a splitter with the profile pane on the left and the results pane on the
// right. Closing it asks the exit question first.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "gui/app/KeyboardLocks.h"
#include "gui/controls/ListPanes.h"
#include "viewrules/ResultsView.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;

namespace tarnwick {

class ProfilePane;
class ResultsPane;
class MainToolBar;
class PaneSplitter;

class MainWindow : public QMainWindow, public ListPanes {
    Q_OBJECT
public:
    static constexpr int kProfilePaneWidth = 350;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Builds the tool bar, status bar, menu and the two panes (the results
    // pane first, so the profile pane's loading can rebuild it). False when a
    // part cannot be made.
    bool Create();

    ProfilePane* profilePane() const { return m_pLeft; }
    ResultsPane* resultsPane() const { return m_pRight; }
    MainToolBar* ToolBar() const { return m_wndToolBar; }
    PaneSplitter* Splitter() const { return m_wndSplitter; }
    // The tool bar button or menu item of a command ID.
    QAction* Command(int commandId) const;

    // Buttons follow the enabling flags, the message pane the run's page.
    void UpdateCommandUI();
    // The lock indicators follow the keyboard.
    void UpdateIndicators();
    // Whether Add, Delete, Help, About and Exit are enabled (set at start-up).
    void SetStandardCommandsEnabled(bool enabled);

    // The scan thread is at this results row: shown once the GUI thread
    // comes to it (callable from any thread; the scan never waits for it).
    void NotePageStarted(int row);
    // Pages of the run back from the wire so far (callable from any thread).
    void NotePagesFetched(int fetched);
    // The status bar's message pane during a run, and back to "Ready".
    void ShowProgress(int page, int pages, const std::string& address);
    void ShowReady();
    QString MessageText() const;
    // What changed since the last run, beside the message pane until the
    // next run begins ("" hides it). 8-bit text.
    void ShowRunSummary(const std::string& summary);
    QString RunSummaryText() const;

    // Progress that tool tips cannot cover: a bar, "Page k of m" and the time
    // left, from Play to the end of the run, then the run's one-line summary.
    void BeginProgress();
    QProgressBar* ProgressBar() const { return m_pProgress; }
    QString PageText() const;
    // "· 410 fetched · waiting for www.slow.example (35 s)" beside it.
    QString FetchedText() const;
    QString TimeLeftText() const;
    QString SummaryText() const;
    // Where the summary learns about the run's letters.
    void SetLetterCounts(std::function<LetterCounts()> counts) { m_fnLetters = std::move(counts); }
    // Runs at least this long end with a desktop notification.
    void SetNotifyAfterSeconds(int seconds) { m_nNotifyAfterSeconds = seconds; }
    // How the end of a long run is told (test seam; default: the desktop's
    // notification service).
    void SetDesktopNotifier(std::function<void(const QString&)> notify) {
        m_fnNotify = std::move(notify);
    }

    // Window geometry, splitter and column widths, kept in an INI file
    // between starts (nothing when the path is empty).
    // RestoreLayout is true when a window geometry was restored.
    bool RestoreLayout(const QString& settingsPath);
    void SaveLayout(const QString& settingsPath) const;

    // F6 and Shift+F6.
    void FocusNextPane(bool forward);

    // The exit question of the close box; true lets the window close.
    void SetExitPrompt(std::function<bool()> prompt) { m_fnExitPrompt = std::move(prompt); }

    // ListPanes
    int TickedProfileCount() override;
    bool ResultsHaveStatus() override;
    void RebuildResults() override;

signals:
    // The enabling flags or the scan's page changed (from any thread).
    void runStateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateMenu();
    void CreateSortMenu(QMenu* menu);
    bool createPanes();
    QAction* AddToolButton(int commandId, const QString& text, const char* themeIcon);
    void UpdateProgress();
    void EndProgress();
    void RefreshSummary();

    PaneSplitter* m_wndSplitter = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    MainToolBar* m_wndToolBar = nullptr;
    ProfilePane* m_pLeft = nullptr;
    ResultsPane* m_pRight = nullptr;
    QLabel* m_pMessage = nullptr;
    QLabel* m_pRunSummary = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pPage = nullptr;
    QLabel* m_pFetched = nullptr;
    QLabel* m_pTimeLeft = nullptr;
    QLabel* m_pSummary = nullptr;
    QElapsedTimer m_runTimer;
    QElapsedTimer m_pageTimer;  // since the page in hand became the one waited for
    bool m_bRunTracked = false;
    std::optional<LetterCounts>
        m_lastLetters;  // what the summary line was made of; none: make it again
    int m_nNotifyAfterSeconds = 60;
    std::function<LetterCounts()> m_fnLetters;
    std::function<void(const QString&)> m_fnNotify;
    QLabel* m_pIndicators[3] = {nullptr, nullptr, nullptr};
    KeyboardLocks m_locks;
    std::map<int, QAction*> m_commands;
    QTimer m_locksTimer;
    bool m_bStandardCommands = true;
    bool m_bProgressShown = false;
    std::atomic<int> m_nStartedPage{-1};
    std::atomic<int> m_nFetched{0};
    int m_nShownPage = -1;
    bool m_bCloseConfirmed = false;
    std::function<bool()> m_fnExitPrompt;
};

}  // namespace tarnwick
