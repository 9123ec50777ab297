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
#include <utility>

#include "common/ProductName.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PreferencesDialog.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/app/WindowScanPanes.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/GuiThread.h"
#include "gui/controls/SplashScreen.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/ProfileCommands.h"
#include "gui/history/HistoryWindow.h"
#include "gui/report/ExitPrompt.h"
#include "gui/report/ExportResults.h"
#include "gui/res/Resources.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "history/LetterRules.h"
#include "mail/NotificationQueue.h"
#include "scan/FetchSettings.h"
#include "scan/ScanSession.h"
#include "scan/StatusWords.h"
#include "store/AppSettings.h"
#include "store/DataFolder.h"

namespace tarnwick {
namespace {

// How the desktop program names itself in the data folder's scan lock.
constexpr const char* kRunLockHolder = "tarnwick, the desktop program";

constexpr const char* kNoMailSettingsQuestion = QT_TRANSLATE_NOOP(
    "AppMessageBox",
    "No mail settings are stored, so no webmaster can be notified.\n\n"
    "Check the pages without mailing? (No: every letter due is noted as not sent.)");

// What a page's evidence is judged with, as the settings say: the same for a
// run and for one page checked on its own.
LinkRules linkRulesOf(const AppSettings& settings) {
    LinkRules rules;
    rules.m_linkFarmLinks = settings.m_linkFarmLinks;
    rules.m_render = settings.m_render;
    return rules;
}

}  // namespace

TarnwickApplication::TarnwickApplication(StartOptions options) : m_options(std::move(options)) {
    initResources();
}

TarnwickApplication::~TarnwickApplication() {
    // The scan thread stops; a call of it still waiting for the window (a
    // status, or the report prompt of a run that just ended) is dropped, so
    // the thread ends without the window.
    if (m_scanRun) {
        m_scanRun->requestShutdown();
    }
    m_pageCheck.cancel();
    if (m_scanPanes) {
        m_scanPanes->close();
    }
    if (m_scanRun) {
        m_scanRun->waitForScanThread();
    }
    // Letters still queued are sent before the program ends (their outcome
    // reaches the history through the session, no longer the closed window).
    finishMail();
    m_mailQueue.reset();
    // What is still queued for the history is written before the window goes.
    if (m_scanRun) {
        m_scanRun->setHistory(nullptr);
    }
    m_history.reset();
    m_runLockTimer.stop();
    m_runLock.release();
    delete m_historyWnd.data();
    m_scanPanes.reset();
    m_frame.reset();
    m_scanRun.reset();
}

bool TarnwickApplication::start() {
    SplashScreen::showFor(m_options.m_splashMs);
    DataFolder::fromEnvironment().ensureExists();

    // The plan is taken from the window's models on the GUI thread.
    m_scanRun = std::make_unique<ScanSession>([this] { return m_scanPanes->plan(); },
                                              m_options.m_checkPage);
    m_frame = std::make_unique<MainWindow>(m_scanRun->runState());
    if (!m_frame->create()) {
        m_frame.reset();
        return false;
    }
    m_scanPanes = std::make_unique<WindowScanPanes>(*m_frame);
    m_mailQueue = std::make_unique<NotificationQueue>(*m_scanPanes);
    m_mailQueue->setLimits(m_options.m_mailLimits);
    // The history's writer thread tells of a database it cannot use; the
    // window shows it where the run's summary goes.
    m_history = std::make_unique<HistoryRecorder>(
        HistoryDatabase::pathIn(DataFolder::fromEnvironment().folder()), kSourceDesktop,
        [frame = m_frame.get()](const std::string& message) {
            QMetaObject::invokeMethod(
                frame, [frame, message] { frame->showRunSummary(message); }, Qt::QueuedConnection);
        });
    m_frame->resultsPane()->setBeforeReadingHistory(
        [history = m_history.get()] { history->flush(); });
    // The end of every letter: the history records it and the window
    // shows it, told by the session.
    m_mailQueue->setLetterListener(
        [session = m_scanRun.get()](const NotificationJob& job, const std::string& outcome) {
            session->letterDone(job, outcome);
        });
    // Recorded before it can reach the server: a program ended mid-letter
    // never mails the webmaster a second time.
    m_mailQueue->setSendingListener(
        [history = m_history.get()](const NotificationJob& job) { history->letterSending(job); });
    m_scanPanes->setStartNotification(
        [queue = m_mailQueue.get()](const NotificationJob& job) { queue->enqueue(job); });
    m_scanPanes->setOfferReport([this, frame = m_frame.get()] {
        m_reportOffer.offer(frame, frame->resultsPane()->model().rows());
    });
    m_scanRun->addListener(m_scanPanes.get());
    m_scanRun->setHistory(m_history.get());
    m_frame->setExitPrompt([this] { return runExitPrompt(); });
    m_frame->setLetterCounts([this] {
        LetterCounts letters = m_scanPanes->letters();
        letters.m_outstanding = m_mailQueue->outstanding();
        return letters;
    });
    connectCommands();
    m_runLockTimer.setInterval(250);
    connect(&m_runLockTimer, &QTimer::timeout, this, [this] { releaseRunLockWhenIdle(); });
    // Maximised at the first start; where no window manager acts on that,
    // the window still covers the screen. Later starts come back as the
    // window was left.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        m_frame->setGeometry(screen->availableGeometry());
    }
    if (m_frame->restoreLayout(m_options.m_layoutFile)) {
        m_frame->show();
    } else {
        m_frame->showMaximized();
    }

