#include "gui/app/TarnwickApplication.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "common/ProductName.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/AppState.h"
#include "gui/app/CommandIds.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PreferencesDialog.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/app/WindowScanPanes.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/GuiThread.h"
#include "gui/controls/SplashScreen.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/ProfileCommands.h"
#include "gui/history/HistoryWindow.h"
#include "gui/report/ExitPrompt.h"
#include "gui/report/ExportResults.h"
#include "gui/report/OfferReport.h"
#include "gui/res/Resources.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "history/LetterRules.h"
#include "mail/NotificationQueue.h"
#include "scan/FetchSettings.h"
#include "scan/ScanRun.h"
#include "scan/ScanState.h"
#include "scan/StatusWords.h"
#include "store/AppSettings.h"
#include "store/DataFolder.h"

namespace tarnwick {
namespace {

// How the desktop program names itself in the data folder's scan lock.
constexpr const char* kRunLockHolder = "tarnwick, the desktop program";

constexpr const char* kNoMailSettingsQuestion =
    "No mail settings are stored, so no webmaster can be notified.\n\n"
    "Check the pages without mailing? (No: every letter due is noted as not sent.)";

// What a page's evidence is judged with, as the settings say: the same for a
// run and for one page checked on its own.
LinkRules LinkRulesOf(const AppSettings& settings) {
    LinkRules rules;
    rules.m_nLinkFarmLinks = settings.m_nLinkFarmLinks;
    rules.m_bRender = settings.m_bRender;
    return rules;
}

}  // namespace

TarnwickApplication::TarnwickApplication(StartOptions options) : m_options(options) {
    InitResources();
}

TarnwickApplication::~TarnwickApplication() {
    // The scan thread stops; a call of it still waiting for the window (a
    // status, or the report prompt of a run that just ended) is dropped, so
    // the thread ends without the window.
    if (m_pScanRun) {
        m_pScanRun->RequestShutdown();
    }
    m_pageCheck.cancel();
    if (m_pScanPanes) {
        m_pScanPanes->Close();
    }
    m_pScanRun.reset();
    // Letters still queued are sent before the program ends (their outcome
    // no longer reaches the closed window).
    FinishMail();
    m_pMailQueue.reset();
    // What is still queued for the history is written before the window goes.
    m_pHistory.reset();
    m_runLockTimer.stop();
    m_runLock.release();
    delete m_pHistoryWnd.data();
    m_pScanPanes.reset();
    m_pFrame.reset();
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

bool TarnwickApplication::start() {
    SplashScreen::ShowFor(m_options.m_nSplashMs);
    g_pApp = this;
    g_bScanRunning = false;
    g_bStopRequested = false;
    g_bReportSaved = false;
    g_bPlayEnabled = false;
    g_bStopEnabled = false;
    g_bSuppressAutoCheck = false;
    DataFolder::FromEnvironment().EnsureExists();

    m_pFrame = std::make_unique<MainWindow>();
    if (!m_pFrame->Create()) {
        m_pFrame.reset();
        return false;
    }
    m_pScanPanes = std::make_unique<WindowScanPanes>(*m_pFrame);
    m_pMailQueue = std::make_unique<NotificationQueue>(*m_pScanPanes);
    // The history's writer thread tells of a database it cannot use; the
    // window shows it where the run's summary goes.
    m_pHistory = std::make_unique<HistoryRecorder>(
        HistoryDatabase::PathIn(DataFolder::FromEnvironment().Folder()), kSourceDesktop,
        [frame = m_pFrame.get()](const std::string& message) {
            QMetaObject::invokeMethod(
                frame, [frame, message] { frame->ShowRunSummary(message); }, Qt::QueuedConnection);
        });
    m_pFrame->resultsPane()->SetBeforeReadingHistory(
        [history = m_pHistory.get()] { history->Flush(); });
    m_pMailQueue->SetLetterListener([history = m_pHistory.get(), panes = m_pScanPanes.get()](
                                        const NotificationJob& job, const std::string& outcome) {
        history->LetterDone(job, outcome);
        panes->letterDone(job, outcome);
    });
    // Recorded before it can reach the server: a program ended mid-letter
    // never mails the webmaster a second time.
    m_pMailQueue->setSendingListener(
        [history = m_pHistory.get()](const NotificationJob& job) { history->letterSending(job); });
    m_pScanPanes->SetStartNotification(
        [queue = m_pMailQueue.get()](const NotificationJob& job) { queue->Enqueue(job); });
    m_pScanPanes->SetOfferReport(
        [frame = m_pFrame.get()] { OfferReport(frame, frame->resultsPane()->Model().Rows()); });
    m_pScanRun = std::make_unique<ScanRun>(*m_pScanPanes, m_options.m_fnCheckPage);
    m_pScanRun->SetObserver(m_pHistory.get());
    m_pFrame->SetExitPrompt([this] { return RunExitPrompt(); });
    m_pFrame->SetLetterCounts([this] {
        LetterCounts letters = m_pScanPanes->Letters();
        letters.m_nOutstanding = m_pMailQueue->Outstanding();
        return letters;
    });
    ConnectCommands();
    m_runLockTimer.setInterval(250);
    connect(&m_runLockTimer, &QTimer::timeout, this, [this] { releaseRunLockWhenIdle(); });
    // Maximised at the first start; where no window manager acts on that,
    // the window still covers the screen. Later starts come back as the
    // window was left.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        m_pFrame->setGeometry(screen->availableGeometry());
    }
    if (m_pFrame->RestoreLayout(m_options.m_strLayoutFile)) {
        m_pFrame->show();
    } else {
        m_pFrame->showMaximized();
    }

    g_bPlayEnabled = m_pFrame->profilePane()->ProfileRowCount() > 0;
    g_bStopEnabled = false;
    m_pFrame->SetStandardCommandsEnabled(true);
    return true;
}

void TarnwickApplication::ConnectCommands() {
    const struct {
        int id;
        void (TarnwickApplication::*handler)();
    } commands[] = {
        {ID_PLAY, &TarnwickApplication::OnPlay},
        {ID_STOP, &TarnwickApplication::OnStop},
        {ID_ADD, &TarnwickApplication::OnAdd},
        {ID_DELETE, &TarnwickApplication::OnDelete},
        {ID_EDIT_PROFILE, &TarnwickApplication::OnEditProfile},
        {ID_HELP, &TarnwickApplication::OnHelp},
        {ID_HELP_TOPIC, &TarnwickApplication::OnHelp},
        {ID_ABOUT, &TarnwickApplication::OnAbout},
        {ID_HELP_ABOUT, &TarnwickApplication::OnAbout},
        {ID_EXIT, &TarnwickApplication::OnExit},
        {ID_FILE_EXIT, &TarnwickApplication::OnExit},
        {ID_MAIL_SETTINGS, &TarnwickApplication::OnMailSettings},
        {ID_FILE_PREFERENCES, &TarnwickApplication::OnPreferences},
        {ID_VIEW_HISTORY, &TarnwickApplication::OnHistory},
        {ID_FILE_EXPORT, &TarnwickApplication::OnExportResults},
        {ID_VIEW_FIND, &TarnwickApplication::OnFind},
    };
    connect(m_pFrame->Command(ID_CHECK_PAGE_NOW), &QAction::triggered, this,
            [this] { OnCheckPageNow(); });
    connect(m_pFrame->resultsPane(), &ResultsPane::checkPageNowRequested, this,
            [this](int row) { OnCheckPageNow(row); });
    for (const auto& command : commands) {
        QAction* action = m_pFrame->Command(command.id);
        const auto handler = command.handler;
        connect(action, &QAction::triggered, this, [this, handler] {
            (this->*handler)();
            if (m_pFrame) {
                m_pFrame->UpdateCommandUI();
            }
        });
    }
}

void TarnwickApplication::OnPlay() {
    if (g_bScanRunning) {
        return;
    }
    // One scan per data folder: a tarnwick-cli scan running now (the weekly
    // timer) would mail the same webmasters before either run has recorded
    // its letters. The lock is kept from a run's Play until its letters are
    // out, so a Play while they are still going needs no new one.
    if (!m_runLock.isHeld()) {
        m_runLock = RunLock::tryLock(DataFolder::FromEnvironment().Folder(), kRunLockHolder);
        if (m_runLock.state() == RunLock::State::Busy) {
            AppMessageBox::Show("Another scan of this data folder is running (" +
                                    m_runLock.holder() + ").\n\nPlay again when it has ended.",
                                AppMessageBox::Buttons::Ok, m_pFrame.get());
            m_runLock.release();
            return;
        }
        // Failed (a read-only data folder, a FIFO in the lock file's place):
        // the run goes on without the lock rather than never.
    }
    m_runLockTimer.start();
    std::vector<std::string> warnings;
    {
        // What the history needs of this run, taken before it starts.
        const DataFolder folder = DataFolder::FromEnvironment();
        std::vector<std::string> profiles;
        ProfilePane* pane = m_pFrame->profilePane();
        for (int row = 0; row < pane->ProfileRowCount(); ++row) {
            profiles.push_back(pane->ProfileText8(row));
        }
        m_pHistory->SetProfileTexts(std::move(profiles));
        m_pHistory->SetLetterRules(ReadLetterRules(folder.Folder(), &warnings));
    }
    bool withoutMail = m_pFrame->Command(ID_CHECK_WITHOUT_MAIL)->isChecked();
    if (!withoutMail) {
        // Letters are due but cannot go out: one question now rather than a
        // failure in every row later.
        bool letters = false;
        for (const ResultRow& row : m_pFrame->resultsPane()->Model().Rows()) {
            if (row.m_strNotify == kEnabled) {
                letters = true;
                break;
            }
        }
        const QFileInfo mail(
            QString::fromLocal8Bit(DataFolder::FromEnvironment().MailPath().c_str()));
        if (letters && (!mail.exists() || mail.size() == 0)) {
            withoutMail =
                AppMessageBox::Show(kNoMailSettingsQuestion, AppMessageBox::Buttons::YesNo,
                                    m_pFrame.get()) == AppMessageBox::Answer::Yes;
        }
    }
    m_pScanPanes->BeginRun(withoutMail);
    m_pMailQueue->BeginRun();
    // The shared settings are read at every Play: a change in Preferences
    // (or by hand in the file) applies to the next run. What could not be
    // used of them or of the letter rules is told once, where the run's
    // summary goes.
    const AppSettings settings = AppSettings::Load({}, &warnings);
    PageFetcher::Options fetch = FetchSettings::fromSettings(settings);
    if (const auto fewer = FetchSettings::fitOpenFiles(fetch)) {
        warnings.push_back(*fewer);
    }
    std::string told;
    for (const std::string& warning : warnings) {
        told += (told.empty() ? "" : "; ") + warning;
    }
    m_pFrame->ShowRunSummary(told);
    m_pScanRun->SetFetchOptions(fetch);
    m_pScanRun->SetLinkRules(LinkRulesOf(settings));
    m_pScanRun->OnPlay();
    m_pFrame->BeginProgress();
}

void TarnwickApplication::releaseRunLockWhenIdle() {
    if (g_bScanRunning || (m_pScanRun && m_pScanRun->IsScanThreadActive()) ||
        (m_pMailQueue && m_pMailQueue->Outstanding() > 0)) {
        return;
    }
    // Letters done are recorded as sent or failed soon after; until then
    // their records say "sending", which another run counts as sent.
    m_runLockTimer.stop();
    m_runLock.release();
}

void TarnwickApplication::OnMailSettings() {
    OpenMailSettings(m_pFrame.get());
}

HistoryWindow* TarnwickApplication::historyWindow() const {
    return m_pHistoryWnd.data();
}

void TarnwickApplication::OnHistory() {
    if (!m_pHistoryWnd) {
        m_pHistoryWnd = new HistoryWindow(
            HistoryDatabase::PathIn(DataFolder::FromEnvironment().Folder()), m_pFrame.get());
    }
    m_pHistoryWnd->Reload();
    m_pHistoryWnd->show();
    m_pHistoryWnd->raise();
    m_pHistoryWnd->activateWindow();
}

void TarnwickApplication::OnFind() {
    QLineEdit& box = m_pFrame->resultsPane()->SearchBox();
    box.setFocus(Qt::ShortcutFocusReason);
    box.selectAll();
}

void TarnwickApplication::OnCheckPageNow(int row) {
    ResultsPane* pane = m_pFrame->resultsPane();
    if (row < 0) {
        row = pane->CurrentRow();
    }
    if (row < 0 || row >= pane->RowCount()) {
        AppMessageBox::Show(QStringLiteral("Select the page to check in the results first."),
                            AppMessageBox::Buttons::Ok, m_pFrame.get());
        return;
    }
    if (g_bScanRunning) {
        AppMessageBox::Show(QStringLiteral("Task is running"), AppMessageBox::Buttons::Ok,
                            m_pFrame.get());
        return;
    }
    if (m_pageCheck.busy()) {
        AppMessageBox::Show(QStringLiteral("Another page is being checked. Try again when "
                                           "its result is shown."),
                            AppMessageBox::Buttons::Ok, m_pFrame.get());
        return;
    }
    const ResultRow target = pane->RowAt(row);
    const int rebuilds = pane->RebuildCount();
    const AppSettings settings = AppSettings::Load();
    PageFetcher::Options fetch = FetchSettings::fromSettings(settings);
    const LinkRules rules = LinkRulesOf(settings);
    SinglePageCheck::Checker checker;
    if (m_options.m_fnCheckPage) {
        checker = [check = m_options.m_fnCheckPage](const std::string& page,
                                                    const std::string& advertiser) {
            return PageResult(check(page, advertiser));
        };
    }
    m_pFrame->ShowRunSummary("Checking " + target.m_strPage + " now...");
    QPointer<MainWindow> frame = m_pFrame.get();
    // The result comes back on the check's thread and is shown on this one,
    // in the same row only: a run or a rebuild since then has other rows.
    m_pageCheck.start(
        target.m_strPage, target.m_strAdvertiser, fetch, rules,
        [frame, row, rebuilds, target](const PageResult& result, const PageEvidence& evidence) {
            QMetaObject::invokeMethod(
                qApp,
                [frame, row, rebuilds, target, result, evidence] {
                    if (frame == nullptr) {
                        return;
                    }
                    ResultsPane* shown = frame->resultsPane();
                    const ResultRow now = shown->RowAt(row);
                    if (g_bScanRunning || shown->RebuildCount() != rebuilds ||
                        now.m_strPage != target.m_strPage ||
                        now.m_strAdvertiser != target.m_strAdvertiser) {
                        frame->ShowRunSummary({});
                        return;
                    }
                    if (evidence.m_bChecked) {
                        shown->SetEvidence(row, evidence);
                    }
                    shown->SetResult(row, result);
                    frame->ShowRunSummary("Checked now: " + result.m_strStatus +
                                          " (not recorded in the history)");
                    frame->UpdateCommandUI();
                },
                Qt::QueuedConnection);
        },
        std::move(checker));
}

void TarnwickApplication::OnStop() {
    m_pScanRun->OnStop();
}

void TarnwickApplication::OnAdd() {
    RunAddCommand(m_pFrame.get(), *m_pFrame->profilePane());
}

void TarnwickApplication::OnDelete() {
    RunDeleteCommand(m_pFrame.get(), *m_pFrame->profilePane());
}

void TarnwickApplication::OnEditProfile() {
    RunEditProfileCommand(m_pFrame.get(), *m_pFrame->profilePane());
}

void TarnwickApplication::OnHelp() {
    const QString path = UserGuidePath();
    if (path.isEmpty()) {
        AppMessageBox::Show(QStringLiteral("The user guide (Help.html) is not installed with "
                                           "the program, so it cannot be shown."),
                            AppMessageBox::Buttons::Ok, m_pFrame.get());
        return;
    }
    // Where no browser starts, the user is told where the guide is instead
    // of seeing nothing happen.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        AppMessageBox::Show(QStringLiteral("No web browser could be started to show the user "
                                           "guide. It is at:\n\n%1")
                                .arg(QDir::toNativeSeparators(path)),
                            AppMessageBox::Buttons::Ok, m_pFrame.get());
    }
}

