// The window's own controls on real widgets (offscreen): the resizable form
// view, the coloured list with its check-box header, the tool bar, the
// splitter, the hyperlink label, the picture dialog and the splash.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSplitterHandle>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/CellColourDelegate.h"
#include "gui/controls/CheckHeader.h"
#include "gui/controls/FormView.h"
#include "gui/controls/LinkLabel.h"
#include "gui/controls/ListPanes.h"
#include "gui/controls/MainToolBar.h"
#include "gui/controls/PaneSplitter.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/PictureDialog.h"
#include "gui/controls/SplashScreen.h"
#include "gui/res/Resources.h"
#include "scan/LinkResult.h"
#include "scan/RunState.h"

using namespace tarnwick;

namespace {

// The panes as a plain table: counts the rebuilds the rules ask for.
class CountingPanes : public ListPanes {
public:
    bool resultsHaveStatus() override { return m_haveStatus; }
    void rebuildResults() override { ++m_rebuilds; }

    bool m_haveStatus = false;
    int m_rebuilds = 0;
};

// The delegate's style options, as the view paints with them.
class DelegateProbe : public CellColourDelegate {
public:
    using CellColourDelegate::CellColourDelegate;
    using CellColourDelegate::initStyleOption;
};

QStandardItemModel* profileRows(QObject* parent, int rows, bool ticked) {
    auto* model = new QStandardItemModel(rows, 3, parent);
    model->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("Proile"), QStringLiteral("Status")});
    for (int r = 0; r < rows; ++r) {
        auto* box = new QStandardItem;
        box->setCheckable(true);
        box->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        box->setEditable(false);
        model->setItem(r, 0, box);
        model->setItem(r, 1, new QStandardItem(QStringLiteral("www.site%1.com").arg(r)));
        model->setItem(r, 2, new QStandardItem);
    }
    return model;
}

