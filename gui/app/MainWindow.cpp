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

#include "gui/app/CommandIds.h"
#include "gui/app/ProductInfo.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/controls/MainToolBar.h"
#include "gui/controls/PaneSplitter.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/TextCodec.h"
#include "gui/res/Resources.h"
#include "scan/ScanState.h"

namespace tarnwick {
namespace {

constexpr int kSplitterId = 0xE900;
// The keyboard's lock state changes without telling a window that does not
// have the focus, so the indicators look at it this often.
constexpr int kLocksPollMs = 100;
// The results pane never gets narrower than this when the window shrinks.
constexpr int kResultsMinimumWidth = 240;

// The end of a long run, told through the desktop's notification service;
// nothing when there is none.
void NotifyDesktop(const QString& text) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QString::fromLatin1(kProductName) << 0u << QStringLiteral("tarnwick")
         << QStringLiteral("Check finished") << text << QStringList() << QVariantMap() << 10000;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromLatin1(kProductName));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/tarnwick.png")));
}

MainWindow::~MainWindow() {
    WatchedFlag::SetListener({});
}

bool MainWindow::Create() {
    if (!CreateToolBar()) {
        qDebug("Failed to create toolbar");
        return false;
    }
    if (!CreateStatusBar()) {
        qDebug("Failed to create status bar");
        return false;
    }
    CreateMenu();
    if (!createPanes()) {
        return false;
    }
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { FocusNextPane(true); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previous, &QShortcut::activated, this, [this] { FocusNextPane(false); });
    // Play and Stop follow their flags, the message pane the scan's page:
    // queued when the scan thread changes them, at once on this thread.
    connect(this, &MainWindow::runStateChanged, this, &MainWindow::UpdateCommandUI);
    WatchedFlag::SetListener([this] { emit runStateChanged(); });
    connect(&m_locksTimer, &QTimer::timeout, this, &MainWindow::UpdateIndicators);
    // Letters still going out after a run change its summary line.
    connect(&m_locksTimer, &QTimer::timeout, this, [this] {
        if (m_pSummary->isVisible()) {
            RefreshSummary();
        }
        // A page that keeps the run waiting says so as the seconds pass.
        if (g_bScanRunning && m_bRunTracked) {
            UpdateProgress();
        }
    });
    m_locksTimer.start(kLocksPollMs);
    UpdateCommandUI();
    UpdateIndicators();
    return true;
}

QAction* MainWindow::AddToolButton(int commandId, const QString& text, const char* themeIcon) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::number(commandId));
    action->setToolTip(text);
    action->setStatusTip(text);
    const QIcon theme = QIcon::fromTheme(QString::fromLatin1(themeIcon));
    if (!theme.isNull()) {
        action->setIcon(theme);
        action->setProperty("themeIcon", true);
    }
    m_wndToolBar->addAction(action);
    m_commands[commandId] = action;
    return action;
}

bool MainWindow::CreateToolBar() {
    m_wndToolBar = new MainToolBar(QStringLiteral("Toolbar"), this);
    m_wndToolBar->setObjectName(QString::number(ID_VIEW_TOOLBAR));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    AddToolButton(ID_PLAY, QStringLiteral("Play"), "media-playback-start");
    AddToolButton(ID_STOP, QStringLiteral("Stop"), "media-playback-stop");
    AddToolButton(ID_ADD, QStringLiteral("Add"), "list-add");
    AddToolButton(ID_DELETE, QStringLiteral("Delete"), "edit-delete");
    AddToolButton(ID_EDIT_PROFILE, QStringLiteral("Edit Profile"), "document-properties");
    AddToolButton(ID_HELP, QStringLiteral("Help"), "help-contents");
    AddToolButton(ID_ABOUT, QStringLiteral("About"), "help-about");
    AddToolButton(ID_EXIT, QStringLiteral("Exit"), "application-exit");
    m_wndToolBar->LoadColorImages(48, QStringLiteral(":/pictures/toolbar.png"));
    m_wndToolBar->addSeparator();
    QAction* noMail = AddToolButton(ID_CHECK_WITHOUT_MAIL, QStringLiteral("Check without mailing"),
                                    "mail-mark-notjunk");
    noMail->setCheckable(true);
    noMail->setText(QStringLiteral("Check &without mailing"));
    // The buttons take the focus from the keyboard (Tab), so every command is
    // reachable without the mouse even where the menu is not used.
    for (QAction* action : m_wndToolBar->actions()) {
        if (QWidget* button = m_wndToolBar->widgetForAction(action)) {
            button->setFocusPolicy(Qt::TabFocus);
        }
    }
    // The button that shows the buttons a narrow window cannot hold.
    if (auto* more =
            m_wndToolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("More buttons"));
    }
    return true;
}

