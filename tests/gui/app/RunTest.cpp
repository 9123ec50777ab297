// Scan runs in the window, on real store files and a loopback web server:
// Play and its statuses, result colours, the report prompt, Stop mid-run, the
// commands refused during a run, webmaster letters, closing during a run.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProgressBar>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "gui/app/MainWindow.h"
#include "gui/app/PageDetailsDialog.h"
#include "gui/app/PreferencesDialog.h"
#include "gui/app/ProfilePane.h"
#include "gui/app/ResultFilterProxy.h"
#include "gui/app/ResultListModel.h"
#include "gui/app/ResultsPane.h"
#include "gui/app/StoreFixture.h"
#include "gui/app/TarnwickApplication.h"
#include "gui/app/WatchPaneModels.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/FileDialog.h"
#include "gui/controls/PaneTableView.h"
#include "gui/controls/TextCodec.h"
#include "gui/history/HistoryWindow.h"
#include "gui/report/ReportFormatDialog.h"
#include "gui/report/SaveReportQuestion.h"
#include "gui/support/ModalDriver.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryRecorder.h"
#include "history/LetterRules.h"
#include "mail/MailSettings.h"
#include "mail/SmtpClient.h"
#include "mail/SmtpTestServer.h"
#include "scan/PageServer.h"
#include "scan/RunState.h"
#include "scan/ScanSession.h"
#include "scan/StatusWords.h"
#include "store/AppSettings.h"
#include "store/RunLock.h"
#include "support/TempDataFolder.h"
#include "viewrules/ResultsView.h"

extern char** environ;

using namespace tarnwick;
using tarnwick::test::addProfile;
using tarnwick::test::control;
using tarnwick::test::page;
using tarnwick::test::pressWhenModal;

namespace {

constexpr const char* kAdvertiser = "http://www.adv-run.com";

// Answers every report prompt as it comes up: saves the report to the next
// queued path (as a text report), or closes the prompt when none is queued.
class ReportPrompts : public QObject {
public:
    ReportPrompts() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* prompt = qobject_cast<ReportFormatDialog*>(QApplication::activeModalWidget());
            if (prompt == nullptr || prompt == m_last) {
                return;
            }
            m_last = prompt;
            ++m_shown;
            if (m_paths.isEmpty()) {
                prompt->reject();
                return;
            }
            FileDialog::presetNextPath(m_paths.takeFirst());
            control<QRadioButton>(prompt, ReportFormatDialog::kTextRadio)->click();
            control(prompt, ReportFormatDialog::kOkButton)->click();
        });
        m_timer.start();
    }
    int shown() const { return m_shown; }
    QStringList m_paths;

private:
    QTimer m_timer;
    QPointer<ReportFormatDialog> m_last;
    int m_shown = 0;
};

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::unique_ptr<test::PageServer> m_server;
    std::unique_ptr<TarnwickApplication> m_app;
    // The time-outs of the program's letters (its default unless a test says).
    SmtpClient::Limits m_mailLimits;

    MainWindow& frame() { return *m_app->mainWindow(); }
    const RunState& runState() { return m_app->scan()->runState(); }
    bool reportSaved() { return m_app->reportOffer().isSaved(); }
    ProfilePane& profiles() { return *frame().profilePane(); }
    ResultsPane& results() { return *frame().resultsPane(); }
    std::string statusAt(int row) { return results().rowAt(row).statusText(); }
    std::string profileStatus(int row) { return profiles().profileStatus(row); }

    void start() {
        StartOptions options(0);
        options.m_mailLimits = m_mailLimits;
        m_app = std::make_unique<TarnwickApplication>(options);
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        test::watchPaneModels(frame());
    }

    // Profile A: found, lost (notified), gone. Profile B: found, unreachable.
    void fivePages() {
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/found.html"), "a@p.org", "0"),
                    page(m_server->http("/files/lost.html"), "b@p.org", "1"),
                    page(m_server->http("/status/404/gone.html"), "c@p.org", "0")});
        addProfile(m_data->folder(), "second.org", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/found.html"), "d@p.org", "0"),
                    page("http://127.0.0.1:" + std::to_string(test::unusedPort()) + "/x", "e@p.org",
                         "0")});
    }

