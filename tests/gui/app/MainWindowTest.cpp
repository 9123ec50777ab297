// The desktop program's window on real store files in a temporary data
// folder (offscreen): start-up, panes, list rules, commands and their guards,
// closing, help and the about box.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <cstdlib>
#include <memory>
#include <thread>

#include "common/Version.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ProductInfo.h"
#include "gui/app/ProfileListModel.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultFilterProxy.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/app/StoreFixture.h"
#include "gui/app/TarnwickApplication.h"
#include "gui/app/WatchPaneModels.h"
#include "gui/app/WindowScanPanes.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/CheckHeader.h"
#include "gui/controls/LinkLabel.h"
#include "gui/controls/MainToolBar.h"
#include "gui/controls/PaneSplitter.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/TextCodec.h"
#include "gui/editing/AddProfileWizard.h"
#include "gui/editing/DeleteProfilesQuestion.h"
#include "gui/report/ConfirmExitDialog.h"
#include "gui/report/SaveReportQuestion.h"
#include "gui/support/ModalDriver.h"
#include "scan/RunState.h"
#include "scan/ScanSession.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

using namespace tarnwick;
using tarnwick::test::addProfile;
using tarnwick::test::page;
using tarnwick::test::pressWhenModal;
using Answer = AppMessageBox::Answer;

// Records the addresses the program asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> m_urls;
public slots:
    void open(const QUrl& url) { m_urls.append(url); }
};

namespace {

// The store of most tests: alpha.com with 3 pages, beta.org with 2.
void twoProfiles(const DataFolder& folder) {
    addProfile(folder, "alpha.com", "Link: http://www.alpha.com",
               {page("http://www.p1.com/links.html", "a@p1.com", "1"),
                page("www.p2.com/", "b@p2.com", "0"), page("http://p3.com/x", "c@p3.com", "2")});
    addProfile(folder, "beta.org", "Link: http://www.beta.org",
               {page("www.q1.net/", "x@q1.net", "1"), page("http://q2.net/", "y@q2.net", "")});
}

QPoint cellCentre(PaneTableView& list, int row, int column) {
    return list.visualRect(list.model()->index(row, column)).center();
}

void click(PaneTableView& list, QPoint at) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
}