bool MainWindow::CreateStatusBar() {
    m_wndStatusBar = statusBar();
    m_wndStatusBar->setObjectName(QString::number(ID_STATUS_BAR_WINDOW));
    m_pMessage = new QLabel(QStringLiteral("Ready"), m_wndStatusBar);
    m_pMessage->setObjectName(QStringLiteral("StatusMessage"));
    m_pMessage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_wndStatusBar->addWidget(m_pMessage, 1);
    m_pRunSummary = new QLabel(m_wndStatusBar);
    m_pRunSummary->setObjectName(QStringLiteral("RunSummary"));
    m_pRunSummary->hide();
    m_wndStatusBar->addPermanentWidget(m_pRunSummary);
    const struct {
        int id;
        const char* name;
    } indicators[] = {{ID_INDICATOR_CAPS, "Caps Lock"},
                      {ID_INDICATOR_NUM, "Num Lock"},
                      {ID_INDICATOR_SCRL, "Scroll Lock"}};
    m_pSummary = new QLabel(m_wndStatusBar);
    m_pSummary->setObjectName(QStringLiteral("RunSummary"));
    m_pSummary->hide();
    m_wndStatusBar->addPermanentWidget(m_pSummary);
    m_pPage = new QLabel(m_wndStatusBar);
    m_pPage->setObjectName(QStringLiteral("RunPage"));
    m_pPage->hide();
    m_wndStatusBar->addPermanentWidget(m_pPage);
    m_pFetched = new QLabel(m_wndStatusBar);
    m_pFetched->setObjectName(QStringLiteral("RunFetched"));
    m_pFetched->hide();
    m_wndStatusBar->addPermanentWidget(m_pFetched);
    m_pProgress = new QProgressBar(m_wndStatusBar);
    m_pProgress->setObjectName(QStringLiteral("RunProgress"));
    m_pProgress->setAccessibleName(QStringLiteral("Progress"));
    m_pProgress->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    m_pProgress->hide();
    m_wndStatusBar->addPermanentWidget(m_pProgress);
    m_pTimeLeft = new QLabel(m_wndStatusBar);
    m_pTimeLeft->setObjectName(QStringLiteral("RunTimeLeft"));
    m_pTimeLeft->hide();
    m_wndStatusBar->addPermanentWidget(m_pTimeLeft);
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(m_wndStatusBar);
        label->setObjectName(QString::number(indicators[i].id));
        label->setAccessibleName(QString::fromLatin1(indicators[i].name));
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(width);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        m_wndStatusBar->addPermanentWidget(label);
        m_pIndicators[i] = label;
    }
    return true;
}

