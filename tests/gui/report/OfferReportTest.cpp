// The report prompt (format dialog, file choice, writing, whether saved) and
// the exit prompts, on real dialogs under the offscreen platform. The file
// dialog's seam stands in for the user's choice of file.
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/FileDialog.h"
#include "gui/report/ConfirmExitDialog.h"
#include "gui/report/ExitPrompt.h"
#include "gui/report/ReportFormatDialog.h"
#include "gui/report/ReportOffer.h"
#include "gui/report/SaveReportQuestion.h"
#include "gui/support/ModalDriver.h"
#include "mail/ProductWebSite.h"
#include "report/ReportWriters.h"
#include "support/TempDataFolder.h"

using namespace tarnwick;

namespace {

using test::control;
using test::whenModal;

// Chooses a format in the "Save As.." dialog, then presses OK.
void chooseFormatAndOk(bool html) {
    whenModal<ReportFormatDialog>([html](ReportFormatDialog* dialog) {
        control<QRadioButton>(
            dialog, html ? ReportFormatDialog::kHtmlRadio : ReportFormatDialog::kTextRadio)
            ->click();
        control(dialog, ReportFormatDialog::kOkButton)->click();
    });
}

std::vector<ResultRow> sampleRows() {
    ResultRow a;
    a.m_advertiser = "http://www.a.example";
    a.m_page = "http://p1.example/links.html";
    a.m_result = LinkResult::Found;
    ResultRow b = a;
    b.m_page = "http://p2.example/<x>";
    b.m_result = LinkResult::NotFound;
    return {a, b};
}

bool isHtmlReport(const std::string& bytes) {
    return bytes.rfind("<html><head>", 0) == 0;
}
bool isTextReport(const std::string& bytes) {
    return bytes.rfind("\r\n\t\tOsgrel Tarnwick Report\r\n", 0) == 0;
}

}  // namespace

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> m_urls;
public slots:
    void open(const QUrl& url) { m_urls.append(url); }
};

class OfferReportTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<test::TempDataFolder> m_folder;
    ReportOffer m_offer;
    bool m_scanRunning = false;
    // The exit question as the program asks it now.
    bool exitPrompt(const std::function<void()>& onStop) {
        return runExitPrompt(nullptr, m_scanRunning, m_offer.isSaved(), onStop);
    }
    QString reportPath(const char* name) const {
        return QString::fromStdString(m_folder->root()) + QLatin1Char('/') + QLatin1String(name);
    }

