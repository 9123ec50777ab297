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
#include "gui/app/AppState.h"
#include "gui/app/CommandIds.h"
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
#include "scan/ScanState.h"
#include "support/TempDataFolder.h"

using namespace tarnwick;
using tarnwick::test::AddProfile;
using tarnwick::test::Page;
using tarnwick::test::PressWhenModal;
using Answer = AppMessageBox::Answer;

// Records the addresses the program asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> m_urls;
public slots:
    void Open(const QUrl& url) { m_urls.append(url); }
};

namespace {

// The store of most tests: alpha.com with 3 pages, beta.org with 2.
void TwoProfiles(const DataFolder& folder) {
    AddProfile(folder, "alpha.com", "Link: http://www.alpha.com",
               {Page("http://www.p1.com/links.html", "a@p1.com", "1"),
                Page("www.p2.com/", "b@p2.com", "0"), Page("http://p3.com/x", "c@p3.com", "2")});
    AddProfile(folder, "beta.org", "Link: http://www.beta.org",
               {Page("www.q1.net/", "x@q1.net", "1"), Page("http://q2.net/", "y@q2.net", "")});
}

QPoint CellCentre(PaneTableView& list, int row, int column) {
    return list.visualRect(list.model()->index(row, column)).center();
}

void Click(PaneTableView& list, QPoint at) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
}