void clickHeaderSection(QHeaderView* header, int section) {
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

    // What the profile list's rule tells and its clicks follow.
    RunState m_runState;

private slots:
    void initTestCase() {
        initResources();
        AppMessageBox::setTestMode(true);
    }
    void init() {
        AppMessageBox::clearShown();
        m_runState.setRunning(false);
        m_runState.setProfilesToPlay(false);
    }

    void formViewKeepsMarginsAndScrollsBelowDesignSize() {
        FormView view(QSize(200, 100));
        auto* list = new QWidget(view.form());
        list->setObjectName(QStringLiteral("list"));
        list->setGeometry(7, 7, 186, 86);
        auto* button = new QWidget(view.form());
        button->setObjectName(QStringLiteral("button"));
        button->setGeometry(150, 70, 40, 20);
        QCOMPARE(view.anchorControl(list, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT), 0);
        QCOMPARE(view.anchorControl(button, ANCHOR_BOTTOM_RIGHT, ANCHOR_NONE), 1);
        QWidget stranger;  // not on the form
        QCOMPARE(view.anchorControl(&stranger, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT), 0);
        QVERIFY(view.findAnchor(list) != nullptr);

        // Before the initial update a resize moves nothing.
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(list->geometry(), QRect(7, 7, 186, 86));

        view.onInitialUpdate();
        view.buildLayout();
        view.resize(401, 300);
        QTRY_COMPARE(list->geometry(), QRect(7, 7, 401 - 14, 300 - 14));
        QCOMPARE(button->geometry(), QRect(401 - 50, 300 - 30, 40, 20));
        QCOMPARE(view.horizontalScrollBar()->maximum(), 0);

        // Smaller than the form: the controls keep their design rectangles
        // and the view scrolls.
        view.resize(120, 60);
        QTRY_COMPARE(list->geometry(), QRect(7, 7, 186, 86));
        QCOMPARE(button->geometry(), QRect(150, 70, 40, 20));
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);
        QVERIFY(view.verticalScrollBar()->maximum() > 0);

        // Taller but narrower: only the width scrolls, the list takes the height.
        view.resize(150, 400);
        QTRY_VERIFY(list->height() > 300);
        QCOMPARE(list->width(), 186);
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    }

    // Addresses are cut in the middle, where two pages of one site differ
    // least; other columns (the result words) keep their beginnings.
    void addressColumnsAreElidedInTheMiddle() {
        QStandardItemModel model(1, 3);
        model.setItem(0, 1, new QStandardItem("http://127.0.0.2:18080/shop-a/partners.html"));
        DelegateProbe delegate;
        delegate.setMiddleElidedColumns({1});
        for (int column : {0, 1, 2}) {
            QStyleOptionViewItem option;
            option.textElideMode = Qt::ElideRight;  // the view's own
            delegate.initStyleOption(&option, model.index(0, column));
            QCOMPARE(option.textElideMode, column == 1 ? Qt::ElideMiddle : Qt::ElideRight);
        }
    }

    void cellsAreColouredByTheirResult() {
        QStandardItemModel model(6, 2);
        const QStringList words = {
            QStringLiteral("Link Found"),           QStringLiteral("Link Not Found"),
            QStringLiteral("Page Cannot be Found"), QStringLiteral("Page cannot be displayed"),
            QStringLiteral("link found"),           QString()};
        // The results model gives each Status cell its result as a value; a
        // text that only looks like a result word ("link found") has none.
        const LinkResult results[] = {LinkResult::Found, LinkResult::NotFound,
                                      LinkResult::CannotBeFound, LinkResult::CannotBeDisplayed};
        for (int r = 0; r < words.size(); ++r) {
            auto* item = new QStandardItem(words[r]);
            if (r < 4) {
                item->setData(static_cast<int>(results[r]), CellColourDelegate::LinkResultRole);
            }
            model.setItem(r, 0, item);
            model.setItem(r, 1, new QStandardItem(QStringLiteral("x")));
        }
        PaneTableView list;
        list.setModel(&model);
        list.horizontalHeader()->resizeSection(0, 220);
        list.horizontalHeader()->resizeSection(1, 40);
        list.resize(400, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QColor expected[] = {QColor(0, 255, 0),     QColor(255, 0, 0),
                                   QColor(255, 0, 0),     QColor(255, 255, 0),
                                   QColor(255, 255, 255), QColor(255, 255, 255)};
        // No current cell: the style tints the focused cell.
        list.clearFocus();
        list.selectionModel()->clearCurrentIndex();
        const QImage shot = list.viewport()->grab().toImage();
        for (int r = 0; r < words.size(); ++r) {
            const QRect cell = list.visualRect(model.index(r, 0));
            QCOMPARE(shot.pixelColor(cell.right() - 3, cell.bottom() - 2), expected[r]);
        }
        // Bands beside the columns: white on even rows, light grey on odd ones
        // and below the last row.
        const int beside = list.horizontalHeader()->length() + 20;
        QCOMPARE(shot.pixelColor(beside, list.visualRect(model.index(0, 0)).center().y()),
                 QColor(255, 255, 255));
        QCOMPARE(shot.pixelColor(beside, list.visualRect(model.index(1, 0)).center().y()),
                 QColor(242, 242, 242));
        QCOMPARE(shot.pixelColor(10, list.visualRect(model.index(5, 0)).bottom() + 20),
                 QColor(242, 242, 242));
    }

    void headerCheckBoxFollowsAndSetsTheRows() {
        PaneTableView list;
        QStandardItemModel* model = profileRows(&list, 3, true);
        list.setModel(model);
        CountingPanes panes;
        list.setPanes(&panes);
        list.setRunState(&m_runState);
        QVERIFY(list.initCheckHeader());
        CheckHeader* header = list.checkHeader();
        QVERIFY(header != nullptr);
        QVERIFY(list.initCheckHeader());
        QCOMPARE(list.checkHeader(), header);
        QCOMPARE(header->image(), HeaderCheck::None);
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        // The rule settles the picture from the rows.
        list.runCheckStateRule();
        QCOMPARE(header->image(), HeaderCheck::All);
        QVERIFY(m_runState.isPlayEnabled());
        QCOMPARE(panes.m_rebuilds, 1);
        // The box is really drawn in the first heading: its dark check mark.
        const QImage heading = header->grab().toImage();
        int dark = 0;
        for (int y = 0; y < heading.height(); ++y) {
            for (int x = 0; x < header->sectionSize(0); ++x) {
                dark += qGray(heading.pixel(x, y)) < 60 ? 1 : 0;
            }
        }
        QVERIFY2(dark > 10, qPrintable(QString::number(dark)));

        // Unticking one row: some ticked, and the results follow the ticks.
        list.setCheck(1, false);
        QCOMPARE(header->image(), HeaderCheck::Some);
        QCOMPARE(panes.m_rebuilds, 2);

        // A click on the header box from "some" unticks every row, with one rebuild.
        clickHeaderSection(header, 0);
        QCOMPARE(list.tickedCount(), 0);
        QCOMPARE(header->image(), HeaderCheck::None);
        QVERIFY(!m_runState.isPlayEnabled());
        QCOMPARE(panes.m_rebuilds, 3);

        // From "none" it ticks every row.
        clickHeaderSection(header, 0);
        QCOMPARE(list.tickedCount(), 3);
        QCOMPARE(header->image(), HeaderCheck::All);
        QCOMPARE(panes.m_rebuilds, 4);

        // From "all" it unticks them again.
        clickHeaderSection(header, 0);
        QCOMPARE(list.tickedCount(), 0);

        // Other sections do nothing.
        clickHeaderSection(header, 1);
        clickHeaderSection(header, 2);
        QCOMPARE(list.tickedCount(), 0);
        QCOMPARE(header->image(), HeaderCheck::None);
        QCOMPARE(panes.m_rebuilds, 5);
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void headerClickDuringAScanSetsRowsOnly() {
        PaneTableView list;
        list.setModel(profileRows(&list, 2, false));
        CountingPanes panes;
        list.setPanes(&panes);
        list.setRunState(&m_runState);
        list.initCheckHeader();
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        m_runState.setRunning(true);
        clickHeaderSection(list.checkHeader(), 0);
        m_runState.setRunning(false);
        QCOMPARE(list.tickedCount(), 2);
        QCOMPARE(panes.m_rebuilds, 0);
        QVERIFY(!m_runState.isPlayEnabled());
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void clickOnARowBoxTicksItOnce() {
        PaneTableView list;
        list.setModel(profileRows(&list, 3, false));
        CountingPanes panes;
        list.setPanes(&panes);
        list.setRunState(&m_runState);
        list.initCheckHeader();
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        // Nothing ticked: the click ticks the box and the results follow, once.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(1).center());
        QVERIFY(list.getCheck(1));
        QCOMPARE(list.tickedCount(), 1);
        QCOMPARE(panes.m_rebuilds, 1);
        QCOMPARE(list.checkHeader()->image(), HeaderCheck::Some);
        // A click on a row's text only selects it; the results stay.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(2, 1)).center());
        QCOMPARE(panes.m_rebuilds, 1);
        QCOMPARE(list.tickedCount(), 1);
        QCOMPARE(list.currentIndex().row(), 2);
        // So do the arrow keys, Home and End (to the first and the last row).
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(list.currentIndex().row(), 1);
        QTest::keyClick(&list, Qt::Key_End);
        QCOMPARE(list.currentIndex().row(), 2);
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(list.currentIndex().row(), 0);
        QCOMPARE(panes.m_rebuilds, 1);
        // A double click on a box toggles it twice, like two clicks.
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(0).center());
        QCOMPARE(list.tickedCount(), 1);
    }

    // With a run's results shown, a change of ticks asks once, by mouse, by
    // Space and by the header's box; No changes nothing.
    void aTickChangeAsksOnceBeforeResultsGo() {
        PaneTableView list;
        list.setModel(profileRows(&list, 3, true));
        CountingPanes panes;
        list.setPanes(&panes);
        list.setRunState(&m_runState);
        list.initCheckHeader();
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.runCheckStateRule();
        panes.m_rebuilds = 0;
        panes.m_haveStatus = true;
        const QString question = QStringLiteral(
            "This operation will refresh all the contents of this list. Do you want to continue");

        AppMessageBox::presetAnswer(AppMessageBox::Answer::No);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(0).center());
        QVERIFY(list.getCheck(0));
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({question}));
        QCOMPARE(panes.m_rebuilds, 0);

        AppMessageBox::presetAnswer(AppMessageBox::Answer::Yes);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(0).center());
        QVERIFY(!list.getCheck(0));
        QCOMPARE(AppMessageBox::shownTexts().size(), 2);
        QCOMPARE(panes.m_rebuilds, 1);

        // Space on the current row.
        list.setCurrentIndex(list.model()->index(2, 1));
        panes.m_rebuilds = 0;
        AppMessageBox::presetAnswer(AppMessageBox::Answer::No);
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(list.getCheck(2));
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Yes);
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(!list.getCheck(2));
        QCOMPARE(AppMessageBox::shownTexts().size(), 4);
        QCOMPARE(panes.m_rebuilds, 1);

        // The header's box: one question for every row, one rebuild; No
        // leaves the rows and the picture as they were.
        AppMessageBox::presetAnswer(AppMessageBox::Answer::No);
        clickHeaderSection(list.checkHeader(), 0);
        QCOMPARE(list.tickedCount(), 1);
        QCOMPARE(list.checkHeader()->image(), HeaderCheck::Some);
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Yes);
        clickHeaderSection(list.checkHeader(), 0);
        QCOMPARE(list.tickedCount(), 0);
        QCOMPARE(AppMessageBox::shownTexts().size(), 6);
        QCOMPARE(panes.m_rebuilds, 2);

        // Selecting rows never asks.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(1, 1)).center());
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(AppMessageBox::shownTexts().size(), 6);
        QCOMPARE(panes.m_rebuilds, 2);
    }

    void toolBarCutsItsStrip() {
        QImage strip(100, 10, QImage::Format_RGB32);
        strip.fill(QColor(236, 233, 216));
        strip.setPixelColor(5, 5, Qt::red);
        strip.setPixelColor(60, 5, Qt::blue);
        const QList<QPixmap> pictures = MainToolBar::cutStrip(strip, 48);
        QCOMPARE(pictures.size(), 2);  // 100 / 48, truncated
        QCOMPARE(pictures[0].size(), QSize(48, 10));
        const QImage first = pictures[0].toImage();
        QCOMPARE(first.pixelColor(5, 5), QColor(Qt::red));
        QCOMPARE(first.pixelColor(0, 0).alpha(), 0);  // the corner colour is transparent
        QCOMPARE(pictures[1].toImage().pixelColor(60 - 48, 5), QColor(Qt::blue));
    }

    void toolBarLoadsPicturesAndMenus() {
        MainToolBar bar(QStringLiteral("Toolbar"));
        for (int i = 0; i < 8; ++i) {
            bar.addAction(QStringLiteral("B%1").arg(i));
        }
        QVERIFY(!bar.loadColorImages(48, QStringLiteral(":/pictures/none.png")));
        QVERIFY(bar.loadColorImages(48, QStringLiteral(":/pictures/toolbar.png")));
        for (QAction* action : bar.actions()) {
            QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
        }
        QCOMPARE(bar.iconSize(), QSize(48, 48));
        // Disabled buttons are drawn from the normal pictures.
        QVERIFY(!bar.actions().at(1)->icon().pixmap(48, QIcon::Disabled).isNull());

        QVERIFY(!bar.dropDownArrowsEnabled());
        QMenu menu;
        menu.addAction(QStringLiteral("One"));
        QAction* withMenu = bar.actions()[3];
        bar.addMenuButton(&bar, withMenu, &menu);
        QVERIFY(bar.dropDownArrowsEnabled());
        auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(withMenu));
        QVERIFY(button != nullptr);
        QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(button->menu(), &menu);
        QCOMPARE(bar.menuButtons().size(), 1);
    }

    void splitterBarMoves() {
        PaneSplitter splitter(Qt::Horizontal);
        splitter.addWidget(new QWidget);
        splitter.addWidget(new QWidget);
        splitter.resize(600, 300);
        splitter.setSizes({200, 400});
        splitter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splitter));
        const auto drag = [&splitter](int dx) {
            QSplitterHandle* handle = splitter.handle(1);
            const QPoint local(handle->width() / 2, handle->height() / 2);
            const QPoint global = handle->mapToGlobal(local);
            QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                              Qt::LeftButton, {});
            QApplication::sendEvent(handle, &press);
            QMouseEvent move(QEvent::MouseMove, local + QPoint(dx, 0), global + QPoint(dx, 0),
                             Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(handle, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, local + QPoint(dx, 0),
                                global + QPoint(dx, 0), Qt::LeftButton, Qt::NoButton, {});
            QApplication::sendEvent(handle, &release);
        };
        const int before = splitter.sizes().at(0);
        drag(80);
        QVERIFY(splitter.sizes().at(0) > before + 40);
    }

    void splitterReplacesAPaneView() {
        PaneSplitter splitter(Qt::Horizontal);
        splitter.addWidget(new QWidget);
        splitter.addWidget(new QLabel(QStringLiteral("old")));
        QVERIFY(!splitter.replacePaneView(0, 1, new QLabel(QStringLiteral("same class"))));
        QCOMPARE(qobject_cast<QLabel*>(splitter.widget(1))->text(), QStringLiteral("old"));
        QVERIFY(splitter.replacePaneView(0, 1, new QLabel(QStringLiteral("new")), true));
        QCOMPARE(qobject_cast<QLabel*>(splitter.widget(1))->text(), QStringLiteral("new"));
        auto* edit = new QLineEdit;
        QVERIFY(splitter.replacePaneView(0, 1, edit));
        QCOMPARE(splitter.widget(1), edit);
        QCOMPARE(splitter.count(), 2);
    }

    void hyperlinkChangesTextOnHoverAndClicks() {
        LinkLabel link;
        link.setText(QStringLiteral("mail@example.org"));
        link.setHoverText(QStringLiteral("mail@example.org."));
        link.resize(200, 20);
        link.show();
        QVERIFY(QTest::qWaitForWindowExposed(&link));
        QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
        QSignalSpy clicks(&link, &LinkLabel::clicked);
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), link.mapToGlobal(QPointF(10, 10)),
                         Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(&link, &move);
        QTRY_COMPARE(link.text(), QStringLiteral("mail@example.org."));
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks.count(), 1);
        QTest::keyClick(&link, Qt::Key_Return);
        QCOMPARE(clicks.count(), 2);
    }

    void pictureDialogTilesCentresAndStretches() {
        QCOMPARE(PictureDialog::tileOrigins(QSize(10, 10), QSize(10, 10)).size(), size_t(1));
        const std::vector<QPoint> two = PictureDialog::tileOrigins(QSize(11, 10), QSize(10, 10));
        QCOMPARE(two.size(), size_t(2));
        QCOMPARE(two[1], QPoint(10, 0));
        QCOMPARE(PictureDialog::tileOrigins(QSize(25, 21), QSize(10, 10)).size(), size_t(9));
        QCOMPARE(PictureDialog::centreOrigin(QSize(100, 50), QSize(40, 20)), QPoint(30, 15));
        QCOMPARE(PictureDialog::centreOrigin(QSize(30, 50), QSize(40, 20)), QPoint(0, 15));

        QTemporaryDir dir;
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.setPixelColor(0, 0, Qt::blue);
        const QString path = dir.filePath(QStringLiteral("p.png"));
        QVERIFY(picture.save(path));

        PictureDialog dialog;
        QCOMPARE(dialog.setBackgroundBitmap(dir.filePath(QStringLiteral("missing.png"))), 1);
        QCOMPARE(dialog.setBackgroundBitmap(path), 0);
        dialog.setFixedSize(21, 10);
        QCOMPARE(dialog.backgroundStyle(), int(PictureDialog::Tile));
        QImage shot = dialog.grab().toImage();
        QCOMPARE(shot.pixelColor(10, 0), QColor(Qt::blue));  // second tile
        QCOMPARE(shot.pixelColor(20, 0), QColor(Qt::blue));  // one pixel of the third

        dialog.setBackgroundStyle(3);
        QCOMPARE(dialog.backgroundStyle(), int(PictureDialog::Tile));
        dialog.setBackgroundStyle(PictureDialog::Centre);
        dialog.setFixedSize(30, 10);
        shot = dialog.grab().toImage();
        QCOMPARE(shot.pixelColor(10, 0), QColor(Qt::blue));
        QVERIFY(shot.pixelColor(0, 0) != QColor(Qt::blue));

        dialog.setBackgroundStyle(PictureDialog::Stretch);
        dialog.setFixedSize(40, 40);
        shot = dialog.grab().toImage();
        QCOMPARE(shot.pixelColor(39, 39), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(1, 1), QColor(Qt::blue));
    }

    void splashShowsItsPicture() {
        SplashScreen splash;
        QVERIFY(!splash.background().isNull());
        QCOMPARE(splash.size(), QSize(385, 241));
        QElapsedTimer clock;
        clock.start();
        SplashScreen::showFor(0);
        QVERIFY(clock.elapsed() < 200);
        SplashScreen::showFor(150);
        QVERIFY(clock.elapsed() >= 150);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