void TarnwickApplication::OnExportResults() {
    RunExportCommand(m_pFrame.get(), m_pFrame->resultsPane()->Model().Rows());
}

void TarnwickApplication::OnPreferences() {
    PreferencesDialog::Edit(m_pFrame.get());
}

void TarnwickApplication::OnAbout() {
    AboutDialog about;
    about.exec();
}

bool TarnwickApplication::RunExitPrompt() {
    const bool leave = tarnwick::RunExitPrompt(m_pFrame.get(), [this] {
        OnStop();
        if (m_pFrame) {
            m_pFrame->UpdateCommandUI();
        }
    });
    if (leave && m_pFrame) {
        m_pFrame->SaveLayout(m_options.m_strLayoutFile);
    }
    return leave;
}

void TarnwickApplication::FinishMail() {
    if (!m_pMailQueue || m_pMailQueue->Outstanding() == 0) {
        return;
    }
    QProgressDialog progress(QString(), QString(), 0, 0,
                             m_pFrame && m_pFrame->isVisible() ? m_pFrame.get() : nullptr);
    progress.setWindowTitle(QLatin1String(kProductName));
    // A mail server that accepts and never answers costs each letter its
    // whole time limit: the user may leave the queued letters behind and
    // wait only for those already on their way.
    auto* quit = new QPushButton(QStringLiteral("&Quit Without Them"));
    quit->setObjectName(QStringLiteral("QuitWithoutMail"));
    progress.setCancelButton(quit);
    disconnect(&progress, &QProgressDialog::canceled, &progress, &QProgressDialog::cancel);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(300);
    progress.setWindowModality(Qt::ApplicationModal);
    bool quitting = false;
    const auto tell = [&] {
        progress.setLabelText(
            quitting ? QStringLiteral("Waiting for the notification mails being sent...")
                     : QStringLiteral("Sending the remaining notification mails... (%1 left)")
                           .arg(m_pMailQueue->Outstanding()));
    };
    tell();
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &progress, tell);
    ticker.start(250);
    connect(&progress, &QProgressDialog::canceled, &progress, [&] {
        if (quitting) {
            return;
        }
        quitting = true;
        quit->setEnabled(false);
        for (const NotificationJob& job : m_pMailQueue->TakeQueued()) {
            if (m_pHistory) {
                m_pHistory->LetterDone(job, kNotSentQuit);
            }
        }
        tell();
    });
    // A sender may be showing a message box through the GUI thread meanwhile.
    GuiThread::RunAside([this] { m_pMailQueue->WaitUntilDrained(); });
}

void TarnwickApplication::OnExit() {
    if (RunExitPrompt()) {
        emit exitRequested(0);
    }
}

}  // namespace tarnwick
