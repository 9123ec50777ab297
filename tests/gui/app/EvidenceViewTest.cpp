// What the results pane shows of a page's evidence: the Details column after
// Status (verdict, tool tip with every fact, amber mark on a found link that
// is worth nothing), the Page Details dialog on Enter, and File > Export
// Results... to CSV and JSON. On the real window, offscreen.
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QtTest>
#include <memory>

#include "gui/app/MainWindow.h"
#include "gui/app/PageDetailsDialog.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/app/StoreFixture.h"
#include "gui/app/TarnwickApplication.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/FileDialog.h"
#include "gui/controls/PaneTableView.h"
#include "gui/support/ModalDriver.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

using namespace tarnwick;
using tarnwick::test::addProfile;
using tarnwick::test::page;

namespace {

PageEvidence nofollow() {
    PageEvidence e;
    e.m_checked = true;
    e.m_httpStatus = 200;
    e.m_finalUrl = "http://www.p1.com/links.html";
    e.m_anchorFound = true;
    e.m_href = "http://www.alpha.com/";
    e.m_rel = "nofollow";
    e.m_anchorText = "Alpha \xE2\x80\x93 shop";
    e.m_robotsAll = RobotsVerdict::Allowed;
    e.m_robotsGooglebot = RobotsVerdict::Allowed;
    return e;
}

PageEvidence follow() {
    PageEvidence e = nofollow();
    e.m_rel.clear();
    return e;
}

// A link that is there, hidden, on a page that names another as canonical.
PageEvidence hidden() {
    PageEvidence e = nofollow();
    e.m_hiddenBy = "<div style=\"display:none\"> around the link";
    e.m_canonicalElsewhere = true;
    e.m_canonical = "http://www.p1.com/";
    e.m_canonicalSource = "<link rel=\"canonical\" href=\"/\">";
    return e;
}

PageEvidence unavailable() {
    PageEvidence e;
    e.m_checked = true;
    e.m_httpStatus = 503;
    return e;
}

}  // namespace

class EvidenceViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::unique_ptr<TarnwickApplication> m_app;

    ResultsPane& results() { return *m_app->mainWindow()->resultsPane(); }
    QVariant details(int row, int role) {
        const QAbstractItemModel* model = results().list().model();
        return model->data(model->index(row, ResultListModel::ColDetails), role);
    }