    m_scanRun->runState().setProfilesToPlay(m_frame->profilePane()->profileRowCount() > 0);
    m_frame->setStandardCommandsEnabled(true);
    return true;
}

void TarnwickApplication::connectCommands() {
    const MainWindow::Actions& actions = m_frame->actions();
    const struct {
        QAction* action;
        void (TarnwickApplication::*handler)();
    } commands[] = {
        {actions.play, &TarnwickApplication::onPlay},
        {actions.stop, &TarnwickApplication::onStop},
        {actions.addProfile, &TarnwickApplication::onAdd},
        {actions.deleteProfile, &TarnwickApplication::onDelete},
        {actions.editProfile, &TarnwickApplication::onEditProfile},
        {actions.toolHelp, &TarnwickApplication::onHelp},
        {actions.helpTopic, &TarnwickApplication::onHelp},
        {actions.toolAbout, &TarnwickApplication::onAbout},
        {actions.about, &TarnwickApplication::onAbout},
        {actions.toolExit, &TarnwickApplication::onExit},
        {actions.exit, &TarnwickApplication::onExit},
        {actions.mailSettings, &TarnwickApplication::onMailSettings},
        {actions.preferences, &TarnwickApplication::onPreferences},
        {actions.history, &TarnwickApplication::onHistory},
        {actions.exportResults, &TarnwickApplication::onExportResults},
        {actions.find, &TarnwickApplication::onFind},
    };
    connect(m_frame->actions().checkPageNow, &QAction::triggered, this,
            [this] { onCheckPageNow(); });
    connect(m_frame->resultsPane(), &ResultsPane::checkPageNowRequested, this,
            [this](int row) { onCheckPageNow(row); });
    for (const auto& command : commands) {
        const auto handler = command.handler;
        connect(command.action, &QAction::triggered, this, [this, handler] {
            (this->*handler)();
            if (m_frame) {
                m_frame->updateCommandUi();
            }
        });
    }
}

