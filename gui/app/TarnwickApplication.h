// The application object: start-up (splash, process-wide state, the main
// window) and the commands of the menu and tool bar.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "scan/SinglePageCheck.h"
#include "store/RunLock.h"

namespace tarnwick {

class HistoryWindow;
class MainWindow;
class HistoryRecorder;
class NotificationQueue;
class ScanRun;
class WindowScanPanes;

struct StartOptions {
    StartOptions() = default;
    explicit StartOptions(int splashMs) : m_nSplashMs(splashMs) {}

    int m_nSplashMs = 2000;  // how long the splash stays up
    // How a page is checked; empty: fetched from the network.
    std::function<std::string(const std::string& page, const std::string& advertiser)>
        m_fnCheckPage;
    // Where the window's size, splitter and column widths are kept between
    // starts; empty: nothing is remembered.
    QString m_strLayoutFile;
};

class TarnwickApplication : public QObject {
    Q_OBJECT
public:
    explicit TarnwickApplication(StartOptions options = {});
    ~TarnwickApplication() override;

    // Shows the splash, resets the process-wide state and shows the main
    // window maximised. False when the window cannot be made.
    bool start();

    MainWindow* mainWindow() const { return m_pFrame.get(); }
    WindowScanPanes* ScanPanes() const { return m_pScanPanes.get(); }
    ScanRun* Scan() const { return m_pScanRun.get(); }
    HistoryRecorder* History() const { return m_pHistory.get(); }
    HistoryWindow* historyWindow() const;

    // Commands.
    void OnPlay();
    void OnStop();
    void OnAdd();
    void OnDelete();
    void OnEditProfile();
    void OnHelp();
    void OnAbout();
    void OnExportResults();
    void OnPreferences();
    void OnExit();
    void OnMailSettings();
    // View > History: the window of recorded runs (one, brought to the front).
    void OnHistory();
    // View > Find (Ctrl+F): the results' search box.
    void OnFind();
    // Checks the page of a results row (the current one for -1) now, outside
    // any run: its row shows the result; nothing is recorded or mailed.
    void OnCheckPageNow(int row = -1);
    bool IsCheckingPageNow() const { return m_pageCheck.busy(); }

    // The exit question; true when the program may end.
    bool RunExitPrompt();

    // Waits for the webmaster letters still queued, showing that mail is
    // being sent; the window keeps answering meanwhile.
    void FinishMail();

    // Whether this program holds its data folder's scan lock (from Play
    // until the run and its letters are done).
    bool holdsRunLock() const { return m_runLock.isHeld(); }

signals:
    // The Exit command was confirmed: the program ends with this code.
    void exitRequested(int code);

private:
    void ConnectCommands();
    // Lets the scan lock go once the run has ended and its letters are out.
    void releaseRunLockWhenIdle();

    StartOptions m_options;
    std::unique_ptr<MainWindow> m_pFrame;
    std::unique_ptr<WindowScanPanes> m_pScanPanes;
    std::unique_ptr<HistoryRecorder> m_pHistory;
    std::unique_ptr<NotificationQueue> m_pMailQueue;
    std::unique_ptr<ScanRun> m_pScanRun;
    QPointer<HistoryWindow> m_pHistoryWnd;
    RunLock m_runLock;
    SinglePageCheck m_pageCheck;
    QTimer m_runLockTimer;
};

}  // namespace tarnwick
