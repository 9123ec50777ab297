// The application object: start-up (splash, the scan session, the main
// window) and the commands of the menu and tool bar. It owns what the run's
// parts share: the session (whose run state the window follows), the mail
// queue, the history and the report offer.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "gui/report/ReportOffer.h"
#include "mail/SmtpClient.h"
#include "scan/CheckedPageQueue.h"
#include "scan/SinglePageCheck.h"
#include "store/RunLock.h"

namespace tarnwick {

class HistoryWindow;
class MainWindow;
class HistoryRecorder;
class NotificationQueue;
class ScanSession;
class WindowScanPanes;

struct StartOptions {
    StartOptions() = default;
    explicit StartOptions(int splashMs) : m_splashMs(splashMs) {}

    int m_splashMs = 2000;  // how long the splash stays up
    // How a page is checked; empty: fetched from the network.
    PageChecker m_checkPage;
    // Where the window's size, splitter and column widths are kept between
    // starts; empty: nothing is remembered.
    QString m_layoutFile;
    // The time-outs of every webmaster letter.
    SmtpClient::Limits m_mailLimits;
};

class TarnwickApplication : public QObject {
    Q_OBJECT
public:
    explicit TarnwickApplication(StartOptions options = {});
    ~TarnwickApplication() override;

    // Shows the splash, makes the scan session and shows the main window
    // maximised. False when the window cannot be made.
    bool start();

    MainWindow* mainWindow() const { return m_frame.get(); }
    WindowScanPanes* scanPanes() const { return m_scanPanes.get(); }
    ScanSession* scan() const { return m_scanRun.get(); }
    HistoryRecorder* history() const { return m_history.get(); }
    HistoryWindow* historyWindow() const;
    // The report prompt at the end of a run, and whether its report was saved.
    ReportOffer& reportOffer() { return m_reportOffer; }

    // Commands.
    void onPlay();
    void onStop();
    void onAdd();
    void onDelete();
    void onEditProfile();
    void onHelp();
    void onAbout();
    void onExportResults();
    void onPreferences();
    void onExit();
    void onMailSettings();
    // View > History: the window of recorded runs (one, brought to the front).
    void onHistory();
    // View > Find (Ctrl+F): the results' search box.
    void onFind();
    // Checks the page of a results row (the current one for -1) now, outside
    // any run: its row shows the result; nothing is recorded or mailed.
    void onCheckPageNow(int row = -1);
    bool isCheckingPageNow() const { return m_pageCheck.busy(); }

    // The exit question; true when the program may end.
    bool runExitPrompt();

    // Waits for the webmaster letters still queued, showing that mail is
    // being sent; the window keeps answering meanwhile.
    void finishMail();

    // Whether this program holds its data folder's scan lock (from Play
    // until the run and its letters are done).
    bool holdsRunLock() const { return m_runLock.isHeld(); }

signals:
    // The Exit command was confirmed: the program ends with this code.
    void exitRequested(int code);

private:
    void connectCommands();
    // Lets the scan lock go once the run has ended and its letters are out.
    void releaseRunLockWhenIdle();

    StartOptions m_options;
    ReportOffer m_reportOffer;
    // Made before the window, which follows its run state, and ended after it.
    std::unique_ptr<ScanSession> m_scanRun;
    std::unique_ptr<MainWindow> m_frame;
    std::unique_ptr<WindowScanPanes> m_scanPanes;
    std::unique_ptr<HistoryRecorder> m_history;
    std::unique_ptr<NotificationQueue> m_mailQueue;
    QPointer<HistoryWindow> m_historyWnd;
    RunLock m_runLock;
    SinglePageCheck m_pageCheck;
    QTimer m_runLockTimer;
};

}  // namespace tarnwick
