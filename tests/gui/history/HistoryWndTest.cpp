// The History window on a real history database: the runs, a profile's chart
// of results per run and a page's timeline of results and letters; and what
// it shows without a history or with a damaged one.
#include <sqlite3.h>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QStackedBarSeries>
#include <QTreeWidget>
#include <QValueAxis>
#include <QtTest>
#include <cstdlib>

#include "gui/history/HistoryWindow.h"
#include "history/HistoryDatabase.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

using namespace tarnwick;

namespace {

PageRecord result(const std::string& profile, const std::string& page, int row,
                  const std::string& result, std::int64_t time) {
    PageRecord r;
    r.m_profile = profile;
    r.m_advertiser = "www.adv.com";
    r.m_page = page;
    r.m_row = row;
    r.m_result = test::linkResultOf(result);
    r.m_checked = time;
    return r;
}

}  // namespace

class HistoryWndTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::string path() { return HistoryDatabase::pathIn(m_data->folder().folder()); }

private slots:
    void init() { m_data = std::make_unique<test::TempDataFolder>(); }
    void cleanup() { m_data.reset(); }

    void showsRunsChartAndTimeline() {
        {
            HistoryDatabase db(path());
            const char* results[] = {"Link Found", "Link Not Found", "Link Found"};
            for (int i = 0; i < 3; ++i) {
                const std::int64_t t = 1'700'000'000 + i * 7 * 86400;
                const std::int64_t run = db.beginRun(i == 1 ? "cli" : "desktop", t);
                db.addResult(run, result("www.adv", "http://p1/", 0, results[i], t + 1));
                db.addResult(run,
                             result("www.adv", "http://p2/", 1, "Page cannot be displayed", t + 2));
                db.addResult(run,
                             result("www.other", "http://q/", 2, "Page Cannot be Found", t + 3));
                if (i == 1) {
                    db.addLetter(run, {"www.adv.com", "http://p1/", "w@p1.org", t + 5, "sent"});
                }
                db.endRun(run, t + 60, i == 2 ? "stopped" : "completed");
            }
        }
        HistoryWindow w(path());
        w.reload();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.message(), QString());

        QTreeWidget* runs = w.runList();
        QCOMPARE(runs->topLevelItemCount(), 3);
        QCOMPARE(runs->topLevelItem(1)->text(3), QString("cli"));
        QCOMPARE(runs->topLevelItem(2)->text(4), QString("stopped"));
        const QStringList counts = {runs->topLevelItem(1)->text(5), runs->topLevelItem(1)->text(6),
                                    runs->topLevelItem(1)->text(7), runs->topLevelItem(1)->text(8)};
        QCOMPARE(counts, (QStringList{"0", "1", "1", "1"}));
        QCOMPARE(runs->currentItem(), runs->topLevelItem(2));  // the newest

        QCOMPARE(w.profileBox()->count(), 2);
        QCOMPARE(w.profileBox()->currentText(), QString("www.adv"));
        const QList<QAbstractSeries*> series = w.chart()->chart()->series();
        QCOMPARE(series.size(), 1);
        auto* bars = qobject_cast<QStackedBarSeries*>(series[0]);
        QVERIFY(bars != nullptr);
        QCOMPARE(bars->count(), 4);
        QCOMPARE(bars->barSets().at(0)->label(), QString("Link Found"));
        QCOMPARE(bars->barSets().at(0)->at(0), 1.0);
        QCOMPARE(bars->barSets().at(1)->at(1), 1.0);  // not found in the second run
        QCOMPARE(bars->barSets().at(3)->at(2), 1.0);  // p2 could not be displayed
        auto* axis = qobject_cast<QBarCategoryAxis*>(w.chart()->chart()->axes(Qt::Horizontal)[0]);
        QCOMPARE(axis->count(), 3);
        // Every tick of the pages axis is a whole number of pages, as its
        // label says.
        auto* pages = qobject_cast<QValueAxis*>(w.chart()->chart()->axes(Qt::Vertical)[0]);
        QVERIFY(pages != nullptr);
        QCOMPARE(pages->min(), 0.0);
        QCOMPARE(pages->max(), 2.0);
        QCOMPARE(pages->tickCount(), 3);

        QCOMPARE(w.pageList()->count(), 2);
        QCOMPARE(w.pageList()->currentRow(), 0);
        QTreeWidget* timeline = w.timeline();
        QStringList what;
        for (int i = 0; i < timeline->topLevelItemCount(); ++i) {
            what << timeline->topLevelItem(i)->text(2);
        }
        QCOMPARE(what, (QStringList{"Link Found", "Link Not Found", "Letter: sent", "Link Found"}));
        QCOMPARE(timeline->topLevelItem(2)->text(3), QString("w@p1.org"));

        // Another profile: its own chart and pages.
        w.profileBox()->setCurrentIndex(1);
        QCOMPARE(w.pageList()->count(), 1);
        bars = qobject_cast<QStackedBarSeries*>(w.chart()->chart()->series()[0]);
        QCOMPARE(bars->barSets().at(2)->at(0), 1.0);
        // A reload keeps the profile picked.
        w.reload();
        QCOMPARE(w.profileBox()->currentText(), QString("www.other"));
    }

    // At 14 points the legend names every result whole, beside the bars, in
    // the window's font, as do the axes; the two results in red differ by
    // more than their shade.
    void chartReadsAtLargeFonts() {
        {
            HistoryDatabase db(path());
            const std::int64_t run = db.beginRun("desktop", 1'700'000'000);
            db.addResult(run, result("www.adv", "http://p1/", 0, "Link Not Found", 1'700'000'001));
        }
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPointSize(14);
        QApplication::setFont(large);
        const auto restore = qScopeGuard([usual] { QApplication::setFont(usual); });
        HistoryWindow w(path());
        w.reload();
        w.resize(900, 640);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QChart* chart = w.chart()->chart();
        for (QAbstractAxis* axis : chart->axes()) {
            QCOMPARE(axis->labelsFont().pointSize(), 14);
        }
        // Every name of the legend is there whole: wrapped if need be, never cut.
        QStringList names;
        for (QLabel* name : w.findChildren<QLabel*>(QStringLiteral("LegendName"))) {
            names << name->text();
            QCOMPARE(name->font().pointSize(), 14);
            const QRect needed = name->fontMetrics().boundingRect(QRect(0, 0, name->width(), 10000),
                                                                  Qt::TextWordWrap, name->text());
            QVERIFY2(needed.width() <= name->width() && needed.height() <= name->height(),
                     qPrintable(name->text()));
        }
        QCOMPARE(names, QStringList({"Link Found", "Link Not Found", "Page Cannot be Found",
                                     "Page cannot be displayed"}));
        auto* bars = qobject_cast<QStackedBarSeries*>(chart->series().at(0));
        const QBrush notFound = bars->barSets().at(1)->brush();
        const QBrush cannotBeFound = bars->barSets().at(2)->brush();
        QCOMPARE(bars->barSets().at(2)->label(), QString("Page Cannot be Found"));
        QVERIFY(notFound.style() != cannotBeFound.style());
        QVERIFY(std::abs(notFound.color().hue() - cannotBeFound.color().hue()) >= 20);
    }

    void withoutOrWithADamagedHistory() {
        HistoryWindow w(path());
        w.reload();
        QCOMPARE(w.message(), QString("No run recorded yet."));
        QCOMPARE(w.runList()->topLevelItemCount(), 0);
        QCOMPARE(w.profileBox()->count(), 0);
        QVERIFY(!test::exists(path()));  // looking creates nothing

        test::writeBytes(path(), std::string(5000, 'x'));
        w.reload();
        QVERIFY2(w.message().contains("history.sqlite3"), qPrintable(w.message()));
        QCOMPARE(test::readBytes(path()), std::string(5000, 'x'));
    }

    // Another program holding the history: the window says so and shows the
    // runs once it is let go.
    void whileAnotherProgramHoldsTheHistory() {
        {
            HistoryDatabase db(path());
            db.endRun(db.beginRun(kSourceCli, 1000), 1010, kOutcomeCompleted);
        }
        sqlite3* holder = nullptr;
        QCOMPARE(sqlite3_open(path().c_str(), &holder), SQLITE_OK);
        QCOMPARE(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr,
                              nullptr, nullptr),
                 SQLITE_OK);
        HistoryWindow w(path());
        w.reload();
        QVERIFY2(w.message().contains("history.sqlite3"), qPrintable(w.message()));
        QCOMPARE(w.runList()->topLevelItemCount(), 0);
        sqlite3_close(holder);
        w.reload();
        QCOMPARE(w.message(), QString());
        QCOMPARE(w.runList()->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(HistoryWndTest)
#include "HistoryWndTest.moc"
