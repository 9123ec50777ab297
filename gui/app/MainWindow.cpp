#include "gui/app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>

#include "gui/app/ProductInfo.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/controls/MainToolBar.h"
#include "gui/controls/PaneSplitter.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/TextCodec.h"
#include "gui/res/Resources.h"
#include "scan/RunState.h"

namespace tarnwick {
namespace {

// The keyboard's lock state changes without telling a window that does not
// have the focus, so the indicators look at it this often.
constexpr int kLocksPollMs = 100;
// The results pane never gets narrower than this when the window shrinks.
constexpr int kResultsMinimumWidth = 240;

// The end of a long run, told through the desktop's notification service;
// nothing when there is none.
void notifyDesktop(const QString& text) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QString::fromLatin1(kProductName) << 0u << QStringLiteral("tarnwick")
         << QStringLiteral("Check finished") << text << QStringList() << QVariantMap() << 10000;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}

}  // namespace

MainWindow::MainWindow(RunState& runState, QWidget* parent)
    : QMainWindow(parent), m_runState(runState) {
    initResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromLatin1(kProductName));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/tarnwick.png")));
}

MainWindow::~MainWindow() {
    m_runState.setListener({});
}

bool MainWindow::create() {
    if (!createToolBar()) {
        qDebug("Failed to create toolbar");
        return false;
    }
    if (!createStatusBar()) {
        qDebug("Failed to create status bar");
        return false;
    }
    createMenu();
    if (!createPanes()) {
        return false;
    }
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { focusNextPane(true); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previous, &QShortcut::activated, this, [this] { focusNextPane(false); });
    // Play and Stop follow the run state, the message pane the scan's page:
    // queued when the scan thread changes them, at once on this thread.
    connect(this, &MainWindow::runStateChanged, this, &MainWindow::updateCommandUi);
    m_runState.setListener([this] { emit runStateChanged(); });
    connect(&m_locksTimer, &QTimer::timeout, this, &MainWindow::updateIndicators);
    // Letters still going out after a run change its summary line.
    connect(&m_locksTimer, &QTimer::timeout, this, [this] {
        if (m_summary->isVisible()) {
            refreshSummary();
        }
        // A page that keeps the run waiting says so as the seconds pass.
        if (m_runState.isRunning() && m_runTracked) {
            updateProgress();
        }
    });
    m_locksTimer.start(kLocksPollMs);
    updateCommandUi();
    updateIndicators();
    return true;
}

QAction* MainWindow::addToolButton(const char* name, const QString& text, const char* themeIcon) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setToolTip(text);
    action->setStatusTip(text);
    const QIcon theme = QIcon::fromTheme(QString::fromLatin1(themeIcon));
    if (!theme.isNull()) {
        action->setIcon(theme);
        action->setProperty("themeIcon", true);
    }
    m_toolBar->addAction(action);
    return action;
}

bool MainWindow::createToolBar() {
    m_toolBar = new MainToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(kToolBar);
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_actions.play = addToolButton("playAction", QStringLiteral("Play"), "media-playback-start");
    m_actions.stop = addToolButton("stopAction", QStringLiteral("Stop"), "media-playback-stop");
    m_actions.addProfile = addToolButton("addProfileAction", QStringLiteral("Add"), "list-add");
    m_actions.deleteProfile =
        addToolButton("deleteProfileAction", QStringLiteral("Delete"), "edit-delete");
    m_actions.editProfile =
        addToolButton("editProfileAction", QStringLiteral("Edit Profile"), "document-properties");
    m_actions.toolHelp = addToolButton("toolHelpAction", QStringLiteral("Help"), "help-contents");
    m_actions.toolAbout = addToolButton("toolAboutAction", QStringLiteral("About"), "help-about");
    m_actions.toolExit =
        addToolButton("toolExitAction", QStringLiteral("Exit"), "application-exit");
    m_toolBar->loadColorImages(48, QStringLiteral(":/pictures/toolbar.png"));
    m_toolBar->addSeparator();
    QAction* noMail = addToolButton("checkWithoutMailAction",
                                    QStringLiteral("Check without mailing"), "mail-mark-notjunk");
    m_actions.checkWithoutMail = noMail;
    noMail->setCheckable(true);
    noMail->setText(QStringLiteral("Check &without mailing"));
    // The buttons take the focus from the keyboard (Tab), so every command is
    // reachable without the mouse even where the menu is not used.
    for (QAction* action : m_toolBar->actions()) {
        if (QWidget* button = m_toolBar->widgetForAction(action)) {
            button->setFocusPolicy(Qt::TabFocus);
        }
    }
    // The button that shows the buttons a narrow window cannot hold.
    if (auto* more = m_toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("More buttons"));
    }
    return true;
}

