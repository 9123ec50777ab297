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
class RunState;

class MainWindow : public QMainWindow, public ListPanes {
    Q_OBJECT
public:
    static constexpr int kProfilePaneWidth = 350;

    // runState: the scan session's, which Play and Stop follow; it outlives
    // the window.
    explicit MainWindow(RunState& runState, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Builds the tool bar, status bar, menu and the two panes (the results
    // pane first, so the profile pane's loading can rebuild it). False when a
    // part cannot be made.
    bool create();

    ProfilePane* profilePane() const { return m_left; }
    ResultsPane* resultsPane() const { return m_right; }
    MainToolBar* toolBar() const { return m_toolBar; }
    PaneSplitter* splitter() const { return m_splitter; }
    // The commands of the tool bar and the menu. Each action carries its
    // member's name and "Action" as object name ("playAction"), so tools
    // and tests that only have the window find it by name too. The tool
    // bar's Help, About and Exit are actions of their own beside the menu's
    // Help Topic, About and Exit.
    struct Actions {
        QAction* play = nullptr;
        QAction* stop = nullptr;
        QAction* addProfile = nullptr;
        QAction* deleteProfile = nullptr;
        QAction* editProfile = nullptr;
        QAction* toolHelp = nullptr;
        QAction* toolAbout = nullptr;
        QAction* toolExit = nullptr;
        QAction* checkWithoutMail = nullptr;
        QAction* checkPageNow = nullptr;
        QAction* preferences = nullptr;
        QAction* exportResults = nullptr;
        QAction* exit = nullptr;
        QAction* toolBar = nullptr;
        QAction* statusBar = nullptr;
        QAction* find = nullptr;
        QAction* history = nullptr;
        QAction* mailSettings = nullptr;
        QAction* about = nullptr;
        QAction* helpTopic = nullptr;
    };
    const Actions& actions() const { return m_actions; }

    // The object names of the window's parts.
    static constexpr char kSplitter[] = "paneSplitter";
    static constexpr char kToolBar[] = "mainToolBar";
    static constexpr char kStatusBar[] = "statusBar";
    static constexpr char kCapsLockIndicator[] = "capsLockIndicator";
    static constexpr char kNumLockIndicator[] = "numLockIndicator";
    static constexpr char kScrollLockIndicator[] = "scrollLockIndicator";

    // Buttons follow the run state, the message pane the run's page.
    void updateCommandUi();
    // The lock indicators follow the keyboard.
    void updateIndicators();
    // Whether Add, Delete, Help, About and Exit are enabled (set at start-up).
    void setStandardCommandsEnabled(bool enabled);

    // The scan thread is at this results row: shown once the GUI thread
    // comes to it (callable from any thread; the scan never waits for it).
    void notePageStarted(int row);
    // Pages of the run back from the wire so far (callable from any thread).
    void notePagesFetched(int fetched);
    // The status bar's message pane during a run, and back to "Ready".
    void showProgress(int page, int pages, const std::string& address);
    void showReady();
    QString messageText() const;
    // What changed since the last run, beside the message pane until the
    // next run begins ("" hides it). 8-bit text.
    void showRunSummary(const std::string& summary);
    QString runSummaryText() const;

    // Progress that tool tips cannot cover: a bar, "Page k of m" and the time
    // left, from Play to the end of the run, then the run's one-line summary.
    void beginProgress();
    QProgressBar* progressBar() const { return m_progress; }
    QString pageText() const;
    // "· 410 fetched · waiting for www.slow.example (35 s)" beside it.
    QString fetchedText() const;
    QString summaryText() const;
    // Where the summary learns about the run's letters.
    void setLetterCounts(std::function<LetterCounts()> counts) { m_letters = std::move(counts); }
    // Runs at least this long end with a desktop notification.
    void setNotifyAfterSeconds(int seconds) { m_notifyAfterSeconds = seconds; }
    // How the end of a long run is told (test seam; default: the desktop's
    // notification service).
    void setDesktopNotifier(std::function<void(const QString&)> notify) {
        m_notify = std::move(notify);
    }

    // Window geometry, splitter and column widths, kept in an INI file
    // between starts (nothing when the path is empty).
    // RestoreLayout is true when a window geometry was restored.
    bool restoreLayout(const QString& settingsPath);
    void saveLayout(const QString& settingsPath) const;

    // F6 and Shift+F6.
    void focusNextPane(bool forward);

    // The exit question of the close box; true lets the window close.
    void setExitPrompt(std::function<bool()> prompt) { m_exitPrompt = std::move(prompt); }

    // ListPanes
    bool resultsHaveStatus() override;
    void rebuildResults() override;

signals:
    // The run state or the scan's page changed (from any thread).
    void runStateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool createToolBar();
    bool createStatusBar();
    void createMenu();
    void createSortMenu(QMenu* menu);
    bool createPanes();
    QAction* addToolButton(const char* name, const QString& text, const char* themeIcon);
    void updateProgress();
    void endProgress();
    void refreshSummary();

    RunState& m_runState;
    PaneSplitter* m_splitter = nullptr;
    QStatusBar* m_statusBar = nullptr;
    MainToolBar* m_toolBar = nullptr;
    ProfilePane* m_left = nullptr;
    ResultsPane* m_right = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_runSummary = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_pageLabel = nullptr;
    QLabel* m_fetchedLabel = nullptr;
    QLabel* m_timeLeft = nullptr;
    QLabel* m_summary = nullptr;
    QElapsedTimer m_runTimer;
    QElapsedTimer m_pageTimer;  // since the page in hand became the one waited for
    bool m_runTracked = false;
    std::optional<LetterCounts>
        m_lastLetters;  // what the summary line was made of; none: make it again
    int m_notifyAfterSeconds = 60;
    std::function<LetterCounts()> m_letters;
    std::function<void(const QString&)> m_notify;
    QLabel* m_indicators[3] = {nullptr, nullptr, nullptr};
    KeyboardLocks m_locks;
    Actions m_actions;
    QTimer m_locksTimer;
    bool m_standardCommands = true;
    bool m_progressShown = false;
    std::atomic<int> m_startedPage{-1};
    std::atomic<int> m_fetched{0};
    int m_shownPage = -1;
    bool m_closeConfirmed = false;
    std::function<bool()> m_exitPrompt;
};

}  // namespace tarnwick