QStringList ToolBarTexts(QToolBar* bar) {
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

    MainWindow& Frame() { return *m_app->mainWindow(); }
    ProfilePane& Profiles() { return *Frame().profilePane(); }
    ResultsPane& Results() { return *Frame().resultsPane(); }
    PaneTableView& ProfileList() { return Profiles().List(); }
    PaneTableView& ResultList() { return Results().List(); }

    void Start() {
        m_app = std::make_unique<TarnwickApplication>(StartOptions{0});
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        test::WatchPaneModels(Frame());
    }

    QString ResultCell(int row, int column) { return Results().List().CellText(row, column); }

private slots:
    void initTestCase() { AppMessageBox::SetTestMode(true); }

    void init() {
        AppMessageBox::ClearShown();
        m_data = std::make_unique<test::TempDataFolder>();
    }

    void cleanup() {
        g_bScanRunning = false;
        m_app.reset();
        m_data.reset();
    }

    void startsWithAnEmptyStore() {
        Start();
        QCOMPARE(Frame().windowTitle(), QStringLiteral("Osgrel Tarnwick Ambrel"));
        QVERIFY(Frame().windowState() & Qt::WindowMaximized);
        QCOMPARE(ProfileList().RowCount(), 0);
        QCOMPARE(ResultList().RowCount(), 0);
        QVERIFY(!Frame().Command(ID_PLAY)->isEnabled());
        QVERIFY(!Frame().Command(ID_STOP)->isEnabled());
        for (int id : {ID_ADD, ID_HELP, ID_ABOUT, ID_EXIT}) {
            QVERIFY2(Frame().Command(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        // No profile: nothing to edit or delete.
        QVERIFY(!Frame().Command(ID_DELETE)->isEnabled());
        QVERIFY(!Frame().Command(ID_EDIT_PROFILE)->isEnabled());
        QCOMPARE(Frame().MessageText(), QStringLiteral("Ready"));
        QVERIFY(test::Exists(m_data->Folder().Folder()));
        QCOMPARE(g_pProfilePane, &Profiles());
        QCOMPARE(g_pResultsPane, &Results());
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void toolBarMenuAndStatusBar() {
        Start();
        QToolBar* bar = Frame().ToolBar();
        QCOMPARE(ToolBarTexts(bar),
                 QStringList({"Play", "Stop", "Add", "Delete", "Edit Profile", "Help", "About",
                              "Exit", "Check without mailing"}));
        QStringList ids;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            ids.append(action->objectName());
            QCOMPARE(action->toolTip(), action->iconText());
            if (action->objectName() != QStringLiteral("32801")) {
                QVERIFY(!action->icon().isNull());
            }
            // The button is reachable by its command name, and by Tab.
            QWidget* button = bar->widgetForAction(action);
            QVERIFY(button != nullptr);
            QCOMPARE(button->focusPolicy(), Qt::TabFocus);
        }
        QCOMPARE(ids, QStringList({"32771", "32772", "32773", "32774", "32778", "57670", "32780",
                                   "32781", "32801"}));

        QStringList menus;
        QMap<QString, QMenu*> byName;
        for (QAction* menu : Frame().menuBar()->actions()) {
            menus.append(menu->text());
            byName[menu->text()] = menu->menu();
        }
        QCOMPARE(menus, QStringList({"&File", "&View", "&Scan", "&Profile", "&Help"}));
        // The menus hold the tool bar's own actions: one enabling for both,
        // and keys that work with the tool bar hidden.
        const struct {
            const char* menu;
            int id;
            const char* text;
            QList<QKeySequence> keys;
        } items[] = {
            {"&Scan", ID_PLAY, "&Play", {QKeySequence(Qt::Key_F5)}},
            {"&Scan", ID_STOP, "&Stop", {QKeySequence(Qt::Key_Escape), QKeySequence("Shift+F5")}},
            {"&Scan", ID_CHECK_WITHOUT_MAIL, "Check &without mailing", {}},
            {"&Profile", ID_ADD, "&Add...", {QKeySequence(Qt::Key_Insert), QKeySequence("Ctrl+N")}},
            {"&Profile", ID_EDIT_PROFILE, "&Edit Profile...", {QKeySequence(Qt::Key_F2)}},
            {"&Profile", ID_DELETE, "&Delete...", {QKeySequence(Qt::Key_Delete)}},
            {"&Profile", ID_MAIL_SETTINGS, "&Mail Settings...", {}},
        };
        for (const auto& item : items) {
            QAction* action = Frame().Command(item.id);
            QVERIFY2(byName[item.menu]->actions().contains(action), item.text);
            QCOMPARE(action->text(), QString::fromLatin1(item.text));
            QCOMPARE(action->shortcuts(), item.keys);
        }
        QVERIFY(Frame().Command(ID_CHECK_WITHOUT_MAIL)->isCheckable());
        QCOMPARE(Frame().Command(ID_FILE_EXIT)->text(), QStringLiteral("&Exit"));
        QCOMPARE(Frame().Command(ID_HELP_ABOUT)->text(),
                 QStringLiteral("&About Osgrel Tarnwick..."));
        QCOMPARE(Frame().Command(ID_HELP_TOPIC)->text(), QStringLiteral("&Help Topic..."));
        QVERIFY(!Frame().Command(ID_VIEW_STATUS_BAR)->isEnabled());
        QAction* toolbar = Frame().Command(ID_VIEW_TOOLBAR);
        QCOMPARE(toolbar->text(), QStringLiteral("&Toolbar"));
        QVERIFY(toolbar->isCheckable() && toolbar->isChecked());
        toolbar->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(!toolbar->isChecked());
        toolbar->trigger();
        QVERIFY(bar->isVisible());

        // The status bar: message pane, then the three lock indicators.
        QStatusBar* status = Frame().statusBar();
        for (const char* id : {"59137", "59138", "59139"}) {
            QVERIFY(status->findChild<QLabel*>(QString::fromLatin1(id)) != nullptr);
        }
        // A prompt while the pointer is over a button, then "Ready" again.
        status->showMessage(Frame().Command(ID_PLAY)->statusTip());
        QCOMPARE(status->currentMessage(), QStringLiteral("Play"));
        status->clearMessage();
        QCOMPARE(Frame().MessageText(), QStringLiteral("Ready"));
    }

    void startsWithEveryProfileTickedAndListed() {
        TwoProfiles(m_data->Folder());
        AddProfile(m_data->Folder(), "example.co.uk (2)", "Link: ", {Page("www.r1.org/")});
        Start();
        QCOMPARE(ProfileList().RowCount(), 3);
        QCOMPARE(ProfileList().CellText(0, 1), QStringLiteral("www.alpha.com"));
        QCOMPARE(ProfileList().CellText(1, 1), QStringLiteral("www.beta.org"));
        QCOMPARE(ProfileList().CellText(2, 1), QStringLiteral("www.example.co.uk (2)"));
        QCOMPARE(ProfileList().TickedCount(), 3);
        QCOMPARE(ProfileList().CellText(0, 2), QString());
        QCOMPARE(ProfileList().checkHeader()->Image(), HeaderCheck::All);
        QVERIFY(Frame().Command(ID_PLAY)->isEnabled());
        QVERIFY(!Frame().Command(ID_STOP)->isEnabled());
        // Loading every row ticked rebuilds the results once.
        QCOMPARE(Results().RebuildCount(), 1);

        const QStringList expected[] = {
            {"http://www.alpha.com", "http://www.p1.com/links.html", "a@p1.com", "Enabled", ""},
            {"http://www.alpha.com", "www.p2.com/", "b@p2.com", "Disabled", ""},
            {"http://www.alpha.com", "http://p3.com/x", "c@p3.com", "Disabled", ""},
            {"http://www.beta.org", "www.q1.net/", "x@q1.net", "Enabled", ""},
            {"http://www.beta.org", "http://q2.net/", "y@q2.net", "Disabled", ""},
            {"", "www.r1.org/", "w@example.org", "Enabled", ""},
        };
        QCOMPARE(ResultList().RowCount(), 6);
        for (int r = 0; r < 6; ++r) {
            for (int c = 0; c < 5; ++c) {
                QCOMPARE(ResultCell(r, c), expected[r][c]);
            }
            QCOMPARE(Results().RowAt(r).m_nProfileRow, r < 3 ? 0 : r < 5 ? 1 : 2);
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
        QCOMPARE(headings(ProfileList()), QStringList({"/30", "Proile/150", "Status/175"}));
        QCOMPARE(headings(ResultList()),
                 QStringList({"Advetiser's Site/125", "Publisher's Site/200", "Mail Address/125",
                              "Email Notification/100", "Status/125", "Since last run/100",
                              "Details/110"}));
        QCOMPARE(ProfileList().accessibleName(), QStringLiteral("Profiles"));
        QCOMPARE(ResultList().accessibleName(), QStringLiteral("Results"));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void manyProfilesRebuildOnce() {
        for (int i = 0; i < 200; ++i) {
            AddProfile(m_data->Folder(), "site" + std::to_string(i) + ".com",
                       "Link: http://adv.com", {Page("http://p" + std::to_string(i) + ".com/")});
        }
        Start();
        QCOMPARE(ProfileList().RowCount(), 200);
        QCOMPARE(ResultList().RowCount(), 200);
        QCOMPARE(Results().RebuildCount(), 1);
    }

    void emptyLineInIndexHidesLaterProfiles() {
        TwoProfiles(m_data->Folder());
        const std::string index = test::ReadBytes(m_data->Folder().IndexPath());
        test::WriteBytes(m_data->Folder().IndexPath(), index.substr(0, index.find("\r\n")) +
                                                           "\r\n\r\n" +
                                                           index.substr(index.find("\r\n") + 2));
        Start();
        QCOMPARE(ProfileList().RowCount(), 1);
        QCOMPARE(ResultList().RowCount(), 3);
    }

    void unreadableProfileIsToldOnceAndLeftOut() {
        TwoProfiles(m_data->Folder());
        const std::string gone = m_data->Folder().ProfilePath("gone.net");
        test::WriteBytes(m_data->Folder().IndexPath(),
                         test::ReadBytes(m_data->Folder().IndexPath()) + "\r\n" + gone);
        Start();
        QCOMPARE(ProfileList().RowCount(), 3);
        QCOMPARE(ResultList().RowCount(), 5);  // the others are all there
        QTRY_COMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY(AppMessageBox::LastText().contains(QStringLiteral("www.gone.net")));
        // Later rebuilds do not tell it again...
        Results().RebuildResults();
        QTest::qWait(50);
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        // ...until it has been read and then fails again.
        test::WriteBytes(gone, "Link: http://gone.net\r\n" + Page("http://z.net/"));
        Results().RebuildResults();
        QCOMPARE(ResultList().RowCount(), 6);
        std::remove(gone.c_str());
        Results().RebuildResults();
        QTRY_COMPARE(AppMessageBox::ShownTexts().size(), 2);
    }

    // Results stay until the user asks for others: a click on a row of
    // either pane selects it, the arrows move; only a change of ticks
    // rebuilds, after one question when a run's results would go.
    void resultsStayUntilTheTicksChange() {
        TwoProfiles(m_data->Folder());
        Start();
        Results().SetStatus(3, "Link Found");
        const int rebuilds = Results().RebuildCount();

        Click(ProfileList(), CellCentre(ProfileList(), 1, 1));
        QVERIFY(ProfileList().selectionModel()->isRowSelected(1, {}));
        QTest::keyClick(&ProfileList(), Qt::Key_Up);
        QVERIFY(ProfileList().selectionModel()->isRowSelected(0, {}));
        Click(ResultList(), CellCentre(ResultList(), 3, 1));
        QTest::keyClick(&ResultList(), Qt::Key_Down);
        QVERIFY(ResultList().selectionModel()->isRowSelected(4, {}));
        QCOMPARE(Results().RebuildCount(), rebuilds);
        QCOMPARE(ResultCell(3, 4), QStringLiteral("Link Found"));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());

        // A tick: No changes nothing.
        AppMessageBox::PresetAnswer(Answer::No);
        Click(ProfileList(), ProfileList().CheckBoxRect(0).center());
        QCOMPARE(AppMessageBox::LastText(),
                 QStringLiteral("This operation will refresh all the contents of this list. Do "
                                "you want to continue"));
        QVERIFY(ProfileList().GetCheck(0));
        QCOMPARE(Results().RebuildCount(), rebuilds);
        QCOMPARE(ResultCell(3, 4), QStringLiteral("Link Found"));

        // Yes: one question, one rebuild, the pages of the ticked profile.
        AppMessageBox::PresetAnswer(Answer::Yes);
        Click(ProfileList(), ProfileList().CheckBoxRect(0).center());
        QCOMPARE(AppMessageBox::ShownTexts().size(), 2);
        QVERIFY(!ProfileList().GetCheck(0));
        QCOMPARE(Results().RebuildCount(), rebuilds + 1);
        QCOMPARE(ResultList().RowCount(), 2);
        QCOMPARE(ResultCell(0, 4), QString());

        // Results without a status of this session: no question.
        Click(ProfileList(), ProfileList().CheckBoxRect(0).center());
        QCOMPARE(AppMessageBox::ShownTexts().size(), 2);
        QCOMPARE(ResultList().RowCount(), 5);
    }

    // The filter and the sorting change what the list shows, never the rows
    // the run writes to; a row opens its page, copies its address or itself.
    void resultsFilterSortAndRowActions() {
        TwoProfiles(m_data->Folder());
        Start();
        ResultListModel& model = Results().Model();
        model.SetStatus(0, "Link Not Found");  // notification on: mailed
        model.SetStatus(1, "Link Found");
        model.SetStatus(2, "Page cannot be displayed");  // never mailed
        model.SetStatus(3, "Page Cannot be Found");
        model.SetMail(3, "Mail Settings Not provided");  // its letter failed
        const auto shownPages = [this] {
            QStringList pages;
            for (int r = 0; r < ResultList().RowCount(); ++r) {
                pages.append(ResultCell(r, 1));
            }
            return pages;
        };
        QComboBox& filter = Results().FilterBox();
        QCOMPARE(filter.count(), 4);
        QCOMPARE(filter.itemText(1), QStringLiteral("Problems only"));
        QCOMPARE(filter.itemText(3), QStringLiteral("Link quality problems"));
        filter.setCurrentIndex(1);
        QCOMPARE(shownPages(),
                 QStringList({"http://www.p1.com/links.html", "http://p3.com/x", "www.q1.net/"}));
        filter.setCurrentIndex(2);
        QCOMPARE(shownPages(), QStringList({"http://p3.com/x", "www.q1.net/"}));
        // A status written while filtered shows or hides its row at once.
        model.SetStatus(4, "Link Not Found");  // notification off
        QCOMPARE(shownPages(), QStringList({"http://p3.com/x", "www.q1.net/", "http://q2.net/"}));
        filter.setCurrentIndex(0);
        QCOMPARE(ResultList().RowCount(), 5);

        // A heading click sorts the view; the model keeps the run's order.
        QHeaderView* header = ResultList().horizontalHeader();
        QVERIFY(header->stretchLastSection());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
        QCOMPARE(shownPages(),
                 QStringList({"http://p3.com/x", "http://q2.net/", "http://www.p1.com/links.html",
                              "www.p2.com/", "www.q1.net/"}));
        QCOMPARE(model.Row(0).m_strPage, std::string("http://www.p1.com/links.html"));
        model.SetStatus(0, "Link Found");
        QCOMPARE(ResultCell(2, 4), QStringLiteral("Link Found"));
        QCOMPARE(Results().Shown().SourceRow(2), 0);
        ResultList().sortByColumn(-1, Qt::AscendingOrder);
        QCOMPARE(ResultCell(0, 1), QStringLiteral("http://www.p1.com/links.html"));

        UrlRecorder web;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &web, "Open");
        Results().OpenPage(1);  // typed without a scheme
        QCOMPARE(web.m_urls, QList<QUrl>({QUrl(QStringLiteral("http://www.p2.com/"))}));
        Results().CopyAddress(0);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("http://www.p1.com/links.html"));
        Results().CopyRow(3);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("http://www.beta.org\twww.q1.net/\tMail Settings Not "
                                "provided\tEnabled\tPage Cannot be Found\t\t"));
        // A double click the click rule lets through opens the page; the
        // click only selects the row.
        Results().RebuildResults();
        // (A double click comes as a press, then the double click.)
        const int rebuilds = Results().RebuildCount();
        Click(ResultList(), CellCentre(ResultList(), 4, 1));
        QCOMPARE(Results().RebuildCount(), rebuilds);
        QTest::mouseDClick(ResultList().viewport(), Qt::LeftButton, {},
                           CellCentre(ResultList(), 4, 1));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(web.m_urls.size(), 2);
        QCOMPARE(web.m_urls.back(), QUrl(QStringLiteral("http://q2.net/")));
        QVERIFY(ResultList().selectionModel()->isRowSelected(4, {}));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    // Size, splitter and column widths come back at the next start; the
    // widths built into the program are the first start's.
    void layoutIsRememberedBetweenStarts() {
        TwoProfiles(m_data->Folder());
        const QString file = QString::fromStdString(m_data->Root() + "/config/window.ini");
        StartOptions options(0);
        options.m_strLayoutFile = file;
        m_app = std::make_unique<TarnwickApplication>(options);
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        QCOMPARE(ResultList().horizontalHeader()->sectionSize(1), 200);
        QCOMPARE(ProfileList().horizontalHeader()->sectionSize(1), 150);
        Frame().showNormal();
        Frame().setGeometry(40, 50, 900, 640);
        QTRY_COMPARE(Frame().geometry().size(), QSize(900, 640));
        Frame().Splitter()->setSizes({280, 620});
        ResultList().horizontalHeader()->resizeSection(1, 333);
        ProfileList().horizontalHeader()->resizeSection(1, 111);
        const QList<int> sizes = Frame().Splitter()->sizes();
        Frame().SaveLayout(file);
        m_app.reset();

        m_app = std::make_unique<TarnwickApplication>(options);
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        QVERIFY(!(Frame().windowState() & Qt::WindowMaximized));
        QTRY_COMPARE(Frame().geometry().size(), QSize(900, 640));
        QCOMPARE(Frame().Splitter()->sizes(), sizes);
        QCOMPARE(ResultList().horizontalHeader()->sectionSize(1), 333);
        QCOMPARE(ProfileList().horizontalHeader()->sectionSize(1), 111);
    }

    // The desktop's keys: Ctrl+Q leaves through the exit question, F1 opens
    // the guide, Ctrl+F the search box, which keeps the rows holding its
    // text; View > Sort by sorts as a heading click does.
    void keyboardConventions() {
        TwoProfiles(m_data->Folder());
        Start();
        QCOMPARE(Frame().Command(ID_FILE_EXIT)->shortcut(), QKeySequence(QKeySequence::Quit));
        QCOMPARE(Frame().Command(ID_HELP_TOPIC)->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(Frame().Command(ID_VIEW_FIND)->shortcut(), QKeySequence(QKeySequence::Find));
        PressWhenModal<ConfirmExitDialog>("1045");  // Cancel: the program goes on
        Frame().Command(ID_FILE_EXIT)->trigger();
        QVERIFY(Frame().isVisible());

        const auto shownPages = [this] {
            QStringList pages;
            for (int r = 0; r < ResultList().RowCount(); ++r) {
                pages.append(ResultCell(r, 1));
            }
            return pages;
        };
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        Frame().Command(ID_VIEW_FIND)->trigger();
        QLineEdit& search = Results().SearchBox();
        QTRY_VERIFY(search.hasFocus());
        QTest::keyClicks(&search, "Q");  // letter case does not matter
        QCOMPARE(shownPages(), QStringList({"www.q1.net/", "http://q2.net/"}));
        QTest::keyClicks(&search, "1");
        QCOMPARE(shownPages(), QStringList({"www.q1.net/"}));
        search.clear();
        QCOMPARE(ResultList().RowCount(), 5);

        auto* sortMenu = Frame().findChild<QMenu*>(QStringLiteral("SortMenu"));
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
        QCOMPARE(shownPages().first(), QStringLiteral("www.q1.net/"));
        choose(QStringLiteral("&Run Order"));
        QCOMPARE(shownPages().first(), QStringLiteral("http://www.p1.com/links.html"));
        QCOMPARE(Results().Model().Row(0).m_strPage, std::string("http://www.p1.com/links.html"));
    }

    // With a 14-point font the columns are as much wider, so "Link Not
    // Found" is not cut; at the usual size they are as designed.
    void columnWidthsFollowTheFont() {
        TwoProfiles(m_data->Folder());
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPointSize(14);
        QApplication::setFont(large);
        Start();
        QApplication::setFont(usual);
        QCOMPARE(ResultList().horizontalHeader()->sectionSize(ResultListModel::ColStatus), 175);
        QCOMPARE(ProfileList().horizontalHeader()->sectionSize(1), 210);
        const int status = ResultList().fontMetrics().horizontalAdvance("Link Not Found");
        QVERIFY(status < 175);
    }

    void clickBelowTheRowsDoesNothing() {
        TwoProfiles(m_data->Folder());
        Start();
        Click(ProfileList(), CellCentre(ProfileList(), 0, 1));
        QVERIFY(ProfileList().selectionModel()->isRowSelected(0, {}));
        const int rebuilds = Results().RebuildCount();
        const QPoint below(
            40, ProfileList().visualRect(ProfileList().model()->index(1, 1)).bottom() + 40);
        Click(ProfileList(), below);
        QVERIFY(ProfileList().selectionModel()->isRowSelected(0, {}));
        QCOMPARE(Results().RebuildCount(), rebuilds);
        // The results pane: a click on any row selects it, whatever its page
        // address looks like; a click below the rows does nothing.
        Click(ResultList(), CellCentre(ResultList(), 0, 1));  // http://www.p1.com/...
        QVERIFY(ResultList().selectionModel()->isRowSelected(0, {}));
        Click(ResultList(), CellCentre(ResultList(), 1, 1));  // www.p2.com/
        QVERIFY(ResultList().selectionModel()->isRowSelected(1, {}));
        const QPoint belowResults(
            40, ResultList().visualRect(ResultList().model()->index(4, 1)).bottom() + 40);
        Click(ResultList(), belowResults);
        QVERIFY(ResultList().selectionModel()->isRowSelected(1, {}));
        QCOMPARE(Results().RebuildCount(), rebuilds);
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void selectingAnotherProfileKeepsTheResults() {
        TwoProfiles(m_data->Folder());
        Start();
        const int rebuilds = Results().RebuildCount();
        Click(ProfileList(), CellCentre(ProfileList(), 1, 1));
        QTest::keyClick(&ProfileList(), Qt::Key_Up);
        QVERIFY(ProfileList().selectionModel()->isRowSelected(0, {}));
        QTest::keyClick(&ProfileList(), Qt::Key_End);
        QVERIFY(ProfileList().selectionModel()->isRowSelected(1, {}));
        QTest::keyClick(&ProfileList(), Qt::Key_Home);
        QVERIFY(ProfileList().selectionModel()->isRowSelected(0, {}));
        QCOMPARE(Results().RebuildCount(), rebuilds);
    }

    void checkBoxesDriveResultsAndPlay() {
        TwoProfiles(m_data->Folder());
        Start();
        // Untick the first profile: some ticked, the results follow the ticks.
        Click(ProfileList(), ProfileList().CheckBoxRect(0).center());
        QVERIFY(!ProfileList().GetCheck(0));
        QCOMPARE(ProfileList().checkHeader()->Image(), HeaderCheck::Some);
        QCOMPARE(ResultList().RowCount(), 2);  // beta.org only
        QVERIFY(Frame().Command(ID_PLAY)->isEnabled());

        // Untick the second: none ticked, Play and Stop disabled, results empty.
        Click(ProfileList(), ProfileList().CheckBoxRect(1).center());
        QCOMPARE(ProfileList().checkHeader()->Image(), HeaderCheck::None);
        QCOMPARE(ResultList().RowCount(), 0);
        QVERIFY(!Frame().Command(ID_PLAY)->isEnabled());
        QVERIFY(!Frame().Command(ID_STOP)->isEnabled());

        // With nothing ticked, ticking one shows its pages and enables Play.
        Click(ProfileList(), ProfileList().CheckBoxRect(1).center());
        QVERIFY(ProfileList().GetCheck(1));
        QCOMPARE(ResultList().RowCount(), 2);
        QVERIFY(Frame().Command(ID_PLAY)->isEnabled());

        // The header box: from "some" it unticks all, then ticks all.
        QHeaderView* header = ProfileList().horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 15, header->height() / 2));
        QCOMPARE(ProfileList().TickedCount(), 0);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 15, header->height() / 2));
        QCOMPARE(ProfileList().TickedCount(), 2);
        QCOMPARE(ResultList().RowCount(), 5);
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void clicksAreRefusedWhileATaskRuns() {
        TwoProfiles(m_data->Folder());
        Start();
        const int rebuilds = Results().RebuildCount();
        ProfileList().selectionModel()->setCurrentIndex(ProfileList().model()->index(0, 1),
                                                        QItemSelectionModel::NoUpdate);
        g_bScanRunning = true;
        Click(ProfileList(), ProfileList().CheckBoxRect(0).center());
        Click(ResultList(), CellCentre(ResultList(), 1, 1));
        QTest::keyClick(&ProfileList(), Qt::Key_Space);
        g_bScanRunning = false;
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({"Task is running", "Task is running", "Task is running"}));
        QCOMPARE(ProfileList().TickedCount(), 2);
        QVERIFY(!ProfileList().selectionModel()->hasSelection());
        QVERIFY(!ResultList().selectionModel()->hasSelection());
        QCOMPARE(Results().RebuildCount(), rebuilds);
    }

    void resultColoursFollowTheStatusWords() {
        TwoProfiles(m_data->Folder());
        Start();
        const char* words[] = {"Link Found", "Link Not Found", "Page cannot be displayed",
                               "Page Cannot be Found", "link found"};
        const QColor colours[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(255, 255, 0),
                                  QColor(255, 0, 0), QColor(255, 255, 255)};
        for (int r = 0; r < 5; ++r) {
            Results().SetStatus(r, words[r]);
        }
        ResultList().selectionModel()->clearCurrentIndex();
        for (int c = 0; c < 4; ++c) {
            ResultList().horizontalHeader()->resizeSection(c, 40);
        }
        const QImage shot = ResultList().viewport()->grab().toImage();
        for (int r = 0; r < 5; ++r) {
            const QRect cell = ResultList().visualRect(ResultList().model()->index(r, 4));
            QCOMPARE(shot.pixelColor(cell.right() - 3, cell.bottom() - 2), colours[r]);
            // Other columns stay white.
            const QRect mail = ResultList().visualRect(ResultList().model()->index(r, 2));
            QCOMPARE(shot.pixelColor(mail.right() - 3, mail.bottom() - 2), QColor(Qt::white));
        }
    }

    void storeCommandsAreRefusedWhileATaskRuns() {
        TwoProfiles(m_data->Folder());
        Start();
        g_bScanRunning = true;
        Frame().Command(ID_ADD)->trigger();
        Frame().Command(ID_DELETE)->trigger();
        Frame().Command(ID_EDIT_PROFILE)->trigger();
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({"You cannot add profile while task is running",
                              "You cannot delete profile while task is runing",
                              "You cannot edit any profile while task is running"}));
        QVERIFY(!g_bSuppressAutoCheck);
        QCOMPARE(ProfileList().RowCount(), 2);
        QVERIFY(Frame().Command(ID_EDIT_PROFILE)->isEnabled());
    }

    void deleteRemovesTickedProfilesAndReloadsUnticked() {
        TwoProfiles(m_data->Folder());
        AddProfile(m_data->Folder(), "gamma.net", "Link: http://gamma.net",
                   {Page("http://g.net/")});
        Start();
        // Only beta.org ticked.
        ProfileList().SetCheck(0, false);
        ProfileList().SetCheck(2, false);
        PressWhenModal<DeleteProfilesQuestion>("1070");  // Yes
        Frame().Command(ID_DELETE)->trigger();
        QCOMPARE(ProfileList().RowCount(), 2);
        QCOMPARE(ProfileList().CellText(0, 1), QStringLiteral("www.alpha.com"));
        QCOMPARE(ProfileList().CellText(1, 1), QStringLiteral("www.gamma.net"));
        QCOMPARE(ProfileList().TickedCount(), 0);  // reloaded unticked
        QCOMPARE(ProfileList().checkHeader()->Image(), HeaderCheck::None);
        QCOMPARE(ResultList().RowCount(), 0);
        QVERIFY(!test::Exists(m_data->Folder().ProfilePath("beta.org")));
        QVERIFY(g_bSuppressAutoCheck);
        QVERIFY(Frame().Command(ID_PLAY)->isEnabled());  // Play stays enabled after a Delete

        // Nothing ticked now: Delete only says so.
        Frame().Command(ID_DELETE)->trigger();
        QCOMPARE(AppMessageBox::LastText(), QStringLiteral("First select the profile to delete"));

        // Deleting the rest leaves an empty pane and disables Play and Stop.
        ProfileList().SetAllChecks(true);
        PressWhenModal<DeleteProfilesQuestion>("1070");
        Frame().Command(ID_DELETE)->trigger();
        QCOMPARE(ProfileList().RowCount(), 0);
        QTRY_VERIFY(!Frame().Command(ID_PLAY)->isEnabled());
        QVERIFY(!Frame().Command(ID_STOP)->isEnabled());
    }

    void addedProfileShowsTickedWithItsPages() {
        TwoProfiles(m_data->Folder());
        Start();
        ProfileList().SetCheck(0, false);  // beta.org alone ticked
        const std::string list = m_data->Root() + "/pages.txt";
        test::WriteBytes(list, "http://www.new1.org/\r\n\r\nhttp://www.new2.org/links\r\n");
        tarnwick::test::WhenModal<AddProfileWizard>([list](AddProfileWizard* wizard) {
            using tarnwick::test::Control;
            Control<QLineEdit>(wizard, "1006")->setText(QStringLiteral("http://www.fresh.net"));
            Control(wizard, "1009")->click();  // Import...
            Control<QRadioButton>(wizard, "1010")->click();
            Control(wizard, "1009")->click();  // Next >
            Control<QLineEdit>(wizard, "1018")->setText(QString::fromStdString(list));
            Control(wizard, "1009")->click();  // Next >: the plain text import
            Control(wizard, "1009")->click();  // Save and Finish
        });
        Frame().Command(ID_ADD)->trigger();
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({"Your profile has been successfully added."}));
        QCOMPARE(ProfileList().RowCount(), 3);
        QCOMPARE(ProfileList().CellText(2, 1), QStringLiteral("http://www.fresh.net"));
        QVERIFY(ProfileList().GetCheck(2));
        QCOMPARE(ProfileList().checkHeader()->Image(), HeaderCheck::Some);
        // The click rule's results: beta.org's 2 pages and the new profile's 2.
        Results().RebuildResults();
        QCOMPARE(ResultList().RowCount(), 4);
        QCOMPARE(ResultCell(2, 0), QStringLiteral("http://www.fresh.net"));
        QCOMPARE(ResultCell(3, 1), QStringLiteral("http://www.new2.org/links"));
        QVERIFY(g_bPlayEnabled);
    }

    void copiesSelectedRows() {
        TwoProfiles(m_data->Folder());
        Start();
        ResultList().selectionModel()->select(
            ResultList().model()->index(3, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        ResultList().selectionModel()->select(
            ResultList().model()->index(1, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(&ResultList(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("http://www.alpha.com\twww.p2.com/\tb@p2.com\tDisabled\t\t\t\n"
                                "http://www.beta.org\twww.q1.net/\tx@q1.net\tEnabled\t\t\t\n"));
    }

    void cancelledAddChangesNothing() {
        TwoProfiles(m_data->Folder());
        Start();
        g_bPlayEnabled = false;
        PressWhenModal<AddProfileWizard>("1008");  // Cancel
        Frame().Command(ID_ADD)->trigger();
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
        QVERIFY(!g_bPlayEnabled);
        QCOMPARE(ProfileList().RowCount(), 2);
    }

    void buttonsFollowTheEnablingFlags() {
        TwoProfiles(m_data->Folder());
        Start();
        g_bPlayEnabled = false;
        g_bStopEnabled = true;
        QTRY_VERIFY(!Frame().Command(ID_PLAY)->isEnabled());
        QTRY_VERIFY(Frame().Command(ID_STOP)->isEnabled());
        g_bPlayEnabled = true;
        g_bStopEnabled = false;
        QTRY_VERIFY(Frame().Command(ID_PLAY)->isEnabled());
        QTRY_VERIFY(!Frame().Command(ID_STOP)->isEnabled());
    }

    void f6MovesBetweenThePanes() {
        TwoProfiles(m_data->Folder());
        Start();
        Frame().activateWindow();
        ProfileList().setFocus();
        QTRY_VERIFY(ProfileList().hasFocus());
        QTest::keyClick(&Frame(), Qt::Key_F6);
        QTRY_VERIFY(ResultList().hasFocus());
        QTest::keyClick(&Frame(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_VERIFY(ProfileList().hasFocus());
        // From the results' filter the results come next.
        auto* filter = Frame().findChild<QComboBox*>(QStringLiteral("ResultFilter"));
        filter->setFocus();
        QTRY_VERIFY(filter->hasFocus());
        QTest::keyClick(&Frame(), Qt::Key_F6);
        QTRY_VERIFY(ResultList().hasFocus());
    }

    // Shift+F10 opens the current row's menu, as the Menu key and a right
    // click do.
    void shiftF10OpensTheRowMenu() {
        TwoProfiles(m_data->Folder());
        Start();
        QVERIFY(ResultList().RowCount() >= 2);
        ResultList().setFocus();
        ResultList().setCurrentIndex(ResultList().model()->index(1, 1));
        QString opened;
        QTimer::singleShot(0, this, [&opened] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = popup->objectName();
                popup->close();
            }
        });
        QTest::keyClick(&ResultList(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(opened, QStringLiteral("ResultRowMenu"));
    }

    void closingWhenIdleAsksForConfirmation() {
        Start();
        UrlRecorder web;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "Open");
        PressWhenModal<ConfirmExitDialog>("1045");  // Cancel
        QVERIFY(!Frame().close());
        QVERIFY(Frame().isVisible());
        PressWhenModal<ConfirmExitDialog>("1044");  // OK
        QVERIFY(Frame().close());
        QVERIFY(!Frame().isVisible());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(web.m_urls.size(), 1);
    }

    void closingDuringARunAsksToSaveTheReport() {
        TwoProfiles(m_data->Folder());
        Start();
        g_bScanRunning = true;
        g_bReportSaved = false;
        PressWhenModal<SaveReportQuestion>("2");  // Cancel: the program and the run go on
        QVERIFY(!Frame().close());
        QVERIFY(Frame().isVisible());
        QVERIFY(g_bScanRunning);
        PressWhenModal<SaveReportQuestion>("1045");  // No: leave without a report
        QVERIFY(Frame().close());
        QVERIFY(!Frame().isVisible());
    }

    void exitCommandEndsTheProgramWhenConfirmed() {
        Start();
        QSignalSpy exits(m_app.get(), &TarnwickApplication::exitRequested);
        UrlRecorder web;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &web, "Open");
        PressWhenModal<ConfirmExitDialog>("1045");
        Frame().Command(ID_EXIT)->trigger();
        QCOMPARE(exits.count(), 0);
        PressWhenModal<ConfirmExitDialog>("1044");
        Frame().Command(ID_FILE_EXIT)->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(exits.count(), 1);
        QCOMPARE(exits[0][0].toInt(), 0);
    }

    void helpOpensTheGuide() {
        Start();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "Open");
        Frame().Command(ID_HELP)->trigger();
        Frame().Command(ID_HELP_TOPIC)->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.m_urls.size(), 2);
        QCOMPARE(recorder.m_urls[1], recorder.m_urls[0]);
        // Run from the build tree, Help opens the build tree's copy of the
        // guide, which is the guide in the sources, byte for byte.
        const QString path = recorder.m_urls[0].toLocalFile();
        QVERIFY2(path.endsWith(QStringLiteral("/guide/Help.html")), qPrintable(path));
        const std::string guide = test::ReadBytes(path.toStdString());
        const char* sources = std::getenv("TARNWICK_SOURCE_DIR");
        QVERIFY(sources != nullptr);
        QCOMPARE(guide, test::ReadBytes(std::string(sources) + "/gui/res/Help.html"));
        // Nothing is written into the data folder any more.
        QVERIFY(!QFileInfo::exists(QString::fromStdString(m_data->Folder().Folder()) +
                                   QStringLiteral("/Help.html")));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void aboutBoxShowsTheProductAndItsLinks() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Osgrel Tarnwick Ambrel"));
        QCOMPARE(about.findChild<QLabel*>("1052")->text(),
                 QStringLiteral("Osgrel - Tarnwick  Version - 2.0.1.5"));
        // The version of the build stands beside it, for bug reports.
        QCOMPARE(about.findChild<QLabel*>("packageVersion")->text(),
                 QStringLiteral("(package %1)").arg(QLatin1String(kPackageVersion)));
        QCOMPARE(about.findChild<QLabel*>("1055")->text(), QStringLiteral("Email : "));
        auto* mail = about.findChild<LinkLabel*>("1056");
        auto* web = about.findChild<LinkLabel*>("1057");
        QVERIFY(mail && web);
        QCOMPARE(mail->text(), QString::fromLatin1(kMakerMail));
        QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(mail->font().pixelSize(), 12);
        QVERIFY(!mail->font().underline());
        auto* ok = about.findChild<QPushButton*>("1");
        QVERIFY(ok && !ok->isVisible() && !ok->isEnabled());

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        // The gradient: one step lighter every 50 rows.
        QCOMPARE(AboutDialog::BackgroundAt(0), QColor(243, 242, 242));
        QCOMPARE(AboutDialog::BackgroundAt(49), QColor(243, 242, 242));
        QCOMPARE(AboutDialog::BackgroundAt(50), QColor(244, 243, 243));
        QCOMPARE(AboutDialog::BackgroundAt(50 * 14), QColor(1, 0, 0));
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
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
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
        TwoProfiles(m_data->Folder());
        Start();
        WindowScanPanes& panes = *m_app->ScanPanes();
        // As during a run (the progress shows only while one is in progress).
        g_bScanRunning = true;
        std::atomic<bool> done{false};
        int rows = 0;
        int results = 0;
        ResultRow row;
        std::thread worker([&] {
            rows = panes.ProfileRowCount();
            results = panes.ResultRowCount();
            panes.SetProfileStatus(1, "Running...");
            panes.SetResultStatus(4, "Link Not Found");
            panes.SetResultMail(4, "Fail to initialize");
            panes.PageStarted(4);
            row = panes.ResultRowAt(4);
            done = true;
        });
        QTRY_VERIFY(done.load());
        worker.join();
        QCOMPARE(rows, 2);
        QCOMPARE(results, 5);
        QCOMPARE(Profiles().ProfileStatus(1), std::string("Running..."));
        QCOMPARE(ResultCell(4, 4), QStringLiteral("Link Not Found"));
        QCOMPARE(row.m_strMail, std::string("Fail to initialize"));
        QCOMPARE(row.m_strStatus, std::string("Link Not Found"));
        QTRY_COMPARE(Frame().MessageText(), QStringLiteral("Checking page 5 of 5: http://q2.net/"));
        // Called on the GUI thread the calls apply at once.
        panes.SetResultStatus(0, "Link Found");
        QCOMPARE(ResultCell(0, 4), QStringLiteral("Link Found"));
    }

    void closedPanesLetAWaitingThreadGo() {
        TwoProfiles(m_data->Folder());
        Start();
        WindowScanPanes& panes = *m_app->ScanPanes();
        std::atomic<bool> done{false};
        int rows = -1;
        std::thread worker([&] {
            rows = panes.ProfileRowCount();
            done = true;
        });
        // The GUI thread does not run its loop: the call waits...
        QThread::msleep(100);
        QVERIFY(!done.load());
        // ...until the panes are closed.
        panes.Close();
        worker.join();
        QCOMPARE(rows, 0);
        panes.SetResultStatus(0, "Link Found");  // closed: no effect
        QCOMPARE(ResultCell(0, 4), QString());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
