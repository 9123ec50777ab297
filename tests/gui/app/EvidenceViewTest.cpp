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

#include "gui/app/CommandIds.h"
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
#include "support/TempDataFolder.h"

using namespace tarnwick;
using tarnwick::test::AddProfile;
using tarnwick::test::Page;

namespace {

PageEvidence Nofollow() {
    PageEvidence e;
    e.m_bChecked = true;
    e.m_nHttpStatus = 200;
    e.m_strFinalUrl = "http://www.p1.com/links.html";
    e.m_bAnchorFound = true;
    e.m_strHref = "http://www.alpha.com/";
    e.m_strRel = "nofollow";
    e.m_strAnchorText = "Alpha \xE2\x80\x93 shop";
    e.m_robotsAll = RobotsVerdict::Allowed;
    e.m_robotsGooglebot = RobotsVerdict::Allowed;
    return e;
}

PageEvidence Follow() {
    PageEvidence e = Nofollow();
    e.m_strRel.clear();
    return e;
}

// A link that is there, hidden, on a page that names another as canonical.
PageEvidence Hidden() {
    PageEvidence e = Nofollow();
    e.m_strHiddenBy = "<div style=\"display:none\"> around the link";
    e.m_bCanonicalElsewhere = true;
    e.m_strCanonical = "http://www.p1.com/";
    e.m_strCanonicalSource = "<link rel=\"canonical\" href=\"/\">";
    return e;
}

PageEvidence Unavailable() {
    PageEvidence e;
    e.m_bChecked = true;
    e.m_nHttpStatus = 503;
    return e;
}

}  // namespace

class EvidenceViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::unique_ptr<TarnwickApplication> m_app;

    ResultsPane& Results() { return *m_app->mainWindow()->resultsPane(); }
    QVariant Details(int row, int role) {
        const QAbstractItemModel* model = Results().List().model();
        return model->data(model->index(row, ResultListModel::ColDetails), role);
    }

private slots:
    void init() {
        AppMessageBox::SetTestMode(true);
        AppMessageBox::ClearShown();
        m_data = std::make_unique<test::TempDataFolder>();
        AddProfile(m_data->Folder(), "alpha.com", "Link: http://www.alpha.com",
                   {Page("http://www.p1.com/links.html", "a@p1.com", "1"),
                    Page("http://www.p2.com/", "b@p2.com", "0"),
                    Page("http://p3.com/x", "c@p3.com", "1")});
        m_app = std::make_unique<TarnwickApplication>(StartOptions{0});
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        QTRY_COMPARE(Results().RowCount(), 3);
    }
    void cleanup() {
        m_app.reset();
        m_data.reset();
        FileDialog::ClearPresets();
        AppMessageBox::SetTestMode(false);
    }

    void detailsColumnShowsTheVerdictAndMarksWorthlessLinks() {
        const QAbstractItemModel* model = Results().List().model();
        QCOMPARE(model->headerData(ResultListModel::ColDetails, Qt::Horizontal).toString(),
                 QStringLiteral("Details"));
        QCOMPARE(ResultListModel::ColDetails, ResultListModel::ColChange + 1);
        // Empty until checked.
        QCOMPARE(Details(0, Qt::DisplayRole).toString(), QString());

        Results().SetStatus(0, "Link Found");
        Results().SetEvidence(0, Nofollow());
        Results().SetStatus(1, "Link Found");
        Results().SetEvidence(1, Follow());
        Results().SetStatus(2, "Page cannot be displayed");
        Results().SetEvidence(2, Unavailable());

        QCOMPARE(Details(0, Qt::DisplayRole).toString(), QStringLiteral("nofollow"));
        QCOMPARE(Details(1, Qt::DisplayRole).toString(), QStringLiteral("follow"));
        QCOMPARE(Details(2, Qt::DisplayRole).toString(), QStringLiteral("HTTP 503"));
        // The amber mark only on the found link that counts for nothing.
        QCOMPARE(Details(0, Qt::DecorationRole).value<QColor>(), QColor(255, 176, 0));
        QVERIFY(!Details(1, Qt::DecorationRole).isValid());
        QVERIFY(!Details(2, Qt::DecorationRole).isValid());
        // The Status cell keeps its colour (the delegate paints by its text).
        const QString tip = Details(0, Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains(QStringLiteral("rel: nofollow")), qPrintable(tip));
        QVERIFY2(tip.contains(QString::fromUtf8("Anchor text: Alpha \xE2\x80\x93 shop")),
                 qPrintable(tip));
        QVERIFY2(tip.contains(QStringLiteral("robots.txt (*): allowed")), qPrintable(tip));
        QVERIFY(Results().List().horizontalHeader()->sectionSize(ResultListModel::ColDetails) > 0);
        // Of several findings, the worst.
        Results().SetEvidence(1, Hidden());
        QCOMPARE(Details(1, Qt::DisplayRole).toString(), QStringLiteral("hidden by CSS"));
        QCOMPARE(Details(1, Qt::DecorationRole).value<QColor>(), QColor(255, 176, 0));
    }

    void enterOpensPageDetails() {
        Results().SetStatus(0, "Link Found");
        Results().SetEvidence(0, Hidden());
        PaneTableView& list = Results().List();
        list.setFocus();
        list.setCurrentIndex(list.model()->index(0, 1));
        QString verdict;
        QString anchor;
        QStringList findings;
        test::WhenModal<PageDetailsDialog>([&](PageDetailsDialog* dialog) {
            verdict = dialog->Value(QStringLiteral("Verdict"));
            anchor = dialog->Value(QStringLiteral("Anchor text"));
            for (int i = 1; i <= 4; ++i) {
                findings.append(dialog->Value(QStringLiteral("Finding %1").arg(i)));
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
        Results().SetStatus(0, "Link Found");
        Results().SetEvidence(0, Nofollow());
        QAction* exportAction = m_app->mainWindow()->Command(ID_FILE_EXPORT);
        QVERIFY(exportAction != nullptr);
        QCOMPARE(exportAction->text(), QStringLiteral("Export &Results..."));

        const QString csv = QString::fromStdString(m_data->Root()) + "/out.csv";
        FileDialog::PresetNextPath(csv);
        exportAction->trigger();
        QFile csvFile(csv);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        const QByteArray csvBytes = csvFile.readAll();
        QVERIFY(csvBytes.startsWith("advertiser,page,mail,notification,result,reason,verdict,"));
        QVERIFY(csvBytes.contains(",nofollow,"));
        QCOMPARE(csvBytes.count("\r\n"), 4);  // header and three rows
        QCOMPARE(FileDialog::LastWasOpen(), false);

        const QString json = QString::fromStdString(m_data->Root()) + "/out.json";
        FileDialog::PresetNextPath(json);
        exportAction->trigger();
        QFile jsonFile(json);
        QVERIFY(jsonFile.open(QIODevice::ReadOnly));
        const QByteArray jsonBytes = jsonFile.readAll();
        QVERIFY(jsonBytes.startsWith("[\n{\"advertiser\":\"http://www.alpha.com\""));
        QVERIFY(jsonBytes.contains("\"rel\":[\"nofollow\"]"));

        // A file that cannot be written is named; cancelling writes nothing.
        FileDialog::PresetNextPath(QStringLiteral("/nonexistent-folder/out.csv"));
        exportAction->trigger();
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY(AppMessageBox::ShownTexts().front().contains(QStringLiteral("out.csv")));
        FileDialog::PresetCancel();
        exportAction->trigger();
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
    }
};

QTEST_MAIN(EvidenceViewTest)
#include "EvidenceViewTest.moc"