private slots:
    void init() {
        m_folder = std::make_unique<test::TempDataFolder>();
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
        FileDialog::clearPresets();
        setTimeOfDayFormatter([](std::time_t) { return std::string("3:04:05 PM"); });
        m_offer.setSaved(false);
        m_scanRunning = false;
    }
    void cleanup() {
        FileDialog::clearPresets();
        setTimeOfDayFormatter(nullptr);
        AppMessageBox::setTestMode(false);
        m_folder.reset();
        m_scanRunning = false;
        m_offer.setSaved(false);
    }

    void fileNameDecidesTheReportKind_data() {
        QTest::addColumn<bool>("htmlChosen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("htmlWritten");
        QTest::newRow("html chosen, .html") << true << "Report.html" << true;
        QTest::newRow("html chosen, .htm") << true << "Report.htm" << false;
        QTest::newRow("html chosen, .HTML") << true << "Report.HTML" << false;
        QTest::newRow("text chosen, .html") << false << "r.html" << true;
        QTest::newRow("text chosen, .txt") << false << "Report.txt" << false;
        QTest::newRow("text chosen, no extension") << false << "Report" << false;
    }
    void fileNameDecidesTheReportKind() {
        QFETCH(bool, htmlChosen);
        QFETCH(QString, name);
        QFETCH(bool, htmlWritten);
        const QString path = reportPath(name.toLatin1().constData());
        FileDialog::presetNextPath(path);
        chooseFormatAndOk(htmlChosen);
        const auto rows = sampleRows();
        m_offer.offer(nullptr, rows);

        QVERIFY(m_offer.isSaved());
        // The save dialog was asked for with the format's filters and name.
        QVERIFY(!FileDialog::lastWasOpen());
        QCOMPARE(FileDialog::lastFilter(),
                 htmlChosen ? ReportFormatDialog::kHtmlFilter : ReportFormatDialog::kTextFilter);
        QCOMPARE(FileDialog::lastInitialFile(),
                 htmlChosen ? QString("Report.html") : QString("Report.txt"));
        QCOMPARE(FileDialog::lastInitialFolder(), QString());

        const std::string bytes = test::readBytes(path.toStdString());
        if (htmlWritten) {
            QVERIFY(isHtmlReport(bytes));
            QVERIFY(bytes.find("http://p2.example/&lt;x&gt;") != std::string::npos);
        } else {
            QVERIFY(isTextReport(bytes));
            QVERIFY(bytes.find("\r\nhttp://p2.example/<x>\t\t\tLink Not Found") !=
                    std::string::npos);
        }
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void filtersAndDefaultNamesOfTheTwoFormats() {
        QCOMPARE(ReportFormatDialog::kHtmlFilter,
                 QString("HTML Files(*.html);;txt Files(*.txt);;All Files(*.*)"));
        QCOMPARE(ReportFormatDialog::kTextFilter,
                 QString("txt Files(*.txt);;html Files(*.html);;All Files(*.*)"));
    }

    void cancelledFileDialogWritesNothingAndClearsSaved() {
        m_offer.setSaved(true);  // the previous run's report was saved
        FileDialog::presetCancel();
        chooseFormatAndOk(true);
        m_offer.offer(nullptr, sampleRows());
        QVERIFY(!m_offer.isSaved());
        QVERIFY(QDir(QString::fromStdString(m_folder->root())).entryList(QDir::Files).isEmpty());
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void closingTheFormatDialogAsksForNoFile_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("close box") << 1;
    }
    void closingTheFormatDialogAsksForNoFile() {
        QFETCH(int, how);
        m_offer.setSaved(true);
        const QString path = reportPath("Report.html");
        FileDialog::presetNextPath(path);
        whenModal<ReportFormatDialog>([how](ReportFormatDialog* dialog) {
            if (how == 0) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
        });
        m_offer.offer(nullptr, sampleRows());
        QVERIFY(!m_offer.isSaved());
        QVERIFY(!test::exists(path.toStdString()));
        // The preset file was never asked for.
        FileDialog probe(false, nullptr, QString(), QString(), QString());
        QVERIFY(probe.runDialog());
        QCOMPARE(probe.getChosenPath(), path);
    }

    // OK is the default button: Enter on a format asks for the file in that
    // format, as OK does.
    void enterOnAFormatAsksForTheFile() {
        const QString path = reportPath("Report.txt");
        FileDialog::presetNextPath(path);
        whenModal<ReportFormatDialog>([](ReportFormatDialog* dialog) {
            auto* text = control<QRadioButton>(dialog, ReportFormatDialog::kTextRadio);
            text->setFocus();
            QTest::keyClick(text, Qt::Key_Space);
            QVERIFY(text->isChecked());
            QTest::keyClick(text, Qt::Key_Return);
        });
        m_offer.offer(nullptr, sampleRows());
        QVERIFY(m_offer.isSaved());
        QVERIFY(!isHtmlReport(test::readBytes(path.toStdString())));
        QVERIFY(!test::readBytes(path.toStdString()).empty());
    }

    void enterOnTheOkButtonAsksForTheFile() {
        const QString path = reportPath("Report.html");
        FileDialog::presetNextPath(path);
        whenModal<ReportFormatDialog>([](ReportFormatDialog* dialog) {
            auto* ok = control(dialog, ReportFormatDialog::kOkButton);
            ok->setFocus();
            QTest::keyClick(ok, Qt::Key_Return);
        });
        m_offer.offer(nullptr, sampleRows());
        QVERIFY(m_offer.isSaved());
        QVERIFY(isHtmlReport(test::readBytes(path.toStdString())));
    }

    void formatDialogLooksAndBehavesAsDescribed() {
        ReportFormatDialog dialog;
        QCOMPARE(dialog.windowTitle(), QString("Save As.."));
        QCOMPARE(dialog.objectName(), QString("ReportFormatDialog"));
        auto* html = control<QRadioButton>(&dialog, ReportFormatDialog::kHtmlRadio);
        auto* text = control<QRadioButton>(&dialog, ReportFormatDialog::kTextRadio);
        QCOMPARE(html->text(), QString(".html format "));
        QCOMPARE(text->text(), QString(".txt format"));
        QCOMPARE(control(&dialog, ReportFormatDialog::kOkButton)->text(), QString("OK"));
        // Opening resets the choice to HTML.
        QVERIFY(html->isChecked());
        QVERIFY(!text->isChecked());
        QVERIFY(dialog.isHtml());

        text->click();
        QVERIFY(text->isChecked() && !html->isChecked());
        QVERIFY(!dialog.isHtml());
        text->click();  // a click on the ticked choice keeps it ticked
        QVERIFY(text->isChecked() && !html->isChecked());
        QVERIFY(!dialog.isHtml());
        html->click();
        QVERIFY(html->isChecked() && !text->isChecked());
        QVERIFY(dialog.isHtml());
    }

    void unwritableFileIsReportedAndNotMarkedSaved_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing folder") << QString("/no-such-folder-here/x/Report.html");
        QTest::newRow("missing folder, not ASCII")
            << QString::fromUtf8("/no-such-f\xc3\xb6lder-\xe4\xb8\xad/Report.html");
        QTest::newRow("a folder") << QString();  // the temporary folder itself + "/"
        QTest::newRow("full disk") << QString("/dev/full");
    }
    void unwritableFileIsReportedAndNotMarkedSaved() {
        QFETCH(QString, path);
        if (path.isEmpty()) {
            path = QString::fromStdString(m_folder->root());
        }
        m_offer.setSaved(true);
        FileDialog::presetNextPath(path);
        chooseFormatAndOk(false);
        m_offer.offer(nullptr, sampleRows());
        QVERIFY(!m_offer.isSaved());
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(AppMessageBox::lastText().contains(path), qPrintable(AppMessageBox::lastText()));
    }

    void aNonAsciiFolderIsWrittenAsTheFileSystemNamesIt() {
        const QString folder = reportPath("Berichte \u00fc\u4e2d");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/Report.html";
        FileDialog::presetNextPath(path);
        chooseFormatAndOk(true);
        m_offer.offer(nullptr, sampleRows());
        QVERIFY(m_offer.isSaved());
        QVERIFY(QFile::exists(path));
    }

    void calledFromTheScanThreadRunsOnTheGuiThreadAndWaits() {
        const QString path = reportPath("Report.txt");
        FileDialog::presetNextPath(path);
        bool onGuiThread = false;
        whenModal<ReportFormatDialog>([&](ReportFormatDialog* dialog) {
            onGuiThread =
                QThread::currentThread() == qApp->thread() && dialog->thread() == qApp->thread();
            control<QRadioButton>(dialog, ReportFormatDialog::kTextRadio)->click();
            control(dialog, ReportFormatDialog::kOkButton)->click();
        });
        std::atomic<bool> done{false};
        bool writtenWhenReturned = false;
        std::mutex scanLock;
        std::thread scan([&] {
            // The completing run offers the report while holding its lock.
            std::lock_guard<std::mutex> lock(scanLock);
            m_offer.offer(nullptr, sampleRows());
            writtenWhenReturned = isTextReport(test::readBytes(path.toStdString()));
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
        scan.join();
        QVERIFY(onGuiThread);
        QVERIFY(writtenWhenReturned);
        QVERIFY(m_offer.isSaved());
    }

    // Exit prompts.

    void exitAsksAboutTheReportOnlyDuringAnUnsavedRun_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("asksAboutReport");
        QTest::newRow("idle") << false << false << false;
        QTest::newRow("idle, saved") << false << true << false;
        QTest::newRow("running") << true << false << true;
        QTest::newRow("running, saved") << true << true << false;
    }
    void exitAsksAboutTheReportOnlyDuringAnUnsavedRun() {
        QFETCH(bool, running);
        QFETCH(bool, saved);
        QFETCH(bool, asksAboutReport);
        m_scanRunning = running;
        m_offer.setSaved(saved);
        QString shown;
        // On the stack: it cannot fire into this function's locals once the
        // function has returned.
        QTimer timer;
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, &timer, [&shown, &timer] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                timer.stop();
                shown = dialog->objectName();
                QTest::keyClick(dialog, Qt::Key_Escape);
            }
        });
        timer.start();
        QVERIFY(!exitPrompt([] {}));
        QCOMPARE(shown,
                 asksAboutReport ? QString("SaveReportQuestion") : QString("ConfirmExitDialog"));
    }

    void saveReportBeforeExitHasThreeOutcomes_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<bool>("stops");
        QTest::newRow("Yes") << SaveReportQuestion::kYesButton << true << true;
        QTest::newRow("No") << SaveReportQuestion::kNoButton << true << false;
        QTest::newRow("Cancel") << SaveReportQuestion::kCancelButton << false << false;
        QTest::newRow("Esc") << "" << false << false;
    }
    void saveReportBeforeExitHasThreeOutcomes() {
        QFETCH(QString, button);
        QFETCH(bool, quits);
        QFETCH(bool, stops);
        m_scanRunning = true;
        QString question;
        QString caption;
        whenModal<SaveReportQuestion>([&](SaveReportQuestion* dialog) {
            caption = dialog->windowTitle();
            question = dialog->findChild<QLabel*>()->text();
            QCOMPARE(control(dialog, SaveReportQuestion::kYesButton)->text(), QString("&Yes"));
            QCOMPARE(control(dialog, SaveReportQuestion::kNoButton)->text(), QString("&No"));
            QCOMPARE(control(dialog, SaveReportQuestion::kCancelButton)->text(), QString("Cancel"));
            if (button.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                control(dialog, button.toLatin1().constData())->click();
            }
        });
        int stopCalls = 0;
        QCOMPARE(exitPrompt([&] { ++stopCalls; }), quits);
        QCOMPARE(stopCalls, stops ? 1 : 0);
        QCOMPARE(caption, QString("Osgrel Tarnwick Ambrel"));
        QCOMPARE(question, QString("Do you want to save report before exit?"));
    }

    void yesStopsAndOffersTheReportBeforeQuitting() {
        // Yes runs Stop, whose report prompt is closed without a file: the
        // program ends without a report.
        m_scanRunning = true;
        const QString path = reportPath("Report.html");
        whenModal<SaveReportQuestion>([](SaveReportQuestion* dialog) {
            control(dialog, SaveReportQuestion::kYesButton)->click();
        });
        bool offered = false;
        const bool quits = exitPrompt([&] {
            m_scanRunning = false;
            whenModal<ReportFormatDialog>([&](ReportFormatDialog* dialog) {
                offered = true;
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
            m_offer.offer(nullptr, sampleRows());
        });
        QVERIFY(quits);
        QVERIFY(offered);
        QVERIFY(!m_offer.isSaved());
        QVERIFY(!test::exists(path.toStdString()));
    }

    void exitConfirmationOpensTheWebSiteOnOk_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("quits");
        QTest::newRow("OK") << ConfirmExitDialog::kOkButton << true;
        QTest::newRow("Cancel") << ConfirmExitDialog::kCancelButton << false;
        QTest::newRow("Esc") << "" << false;
    }
    void exitConfirmationOpensTheWebSiteOnOk() {
        QFETCH(QString, button);
        QFETCH(bool, quits);
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("https", &recorder, "open");
        QDesktopServices::setUrlHandler("http", &recorder, "open");
        QString question;
        whenModal<ConfirmExitDialog>([&](ConfirmExitDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Osgrel Tarnwick Ambrel"));
            question = dialog->findChild<QLabel*>()->text();
            QCOMPARE(control(dialog, ConfirmExitDialog::kOkButton)->text(), QString("OK"));
            QCOMPARE(control(dialog, ConfirmExitDialog::kCancelButton)->text(), QString("Cancel"));
            if (button.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                control(dialog, button.toLatin1().constData())->click();
            }
        });
        int stopCalls = 0;
        const bool result = exitPrompt([&] { ++stopCalls; });
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("http");
        QCOMPARE(result, quits);
        QCOMPARE(stopCalls, 0);
        QCOMPARE(question, QString("Do you want to exit from Osgrel Tarnwick Ambrel ? "));
        if (quits) {
            QCOMPARE(recorder.m_urls, QList<QUrl>{QUrl(QString::fromLatin1(kProductWebSite))});
        } else {
            QVERIFY(recorder.m_urls.isEmpty());
        }
    }
};

QTEST_MAIN(OfferReportTest)
#include "OfferReportTest.moc"