private slots:
    void initTestCase() {
        AppMessageBox::setTestMode(true);
        m_server = std::make_unique<test::PageServer>(false, false);
        m_server->addFile("found.html",
                          std::string("<p>Partners</p><a href=\"") + kAdvertiser + "\">us</a>");
        m_server->addFile("lost.html", "<p>Partners</p><a href=\"http://other.example\">x</a>");
        m_server->addFile("gone.html", "<html><h1>404 Not Found</h1></html>");
        // The advertiser is typed with http; partners write links as today's
        // web does, or only pretend to.
        m_server->addFile("https.html", "<p>Friends</p><a href = \"HTTPS://adv-run.com\">us</a>");
        m_server->addFile("commented.html",
                          std::string("<!-- <a href=\"") + kAdvertiser + "\">us</a> -->");
    }
    void cleanupTestCase() { m_server.reset(); }

    void init() {
        AppMessageBox::clearShown();
        FileDialog::clearPresets();
        m_data = std::make_unique<test::TempDataFolder>();
        m_mailLimits = {};
    }

    void cleanup() {
        m_app.reset();
        m_data.reset();
    }

    void secondRunShowsWhatChangedAndTheHistory() {
        const std::string link = std::string("<a href=\"") + kAdvertiser + "\">us</a>";
        m_server->addFile("moves.html", link);
        m_server->addFile("returns.html", "<p>no link yet</p>");
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/moves.html"), "m@p.org", "0"),
                    page(m_server->http("/files/returns.html"), "r@p.org", "0")});
        start();
        ReportPrompts prompts;
        QCOMPARE(results().model().headerData(ResultListModel::ColChange, Qt::Horizontal),
                 QVariant(QString("Since last run")));

        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 1, 30000);
        QCOMPARE(results().rowAt(0).m_change, std::string("New"));
        QCOMPARE(results().rowAt(1).m_change, std::string("New"));
        QCOMPARE(frame().runSummaryText(), QString("First run: 2 pages recorded"));

        m_server->addFile("moves.html", "<p>gone</p>");
        m_server->addFile("returns.html", link);
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 2, 30000);
        QCOMPARE(statusAt(0), std::string("Link Not Found"));
        QCOMPARE(results().rowAt(0).m_change, std::string("Lost"));
        QCOMPARE(results().rowAt(1).m_change, std::string("Restored"));
        QCOMPARE(results()
                     .model()
                     .data(results().model().index(0, ResultListModel::ColChange))
                     .toString(),
                 QString("Lost"));
        QCOMPARE(frame().runSummaryText(), QString("1 link lost, 1 restored since the last run"));
        // The message pane still says "Ready".
        QTRY_COMPARE(frame().messageText(), QStringLiteral("Ready"));

        // The history is written on a thread of its own: wait for it.
        m_app->history()->flush();
        frame().actions().history->trigger();
        HistoryWindow* history = m_app->historyWindow();
        QVERIFY(history != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(history));
        // The run's end is written by the history's own thread: read again
        // until it is there.
        QTRY_VERIFY_WITH_TIMEOUT(
            (history->reload(), history->runList()->topLevelItemCount() == 2 &&
                                    history->runList()->topLevelItem(1)->text(4) == "completed"),
            10000);
        QCOMPARE(history->runList()->topLevelItem(1)->text(3), QString("desktop"));
        QCOMPARE(history->profileBox()->currentText(), QString("www.adv-run.com"));
    }

    // After a restart every page shows its result of the last recorded run,
    // marked as such, until Play; clicks and ticks of rows keep them. "Check
    // This Page Now" checks one page into its row and records nothing.
    void lastResultsComeBackUntilPlay() {
        m_server->addFile("flips.html", "<p>no link</p>");
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/found.html"), "a@p.org", "0"),
                    page(m_server->http("/files/flips.html"), "b@p.org", "0")});
        addProfile(m_data->folder(), "second.org", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/status/404/gone.html"), "c@p.org", "0")});
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 1, 30000);
        m_app->history()->flush();
        m_app.reset();

        start();
        const std::string mark = recordedResultMark(std::time(nullptr));
        QVERIFY(QString::fromStdString(mark).startsWith("last run: "));
        const std::vector<std::string> words = {"Link Found", "Link Not Found",
                                                "Page Cannot be Found"};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(statusAt(row), words[static_cast<size_t>(row)]);
            QCOMPARE(results().rowAt(row).m_change, mark);
            QVERIFY(results().rowAt(row).m_recorded);
        }
        QVERIFY(!results().rowAt(1).m_reason.empty());  // the tool tip says why
        // Recorded results are no run's of this session: a tick asks nothing
        // and the pages of the profiles still ticked keep theirs.
        PaneTableView& list = profiles().list();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.checkBoxRect(1).center());
        QCOMPARE(results().rowCount(), 2);
        QCOMPARE(statusAt(1), std::string("Link Not Found"));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());

        // One page checked now: its row changes, the history does not.
        const auto runs = [this] {
            return HistoryDatabase(HistoryDatabase::pathIn(m_data->folder().folder()))
                .runs()
                .size();
        };
        QCOMPARE(runs(), size_t{1});
        m_server->addFile("flips.html", std::string("<a href=\"") + kAdvertiser + "\">us</a>");
        results().list().setCurrentIndex(results().shown().shownIndex(1, 1));
        QVERIFY(frame().actions().checkPageNow->isEnabled());
        frame().actions().checkPageNow->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(statusAt(1), std::string("Link Found"), 20000);
        QVERIFY(!results().rowAt(1).m_recorded);
        QVERIFY(results().rowAt(1).m_evidence->m_checked);
        QCOMPARE(statusAt(0), std::string("Link Found"));
        QVERIFY(results().rowAt(0).m_recorded);
        QCOMPARE(frame().runSummaryText(),
                 QString("Checked now: Link Found (not recorded in the history)"));
        QTRY_VERIFY(!m_app->isCheckingPageNow());
        QCOMPARE(runs(), size_t{1});

        // Play starts from empty rows: the run's own results replace them.
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 2, 30000);
        QCOMPARE(statusAt(1), std::string("Link Found"));
        QVERIFY(!results().rowAt(0).m_recorded);
        QCOMPARE(results().rowAt(1).m_change, std::string("Restored"));
    }

    void wholeRunInTheWindow() {
        fivePages();
        start();
        ReportPrompts prompts;
        const std::string report = m_data->root() + "/Report.txt";
        prompts.m_paths.append(QString::fromStdString(report));

        frame().actions().play->trigger();
        // Right after Play: the first profile runs, the other waits.
        QVERIFY(runState().isRunning() || profileStatus(1) == "Completed");
        QVERIFY(!frame().actions().play->isEnabled() || !runState().isRunning());

        QTRY_COMPARE_WITH_TIMEOUT(profileStatus(1), std::string("Completed"), 30000);
        QCOMPARE(profileStatus(0), std::string("Completed."));
        QCOMPARE(statusAt(0), std::string("Link Found"));
        QCOMPARE(statusAt(1), std::string("Link Not Found"));
        QCOMPARE(statusAt(2), std::string("Page Cannot be Found"));
        QCOMPARE(statusAt(3), std::string("Link Found"));
        QCOMPARE(statusAt(4), std::string("Page cannot be displayed"));

        // The report prompt comes once and the report is written.
        QTRY_COMPARE(prompts.shown(), 1);
        QTRY_VERIFY(test::exists(report));
        QVERIFY(test::readBytes(report).find("Link Not Found") != std::string::npos);
        QVERIFY(reportSaved());

        // The lost, notified page: with no mail settings its letter says so.
        QTRY_COMPARE(results().rowAt(1).m_mail, std::string("Mail Settings Not provided"));
        QCOMPARE(results().rowAt(0).m_mail, std::string("a@p.org"));
        // Play asked once about the missing settings (No: the run mailed as usual).
        QVERIFY(AppMessageBox::shownTexts().constFirst().startsWith("No mail settings are stored"));
        // The run told in one line.
        QTRY_COMPARE(frame().summaryText(),
                     QStringLiteral("Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found, "
                                    "1 Page cannot be displayed. Letters: 0 sent, 1 could not be "
                                    "sent: Mail Settings Not provided."));
        QVERIFY(!frame().progressBar()->isVisible());

        QTRY_VERIFY(frame().actions().play->isEnabled());
        QVERIFY(!frame().actions().stop->isEnabled());
        QTRY_COMPARE(frame().messageText(), QStringLiteral("Ready"));

        // The Status cells in their colours.
        PaneTableView& list = results().list();
        for (int c = 0; c < 4; ++c) {
            list.horizontalHeader()->resizeSection(c, 40);
        }
        list.selectionModel()->clearCurrentIndex();
        const QImage shot = list.viewport()->grab().toImage();
        const QColor expected[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(255, 0, 0),
                                   QColor(0, 255, 0), QColor(255, 255, 0)};
        for (int r = 0; r < 5; ++r) {
            const QRect cell = list.visualRect(list.model()->index(r, 4));
            QCOMPARE(shot.pixelColor(cell.right() - 3, cell.bottom() - 2), expected[r]);
        }
        QTest::qWait(100);
        QCOMPARE(prompts.shown(), 1);

        // Play again starts from empty statuses.
        frame().actions().play->trigger();
        QVERIFY(!reportSaved());
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 2, 30000);
        QCOMPARE(profileStatus(1), std::string("Completed"));
    }

    // A page that trickles forever ends at the time limit of the shared
    // settings: the run completes, the page is yellow and its Status cell's
    // tooltip gives the reason.
    void tricklingPageEndsAtTheTimeLimit() {
        const std::string config = m_data->root() + "/config";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        AppSettings settings;
        settings.m_pageTimeoutSeconds = 1;
        settings.save();
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/trickle/found.html?every=0.1")),
                    page(m_server->http("/files/found.html"))});
        start();
        ReportPrompts prompts;
        QElapsedTimer clock;
        clock.start();
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(profileStatus(0), std::string("Completed"), 20000);
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(statusAt(0), std::string("Page cannot be displayed"));
        QCOMPARE(statusAt(1), std::string("Link Found"));
        const QAbstractItemModel* model = results().list().model();
        QCOMPARE(model->data(model->index(0, 4), Qt::ToolTipRole).toString(),
                 QStringLiteral("time limit of 1 s reached"));
        QCOMPARE(model->data(model->index(1, 4), Qt::ToolTipRole).toString(),
                 QStringLiteral("link to http://www.adv-run.com/ found"));

        PaneTableView& list = results().list();
        for (int c = 0; c < 4; ++c) {
            list.horizontalHeader()->resizeSection(c, 40);
        }
        list.selectionModel()->clearCurrentIndex();
        const QImage shot = list.viewport()->grab().toImage();
        const QRect cell = list.visualRect(model->index(0, 4));
        QCOMPARE(shot.pixelColor(cell.right() - 3, cell.bottom() - 2), QColor(255, 255, 0));
        qunsetenv("XDG_CONFIG_HOME");
    }

    // File > Preferences... writes the shared settings the next run reads:
    // the page time limit, how pages are fetched side by side and how far a
    // link's worth is checked.
    void preferencesSetThePageTimeLimit() {
        const std::string config = m_data->root() + "/config";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        start();
        test::whenModal<PreferencesDialog>([](PreferencesDialog* dialog) {
            const struct {
                const char* name;
                int shown, minimum, maximum, set;
            } boxes[] = {
                {"pageTimeout", 120, 1, 3600, 9},   {"silenceTimeout", 20, 1, 3600, 7},
                {"jobs", 256, 1, 1024, 4},          {"hostConnections", 2, 1, 16, 1},
                {"hostInterval", 0, 0, 60000, 500}, {"linkFarmLinks", 100, 1, 1000000, 40}};
            for (const auto& b : boxes) {
                auto* box = dialog->findChild<QSpinBox*>(QLatin1String(b.name));
                QVERIFY2(box != nullptr, b.name);
                QCOMPARE(box->value(), b.shown);
                QCOMPARE(box->minimum(), b.minimum);
                QCOMPARE(box->maximum(), b.maximum);
                box->setValue(b.set);
            }
            const struct {
                const char* name;
                bool shown;
            } checks[] = {{"cloakCheck", true}, {"render", false}};
            for (const auto& c : checks) {
                auto* box = dialog->findChild<QCheckBox*>(QLatin1String(c.name));
                QVERIFY2(box != nullptr, c.name);
                QCOMPARE(box->isChecked(), c.shown);
                box->setChecked(!c.shown);
            }
            dialog->accept();
        });
        frame().actions().preferences->trigger();
        const AppSettings saved = AppSettings::load();
        QCOMPARE(saved.m_pageTimeoutSeconds, 9L);
        QCOMPARE(saved.m_silenceSeconds, 7L);
        QCOMPARE(saved.m_jobs, 4L);
        QCOMPARE(saved.m_hostConnections, 1L);
        QCOMPARE(saved.m_hostIntervalMs, 500L);
        QCOMPARE(saved.m_linkFarmLinks, 40L);
        QVERIFY(!saved.m_cloakCheck);
        QVERIFY(saved.m_render);
        qunsetenv("XDG_CONFIG_HOME");
    }

    void stopMidRun() {
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/found.html")), page(m_server->http("/silent")),
                    page(m_server->http("/files/found.html"))});
        addProfile(m_data->folder(), "second.org", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/found.html"))});
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(frame().messageText().startsWith("Checking page 2 of 4"), 20000);
        // The progress a tool tip cannot cover.
        QTRY_COMPARE(frame().pageText(), QStringLiteral("Page 2 of 4"));
        // The pages behind the silent one come back meanwhile, and the bar
        // says so, and whom the run waits for.
        QTRY_VERIFY_WITH_TIMEOUT(frame().fetchedText().startsWith(QString::fromUtf8(
                                     "\u00b7 3 fetched \u00b7 waiting for 127.0.0.1 (")),
                                 20000);
        QVERIFY(frame().progressBar()->isVisible());
        QCOMPARE(frame().progressBar()->value(), 1);
        QCOMPARE(frame().progressBar()->maximum(), 4);
        QCOMPARE(statusAt(0), std::string("Link Found"));
        QCOMPARE(profileStatus(0), std::string("Running..."));
        QCOMPARE(profileStatus(1), std::string("Waiting..."));
        QVERIFY(frame().actions().stop->isEnabled());
        QVERIFY(!frame().actions().play->isEnabled());

        // While the page hangs: the commands that change the store are
        // refused, clicks too.
        frame().actions().addProfile->trigger();
        frame().actions().deleteProfile->trigger();
        frame().actions().editProfile->trigger();
        PaneTableView& list = profiles().list();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(1, 1)).center());
        // (First the question about the missing mail settings, at Play.)
        QCOMPARE(
            AppMessageBox::shownTexts().mid(1),
            QStringList({"You cannot add profile while task is running",
                         "You cannot delete profile while task is runing",
                         "You cannot edit any profile while task is running", "Task is running"}));

        frame().actions().stop->trigger();
        QCOMPARE(statusAt(2), std::string("Stopped by user"));
        QCOMPARE(statusAt(3), std::string("Stopped by user"));
        QCOMPARE(profileStatus(0), std::string("Stopped."));
        QCOMPARE(profileStatus(1), std::string("Stopped."));
        QVERIFY(!runState().isRunning());
        QTRY_COMPARE(prompts.shown(), 1);
        QVERIFY(!reportSaved());
        QTRY_VERIFY(frame().actions().play->isEnabled());
        QVERIFY(!frame().actions().stop->isEnabled());
        QTest::qWait(100);
        QCOMPARE(prompts.shown(), 1);
        // The summary line counts the rows Stop marked after the run ended
        // (the page in hand among them until its answer comes).
        QTRY_VERIFY2(frame().summaryText().contains(QStringLiteral("3 Stopped by user")),
                     qPrintable(frame().summaryText()));
    }

    // The letter rules of the mail settings: with "missing in 2 runs" and
    // "not again within 7 days" a lost link is mailed on its second run only.
    // The Mail Address cell keeps the address with a mark, the reason in its
    // tool tip and in Page Details, and the status bar counts each letter
    // once, as the mail server received them.
    void lettersWaitForTheMailRules() {
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        QVERIFY2(smtp.started(), smtp.failure().c_str());
        MailSettings account;
        account.m_sender = "owner@adv-run.com";
        account.m_smtpServer = smtp.address();
        writeMailSettings(m_data->folder().mailPath(), account);
        writeLetterRules(m_data->folder().folder(), LetterRules{2, 7});
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/lost.html"), "b@p.org", "1")});
        start();
        ReportPrompts prompts;
        const struct {
            LetterMark mark;
            QString cell;
            const char* note;
            QString summary;
            size_t received;  // letters the server has by then
        } runs[] = {
            {LetterMark::HeldBack, QString::fromUtf8("b@p.org \u2298"),
             "Not mailed: the link has been missing in 1 run", "Letters: 0 sent, 1 held back.", 0},
            {LetterMark::Sent, QString::fromUtf8("b@p.org \u2713"), "Letter sent to b@p.org",
             "Letters: 1 sent.", 1},
            {LetterMark::HeldBack, QString::fromUtf8("b@p.org \u2298"),
             "Not mailed: this webmaster was mailed about the page on ",
             "Letters: 0 sent, 1 held back.", 1},
        };
        const QAbstractItemModel* model = results().list().model();
        for (const auto& run : runs) {
            frame().actions().play->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), static_cast<int>(&run - runs) + 1, 30000);
            QCOMPARE(statusAt(0), std::string("Link Not Found"));
            QTRY_COMPARE(results().rowAt(0).m_letter, run.mark);
            const ResultRow row = results().rowAt(0);
            QVERIFY2(row.m_letterNote.rfind(run.note, 0) == 0, row.m_letterNote.c_str());
            QCOMPARE(row.m_mail, std::string("b@p.org"));
            QCOMPARE(model->data(model->index(0, ResultListModel::ColMail)).toString(), run.cell);
            QCOMPARE(model->data(model->index(0, ResultListModel::ColMail), Qt::ToolTipRole),
                     QVariant(toQ(row.m_letterNote)));
            QCOMPARE(PageDetailsDialog(row).value(QStringLiteral("Letter")), toQ(row.m_letterNote));
            QTRY_VERIFY2(frame().summaryText().endsWith(run.summary),
                         qPrintable(frame().summaryText()));
            QCOMPARE(smtp.waitForMail(run.received, std::chrono::milliseconds(2000)).size(),
                     run.received);
            m_app->history()->flush();
        }
        QVERIFY2(results().rowAt(0).m_letterNote.find("days") != std::string::npos,
                 results().rowAt(0).m_letterNote.c_str());
        const auto mail = smtp.waitForMail(1);
        QCOMPARE(mail.size(), size_t(1));
        QCOMPARE(mail[0].m_recipients, std::string("b@p.org"));
    }

    // Stop, then Play again at once (a run that seemed stuck): the webmaster
    // mailed before the stop gets no second letter, as the letter rules
    // stand by default, and the status bar counts the letter held back.
    void stopAndPlayAgainSendsNoSecondLetter() {
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        QVERIFY2(smtp.started(), smtp.failure().c_str());
        MailSettings account;
        account.m_sender = "owner@adv-run.com";
        account.m_smtpServer = smtp.address();
        writeMailSettings(m_data->folder().mailPath(), account);
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/lost.html"), "b@p.org", "1"),
                    page(m_server->http("/delay/3000/found.html"), "c@p.org", "1")});
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        // (The window keeps turning while the letter goes.)
        QTRY_COMPARE_WITH_TIMEOUT(smtp.mail().size(), size_t(1), 20000);
        frame().actions().stop->trigger();
        QTRY_COMPARE(prompts.shown(), 1);
        QTRY_VERIFY(frame().actions().play->isEnabled());

        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 2, 30000);
        QCOMPARE(statusAt(0), std::string("Link Not Found"));
        QTRY_COMPARE(results().rowAt(0).m_letter, LetterMark::HeldBack);
        QTRY_VERIFY2(frame().summaryText().endsWith("Letters: 0 sent, 1 held back."),
                     qPrintable(frame().summaryText()));
        QCOMPARE(smtp.waitForMail(2, std::chrono::milliseconds(1000)).size(), size_t(1));
    }

    // A link written with https, without www and the slash, with blanks
    // around "=", is green and mails nobody; a link inside a comment is red,
    // says why, and its webmaster gets the one letter (real SMTP server).
    void linksAreJudgedAsBrowsersSeeThem() {
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        QVERIFY2(smtp.started(), smtp.failure().c_str());
        MailSettings account;
        account.m_sender = "owner@adv-run.com";
        account.m_smtpServer = smtp.address();
        writeMailSettings(m_data->folder().mailPath(), account);
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/files/https.html"), "friend@p.org", "1"),
                    page(m_server->http("/files/commented.html"), "pretender@p.org", "1")});
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 1, 30000);
        QCOMPARE(statusAt(0), std::string("Link Found"));
        QCOMPARE(statusAt(1), std::string("Link Not Found"));
        const QAbstractItemModel* model = results().list().model();
        QCOMPARE(model->data(model->index(1, 4), Qt::ToolTipRole).toString(),
                 QStringLiteral("the link is inside an HTML comment"));
        PaneTableView& list = results().list();
        for (int c = 0; c < 4; ++c) {
            list.horizontalHeader()->resizeSection(c, 40);
        }
        list.selectionModel()->clearCurrentIndex();
        const QImage shot = list.viewport()->grab().toImage();
        const QRect found = list.visualRect(model->index(0, 4));
        QCOMPARE(shot.pixelColor(found.right() - 3, found.bottom() - 2), QColor(0, 255, 0));
        const auto mail = smtp.waitForMail(2, std::chrono::milliseconds(3000));
        QCOMPARE(mail.size(), size_t(1));
        QCOMPARE(mail[0].m_recipients, std::string("pretender@p.org"));
    }

    // One scan per data folder: while a real tarnwick-cli scan holds it, Play
    // names that scan and starts nothing; once it has ended Play runs, and
    // the window holds the folder until its run is over. A value of
    // Letters.ini that cannot be used is named in the status bar at Play.
    void playLeavesTheFolderToARunningScan() {
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/delay/2000/found.html")),
                    page(m_server->http("/files/found.html"))});
        test::writeBytes(m_data->folder().folder() + "/Letters.ini", "Missing_Runs = 0\r\n");
        const std::string lockPath = m_data->folder().folder() + "/" + kRunLockFileName;
        char cli[] = TARNWICK_CLI_PATH;
        char scan[] = "scan";
        char noMail[] = "--no-mail";
        char* argv[] = {cli, scan, noMail, nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        QCOMPARE(posix_spawn(&pid, cli, &quiet, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&quiet);
        QTRY_VERIFY_WITH_TIMEOUT(test::readBytes(lockPath).rfind(std::to_string(pid) + " ", 0) == 0,
                                 10000);
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        QCOMPARE(
            AppMessageBox::lastText(),
            QString::fromStdString("Another scan of this data folder is running "
                                   "(tarnwick-cli scan, process " +
                                   std::to_string(pid) + ").\n\nPlay again when it has ended."));
        QVERIFY(!runState().isRunning());
        QTest::qWait(200);
        QCOMPARE(prompts.shown(), 0);
        int status = -1;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QCOMPARE(WEXITSTATUS(status), 0);

        frame().actions().play->trigger();
        QVERIFY(frame().runSummaryText().contains(
            "Letters.ini: missing_runs=\"0\" is outside 1 to 1000; 1 is used"));
        QVERIFY(m_app->holdsRunLock());
        QCOMPARE(RunLock::tryLock(m_data->folder().folder(), "test").state(), RunLock::State::Busy);
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 1, 30000);
        QCOMPARE(statusAt(0), std::string("Link Found"));
        QTRY_VERIFY(!m_app->holdsRunLock());
        QVERIFY(RunLock::tryLock(m_data->folder().folder(), "test").isHeld());
    }

    // The toggle sends no letter and asks nothing; a long run ends with a
    // desktop notification carrying the summary.
    void checkWithoutMailing() {
        fivePages();
        start();
        ReportPrompts prompts;
        QStringList notices;
        frame().setNotifyAfterSeconds(0);
        frame().setDesktopNotifier([&](const QString& text) { notices.append(text); });
        frame().actions().checkWithoutMail->setChecked(true);
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(profileStatus(1), std::string("Completed"), 30000);
        QCOMPARE(statusAt(1), std::string("Link Not Found"));
        QTRY_COMPARE(prompts.shown(), 1);
        QTest::qWait(300);
        QCOMPARE(results().rowAt(1).m_mail, std::string("b@p.org"));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
        const QString summary = QStringLiteral(
            "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found, 1 Page cannot be "
            "displayed.");
        QCOMPARE(frame().summaryText(), summary);
        QCOMPARE(notices, QStringList({summary}));
    }

    // Closing with letters queued for a mail server that accepts and never
    // answers: the user quits without them. Only the letters already on
    // their way are waited for; the history tells the others were not sent.
    void quittingLeavesTheQueuedLettersBehind() {
        const int mute = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(bind(mute, reinterpret_cast<sockaddr*>(&address), length) == 0);
        QVERIFY(listen(mute, 128) == 0);  // the kernel answers; nobody speaks
        QVERIFY(getsockname(mute, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        m_mailLimits = {2000, 2, 3000};
        MailSettings account;
        account.m_sender = "owner@adv-run.com";
        account.m_smtpServer = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        writeMailSettings(m_data->folder().mailPath(), account);
        constexpr int kLetters = 30;
        std::vector<std::string> pages;
        for (int k = 0; k < kLetters; ++k) {
            pages.push_back(page(m_server->http("/files/lost.html?" + std::to_string(k)),
                                 "w" + std::to_string(k) + "@p.org", "1"));
        }
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser, pages);
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.shown(), 1, 30000);
        QString label;
        test::whenModal<QProgressDialog>([&label](QProgressDialog* progress) {
            label = progress->labelText();
            test::control(progress, "QuitWithoutMail")->click();
        });
        m_app.reset();
        QVERIFY2(label.startsWith("Sending the remaining notification mails... ("),
                 qPrintable(label));

        int attempted = 0;
        while (true) {
            const int connection = accept(mute, nullptr, nullptr);
            if (connection < 0) {
                break;
            }
            close(connection);
            ++attempted;
        }
        close(mute);
        qInfo("letters attempted before quitting: %d of %d", attempted, kLetters);
        QVERIFY2(attempted >= 1 && attempted < kLetters, qPrintable(QString::number(attempted)));
        HistoryDatabase history(HistoryDatabase::pathIn(m_data->folder().folder()));
        int left = 0;
        for (const std::string& page : pages) {
            const std::string url = page.substr(0, page.find("|||"));
            for (const TimelineEntry& entry : history.timeline({kAdvertiser, url})) {
                left += entry.m_letter && entry.m_text == kNotSentQuit ? 1 : 0;
            }
        }
        QCOMPARE(left, kLetters - attempted);
    }

    void closingDuringARunCanStopItFirst() {
        addProfile(m_data->folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {page(m_server->http("/silent")), page(m_server->http("/files/found.html"))});
        start();
        ReportPrompts prompts;
        frame().actions().play->trigger();
        QTRY_VERIFY(frame().messageText().startsWith("Checking page 1 of 2"));
        // Cancel: the program and the run go on.
        pressWhenModal<SaveReportQuestion>(SaveReportQuestion::kCancelButton);
        QVERIFY(!frame().close());
        QVERIFY(runState().isRunning());
        QVERIFY(frame().isVisible());
        // Yes: Stop runs first (with its report prompt), then the window closes.
        pressWhenModal<SaveReportQuestion>(SaveReportQuestion::kYesButton);
        QVERIFY(frame().close());
        QCOMPARE(prompts.shown(), 1);
        QVERIFY(!runState().isRunning());
        QCOMPARE(statusAt(1), std::string("Stopped by user"));
        // The hung fetch does not hold the program's end up.
        m_app.reset();
    }
};

QTEST_MAIN(RunTest)
#include "RunTest.moc"