QStringList toolBarTexts(QToolBar* bar) {
    QStringList texts;
    for (QAction* action : bar->actions()) {
        if (!action->isSeparator()) {
            texts.append(action->iconText());
        }
    }
    return texts;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::unique_ptr<TarnwickApplication> m_app;

    MainWindow& frame() { return *m_app->mainWindow(); }
    RunState& runState() { return m_app->scan()->runState(); }
    ProfilePane& profiles() { return *frame().profilePane(); }
    ResultsPane& results() { return *frame().resultsPane(); }
    PaneTableView& profileList() { return profiles().list(); }
    PaneTableView& resultList() { return results().list(); }

    void start() {
        m_app = std::make_unique<TarnwickApplication>(StartOptions{0});
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        test::watchPaneModels(frame());
    }

    QString resultCell(int row, int column) { return results().list().cellText(row, column); }

private slots:
    void initTestCase() { AppMessageBox::setTestMode(true); }

    void init() {
        AppMessageBox::clearShown();
        m_data = std::make_unique<test::TempDataFolder>();
    }

    void cleanup() {
        m_app.reset();
        m_data.reset();
    }

    void startsWithAnEmptyStore() {
        start();
        QCOMPARE(frame().windowTitle(), QStringLiteral("Osgrel Tarnwick Ambrel"));
        QVERIFY(frame().windowState() & Qt::WindowMaximized);
        QCOMPARE(profileList().rowCount(), 0);
        QCOMPARE(resultList().rowCount(), 0);
        QVERIFY(!frame().actions().play->isEnabled());
        QVERIFY(!frame().actions().stop->isEnabled());
        const MainWindow::Actions& actions = frame().actions();
        for (QAction* action :
             {actions.addProfile, actions.toolHelp, actions.toolAbout, actions.toolExit}) {
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
        }
        // No profile: nothing to edit or delete.
        QVERIFY(!frame().actions().deleteProfile->isEnabled());
        QVERIFY(!frame().actions().editProfile->isEnabled());
        QCOMPARE(frame().messageText(), QStringLiteral("Ready"));
        QVERIFY(test::exists(m_data->folder().folder()));
        QCOMPARE(profiles().resultsPane(), &results());
        QCOMPARE(results().profilePane(), &profiles());
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void toolBarMenuAndStatusBar() {
        start();
        QToolBar* bar = frame().toolBar();
        QCOMPARE(toolBarTexts(bar),
                 QStringList({"Play", "Stop", "Add", "Delete", "Edit Profile", "Help", "About",
                              "Exit", "Check without mailing"}));
        QStringList ids;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            ids.append(action->objectName());
            QCOMPARE(action->toolTip(), action->iconText());
            if (action != frame().actions().checkWithoutMail) {
                QVERIFY(!action->icon().isNull());
            }
            // The button is reachable by its command name, and by Tab.
            QWidget* button = bar->widgetForAction(action);
            QVERIFY(button != nullptr);
            QCOMPARE(button->focusPolicy(), Qt::TabFocus);
        }
        QCOMPARE(ids, QStringList({"playAction", "stopAction", "addProfileAction",
                                   "deleteProfileAction", "editProfileAction", "toolHelpAction",
                                   "toolAboutAction", "toolExitAction", "checkWithoutMailAction"}));

        QStringList menus;
        QMap<QString, QMenu*> byName;
        for (QAction* menu : frame().menuBar()->actions()) {
            menus.append(menu->text());
            byName[menu->text()] = menu->menu();
        }
        QCOMPARE(menus, QStringList({"&File", "&View", "&Scan", "&Profile", "&Help"}));
        // The menus hold the tool bar's own actions: one enabling for both,
        // and keys that work with the tool bar hidden.
        const struct {
            const char* menu;
            const char* action;
            const char* text;
            QList<QKeySequence> keys;
        } items[] = {
            {"&Scan", "playAction", "&Play", {QKeySequence(Qt::Key_F5)}},
            {"&Scan",
             "stopAction",
             "&Stop",
             {QKeySequence(Qt::Key_Escape), QKeySequence("Shift+F5")}},
            {"&Scan", "checkWithoutMailAction", "Check &without mailing", {}},
            {"&Profile",
             "addProfileAction",
             "&Add...",
             {QKeySequence(Qt::Key_Insert), QKeySequence("Ctrl+N")}},
            {"&Profile", "editProfileAction", "&Edit Profile...", {QKeySequence(Qt::Key_F2)}},
            {"&Profile", "deleteProfileAction", "&Delete...", {QKeySequence(Qt::Key_Delete)}},
            {"&Profile", "mailSettingsAction", "&Mail Settings...", {}},
        };
        for (const auto& item : items) {
            // Found by name, as a tool that only has the window finds it.
            auto* action = frame().findChild<QAction*>(QString::fromLatin1(item.action));
            QVERIFY2(action != nullptr, item.action);
            QVERIFY2(byName[item.menu]->actions().contains(action), item.text);
            QCOMPARE(action->text(), QString::fromLatin1(item.text));
            QCOMPARE(action->shortcuts(), item.keys);
        }
        QVERIFY(frame().actions().checkWithoutMail->isCheckable());
        QCOMPARE(frame().actions().exit->text(), QStringLiteral("&Exit"));
        QCOMPARE(frame().actions().about->text(), QStringLiteral("&About Osgrel Tarnwick..."));
        QCOMPARE(frame().actions().helpTopic->text(), QStringLiteral("&Help Topic..."));
        QVERIFY(!frame().actions().statusBar->isEnabled());
        QAction* toolbar = frame().actions().toolBar;
        QCOMPARE(toolbar->text(), QStringLiteral("&Toolbar"));
        QVERIFY(toolbar->isCheckable() && toolbar->isChecked());
        toolbar->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(!toolbar->isChecked());
        toolbar->trigger();
        QVERIFY(bar->isVisible());

        // The status bar: message pane, then the three lock indicators.
        QStatusBar* status = frame().statusBar();
        for (const char* name : {MainWindow::kCapsLockIndicator, MainWindow::kNumLockIndicator,
                                 MainWindow::kScrollLockIndicator}) {
            QVERIFY(status->findChild<QLabel*>(QString::fromLatin1(name)) != nullptr);
        }
        // A prompt while the pointer is over a button, then "Ready" again.
        status->showMessage(frame().actions().play->statusTip());
        QCOMPARE(status->currentMessage(), QStringLiteral("Play"));
        status->clearMessage();
        QCOMPARE(frame().messageText(), QStringLiteral("Ready"));
    }

    void startsWithEveryProfileTickedAndListed() {
        twoProfiles(m_data->folder());
        addProfile(m_data->folder(), "example.co.uk (2)", "Link: ", {page("www.r1.org/")});
        start();
        QCOMPARE(profileList().rowCount(), 3);
        QCOMPARE(profileList().cellText(0, 1), QStringLiteral("www.alpha.com"));
        QCOMPARE(profileList().cellText(1, 1), QStringLiteral("www.beta.org"));
        QCOMPARE(profileList().cellText(2, 1), QStringLiteral("www.example.co.uk (2)"));
        QCOMPARE(profileList().tickedCount(), 3);
        QCOMPARE(profileList().cellText(0, 2), QString());
        QCOMPARE(profileList().checkHeader()->image(), HeaderCheck::All);
        QVERIFY(frame().actions().play->isEnabled());
        QVERIFY(!frame().actions().stop->isEnabled());
        // Loading every row ticked rebuilds the results once.
        QCOMPARE(results().rebuildCount(), 1);

        const QStringList expected[] = {
            {"http://www.alpha.com", "http://www.p1.com/links.html", "a@p1.com", "Enabled", ""},
            {"http://www.alpha.com", "www.p2.com/", "b@p2.com", "Disabled", ""},
            {"http://www.alpha.com", "http://p3.com/x", "c@p3.com", "Disabled", ""},
            {"http://www.beta.org", "www.q1.net/", "x@q1.net", "Enabled", ""},
            {"http://www.beta.org", "http://q2.net/", "y@q2.net", "Disabled", ""},
            {"", "www.r1.org/", "w@example.org", "Enabled", ""},
        };
        QCOMPARE(resultList().rowCount(), 6);
        for (int r = 0; r < 6; ++r) {
            for (int c = 0; c < 5; ++c) {
                QCOMPARE(resultCell(r, c), expected[r][c]);
            }
            QCOMPARE(results().rowAt(r).m_profileRow, r < 3 ? 0 : r < 5 ? 1 : 2);
        }
        // Headings and widths, exactly.
        const auto headings = [](PaneTableView& list) {
            QStringList texts;
            for (int c = 0; c < list.model()->columnCount(); ++c) {
                texts.append(list.model()->headerData(c, Qt::Horizontal).toString() + "/" +
                             QString::number(list.horizontalHeader()->sectionSize(c)));
            }
            return texts;
        };
        QCOMPARE(headings(profileList()), QStringList({"/30", "Proile/150", "Status/175"}));
        QCOMPARE(headings(resultList()),
                 QStringList({"Advetiser's Site/125", "Publisher's Site/200", "Mail Address/125",
                              "Email Notification/100", "Status/125", "Since last run/100",
                              "Details/110"}));
        QCOMPARE(profileList().accessibleName(), QStringLiteral("Profiles"));
        QCOMPARE(resultList().accessibleName(), QStringLiteral("Results"));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void manyProfilesRebuildOnce() {
        for (int i = 0; i < 200; ++i) {
            addProfile(m_data->folder(), "site" + std::to_string(i) + ".com",
                       "Link: http://adv.com", {page("http://p" + std::to_string(i) + ".com/")});
        }
        start();
        QCOMPARE(profileList().rowCount(), 200);
        QCOMPARE(resultList().rowCount(), 200);
        QCOMPARE(results().rebuildCount(), 1);
    }

    void emptyLineInIndexHidesLaterProfiles() {
        twoProfiles(m_data->folder());
        const std::string index = test::readBytes(m_data->folder().indexPath());
        test::writeBytes(m_data->folder().indexPath(), index.substr(0, index.find("\r\n")) +
                                                           "\r\n\r\n" +
                                                           index.substr(index.find("\r\n") + 2));
        start();
        QCOMPARE(profileList().rowCount(), 1);
        QCOMPARE(resultList().rowCount(), 3);
    }

    void unreadableProfileIsToldOnceAndLeftOut() {
        twoProfiles(m_data->folder());
        const std::string gone = m_data->folder().profilePath("gone.net");
        test::writeBytes(m_data->folder().indexPath(),
                         test::readBytes(m_data->folder().indexPath()) + "\r\n" + gone);
        start();
        QCOMPARE(profileList().rowCount(), 3);
        QCOMPARE(resultList().rowCount(), 5);  // the others are all there
        QTRY_COMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY(AppMessageBox::lastText().contains(QStringLiteral("www.gone.net")));
        // Later rebuilds do not tell it again...
        results().rebuildResults();
        QTest::qWait(50);
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        // ...until it has been read and then fails again.
        test::writeBytes(gone, "Link: http://gone.net\r\n" + page("http://z.net/"));
        results().rebuildResults();
        QCOMPARE(resultList().rowCount(), 6);
        std::remove(gone.c_str());
        results().rebuildResults();
        QTRY_COMPARE(AppMessageBox::shownTexts().size(), 2);
    }

    // Results stay until the user asks for others: a click on a row of
    // either pane selects it, the arrows move; only a change of ticks
    // rebuilds, after one question when a run's results would go.
    void resultsStayUntilTheTicksChange() {
        twoProfiles(m_data->folder());
        start();
        results().setResult(3, test::pageResultOf("Link Found"));
        const int rebuilds = results().rebuildCount();

        click(profileList(), cellCentre(profileList(), 1, 1));
        QVERIFY(profileList().selectionModel()->isRowSelected(1, {}));
        QTest::keyClick(&profileList(), Qt::Key_Up);
        QVERIFY(profileList().selectionModel()->isRowSelected(0, {}));
        click(resultList(), cellCentre(resultList(), 3, 1));
        QTest::keyClick(&resultList(), Qt::Key_Down);
        QVERIFY(resultList().selectionModel()->isRowSelected(4, {}));
        QCOMPARE(results().rebuildCount(), rebuilds);
        QCOMPARE(resultCell(3, 4), QStringLiteral("Link Found"));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());

        // A tick: No changes nothing.
        AppMessageBox::presetAnswer(Answer::No);
        click(profileList(), profileList().checkBoxRect(0).center());
        QCOMPARE(AppMessageBox::lastText(),
                 QStringLiteral("This operation will refresh all the contents of this list. Do "
                                "you want to continue"));
        QVERIFY(profileList().getCheck(0));
        QCOMPARE(results().rebuildCount(), rebuilds);
        QCOMPARE(resultCell(3, 4), QStringLiteral("Link Found"));

        // Yes: one question, one rebuild, the pages of the ticked profile.
        AppMessageBox::presetAnswer(Answer::Yes);
        click(profileList(), profileList().checkBoxRect(0).center());
        QCOMPARE(AppMessageBox::shownTexts().size(), 2);
        QVERIFY(!profileList().getCheck(0));
        QCOMPARE(results().rebuildCount(), rebuilds + 1);
        QCOMPARE(resultList().rowCount(), 2);
        QCOMPARE(resultCell(0, 4), QString());

        // Results without a status of this session: no question.
        click(profileList(), profileList().checkBoxRect(0).center());
        QCOMPARE(AppMessageBox::shownTexts().size(), 2);
        QCOMPARE(resultList().rowCount(), 5);
    }

    // The filter and the sorting change what the list shows, never the rows
    // the run writes to; a row opens its page, copies its address or itself.
    void resultsFilterSortAndRowActions() {
        twoProfiles(m_data->folder());
        start();
        ResultListModel& model = results().model();
        model.setResult(0, test::pageResultOf("Link Not Found"));  // notification on: mailed
        model.setResult(1, test::pageResultOf("Link Found"));
        model.setResult(2, test::pageResultOf("Page cannot be displayed"));  // never mailed
        model.setResult(3, test::pageResultOf("Page Cannot be Found"));
        model.setMail(3, "Mail Settings Not provided");  // its letter failed
        const auto shownPages = [this] {
            QStringList pages;
            for (int r = 0; r < resultList().rowCount(); ++r) {
                pages.append(resultCell(r, 1));
            }
            return pages;
        };
        QComboBox& filter = results().filterBox();
        QCOMPARE(filter.count(), 4);
        QCOMPARE(filter.itemText(1), QStringLiteral("Problems only"));
        QCOMPARE(filter.itemText(3), QStringLiteral("Link quality problems"));
        filter.setCurrentIndex(1);
        QCOMPARE(shownPages(),
                 QStringList({"http://www.p1.com/links.html", "http://p3.com/x", "www.q1.net/"}));
        filter.setCurrentIndex(2);
        QCOMPARE(shownPages(), QStringList({"http://p3.com/x", "www.q1.net/"}));
        // A status written while filtered shows or hides its row at once.
        model.setResult(4, test::pageResultOf("Link Not Found"));  // notification off
        QCOMPARE(shownPages(), QStringList({"http://p3.com/x", "www.q1.net/", "http://q2.net/"}));
        filter.setCurrentIndex(0);
        QCOMPARE(resultList().rowCount(), 5);

        // A heading click sorts the view; the model keeps the run's order.
        QHeaderView* header = resultList().horizontalHeader();
        QVERIFY(header->stretchLastSection());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
        QCOMPARE(shownPages(),
                 QStringList({"http://p3.com/x", "http://q2.net/", "http://www.p1.com/links.html",
                              "www.p2.com/", "www.q1.net/"}));
        QCOMPARE(model.rowAt(0).m_page, std::string("http://www.p1.com/links.html"));
        model.setResult(0, test::pageResultOf("Link Found"));
        QCOMPARE(resultCell(2, 4), QStringLiteral("Link Found"));
        QCOMPARE(results().shown().sourceRow(2), 0);
        resultList().sortByColumn(-1, Qt::AscendingOrder);
        QCOMPARE(resultCell(0, 1), QStringLiteral("http://www.p1.com/links.html"));

        UrlRecorder web;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &web, "open");
        results().openPage(1);  // typed without a scheme
        QCOMPARE(web.m_urls, QList<QUrl>({QUrl(QStringLiteral("http://www.p2.com/"))}));
        results().copyAddress(0);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("http://www.p1.com/links.html"));
        results().copyRow(3);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("http://www.beta.org\twww.q1.net/\tMail Settings Not "
                                "provided\tEnabled\tPage Cannot be Found\t\t"));
        // A double click the click rule lets through opens the page; the
        // click only selects the row.
        results().rebuildResults();
        // (A double click comes as a press, then the double click.)
        const int rebuilds = results().rebuildCount();
        click(resultList(), cellCentre(resultList(), 4, 1));
        QCOMPARE(results().rebuildCount(), rebuilds);
        QTest::mouseDClick(resultList().viewport(), Qt::LeftButton, {},
                           cellCentre(resultList(), 4, 1));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(web.m_urls.size(), 2);
        QCOMPARE(web.m_urls.back(), QUrl(QStringLiteral("http://q2.net/")));
        QVERIFY(resultList().selectionModel()->isRowSelected(4, {}));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    // Size, splitter and column widths come back at the next start; the
    // widths built into the program are the first start's.
    void layoutIsRememberedBetweenStarts() {
        twoProfiles(m_data->folder());
        const QString file = QString::fromStdString(m_data->root() + "/config/window.ini");
        StartOptions options(0);
        options.m_layoutFile = file;
        m_app = std::make_unique<TarnwickApplication>(options);
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        QCOMPARE(resultList().horizontalHeader()->sectionSize(1), 200);
        QCOMPARE(profileList().horizontalHeader()->sectionSize(1), 150);
        frame().showNormal();
        frame().setGeometry(40, 50, 900, 640);
        QTRY_COMPARE(frame().geometry().size(), QSize(900, 640));
        frame().splitter()->setSizes({280, 620});
        resultList().horizontalHeader()->resizeSection(1, 333);
        profileList().horizontalHeader()->resizeSection(1, 111);
        const QList<int> sizes = frame().splitter()->sizes();
        frame().saveLayout(file);
        m_app.reset();

        m_app = std::make_unique<TarnwickApplication>(options);
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        QVERIFY(!(frame().windowState() & Qt::WindowMaximized));
        QTRY_COMPARE(frame().geometry().size(), QSize(900, 640));
        QCOMPARE(frame().splitter()->sizes(), sizes);
        QCOMPARE(resultList().horizontalHeader()->sectionSize(1), 333);
        QCOMPARE(profileList().horizontalHeader()->sectionSize(1), 111);
    }

    // The desktop's keys: Ctrl+Q leaves through the exit question, F1 opens
    // the guide, Ctrl+F the search box, which keeps the rows holding its
    // text; View > Sort by sorts as a heading click does.
    void keyboardConventions() {
        twoProfiles(m_data->folder());
        start();
        QCOMPARE(frame().actions().exit->shortcut(), QKeySequence(QKeySequence::Quit));
        QCOMPARE(frame().actions().helpTopic->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(frame().actions().find->shortcut(), QKeySequence(QKeySequence::Find));
        pressWhenModal<ConfirmExitDialog>(
            ConfirmExitDialog::kCancelButton);  // Cancel: the program goes on
        frame().actions().exit->trigger();
        QVERIFY(frame().isVisible());

        const auto shownPages = [this] {
            QStringList pages;
            for (int r = 0; r < resultList().rowCount(); ++r) {
                pages.append(resultCell(r, 1));
            }
            return pages;
        };
        frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame()));
        frame().actions().find->trigger();
        QLineEdit& search = results().searchBox();
        QTRY_VERIFY(search.hasFocus());
        QTest::keyClicks(&search, "Q");  // letter case does not matter
        QCOMPARE(shownPages(), QStringList({"www.q1.net/", "http://q2.net/"}));
        QTest::keyClicks(&search, "1");
        QCOMPARE(shownPages(), QStringList({"www.q1.net/"}));
        search.clear();
        QCOMPARE(resultList().rowCount(), 5);

        auto* sortMenu = frame().findChild<QMenu*>(QStringLiteral("SortMenu"));
        QVERIFY(sortMenu != nullptr);
        const auto choose = [sortMenu](const QString& text) {
            for (QAction* action : sortMenu->actions()) {
                if (action->text() == text) {
                    action->trigger();
                    return;
                }
            }
            QFAIL(qPrintable(text));
        };
        choose(QStringLiteral("&Publisher's Site"));
        QCOMPARE(shownPages(),
                 QStringList({"http://p3.com/x", "http://q2.net/", "http://www.p1.com/links.html",
                              "www.p2.com/", "www.q1.net/"}));
        choose(QStringLiteral("&Publisher's Site"));  // again: the other way round
        QCOMPARE(shownPages().constFirst(), QStringLiteral("www.q1.net/"));
        choose(QStringLiteral("&Run Order"));
        QCOMPARE(shownPages().constFirst(), QStringLiteral("http://www.p1.com/links.html"));
        QCOMPARE(results().model().rowAt(0).m_page, std::string("http://www.p1.com/links.html"));
    }

    // With a 14-point font the columns are as much wider, so "Link Not
    // Found" is not cut; at the usual size they are as designed.
    void columnWidthsFollowTheFont() {
        twoProfiles(m_data->folder());
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPointSize(14);
        QApplication::setFont(large);
        start();
        QApplication::setFont(usual);
        QCOMPARE(resultList().horizontalHeader()->sectionSize(ResultListModel::ColStatus), 175);
        QCOMPARE(profileList().horizontalHeader()->sectionSize(1), 210);
        const int status = resultList().fontMetrics().horizontalAdvance("Link Not Found");
        QVERIFY(status < 175);
    }

    void clickBelowTheRowsDoesNothing() {
        twoProfiles(m_data->folder());
        start();
        click(profileList(), cellCentre(profileList(), 0, 1));
        QVERIFY(profileList().selectionModel()->isRowSelected(0, {}));
        const int rebuilds = results().rebuildCount();
        const QPoint below(
            40, profileList().visualRect(profileList().model()->index(1, 1)).bottom() + 40);
        click(profileList(), below);
        QVERIFY(profileList().selectionModel()->isRowSelected(0, {}));
        QCOMPARE(results().rebuildCount(), rebuilds);
        // The results pane: a click on any row selects it, whatever its page
        // address looks like; a click below the rows does nothing.
        click(resultList(), cellCentre(resultList(), 0, 1));  // http://www.p1.com/...
        QVERIFY(resultList().selectionModel()->isRowSelected(0, {}));
        click(resultList(), cellCentre(resultList(), 1, 1));  // www.p2.com/
        QVERIFY(resultList().selectionModel()->isRowSelected(1, {}));
        const QPoint belowResults(
            40, resultList().visualRect(resultList().model()->index(4, 1)).bottom() + 40);
        click(resultList(), belowResults);
        QVERIFY(resultList().selectionModel()->isRowSelected(1, {}));
        QCOMPARE(results().rebuildCount(), rebuilds);
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void selectingAnotherProfileKeepsTheResults() {
        twoProfiles(m_data->folder());
        start();
        const int rebuilds = results().rebuildCount();
        click(profileList(), cellCentre(profileList(), 1, 1));
        QTest::keyClick(&profileList(), Qt::Key_Up);
        QVERIFY(profileList().selectionModel()->isRowSelected(0, {}));
        QTest::keyClick(&profileList(), Qt::Key_End);
        QVERIFY(profileList().selectionModel()->isRowSelected(1, {}));
        QTest::keyClick(&profileList(), Qt::Key_Home);
        QVERIFY(profileList().selectionModel()->isRowSelected(0, {}));
        QCOMPARE(results().rebuildCount(), rebuilds);
    }

    void checkBoxesDriveResultsAndPlay() {
        twoProfiles(m_data->folder());
        start();
        // Untick the first profile: some ticked, the results follow the ticks.
        click(profileList(), profileList().checkBoxRect(0).center());
        QVERIFY(!profileList().getCheck(0));
        QCOMPARE(profileList().checkHeader()->image(), HeaderCheck::Some);
        QCOMPARE(resultList().rowCount(), 2);  // beta.org only
        QVERIFY(frame().actions().play->isEnabled());

        // Untick the second: none ticked, Play and Stop disabled, results empty.
        click(profileList(), profileList().checkBoxRect(1).center());
        QCOMPARE(profileList().checkHeader()->image(), HeaderCheck::None);
        QCOMPARE(resultList().rowCount(), 0);
        QVERIFY(!frame().actions().play->isEnabled());
        QVERIFY(!frame().actions().stop->isEnabled());

        // With nothing ticked, ticking one shows its pages and enables Play.
        click(profileList(), profileList().checkBoxRect(1).center());
        QVERIFY(profileList().getCheck(1));
        QCOMPARE(resultList().rowCount(), 2);
        QVERIFY(frame().actions().play->isEnabled());

        // The header box: from "some" it unticks all, then ticks all.
        QHeaderView* header = profileList().horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 15, header->height() / 2));
        QCOMPARE(profileList().tickedCount(), 0);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 15, header->height() / 2));
        QCOMPARE(profileList().tickedCount(), 2);
        QCOMPARE(resultList().rowCount(), 5);
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void clicksAreRefusedWhileATaskRuns() {
        twoProfiles(m_data->folder());
        start();
        const int rebuilds = results().rebuildCount();
        profileList().selectionModel()->setCurrentIndex(profileList().model()->index(0, 1),
                                                        QItemSelectionModel::NoUpdate);
        runState().setRunning(true);
        click(profileList(), profileList().checkBoxRect(0).center());
        click(resultList(), cellCentre(resultList(), 1, 1));
        QTest::keyClick(&profileList(), Qt::Key_Space);
        runState().setRunning(false);
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({"Task is running", "Task is running", "Task is running"}));
        QCOMPARE(profileList().tickedCount(), 2);
        QVERIFY(!profileList().selectionModel()->hasSelection());
        QVERIFY(!resultList().selectionModel()->hasSelection());
        QCOMPARE(results().rebuildCount(), rebuilds);
    }

    void resultColoursFollowTheStatusWords() {
        twoProfiles(m_data->folder());
        start();
        const char* words[] = {"Link Found", "Link Not Found", "Page cannot be displayed",
                               "Page Cannot be Found", "link found"};
        const QColor colours[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(255, 255, 0),
                                  QColor(255, 0, 0), QColor(255, 255, 255)};
        for (int r = 0; r < 5; ++r) {
            // A word that is no result (another case) leaves the row without one.
            if (const std::optional<LinkResult> result = resultFromWord(words[r])) {
                results().setResult(r, *result);
            }
        }
        resultList().selectionModel()->clearCurrentIndex();
        for (int c = 0; c < 4; ++c) {
            resultList().horizontalHeader()->resizeSection(c, 40);
        }
        const QImage shot = resultList().viewport()->grab().toImage();
        for (int r = 0; r < 5; ++r) {
            const QRect cell = resultList().visualRect(resultList().model()->index(r, 4));
            QCOMPARE(shot.pixelColor(cell.right() - 3, cell.bottom() - 2), colours[r]);
            // Other columns stay white.
            const QRect mail = resultList().visualRect(resultList().model()->index(r, 2));
            QCOMPARE(shot.pixelColor(mail.right() - 3, mail.bottom() - 2), QColor(Qt::white));
        }
    }

    void storeCommandsAreRefusedWhileATaskRuns() {
        twoProfiles(m_data->folder());
        start();
        runState().setRunning(true);
        frame().actions().addProfile->trigger();
        frame().actions().deleteProfile->trigger();
        frame().actions().editProfile->trigger();
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({"You cannot add profile while task is running",
                              "You cannot delete profile while task is runing",
                              "You cannot edit any profile while task is running"}));
        QVERIFY(!profiles().isTickOnLoadSuppressed());
        QCOMPARE(profileList().rowCount(), 2);
        QVERIFY(frame().actions().editProfile->isEnabled());
    }

    void deleteRemovesTickedProfilesAndReloadsUnticked() {
        twoProfiles(m_data->folder());
        addProfile(m_data->folder(), "gamma.net", "Link: http://gamma.net",
                   {page("http://g.net/")});
        start();
        // Only beta.org ticked.
        profileList().setCheck(0, false);
        profileList().setCheck(2, false);
        pressWhenModal<DeleteProfilesQuestion>(DeleteProfilesQuestion::kYesButton);  // Yes
        frame().actions().deleteProfile->trigger();
        QCOMPARE(profileList().rowCount(), 2);
        QCOMPARE(profileList().cellText(0, 1), QStringLiteral("www.alpha.com"));
        QCOMPARE(profileList().cellText(1, 1), QStringLiteral("www.gamma.net"));
        QCOMPARE(profileList().tickedCount(), 0);  // reloaded unticked
        QCOMPARE(profileList().checkHeader()->image(), HeaderCheck::None);
        QCOMPARE(resultList().rowCount(), 0);
        QVERIFY(!test::exists(m_data->folder().profilePath("beta.org")));
        QVERIFY(profiles().isTickOnLoadSuppressed());
        QVERIFY(frame().actions().play->isEnabled());  // Play stays enabled after a Delete

        // Nothing ticked now: Delete only says so.
        frame().actions().deleteProfile->trigger();
        QCOMPARE(AppMessageBox::lastText(), QStringLiteral("First select the profile to delete"));

        // Deleting the rest leaves an empty pane and disables Play and Stop.
        profileList().setAllChecks(true);
        pressWhenModal<DeleteProfilesQuestion>(DeleteProfilesQuestion::kYesButton);
        frame().actions().deleteProfile->trigger();
        QCOMPARE(profileList().rowCount(), 0);
        QTRY_VERIFY(!frame().actions().play->isEnabled());
        QVERIFY(!frame().actions().stop->isEnabled());
    }

    void addedProfileShowsTickedWithItsPages() {
        twoProfiles(m_data->folder());
        start();
        profileList().setCheck(0, false);  // beta.org alone ticked
        const std::string list = m_data->root() + "/pages.txt";
        test::writeBytes(list, "http://www.new1.org/\r\n\r\nhttp://www.new2.org/links\r\n");
        tarnwick::test::whenModal<AddProfileWizard>([list](AddProfileWizard* wizard) {
            using tarnwick::test::control;
            control<QLineEdit>(wizard, AddProfileWizard::kAdvertiserEdit)
                ->setText(QStringLiteral("http://www.fresh.net"));
            control(wizard, AddProfileWizard::kNextButton)->click();  // Import...
            control<QRadioButton>(wizard, AddProfileWizard::kTextFileRadio)->click();
            control(wizard, AddProfileWizard::kNextButton)->click();  // Next >
            control<QLineEdit>(wizard, AddProfileWizard::kPathEdit)
                ->setText(QString::fromStdString(list));
            control(wizard, AddProfileWizard::kNextButton)
                ->click();  // Next >: the plain text import
            control(wizard, AddProfileWizard::kNextButton)->click();  // Save and Finish
        });
        frame().actions().addProfile->trigger();
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({"Your profile has been successfully added."}));
        QCOMPARE(profileList().rowCount(), 3);
        QCOMPARE(profileList().cellText(2, 1), QStringLiteral("http://www.fresh.net"));
        QVERIFY(profileList().getCheck(2));
        QCOMPARE(profileList().checkHeader()->image(), HeaderCheck::Some);
        // The click rule's results: beta.org's 2 pages and the new profile's 2.
        results().rebuildResults();
        QCOMPARE(resultList().rowCount(), 4);
        QCOMPARE(resultCell(2, 0), QStringLiteral("http://www.fresh.net"));
        QCOMPARE(resultCell(3, 1), QStringLiteral("http://www.new2.org/links"));
        QVERIFY(runState().isPlayEnabled());
    }

    void copiesSelectedRows() {
        twoProfiles(m_data->folder());
        start();
        resultList().selectionModel()->select(
            resultList().model()->index(3, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        resultList().selectionModel()->select(
            resultList().model()->index(1, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(&resultList(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("http://www.alpha.com\twww.p2.com/\tb@p2.com\tDisabled\t\t\t\n"
                                "http://www.beta.org\twww.q1.net/\tx@q1.net\tEnabled\t\t\t\n"));
    }

    void cancelledAddChangesNothing() {
        twoProfiles(m_data->folder());
        start();
        runState().setProfilesToPlay(false);
        pressWhenModal<AddProfileWizard>(AddProfileWizard::kBackButton);  // Cancel
        frame().actions().addProfile->trigger();
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
        QVERIFY(!runState().isPlayEnabled());
        QCOMPARE(profileList().rowCount(), 2);
    }

    void buttonsFollowTheEnablingFlags() {
        twoProfiles(m_data->folder());
        start();
        runState().setRunning(true);
        QTRY_VERIFY(!frame().actions().play->isEnabled());
        QTRY_VERIFY(frame().actions().stop->isEnabled());
        runState().setRunning(false);
        QTRY_VERIFY(frame().actions().play->isEnabled());
        QTRY_VERIFY(!frame().actions().stop->isEnabled());
    }

    void f6MovesBetweenThePanes() {
        twoProfiles(m_data->folder());
        start();
        frame().activateWindow();
        profileList().setFocus();
        QTRY_VERIFY(profileList().hasFocus());
        QTest::keyClick(&frame(), Qt::Key_F6);
        QTRY_VERIFY(resultList().hasFocus());
        QTest::keyClick(&frame(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_VERIFY(profileList().hasFocus());
        // From the results' filter the results come next.
        auto* filter = frame().findChild<QComboBox*>(QStringLiteral("ResultFilter"));
        filter->setFocus();
        QTRY_VERIFY(filter->hasFocus());
        QTest::keyClick(&frame(), Qt::Key_F6);
        QTRY_VERIFY(resultList().hasFocus());
    }

    // Shift+F10 opens the current row's menu, as the Menu key and a right
    // click do.
    void shiftF10OpensTheRowMenu() {
        twoProfiles(m_data->folder());
        start();
        QVERIFY(resultList().rowCount() >= 2);
        resultList().setFocus();
        resultList().setCurrentIndex(resultList().model()->index(1, 1));
        QString opened;
        QTimer::singleShot(0, this, [&opened] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = popup->objectName();
                popup->close();
            }
        });
        QTest::keyClick(&resultList(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(opened, QStringLiteral("ResultRowMenu"));
    }

    void closingWhenIdleAsksForConfirmation() {
        start();
        UrlRecorder web;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "open");
        pressWhenModal<ConfirmExitDialog>(ConfirmExitDialog::kCancelButton);  // Cancel
        QVERIFY(!frame().close());
        QVERIFY(frame().isVisible());
        pressWhenModal<ConfirmExitDialog>(ConfirmExitDialog::kOkButton);  // OK
        QVERIFY(frame().close());
        QVERIFY(!frame().isVisible());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(web.m_urls.size(), 1);
    }

    void closingDuringARunAsksToSaveTheReport() {
        twoProfiles(m_data->folder());
        start();
        runState().setRunning(true);
        m_app->reportOffer().setSaved(false);
        pressWhenModal<SaveReportQuestion>(
            SaveReportQuestion::kCancelButton);  // Cancel: the program and the run go on
        QVERIFY(!frame().close());
        QVERIFY(frame().isVisible());
        QVERIFY(runState().isRunning());
        pressWhenModal<SaveReportQuestion>(
            SaveReportQuestion::kNoButton);  // No: leave without a report
        QVERIFY(frame().close());
        QVERIFY(!frame().isVisible());
    }

    void exitCommandEndsTheProgramWhenConfirmed() {
        start();
        QSignalSpy exits(m_app.get(), &TarnwickApplication::exitRequested);
        UrlRecorder web;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "open");
        pressWhenModal<ConfirmExitDialog>(ConfirmExitDialog::kCancelButton);
        frame().actions().toolExit->trigger();
        QCOMPARE(exits.count(), 0);
        pressWhenModal<ConfirmExitDialog>(ConfirmExitDialog::kOkButton);
        frame().actions().exit->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(exits.count(), 1);
        QCOMPARE(exits[0][0].toInt(), 0);
    }

    void helpOpensTheGuide() {
        start();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        frame().actions().toolHelp->trigger();
        frame().actions().helpTopic->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.m_urls.size(), 2);
        QCOMPARE(recorder.m_urls[1], recorder.m_urls[0]);
        // Run from the build tree, Help opens the build tree's copy of the
        // guide, which is the guide in the sources, byte for byte.
        const QString path = recorder.m_urls[0].toLocalFile();
        QVERIFY2(path.endsWith(QStringLiteral("/guide/Help.html")), qPrintable(path));
        const std::string guide = test::readBytes(path.toStdString());
        const char* sources = std::getenv("TARNWICK_SOURCE_DIR");
        QVERIFY(sources != nullptr);
        QCOMPARE(guide, test::readBytes(std::string(sources) + "/gui/res/Help.html"));
        // Nothing is written into the data folder any more.
        QVERIFY(!QFileInfo::exists(QString::fromStdString(m_data->folder().folder()) +
                                   QStringLiteral("/Help.html")));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void aboutBoxShowsTheProductAndItsLinks() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Osgrel Tarnwick Ambrel"));
        QCOMPARE(about.findChild<QLabel*>(AboutDialog::kVersionLabel)->text(),
                 QStringLiteral("Osgrel - Tarnwick  Version - 2.0.1.5"));
        // The version of the build stands beside it, for bug reports.
        QCOMPARE(about.findChild<QLabel*>(AboutDialog::kPackageVersionLabel)->text(),
                 QStringLiteral("(package %1)").arg(QLatin1String(kPackageVersion)));
        QCOMPARE(about.findChild<QLabel*>(AboutDialog::kMailLabel)->text(),
                 QStringLiteral("Email : "));
        auto* mail = about.findChild<LinkLabel*>(AboutDialog::kMailLink);
        auto* web = about.findChild<LinkLabel*>(AboutDialog::kWebLink);
        QVERIFY(mail && web);
        QCOMPARE(mail->text(), QString::fromLatin1(kMakerMail));
        QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(mail->font().pixelSize(), 12);
        QVERIFY(!mail->font().underline());
        auto* ok = about.findChild<QPushButton*>(AboutDialog::kOkButton);
        QVERIFY(ok && !ok->isVisible() && !ok->isEnabled());

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        // The gradient: one step lighter every 50 rows.
        QCOMPARE(AboutDialog::backgroundAt(0), QColor(243, 242, 242));
        QCOMPARE(AboutDialog::backgroundAt(49), QColor(243, 242, 242));
        QCOMPARE(AboutDialog::backgroundAt(50), QColor(244, 243, 243));
        QCOMPARE(AboutDialog::backgroundAt(50 * 14), QColor(1, 0, 0));
        const QImage shot = about.grab().toImage();
        QCOMPARE(shot.pixelColor(about.width() - 2, 2), QColor(243, 242, 242));

        // Hovering the mail link adds a full stop; the web link stays as it is.
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), mail->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(mail, &move);
        QCOMPARE(mail->text(), QString::fromLatin1(kMakerMail) + ".");
        QApplication::sendEvent(web, &move);
        QCOMPARE(web->text(), QString::fromLatin1(kProductWebSite));

        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(3, 3));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.m_urls.size(), 2);
        QCOMPARE(recorder.m_urls[0].toString(), "mailto:" + QString::fromLatin1(kMakerMail));
        QCOMPARE(recorder.m_urls[1].toString(), QString::fromLatin1(kProductWebSite));

        // Enter leaves it open; Esc closes it.
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(about.isVisible());
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Rejected));
    }

    void scanPanesCarryCallsToTheWindow() {
        twoProfiles(m_data->folder());
        start();
        WindowScanPanes& panes = *m_app->scanPanes();
        // As during a run (the progress shows only while one is in progress).
        runState().setRunning(true);
        std::atomic<bool> done{false};
        int rows = 0;
        int results = 0;
        ResultRow row;
        std::thread worker([&] {
            rows = panes.profileRowCount();
            results = panes.resultRowCount();
            panes.setProfileStatus(1, "Running...");
            panes.setResultStatus(4, test::linkResultOf("Link Not Found"));
            panes.setResultMail(4, "Fail to initialize");
            panes.pageStarted(4);
            row = panes.resultRowAt(4);
            done = true;
        });
        QTRY_VERIFY(done.load());
        worker.join();
        QCOMPARE(rows, 2);
        QCOMPARE(results, 5);
        QCOMPARE(profiles().profileStatus(1), std::string("Running..."));
        QCOMPARE(resultCell(4, 4), QStringLiteral("Link Not Found"));
        QCOMPARE(row.m_mail, std::string("Fail to initialize"));
        QCOMPARE(row.statusText(), std::string("Link Not Found"));
        QTRY_COMPARE(frame().messageText(), QStringLiteral("Checking page 5 of 5: http://q2.net/"));
        // Called on the GUI thread the calls apply at once.
        panes.setResultStatus(0, test::linkResultOf("Link Found"));
        QCOMPARE(resultCell(0, 4), QStringLiteral("Link Found"));
    }

    void closedPanesLetAWaitingThreadGo() {
        twoProfiles(m_data->folder());
        start();
        WindowScanPanes& panes = *m_app->scanPanes();
        std::atomic<bool> done{false};
        int rows = -1;
        std::thread worker([&] {
            rows = panes.profileRowCount();
            done = true;
        });
        // The GUI thread does not run its loop: the call waits...
        QThread::msleep(100);
        QVERIFY(!done.load());
        // ...until the panes are closed.
        panes.close();
        worker.join();
        QCOMPARE(rows, 0);
        panes.setResultStatus(0, test::linkResultOf("Link Found"));  // closed: no effect
        QCOMPARE(resultCell(0, 4), QString());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