void TarnwickApplication::onPlay() {
    if (m_scanRun->runState().isRunning()) {
        return;
    }
    // One scan per data folder: a tarnwick-cli scan running now (the weekly
    // timer) would mail the same webmasters before either run has recorded
    // its letters. The lock is kept from a run's Play until its letters are
    // out, so a Play while they are still going needs no new one.
    if (!m_runLock.isHeld()) {
        m_runLock = RunLock::tryLock(DataFolder::fromEnvironment().folder(), kRunLockHolder);
        if (m_runLock.state() == RunLock::State::Busy) {
            AppMessageBox::show(tr("Another scan of this data folder is running (%1).\n\nPlay "
                                   "again when it has ended.")
                                    .arg(toQ(m_runLock.holder())),
                                AppMessageBox::Buttons::Ok, m_frame.get());
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
        const DataFolder folder = DataFolder::fromEnvironment();
        std::vector<std::string> profiles;
        ProfilePane* pane = m_frame->profilePane();
        profiles.reserve(static_cast<std::size_t>(pane->profileRowCount()));
        for (int row = 0; row < pane->profileRowCount(); ++row) {
            profiles.push_back(pane->profileText8(row));
        }
        m_history->setProfileTexts(std::move(profiles));
        m_history->setLetterRules(readLetterRules(folder.folder(), &warnings));
    }
    bool withoutMail = m_frame->actions().checkWithoutMail->isChecked();
    if (!withoutMail) {
        // Letters are due but cannot go out: one question now rather than a
        // failure in every row later.
        bool letters = false;
        for (const ResultRow& row : m_frame->resultsPane()->model().rows()) {
            if (row.m_notify == kEnabled) {
                letters = true;
                break;
            }
        }
        const QFileInfo mail(
            QString::fromLocal8Bit(DataFolder::fromEnvironment().mailPath().c_str()));
        if (letters && (!mail.exists() || mail.size() == 0)) {
            withoutMail =
                AppMessageBox::show(kNoMailSettingsQuestion, AppMessageBox::Buttons::YesNo,
                                    m_frame.get()) == AppMessageBox::Answer::Yes;
        }
    }
    m_scanPanes->beginRun(withoutMail);
    m_mailQueue->beginRun();
    // The shared settings are read at every Play: a change in Preferences
    // (or by hand in the file) applies to the next run. What could not be
    // used of them or of the letter rules is told once, where the run's
    // summary goes.
    const AppSettings settings = AppSettings::load({}, &warnings);
    PageFetcher::Options fetch = FetchSettings::fromSettings(settings);
    if (const auto fewer = FetchSettings::fitOpenFiles(fetch)) {
        warnings.push_back(*fewer);
    }
    std::string told;
    for (const std::string& warning : warnings) {
        told += (told.empty() ? "" : "; ") + warning;
    }
    m_frame->showRunSummary(told);
    m_scanRun->setFetchOptions(fetch);
    m_scanRun->setLinkRules(linkRulesOf(settings));
    m_reportOffer.setSaved(false);
    m_scanRun->onPlay();
    m_frame->beginProgress();
}

void TarnwickApplication::releaseRunLockWhenIdle() {
    if ((m_scanRun && (m_scanRun->runState().isRunning() || m_scanRun->isScanThreadActive())) ||
        (m_mailQueue && m_mailQueue->outstanding() > 0)) {
        return;
    }
    // Letters done are recorded as sent or failed soon after; until then
    // their records say "sending", which another run counts as sent.
    m_runLockTimer.stop();
    m_runLock.release();
}

void TarnwickApplication::onMailSettings() {
    openMailSettings(m_frame.get());
}

HistoryWindow* TarnwickApplication::historyWindow() const {
    return m_historyWnd.data();
}

void TarnwickApplication::onHistory() {
    if (!m_historyWnd) {
        m_historyWnd = new HistoryWindow(
            HistoryDatabase::pathIn(DataFolder::fromEnvironment().folder()), m_frame.get());
    }
    m_historyWnd->reload();
    m_historyWnd->show();
    m_historyWnd->raise();
    m_historyWnd->activateWindow();
}

void TarnwickApplication::onFind() {
    QLineEdit& box = m_frame->resultsPane()->searchBox();
    box.setFocus(Qt::ShortcutFocusReason);
    box.selectAll();
}

void TarnwickApplication::onCheckPageNow(int row) {
    ResultsPane* pane = m_frame->resultsPane();
    if (row < 0) {
        row = pane->currentRow();
    }
    if (row < 0 || row >= pane->rowCount()) {
        AppMessageBox::show(tr("Select the page to check in the results first."),
                            AppMessageBox::Buttons::Ok, m_frame.get());
        return;
    }
    if (m_scanRun->runState().isRunning()) {
        AppMessageBox::show(tr("Task is running"), AppMessageBox::Buttons::Ok, m_frame.get());
        return;
    }
    if (m_pageCheck.busy()) {
        AppMessageBox::show(tr("Another page is being checked. Try again when "
                               "its result is shown."),
                            AppMessageBox::Buttons::Ok, m_frame.get());
        return;
    }
    const ResultRow target = pane->rowAt(row);
    const int rebuilds = pane->rebuildCount();
    const AppSettings settings = AppSettings::load();
    PageFetcher::Options fetch = FetchSettings::fromSettings(settings);
    const LinkRules rules = linkRulesOf(settings);
    SinglePageCheck::Checker checker;
    if (m_options.m_checkPage) {
        checker = [check = m_options.m_checkPage](const std::string& page,
                                                  const std::string& advertiser) {
            return check(page, advertiser);
        };
    }
    m_frame->showRunSummary(tr("Checking %1 now...").arg(toQ(target.m_page)));
    QPointer<MainWindow> frame = m_frame.get();
    // Ended after the window: alive while the window is.
    const RunState* runState = &m_scanRun->runState();
    // The result comes back on the check's thread and is shown on this one,
    // in the same row only: a run or a rebuild since then has other rows.
    m_pageCheck.start(
        target.m_page, target.m_advertiser, fetch, rules,
        [frame, runState, row, rebuilds, target](const PageResult& result,
                                                 const PageEvidence& evidence) {
            QMetaObject::invokeMethod(
                qApp,
                [frame, runState, row, rebuilds, target, result, evidence] {
                    if (frame == nullptr) {
                        return;
                    }
                    ResultsPane* shown = frame->resultsPane();
                    const ResultRow now = shown->rowAt(row);
                    if (runState->isRunning() || shown->rebuildCount() != rebuilds ||
                        now.m_page != target.m_page || now.m_advertiser != target.m_advertiser) {
                        frame->showRunSummary(QString());
                        return;
                    }
                    if (evidence.m_checked) {
                        shown->setEvidence(row, evidence);
                    }
                    shown->setResult(row, result);
                    frame->showRunSummary(tr("Checked now: %1 (not recorded in the history)")
                                              .arg(toQ(resultWord(result.m_result))));
                    frame->updateCommandUi();
                },
                Qt::QueuedConnection);
        },
        std::move(checker));
}

void TarnwickApplication::onStop() {
    m_scanRun->onStop();
}

void TarnwickApplication::onAdd() {
    runAddCommand(m_frame.get(), *m_frame->profilePane(), m_scanRun->runState());
}

void TarnwickApplication::onDelete() {
    runDeleteCommand(m_frame.get(), *m_frame->profilePane(), m_scanRun->runState());
}

void TarnwickApplication::onEditProfile() {
    runEditProfileCommand(m_frame.get(), *m_frame->profilePane(), m_scanRun->runState());
}

void TarnwickApplication::onHelp() {
    const QString path = userGuidePath();
    if (path.isEmpty()) {
        AppMessageBox::show(tr("The user guide (Help.html) is not installed with "
                               "the program, so it cannot be shown."),
                            AppMessageBox::Buttons::Ok, m_frame.get());
        return;
    }
    // Where no browser starts, the user is told where the guide is instead
    // of seeing nothing happen.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        AppMessageBox::show(tr("No web browser could be started to show the user "
                               "guide. It is at:\n\n%1")
                                .arg(QDir::toNativeSeparators(path)),
                            AppMessageBox::Buttons::Ok, m_frame.get());
    }
}