void MainWindow::CreateMenu() {
    const auto item = [this](QMenu* menu, int id, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::number(id));
        m_commands[id] = action;
        return action;
    };
    // The tool bar's own commands, in a menu too: the same action, so a menu
    // item is enabled exactly when its button is, and its keys work while the
    // tool bar is hidden.
    const auto shared = [this](QMenu* menu, int id, const QString& text,
                               const QList<QKeySequence>& keys) {
        QAction* action = Command(id);
        action->setIconText(action->text());
        action->setText(text);
        action->setShortcuts(keys);
        menu->addAction(action);
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    item(file, ID_FILE_PREFERENCES, QStringLiteral("&Preferences..."));
    item(file, ID_FILE_EXPORT, QStringLiteral("Export &Results..."));
    file->addSeparator();
    // Ctrl+Q leaves as Exit does: through the exit question.
    item(file, ID_FILE_EXIT, QStringLiteral("&Exit"))->setShortcut(QKeySequence::Quit);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toolbar = m_wndToolBar->toggleViewAction();
    toolbar->setText(QStringLiteral("&Toolbar"));
    view->addAction(toolbar);
    m_commands[ID_VIEW_TOOLBAR] = toolbar;
    item(view, ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"))->setEnabled(false);
    view->addSeparator();
    item(view, ID_VIEW_FIND, QStringLiteral("&Find..."))->setShortcut(QKeySequence::Find);
    CreateSortMenu(view->addMenu(QStringLiteral("Sort &by")));
    view->addSeparator();
    item(view, ID_VIEW_HISTORY, QStringLiteral("&History..."));

    QMenu* scan = menuBar()->addMenu(QStringLiteral("&Scan"));
    shared(scan, ID_PLAY, QStringLiteral("&Play"), {QKeySequence(Qt::Key_F5)});
    shared(scan, ID_STOP, QStringLiteral("&Stop"),
           {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::SHIFT | Qt::Key_F5)});
    scan->addSeparator();
    scan->addAction(Command(ID_CHECK_WITHOUT_MAIL));
    item(scan, ID_CHECK_PAGE_NOW, QStringLiteral("&Check This Page Now"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

    QMenu* profile = menuBar()->addMenu(QStringLiteral("&Profile"));
    shared(profile, ID_ADD, QStringLiteral("&Add..."),
           {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_N)});
    shared(profile, ID_EDIT_PROFILE, QStringLiteral("&Edit Profile..."),
           {QKeySequence(Qt::Key_F2)});
    shared(profile, ID_DELETE, QStringLiteral("&Delete..."), {QKeySequence(Qt::Key_Delete)});
    profile->addSeparator();
    item(profile, ID_MAIL_SETTINGS, QStringLiteral("&Mail Settings..."));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    item(help, ID_HELP_ABOUT, QStringLiteral("&About Osgrel Tarnwick..."));
    help->addSeparator();
    item(help, ID_HELP_TOPIC, QStringLiteral("&Help Topic..."))
        ->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::CreateSortMenu(QMenu* menu) {
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
            const QHeaderView* header = m_pRight->List().horizontalHeader();
            const bool again = header->sortIndicatorSection() == column && column >= 0;
            const Qt::SortOrder order = again && header->sortIndicatorOrder() == Qt::AscendingOrder
                                            ? Qt::DescendingOrder
                                            : Qt::AscendingOrder;
            m_pRight->SortBy(column, order);
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
        const int sorted = m_pRight->List().horizontalHeader()->sortIndicatorSection();
        for (QAction* action : group->actions()) {
            const int column = action->data().toInt();
            action->setChecked(
                column == sorted ||
                (column < 0 && (sorted < 0 || sorted >= ResultListModel::ColumnCount)));
        }
    });
}

