// The main window: menu, tool bar, status bar and, as its whole client area,
// a splitter with the profile pane on the left and the results pane on the
// right. Closing it asks the exit question first.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <atomic>
#include <functional>
#include <map>
#include <string>

#include "gui/app/KeyboardLocks.h"
#include "gui/controls/ListPanes.h"

class QAction;
class QLabel;

namespace tarnwick {

class CLeftList;
class CRightList;
class CTrueColorToolBar;
class CUsefulSplitterWnd;

class CMainFrame : public QMainWindow, public ListPanes {
    Q_OBJECT
public:
    static constexpr int kProfilePaneWidth = 350;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the tool bar, status bar, menu and the two panes (the results
    // pane first, so the profile pane's loading can rebuild it). False when a
    // part cannot be made.
    bool Create();

    CLeftList* ProfilePane() const { return m_pLeft; }
    CRightList* ResultsPane() const { return m_pRight; }
    CTrueColorToolBar* ToolBar() const { return m_wndToolBar; }
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
    // The status bar's message pane during a run, and back to "Ready".
    void ShowProgress(int page, int pages, const std::string& address);
    void ShowReady();
    QString MessageText() const;
    // What changed since the last run, beside the message pane until the
    // next run begins ("" hides it). 8-bit text.
    void ShowRunSummary(const std::string& summary);
    QString RunSummaryText() const;

    // F6 and Shift+F6.
    void FocusNextPane(bool forward);

    // The exit question of the close box; true lets the window close.
    void SetExitPrompt(std::function<bool()> prompt) { m_fnExitPrompt = std::move(prompt); }

    // ListPanes
    int TickedProfileCount() override;
    bool ResultsHaveStatus() override;
    void DeleteAllResults() override;
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
    bool OnCreateClient();
    QAction* AddToolButton(int commandId, const QString& text, const char* themeIcon);

    CUsefulSplitterWnd* m_wndSplitter = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    CTrueColorToolBar* m_wndToolBar = nullptr;
    CLeftList* m_pLeft = nullptr;
    CRightList* m_pRight = nullptr;
    QLabel* m_pMessage = nullptr;
    QLabel* m_pRunSummary = nullptr;
    QLabel* m_pIndicators[3] = {nullptr, nullptr, nullptr};
    KeyboardLocks m_locks;
    std::map<int, QAction*> m_commands;
    QTimer m_locksTimer;
    bool m_bStandardCommands = true;
    bool m_bProgressShown = false;
    std::atomic<int> m_nStartedPage{-1};
    int m_nShownPage = -1;
    bool m_bCloseConfirmed = false;
    std::function<bool()> m_fnExitPrompt;
};

}  // namespace tarnwick
