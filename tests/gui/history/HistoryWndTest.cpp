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
#include "support/TempDataFolder.h"

using namespace tarnwick;

namespace {

PageRecord Result(const std::string& profile, const std::string& page, int row,
                  const std::string& result, std::int64_t time) {
    PageRecord r;
    r.m_strProfile = profile;
    r.m_strAdvertiser = "www.adv.com";
    r.m_strPage = page;
    r.m_nRow = row;
    r.m_strResult = result;
    r.m_nChecked = time;
    return r;
}

}  // namespace

class HistoryWndTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::string Path() { return HistoryDatabase::PathIn(m_data->Folder().Folder()); }

private slots:
    void init() { m_data = std::make_unique<test::TempDataFolder>(); }
    void cleanup() { m_data.reset(); }

    void showsRunsChartAndTimeline() {
        {
            HistoryDatabase db(Path());
            const char* results[] = {"Link Found", "Link Not Found", "Link Found"};
            for (int i = 0; i < 3; ++i) {
                const std::int64_t t = 1'700'000'000 + i * 7 * 86400;
                const std::int64_t run = db.BeginRun(i == 1 ? "cli" : "desktop", t);
                db.AddResult(run, Result("www.adv", "http://p1/", 0, results[i], t + 1));
                db.AddResult(run,
                             Result("www.adv", "http://p2/", 1, "Page cannot be displayed", t + 2));
                db.AddResult(run,
                             Result("www.other", "http://q/", 2, "Page Cannot be Found", t + 3));
                if (i == 1) {
                    db.AddLetter(run, {"www.adv.com", "http://p1/", "w@p1.org", t + 5, "sent"});
                }
                db.EndRun(run, t + 60, i == 2 ? "stopped" : "completed");
            }
        }
        HistoryWindow w(Path());
        w.Reload();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.Message(), QString());

        QTreeWidget* runs = w.RunList();
        QCOMPARE(runs->topLevelItemCount(), 3);
        QCOMPARE(runs->topLevelItem(1)->text(3), QString("cli"));
        QCOMPARE(runs->topLevelItem(2)->text(4), QString("stopped"));
        const QStringList counts = {runs->topLevelItem(1)->text(5), runs->topLevelItem(1)->text(6),
                                    runs->topLevelItem(1)->text(7), runs->topLevelItem(1)->text(8)};
        QCOMPARE(counts, (QStringList{"0", "1", "1", "1"}));
        QCOMPARE(runs->currentItem(), runs->topLevelItem(2));  // the newest

        QCOMPARE(w.ProfileBox()->count(), 2);
        QCOMPARE(w.ProfileBox()->currentText(), QString("www.adv"));
        const QList<QAbstractSeries*> series = w.Chart()->chart()->series();
        QCOMPARE(series.size(), 1);
        auto* bars = qobject_cast<QStackedBarSeries*>(series[0]);
        QVERIFY(bars != nullptr);
        QCOMPARE(bars->count(), 4);
        QCOMPARE(bars->barSets()[0]->label(), QString("Link Found"));
        QCOMPARE(bars->barSets()[0]->at(0), 1.0);
        QCOMPARE(bars->barSets()[1]->at(1), 1.0);  // not found in the second run
        QCOMPARE(bars->barSets()[3]->at(2), 1.0);  // p2 could not be displayed
        auto* axis = qobject_cast<QBarCategoryAxis*>(w.Chart()->chart()->axes(Qt::Horizontal)[0]);
        QCOMPARE(axis->count(), 3);
        // Every tick of the pages axis is a whole number of pages, as its
        // label says.
        auto* pages = qobject_cast<QValueAxis*>(w.Chart()->chart()->axes(Qt::Vertical)[0]);
        QVERIFY(pages != nullptr);
        QCOMPARE(pages->min(), 0.0);
        QCOMPARE(pages->max(), 2.0);
        QCOMPARE(pages->tickCount(), 3);

        QCOMPARE(w.PageList()->count(), 2);
        QCOMPARE(w.PageList()->currentRow(), 0);
        QTreeWidget* timeline = w.Timeline();
        QStringList what;
        for (int i = 0; i < timeline->topLevelItemCount(); ++i) {
            what << timeline->topLevelItem(i)->text(2);
        }
        QCOMPARE(what, (QStringList{"Link Found", "Link Not Found", "Letter: sent", "Link Found"}));
        QCOMPARE(timeline->topLevelItem(2)->text(3), QString("w@p1.org"));

        // Another profile: its own chart and pages.
        w.ProfileBox()->setCurrentIndex(1);
        QCOMPARE(w.PageList()->count(), 1);
        bars = qobject_cast<QStackedBarSeries*>(w.Chart()->chart()->series()[0]);
        QCOMPARE(bars->barSets()[2]->at(0), 1.0);
        // A reload keeps the profile picked.
        w.Reload();
        QCOMPARE(w.ProfileBox()->currentText(), QString("www.other"));
    }

    // At 14 points the legend names every result whole, beside the bars, in
    // the window's font, as do the axes; the two results in red differ by
    // more than their shade.
    void chartReadsAtLargeFonts() {
        {
            HistoryDatabase db(Path());
            const std::int64_t run = db.BeginRun("desktop", 1'700'000'000);
            db.AddResult(run, Result("www.adv", "http://p1/", 0, "Link Not Found", 1'700'000'001));
        }
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPointSize(14);
        QApplication::setFont(large);
        const auto restore = qScopeGuard([usual] { QApplication::setFont(usual); });
        HistoryWindow w(Path());
        w.Reload();
        w.resize(900, 640);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QChart* chart = w.Chart()->chart();
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
        auto* bars = qobject_cast<QStackedBarSeries*>(chart->series()[0]);
        const QBrush notFound = bars->barSets()[1]->brush();
        const QBrush cannotBeFound = bars->barSets()[2]->brush();
        QCOMPARE(bars->barSets()[2]->label(), QString("Page Cannot be Found"));
        QVERIFY(notFound.style() != cannotBeFound.style());
        QVERIFY(std::abs(notFound.color().hue() - cannotBeFound.color().hue()) >= 20);
    }

    void withoutOrWithADamagedHistory() {
        HistoryWindow w(Path());
        w.Reload();
        QCOMPARE(w.Message(), QString("No run recorded yet."));
        QCOMPARE(w.RunList()->topLevelItemCount(), 0);
        QCOMPARE(w.ProfileBox()->count(), 0);
        QVERIFY(!test::Exists(Path()));  // looking creates nothing

        test::WriteBytes(Path(), std::string(5000, 'x'));
        w.Reload();
        QVERIFY2(w.Message().contains("history.sqlite3"), qPrintable(w.Message()));
        QCOMPARE(test::ReadBytes(Path()), std::string(5000, 'x'));
    }

    // Another program holding the history: the window says so and shows the
    // runs once it is let go.
    void whileAnotherProgramHoldsTheHistory() {
        {
            HistoryDatabase db(Path());
            db.EndRun(db.BeginRun(kSourceCli, 1000), 1010, kOutcomeCompleted);
        }
        sqlite3* holder = nullptr;
        QCOMPARE(sqlite3_open(Path().c_str(), &holder), SQLITE_OK);
        QCOMPARE(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr,
                              nullptr, nullptr),
                 SQLITE_OK);
        HistoryWindow w(Path());
        w.Reload();
        QVERIFY2(w.Message().contains("history.sqlite3"), qPrintable(w.Message()));
        QCOMPARE(w.RunList()->topLevelItemCount(), 0);
        sqlite3_close(holder);
        w.Reload();
        QCOMPARE(w.Message(), QString());
        QCOMPARE(w.RunList()->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(HistoryWndTest)
#include "HistoryWndTest.moc"