private slots:
    void init() {
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
        m_data = std::make_unique<test::TempDataFolder>();
        addProfile(m_data->folder(), "alpha.com", "Link: http://www.alpha.com",
                   {page("http://www.p1.com/links.html", "a@p1.com", "1"),
                    page("http://www.p2.com/", "b@p2.com", "0"),
                    page("http://p3.com/x", "c@p3.com", "1")});
        m_app = std::make_unique<TarnwickApplication>(StartOptions{0});
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        QTRY_COMPARE(results().rowCount(), 3);
    }
    void cleanup() {
        m_app.reset();
        m_data.reset();
        FileDialog::clearPresets();
        AppMessageBox::setTestMode(false);
    }

    void detailsColumnShowsTheVerdictAndMarksWorthlessLinks() {
        const QAbstractItemModel* model = results().list().model();
        QCOMPARE(model->headerData(ResultListModel::ColDetails, Qt::Horizontal).toString(),
                 QStringLiteral("Details"));
        QCOMPARE(ResultListModel::ColDetails, ResultListModel::ColChange + 1);
        // Empty until checked.
        QCOMPARE(details(0, Qt::DisplayRole).toString(), QString());

        results().setResult(0, test::pageResultOf("Link Found"));
        results().setEvidence(0, nofollow());
        results().setResult(1, test::pageResultOf("Link Found"));
        results().setEvidence(1, follow());
        results().setResult(2, test::pageResultOf("Page cannot be displayed"));
        results().setEvidence(2, unavailable());

        QCOMPARE(details(0, Qt::DisplayRole).toString(), QStringLiteral("nofollow"));
        QCOMPARE(details(1, Qt::DisplayRole).toString(), QStringLiteral("follow"));
        QCOMPARE(details(2, Qt::DisplayRole).toString(), QStringLiteral("HTTP 503"));
        // The amber mark only on the found link that counts for nothing.
        QCOMPARE(details(0, Qt::DecorationRole).value<QColor>(), QColor(255, 176, 0));
        QVERIFY(!details(1, Qt::DecorationRole).isValid());
        QVERIFY(!details(2, Qt::DecorationRole).isValid());
        // The Status cell keeps its colour (the delegate paints by its text).
        const QString tip = details(0, Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains(QStringLiteral("rel: nofollow")), qPrintable(tip));
        QVERIFY2(tip.contains(QString::fromUtf8("Anchor text: Alpha \xE2\x80\x93 shop")),
                 qPrintable(tip));
        QVERIFY2(tip.contains(QStringLiteral("robots.txt (*): allowed")), qPrintable(tip));
        QVERIFY(results().list().horizontalHeader()->sectionSize(ResultListModel::ColDetails) > 0);
        // Of several findings, the worst.
        results().setEvidence(1, hidden());
        QCOMPARE(details(1, Qt::DisplayRole).toString(), QStringLiteral("hidden by CSS"));
        QCOMPARE(details(1, Qt::DecorationRole).value<QColor>(), QColor(255, 176, 0));
    }

    void enterOpensPageDetails() {
        results().setResult(0, test::pageResultOf("Link Found"));
        results().setEvidence(0, hidden());
        PaneTableView& list = results().list();
        list.setFocus();
        list.setCurrentIndex(list.model()->index(0, 1));
        QString verdict;
        QString anchor;
        QStringList findings;
        test::whenModal<PageDetailsDialog>([&](PageDetailsDialog* dialog) {
            verdict = dialog->value(QStringLiteral("Verdict"));
            anchor = dialog->value(QStringLiteral("Anchor text"));
            for (int i = 1; i <= 4; ++i) {
                findings.append(dialog->value(QStringLiteral("Finding %1").arg(i)));
            }
            dialog->reject();
        });
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(verdict, QStringLiteral("hidden by CSS"));
        QCOMPARE(anchor, QString::fromUtf8("Alpha \xE2\x80\x93 shop"));
        // Every finding, worst first, with what caused it.
        QCOMPARE(
            findings,
            QStringList({QStringLiteral("hidden by CSS: <div style=\"display:none\"> around "
                                        "the link"),
                         QString::fromUtf8("canonical \xE2\x86\x92 http://www.p1.com/: "
                                           "<link rel=\"canonical\" href=\"/\">"),
                         QStringLiteral("nofollow: rel=\"nofollow\" on the link"), QString()}));
    }

    void exportWritesCsvOrJsonByTheChosenName() {
        results().setResult(0, test::pageResultOf("Link Found"));
        results().setEvidence(0, nofollow());
        QAction* exportAction = m_app->mainWindow()->actions().exportResults;
        QVERIFY(exportAction != nullptr);
        QCOMPARE(exportAction->text(), QStringLiteral("Export &Results..."));

        const QString csv = QString::fromStdString(m_data->root()) + "/out.csv";
        FileDialog::presetNextPath(csv);
        exportAction->trigger();
        QFile csvFile(csv);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        const QByteArray csvBytes = csvFile.readAll();
        QVERIFY(csvBytes.startsWith("advertiser,page,mail,notification,result,reason,verdict,"));
        QVERIFY(csvBytes.contains(",nofollow,"));
        QCOMPARE(csvBytes.count("\r\n"), 4);  // header and three rows
        QCOMPARE(FileDialog::lastWasOpen(), false);

        const QString json = QString::fromStdString(m_data->root()) + "/out.json";
        FileDialog::presetNextPath(json);
        exportAction->trigger();
        QFile jsonFile(json);
        QVERIFY(jsonFile.open(QIODevice::ReadOnly));
        const QByteArray jsonBytes = jsonFile.readAll();
        QVERIFY(jsonBytes.startsWith("[\n{\"advertiser\":\"http://www.alpha.com\""));
        QVERIFY(jsonBytes.contains("\"rel\":[\"nofollow\"]"));

        // A file that cannot be written is named; cancelling writes nothing.
        FileDialog::presetNextPath(QStringLiteral("/nonexistent-folder/out.csv"));
        exportAction->trigger();
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY(AppMessageBox::shownTexts().constFirst().contains(QStringLiteral("out.csv")));
        FileDialog::presetCancel();
        exportAction->trigger();
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
    }
};

QTEST_MAIN(EvidenceViewTest)
#include "EvidenceViewTest.moc"