bool MainWindow::createStatusBar() {
    m_statusBar = statusBar();
    m_statusBar->setObjectName(kStatusBar);
    m_message = new QLabel(QStringLiteral("Ready"), m_statusBar);
    m_message->setObjectName(QStringLiteral("StatusMessage"));
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusBar->addWidget(m_message, 1);
    m_runSummary = new QLabel(m_statusBar);
    m_runSummary->setObjectName(QStringLiteral("RunSummary"));
    m_runSummary->hide();
    m_statusBar->addPermanentWidget(m_runSummary);
    const struct {
        const char* objectName;
        const char* name;
    } indicators[] = {{kCapsLockIndicator, "Caps Lock"},
                      {kNumLockIndicator, "Num Lock"},
                      {kScrollLockIndicator, "Scroll Lock"}};
    m_summary = new QLabel(m_statusBar);
    m_summary->setObjectName(QStringLiteral("RunSummary"));
    m_summary->hide();
    m_statusBar->addPermanentWidget(m_summary);
    m_pageLabel = new QLabel(m_statusBar);
    m_pageLabel->setObjectName(QStringLiteral("RunPage"));
    m_pageLabel->hide();
    m_statusBar->addPermanentWidget(m_pageLabel);
    m_fetchedLabel = new QLabel(m_statusBar);
    m_fetchedLabel->setObjectName(QStringLiteral("RunFetched"));
    m_fetchedLabel->hide();
    m_statusBar->addPermanentWidget(m_fetchedLabel);
    m_progress = new QProgressBar(m_statusBar);
    m_progress->setObjectName(QStringLiteral("RunProgress"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    m_progress->hide();
    m_statusBar->addPermanentWidget(m_progress);
    m_timeLeft = new QLabel(m_statusBar);
    m_timeLeft->setObjectName(QStringLiteral("RunTimeLeft"));
    m_timeLeft->hide();
    m_statusBar->addPermanentWidget(m_timeLeft);
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(m_statusBar);
        label->setObjectName(indicators[i].objectName);
        label->setAccessibleName(QString::fromLatin1(indicators[i].name));
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(width);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        m_statusBar->addPermanentWidget(label);
        m_indicators[i] = label;
    }
    return true;
}

void MainWindow::createMenu() {
    const auto item = [](QMenu* menu, const char* name, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        return action;
    };
    // The tool bar's own commands, in a menu too: the same action, so a menu
    // item is enabled exactly when its button is, and its keys work while the
    // tool bar is hidden.
    const auto shared = [](QMenu* menu, QAction* action, const QString& text,
                           const QList<QKeySequence>& keys) {
        action->setIconText(action->text());
        action->setText(text);
        action->setShortcuts(keys);
        menu->addAction(action);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    m_actions.preferences = item(file, "preferencesAction", QStringLiteral("&Preferences..."));
    m_actions.exportResults =
        item(file, "exportResultsAction", QStringLiteral("Export &Results..."));
    file->addSeparator();
    // Ctrl+Q leaves as Exit does: through the exit question.
    m_actions.exit = item(file, "exitAction", QStringLiteral("&Exit"));
    m_actions.exit->setShortcut(QKeySequence::Quit);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toolbar = m_toolBar->toggleViewAction();
    toolbar->setText(QStringLiteral("&Toolbar"));
    view->addAction(toolbar);
    toolbar->setObjectName(QStringLiteral("toolBarAction"));
    m_actions.toolBar = toolbar;
    m_actions.statusBar = item(view, "statusBarAction", QStringLiteral("&Status Bar"));
    m_actions.statusBar->setEnabled(false);
    view->addSeparator();
    m_actions.find = item(view, "findAction", QStringLiteral("&Find..."));
    m_actions.find->setShortcut(QKeySequence::Find);
    createSortMenu(view->addMenu(QStringLiteral("Sort &by")));
    view->addSeparator();
    m_actions.history = item(view, "historyAction", QStringLiteral("&History..."));

    QMenu* scan = menuBar()->addMenu(QStringLiteral("&Scan"));
    shared(scan, m_actions.play, QStringLiteral("&Play"), {QKeySequence(Qt::Key_F5)});
    shared(scan, m_actions.stop, QStringLiteral("&Stop"),
           {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::SHIFT | Qt::Key_F5)});
    scan->addSeparator();
    scan->addAction(m_actions.checkWithoutMail);
    m_actions.checkPageNow =
        item(scan, "checkPageNowAction", QStringLiteral("&Check This Page Now"));
    m_actions.checkPageNow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

    QMenu* profile = menuBar()->addMenu(QStringLiteral("&Profile"));
    shared(profile, m_actions.addProfile, QStringLiteral("&Add..."),
           {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_N)});
    shared(profile, m_actions.editProfile, QStringLiteral("&Edit Profile..."),
           {QKeySequence(Qt::Key_F2)});
    shared(profile, m_actions.deleteProfile, QStringLiteral("&Delete..."),
           {QKeySequence(Qt::Key_Delete)});
    profile->addSeparator();
    m_actions.mailSettings =
        item(profile, "mailSettingsAction", QStringLiteral("&Mail Settings..."));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    m_actions.about = item(help, "aboutAction", QStringLiteral("&About Osgrel Tarnwick..."));
    help->addSeparator();
    m_actions.helpTopic = item(help, "helpTopicAction", QStringLiteral("&Help Topic..."));
    m_actions.helpTopic->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::createSortMenu(QMenu* menu) {
    // The keyboard's way to what a click on a heading does: one column at a
    // time, a second choice of the same column turns the order round, and
    // "Run Order" goes back to the order the run checks the pages in.
    menu->setObjectName(QStringLiteral("SortMenu"));
    auto* group = new QActionGroup(menu);
    const auto add = [this, menu, group](const QString& text, int column) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setData(column);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, column] {
            const QHeaderView* header = m_right->list().horizontalHeader();
            const bool again = header->sortIndicatorSection() == column && column >= 0;
            const Qt::SortOrder order = again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                            ? Qt::DescendingOrder
                                            : Qt::AscendingOrder;
            m_right->sortBy(column, order);
        });
        return action;
    };
    add(QStringLiteral("&Run Order"), -1)->setChecked(true);
    menu->addSeparator();
    const QString texts[] = {QStringLiteral("&Advertiser's Site"),
                             QStringLiteral("&Publisher's Site"),
                             QStringLiteral("&Mail Address"),
                             QStringLiteral("&Email Notification"),
                             QStringLiteral("&Status"),
                             QStringLiteral("Since &last run"),
                             QStringLiteral("&Details")};
    for (int column = 0; column < ResultListModel::ColumnCount; ++column) {
        add(texts[column], column);
    }
    // A heading clicked by mouse ticks its item too.
    connect(menu, &QMenu::aboutToShow, this, [this, group] {
        const int sorted = m_right->list().horizontalHeader()->sortIndicatorSection();
        for (QAction* action : group->actions()) {
            const int column = action->data().toInt();
            action->setChecked(
                column == sorted ||
                (column < 0 && (sorted < 0 || sorted >= ResultListModel::ColumnCount)));
        }
    });
}