void TarnwickApplication::onExportResults() {
    runExportCommand(m_frame.get(), m_frame->resultsPane()->model().rows());
}

void TarnwickApplication::onPreferences() {
    PreferencesDialog::edit(m_frame.get());
}

void TarnwickApplication::onAbout() {
    AboutDialog about;
    about.exec();
}

bool TarnwickApplication::runExitPrompt() {
    const bool leave = tarnwick::runExitPrompt(m_frame.get(), m_scanRun->runState().isRunning(),
                                               m_reportOffer.isSaved(), [this] {
                                                   onStop();
                                                   if (m_frame) {
                                                       m_frame->updateCommandUi();
                                                   }
                                               });
    if (leave && m_frame) {
        m_frame->saveLayout(m_options.m_layoutFile);
    }
    return leave;
}

void TarnwickApplication::finishMail() {
    if (!m_mailQueue || m_mailQueue->outstanding() == 0) {
        return;
    }
    QProgressDialog progress(QString(), QString(), 0, 0,
                             m_frame && m_frame->isVisible() ? m_frame.get() : nullptr);
    progress.setWindowTitle(QLatin1String(kProductName));
    // A mail server that accepts and never answers costs each letter its
    // whole time limit: the user may leave the queued letters behind and
    // wait only for those already on their way.
    auto* quit = new QPushButton(tr("&Quit Without Them"));
    quit->setObjectName(QStringLiteral("QuitWithoutMail"));
    progress.setCancelButton(quit);
    disconnect(&progress, &QProgressDialog::canceled, &progress, &QProgressDialog::cancel);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(300);
    progress.setWindowModality(Qt::ApplicationModal);
    bool quitting = false;
    const auto tell = [&] {
        progress.setLabelText(quitting ? tr("Waiting for the notification mails being sent...")
                                       : tr("Sending the remaining notification mails... (%1 left)")
                                             .arg(m_mailQueue->outstanding()));
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
        for (const NotificationJob& job : m_mailQueue->takeQueued()) {
            m_scanRun->letterDone(job, kNotSentQuit);
        }
        tell();
    });
    // A sender may be showing a message box through the GUI thread meanwhile.
    GuiThread::runAside([this] { m_mailQueue->waitUntilDrained(); });
}

void TarnwickApplication::onExit() {
    if (runExitPrompt()) {
        emit exitRequested(0);
    }
}

}  // namespace tarnwick