bool MainWindow::createPanes() {
    m_wndSplitter = new PaneSplitter(Qt::Horizontal, this);
    m_wndSplitter->setObjectName(QString::number(kSplitterId));
    m_pLeft = new ProfilePane;
    m_pRight = new ResultsPane;
    m_wndSplitter->addWidget(m_pLeft);
    m_wndSplitter->addWidget(m_pRight);
    m_wndSplitter->setStretchFactor(0, 0);
    m_wndSplitter->setStretchFactor(1, 1);
    // A small window keeps a usable results pane instead of a sliver.
    m_wndSplitter->setChildrenCollapsible(false);
    m_pRight->setMinimumWidth(kResultsMinimumWidth);
    m_wndSplitter->setSizes({kProfilePaneWidth, 225});
    setCentralWidget(m_wndSplitter);

    m_pLeft->List().SetPanes(this);
    m_pRight->List().SetPanes(this);
    // The summary line is made again when its rows change too: Stop marks
    // the rows left "Stopped by user" after the run has ended.
    const auto rowsChanged = [this] { m_lastLetters.reset(); };
    connect(&m_pRight->Model(), &QAbstractItemModel::dataChanged, this, rowsChanged);
    connect(&m_pRight->Model(), &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(&m_pRight->Model(), &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(&m_pRight->Model(), &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(&m_pLeft->List(), &PaneTableView::commandStateChanged, this,
            &MainWindow::UpdateCommandUI);
    connect(&m_pRight->List(), &PaneTableView::commandStateChanged, this,
            &MainWindow::UpdateCommandUI);
    // The results pane first: the profile pane's loading rebuilds it.
    m_pRight->OnInitialUpdate();
    m_pLeft->OnInitialUpdate();
    return true;
}

QAction* MainWindow::Command(int commandId) const {
    const auto it = m_commands.find(commandId);
    return it != m_commands.end() ? it->second : nullptr;
}

void MainWindow::SetStandardCommandsEnabled(bool enabled) {
    m_bStandardCommands = enabled;
    UpdateCommandUI();
}

void MainWindow::UpdateCommandUI() {
    if (m_commands.empty()) {
        return;
    }
    Command(ID_PLAY)->setEnabled(g_bPlayEnabled);
    Command(ID_STOP)->setEnabled(g_bStopEnabled);
    for (int id : {ID_ADD, ID_HELP, ID_ABOUT, ID_EXIT}) {
        Command(id)->setEnabled(m_bStandardCommands);
    }
    // With no profile there is nothing to edit or delete.
    const bool anyProfile = m_pLeft->ProfileRowCount() > 0;
    Command(ID_DELETE)->setEnabled(m_bStandardCommands && anyProfile);
    Command(ID_EDIT_PROFILE)->setEnabled(anyProfile);
    Command(ID_CHECK_PAGE_NOW)->setEnabled(!g_bScanRunning && m_pRight->RowCount() > 0);
    if (g_bScanRunning) {
        const int row = m_nStartedPage.load();
        if (row >= 0 && row != m_nShownPage && row < m_pRight->RowCount()) {
            ShowProgress(row + 1, m_pRight->RowCount(), m_pRight->RowAt(row).m_strPage);
            m_nShownPage = row;
            m_pageTimer.start();
            m_pRight->ScrollToRow(row);
        }
        UpdateProgress();
    } else if (m_bProgressShown || m_bRunTracked) {
        ShowReady();
    } else if (m_pSummary->isVisible()) {
        RefreshSummary();
    }
}

void MainWindow::BeginProgress() {
    m_bRunTracked = true;
    m_runTimer.start();
    m_pSummary->hide();
    m_pSummary->clear();
    m_pProgress->setRange(0, std::max(1, m_pRight->RowCount()));
    m_pProgress->setValue(0);
    m_pPage->clear();
    m_pFetched->clear();
    m_pTimeLeft->clear();
    m_nFetched.store(0);
    m_pProgress->show();
    m_pPage->show();
    m_pFetched->show();
    m_pTimeLeft->show();
}

void MainWindow::UpdateProgress() {
    if (!m_bRunTracked) {
        BeginProgress();
    }
    const int pages = m_pRight->RowCount();
    const int row = m_nStartedPage.load();
    if (row < 0 || row >= pages) {
        return;
    }
    m_pProgress->setRange(0, pages);
    m_pProgress->setValue(row);
    m_pPage->setText(QStringLiteral("Page %1 of %2").arg(row + 1).arg(pages));
    // Pages come back side by side: the time left follows the pace of the
    // fetches, not of the rows a slow page holds back.
    const int fetched = std::min(m_nFetched.load(), pages);
    const int waited = m_nShownPage == row && m_pageTimer.isValid()
                           ? static_cast<int>(m_pageTimer.elapsed() / 1000)
                           : 0;
    m_pFetched->setText(QString::fromUtf8(
        DescribeFetchProgress(fetched, m_pRight->RowAt(row).m_strPage, waited).c_str()));
    const int left = EstimateSecondsLeft(std::max(row, fetched), pages,
                                         static_cast<double>(m_runTimer.elapsed()) / 1000.0);
    m_pTimeLeft->setText(ToQ(DescribeTimeLeft(left)));
}

void MainWindow::EndProgress() {
    if (!m_bRunTracked) {
        return;
    }
    m_bRunTracked = false;
    m_pProgress->hide();
    m_pPage->hide();
    m_pFetched->hide();
    m_pTimeLeft->hide();
    m_lastLetters.reset();
    RefreshSummary();
    m_pSummary->show();
    if (m_runTimer.elapsed() >= static_cast<qint64>(m_nNotifyAfterSeconds) * 1000) {
        if (m_fnNotify) {
            m_fnNotify(m_pSummary->text());
        } else {
            NotifyDesktop(m_pSummary->text());
        }
        QApplication::alert(this);
    }
}

void MainWindow::RefreshSummary() {
    const LetterCounts letters = m_fnLetters ? m_fnLetters() : LetterCounts{};
    // Letters still going out change the line until the last one is done.
    if (m_lastLetters && *m_lastLetters == letters) {
        return;
    }
    m_lastLetters = letters;
    m_pSummary->setText(ToQ(SummariseRun(m_pRight->Model().Rows(), letters)));
}

QString MainWindow::PageText() const {
    return m_pPage->isVisible() ? m_pPage->text() : QString();
}

QString MainWindow::FetchedText() const {
    return m_pFetched->isVisible() ? m_pFetched->text() : QString();
}

QString MainWindow::TimeLeftText() const {
    return m_pTimeLeft->text();
}

QString MainWindow::SummaryText() const {
    return m_pSummary->text();
}

bool MainWindow::RestoreLayout(const QString& settingsPath) {
    if (settingsPath.isEmpty()) {
        return false;
    }
    QSettings settings(settingsPath, QSettings::IniFormat);
    const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
    const bool placed = !geometry.isEmpty() && restoreGeometry(geometry);
    const QByteArray splitter = settings.value(QStringLiteral("window/splitter")).toByteArray();
    if (!splitter.isEmpty()) {
        m_wndSplitter->restoreState(splitter);
    }
    const QByteArray profiles = settings.value(QStringLiteral("profiles/header")).toByteArray();
    if (!profiles.isEmpty()) {
        m_pLeft->List().horizontalHeader()->restoreState(profiles);
    }
    const QByteArray results = settings.value(QStringLiteral("results/header")).toByteArray();
    if (!results.isEmpty()) {
        m_pRight->List().horizontalHeader()->restoreState(results);
    }
    return placed;
}

void MainWindow::SaveLayout(const QString& settingsPath) const {
    if (settingsPath.isEmpty()) {
        return;
    }
    QSettings settings(settingsPath, QSettings::IniFormat);
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/splitter"), m_wndSplitter->saveState());
    settings.setValue(QStringLiteral("profiles/header"),
                      m_pLeft->List().horizontalHeader()->saveState());
    settings.setValue(QStringLiteral("results/header"),
                      m_pRight->List().horizontalHeader()->saveState());
    settings.sync();
}

void MainWindow::UpdateIndicators() {
    const KeyboardLocks locks = ReadKeyboardLocks();
    if (!(locks == m_locks)) {
        m_locks = locks;
        m_pIndicators[0]->setText(locks.m_bCaps ? QStringLiteral("CAP") : QString());
        m_pIndicators[1]->setText(locks.m_bNum ? QStringLiteral("NUM") : QString());
        m_pIndicators[2]->setText(locks.m_bScroll ? QStringLiteral("SCRL") : QString());
    }
}

void MainWindow::NotePageStarted(int row) {
    m_nStartedPage.store(row);
    emit runStateChanged();
}

void MainWindow::NotePagesFetched(int fetched) {
    m_nFetched.store(fetched);
}

void MainWindow::ShowProgress(int page, int pages, const std::string& address) {
    m_bProgressShown = true;
    m_pMessage->setText(
        QStringLiteral("Checking page %1 of %2: %3").arg(page).arg(pages).arg(ToQ(address)));
}

void MainWindow::ShowReady() {
    EndProgress();
    m_bProgressShown = false;
    m_nStartedPage.store(-1);
    m_nShownPage = -1;
    m_pMessage->setText(QStringLiteral("Ready"));
}

QString MainWindow::MessageText() const {
    return m_pMessage->text();
}

void MainWindow::ShowRunSummary(const std::string& summary) {
    m_pRunSummary->setText(ToQ(summary));
    m_pRunSummary->setVisible(!summary.empty());
}

QString MainWindow::RunSummaryText() const {
    return m_pRunSummary->text();
}

void MainWindow::FocusNextPane(bool forward) {
    // Two panes: the next and the previous one are the other one. From the
    // results' filter, above their list, the list is next: the rows just
    // chosen are what the user goes on with.
    Q_UNUSED(forward);
    QWidget* focus = QApplication::focusWidget();
    const auto within = [focus](QWidget* pane) {
        return focus != nullptr && (pane == focus || pane->isAncestorOf(focus));
    };
    PaneTableView& right = m_pRight->List();
    const bool onRightFilter = within(m_pRight) && !within(&right);
    PaneTableView& target = within(m_pLeft) || onRightFilter ? right : m_pLeft->List();
    target.setFocus(Qt::ShortcutFocusReason);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_bCloseConfirmed && m_fnExitPrompt && !m_fnExitPrompt()) {
        event->ignore();
        return;
    }
    m_bCloseConfirmed = true;
    event->accept();
}

int MainWindow::TickedProfileCount() {
    return m_pLeft->List().TickedCount();
}

bool MainWindow::ResultsHaveStatus() {
    return m_pRight->Model().AnyStatus();
}

void MainWindow::RebuildResults() {
    m_pRight->RebuildResults();
}

}  // namespace tarnwick