bool MainWindow::createPanes() {
    m_splitter = new PaneSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(kSplitter);
    m_left = new ProfilePane;
    m_right = new ResultsPane;
    m_splitter->addWidget(m_left);
    m_splitter->addWidget(m_right);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    // A small window keeps a usable results pane instead of a sliver.
    m_splitter->setChildrenCollapsible(false);
    m_right->setMinimumWidth(kResultsMinimumWidth);
    m_splitter->setSizes({kProfilePaneWidth, 225});
    setCentralWidget(m_splitter);

    m_left->setResultsPane(m_right);
    m_right->setProfilePane(m_left);
    m_left->list().setPanes(this);
    m_right->list().setPanes(this);
    m_left->list().setRunState(&m_runState);
    m_right->list().setRunState(&m_runState);
    // The summary line is made again when its rows change too: Stop marks
    // the rows left "Stopped by user" after the run has ended.
    const auto rowsChanged = [this] { m_lastLetters.reset(); };
    connect(&m_right->model(), &QAbstractItemModel::dataChanged, this, rowsChanged);
    connect(&m_right->model(), &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(&m_right->model(), &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(&m_right->model(), &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(&m_left->list(), &PaneTableView::commandStateChanged, this,
            &MainWindow::updateCommandUi);
    connect(&m_right->list(), &PaneTableView::commandStateChanged, this,
            &MainWindow::updateCommandUi);
    // The results pane first: the profile pane's loading rebuilds it.
    m_right->onInitialUpdate();
    m_left->onInitialUpdate();
    return true;
}

void MainWindow::setStandardCommandsEnabled(bool enabled) {
    m_standardCommands = enabled;
    updateCommandUi();
}

void MainWindow::updateCommandUi() {
    if (m_actions.helpTopic == nullptr) {
        return;  // the menu is not made yet
    }
    m_actions.play->setEnabled(m_runState.isPlayEnabled());
    m_actions.stop->setEnabled(m_runState.isStopEnabled());
    for (QAction* action :
         {m_actions.addProfile, m_actions.toolHelp, m_actions.toolAbout, m_actions.toolExit}) {
        action->setEnabled(m_standardCommands);
    }
    // With no profile there is nothing to edit or delete.
    const bool anyProfile = m_left->profileRowCount() > 0;
    m_actions.deleteProfile->setEnabled(m_standardCommands && anyProfile);
    m_actions.editProfile->setEnabled(anyProfile);
    const bool running = m_runState.isRunning();
    m_actions.checkPageNow->setEnabled(!running && m_right->rowCount() > 0);
    if (running) {
        const int row = m_startedPage.load();
        if (row >= 0 && row != m_shownPage && row < m_right->rowCount()) {
            showProgress(row + 1, m_right->rowCount(), m_right->rowAt(row).m_page);
            m_shownPage = row;
            m_pageTimer.start();
            m_right->scrollToRow(row);
        }
        updateProgress();
    } else if (m_progressShown || m_runTracked) {
        showReady();
    } else if (m_summary->isVisible()) {
        refreshSummary();
    }
}

void MainWindow::beginProgress() {
    m_runTracked = true;
    m_runTimer.start();
    m_summary->hide();
    m_summary->clear();
    m_progress->setRange(0, std::max(1, m_right->rowCount()));
    m_progress->setValue(0);
    m_pageLabel->clear();
    m_fetchedLabel->clear();
    m_timeLeft->clear();
    m_fetched.store(0);
    m_progress->show();
    m_pageLabel->show();
    m_fetchedLabel->show();
    m_timeLeft->show();
}

void MainWindow::updateProgress() {
    if (!m_runTracked) {
        beginProgress();
    }
    const int pages = m_right->rowCount();
    const int row = m_startedPage.load();
    if (row < 0 || row >= pages) {
        return;
    }
    m_progress->setRange(0, pages);
    m_progress->setValue(row);
    m_pageLabel->setText(QStringLiteral("Page %1 of %2").arg(row + 1).arg(pages));
    // Pages come back side by side: the time left follows the pace of the
    // fetches, not of the rows a slow page holds back.
    const int fetched = std::min(m_fetched.load(), pages);
    const int waited = m_shownPage == row && m_pageTimer.isValid()
                           ? static_cast<int>(m_pageTimer.elapsed() / 1000)
                           : 0;
    m_fetchedLabel->setText(QString::fromUtf8(
        describeFetchProgress(fetched, m_right->rowAt(row).m_page, waited).c_str()));
    const int left = estimateSecondsLeft(std::max(row, fetched), pages,
                                         static_cast<double>(m_runTimer.elapsed()) / 1000.0);
    m_timeLeft->setText(toQ(describeTimeLeft(left)));
}

void MainWindow::endProgress() {
    if (!m_runTracked) {
        return;
    }
    m_runTracked = false;
    m_progress->hide();
    m_pageLabel->hide();
    m_fetchedLabel->hide();
    m_timeLeft->hide();
    m_lastLetters.reset();
    refreshSummary();
    m_summary->show();
    if (m_runTimer.elapsed() >= static_cast<qint64>(m_notifyAfterSeconds) * 1000) {
        if (m_notify) {
            m_notify(m_summary->text());
        } else {
            notifyDesktop(m_summary->text());
        }
        QApplication::alert(this);
    }
}

void MainWindow::refreshSummary() {
    const LetterCounts letters = m_letters ? m_letters() : LetterCounts{};
    // Letters still going out change the line until the last one is done.
    if (m_lastLetters && *m_lastLetters == letters) {
        return;
    }
    m_lastLetters = letters;
    m_summary->setText(toQ(summariseRun(m_right->model().rows(), letters)));
}

QString MainWindow::pageText() const {
    return m_pageLabel->isVisible() ? m_pageLabel->text() : QString();
}

QString MainWindow::fetchedText() const {
    return m_fetchedLabel->isVisible() ? m_fetchedLabel->text() : QString();
}

QString MainWindow::summaryText() const {
    return m_summary->text();
}

bool MainWindow::restoreLayout(const QString& settingsPath) {
    if (settingsPath.isEmpty()) {
        return false;
    }
    QSettings settings(settingsPath, QSettings::IniFormat);
    const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    const bool placed = !geometry.isEmpty() && restoreGeometry(geometry);
    const QByteArray splitter = settings.value(QStringLiteral("window/splitter")).toByteArray();
    if (!splitter.isEmpty()) {
        m_splitter->restoreState(splitter);
    }
    const QByteArray profiles = settings.value(QStringLiteral("profiles/header")).toByteArray();
    if (!profiles.isEmpty()) {
        m_left->list().horizontalHeader()->restoreState(profiles);
    }
    const QByteArray results = settings.value(QStringLiteral("results/header")).toByteArray();
    if (!results.isEmpty()) {
        m_right->list().horizontalHeader()->restoreState(results);
    }
    return placed;
}

void MainWindow::saveLayout(const QString& settingsPath) const {
    if (settingsPath.isEmpty()) {
        return;
    }
    QSettings settings(settingsPath, QSettings::IniFormat);
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/splitter"), m_splitter->saveState());
    settings.setValue(QStringLiteral("profiles/header"),
                      m_left->list().horizontalHeader()->saveState());
    settings.setValue(QStringLiteral("results/header"),
                      m_right->list().horizontalHeader()->saveState());
    settings.sync();
}

void MainWindow::updateIndicators() {
    const KeyboardLocks locks = readKeyboardLocks();
    if (!(locks == m_locks)) {
        m_locks = locks;
        m_indicators[0]->setText(locks.m_caps ? QStringLiteral("CAP") : QString());
        m_indicators[1]->setText(locks.m_num ? QStringLiteral("NUM") : QString());
        m_indicators[2]->setText(locks.m_scroll ? QStringLiteral("SCRL") : QString());
    }
}

void MainWindow::notePageStarted(int row) {
    m_startedPage.store(row);
    emit runStateChanged();
}

void MainWindow::notePagesFetched(int fetched) {
    m_fetched.store(fetched);
}

void MainWindow::showProgress(int page, int pages, const std::string& address) {
    m_progressShown = true;
    m_message->setText(
        QStringLiteral("Checking page %1 of %2: %3").arg(page).arg(pages).arg(toQ(address)));
}

void MainWindow::showReady() {
    endProgress();
    m_progressShown = false;
    m_startedPage.store(-1);
    m_shownPage = -1;
    m_message->setText(QStringLiteral("Ready"));
}

QString MainWindow::messageText() const {
    return m_message->text();
}

void MainWindow::showRunSummary(const std::string& summary) {
    m_runSummary->setText(toQ(summary));
    m_runSummary->setVisible(!summary.empty());
}

QString MainWindow::runSummaryText() const {
    return m_runSummary->text();
}

void MainWindow::focusNextPane(bool forward) {
    // Two panes: the next and the previous one are the other one. From the
    // results' filter, above their list, the list is next: the rows just
    // chosen are what the user goes on with.
    Q_UNUSED(forward);
    QWidget* focus = QApplication::focusWidget();
    const auto within = [focus](QWidget* pane) {
        return focus != nullptr && (pane == focus || pane->isAncestorOf(focus));
    };
    PaneTableView& right = m_right->list();
    const bool onRightFilter = within(m_right) && !within(&right);
    PaneTableView& target = within(m_left) || onRightFilter ? right : m_left->list();
    target.setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_closeConfirmed && m_exitPrompt && !m_exitPrompt()) {
        event->ignore();
        return;
    }
    m_closeConfirmed = true;
    event->accept();
}

bool MainWindow::resultsHaveStatus() {
    return m_right->model().anyStatus();
}

void MainWindow::rebuildResults() {
    m_right->rebuildResults();
}

}  // namespace tarnwick
