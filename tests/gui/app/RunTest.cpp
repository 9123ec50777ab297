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

#include "gui/app/CommandIds.h"
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
#include "scan/ScanState.h"
#include "scan/StatusWords.h"
#include "store/AppSettings.h"
#include "store/RunLock.h"
#include "support/TempDataFolder.h"
#include "viewrules/ResultsView.h"

extern char** environ;

using namespace tarnwick;
using tarnwick::test::AddProfile;
using tarnwick::test::Control;
using tarnwick::test::Page;
using tarnwick::test::PressWhenModal;

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
            if (prompt == nullptr || prompt == m_pLast) {
                return;
            }
            m_pLast = prompt;
            ++m_nShown;
            if (m_paths.isEmpty()) {
                prompt->reject();
                return;
            }
            FileDialog::PresetNextPath(m_paths.takeFirst());
            Control<QRadioButton>(prompt, "1061")->click();
            Control(prompt, "1044")->click();
        });
        m_timer.start();
    }
    int Shown() const { return m_nShown; }
    QStringList m_paths;

private:
    QTimer m_timer;
    QPointer<ReportFormatDialog> m_pLast;
    int m_nShown = 0;
};

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDataFolder> m_data;
    std::unique_ptr<test::PageServer> m_server;
    std::unique_ptr<TarnwickApplication> m_app;

    MainWindow& Frame() { return *m_app->mainWindow(); }
    ProfilePane& Profiles() { return *Frame().profilePane(); }
    ResultsPane& Results() { return *Frame().resultsPane(); }
    std::string Status(int row) { return Results().RowAt(row).m_strStatus; }
    std::string ProfileStatus(int row) { return Profiles().ProfileStatus(row); }

    void Start() {
        m_app = std::make_unique<TarnwickApplication>(StartOptions{0});
        QVERIFY(m_app->start());
        QVERIFY(QTest::qWaitForWindowExposed(m_app->mainWindow()));
        test::WatchPaneModels(Frame());
    }

    // Profile A: found, lost (notified), gone. Profile B: found, unreachable.
    void FivePages() {
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/found.html"), "a@p.org", "0"),
                    Page(m_server->Http("/files/lost.html"), "b@p.org", "1"),
                    Page(m_server->Http("/status/404/gone.html"), "c@p.org", "0")});
        AddProfile(m_data->Folder(), "second.org", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/found.html"), "d@p.org", "0"),
                    Page("http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/x", "e@p.org",
                         "0")});
    }

private slots:
    void initTestCase() {
        AppMessageBox::SetTestMode(true);
        m_server = std::make_unique<test::PageServer>(false, false);
        m_server->AddFile("found.html",
                          std::string("<p>Partners</p><a href=\"") + kAdvertiser + "\">us</a>");
        m_server->AddFile("lost.html", "<p>Partners</p><a href=\"http://other.example\">x</a>");
        m_server->AddFile("gone.html", "<html><h1>404 Not Found</h1></html>");
        // The advertiser is typed with http; partners write links as today's
        // web does, or only pretend to.
        m_server->AddFile("https.html", "<p>Friends</p><a href = \"HTTPS://adv-run.com\">us</a>");
        m_server->AddFile("commented.html",
                          std::string("<!-- <a href=\"") + kAdvertiser + "\">us</a> -->");
    }
    void cleanupTestCase() { m_server.reset(); }

    void init() {
        AppMessageBox::ClearShown();
        FileDialog::ClearPresets();
        m_data = std::make_unique<test::TempDataFolder>();
    }

    void cleanup() {
        m_app.reset();
        m_data.reset();
    }

    void secondRunShowsWhatChangedAndTheHistory() {
        const std::string link = std::string("<a href=\"") + kAdvertiser + "\">us</a>";
        m_server->AddFile("moves.html", link);
        m_server->AddFile("returns.html", "<p>no link yet</p>");
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/moves.html"), "m@p.org", "0"),
                    Page(m_server->Http("/files/returns.html"), "r@p.org", "0")});
        Start();
        ReportPrompts prompts;
        QCOMPARE(Results().Model().headerData(ResultListModel::ColChange, Qt::Horizontal),
                 QVariant(QString("Since last run")));

        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 1, 30000);
        QCOMPARE(Results().RowAt(0).m_strChange, std::string("New"));
        QCOMPARE(Results().RowAt(1).m_strChange, std::string("New"));
        QCOMPARE(Frame().RunSummaryText(), QString("First run: 2 pages recorded"));

        m_server->AddFile("moves.html", "<p>gone</p>");
        m_server->AddFile("returns.html", link);
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 2, 30000);
        QCOMPARE(Status(0), std::string("Link Not Found"));
        QCOMPARE(Results().RowAt(0).m_strChange, std::string("Lost"));
        QCOMPARE(Results().RowAt(1).m_strChange, std::string("Restored"));
        QCOMPARE(Results()
                     .Model()
                     .data(Results().Model().index(0, ResultListModel::ColChange))
                     .toString(),
                 QString("Lost"));
        QCOMPARE(Frame().RunSummaryText(), QString("1 link lost, 1 restored since the last run"));
        // The message pane still says "Ready".
        QTRY_COMPARE(Frame().MessageText(), QStringLiteral("Ready"));

        // The history is written on a thread of its own: wait for it.
        m_app->History()->Flush();
        Frame().Command(ID_VIEW_HISTORY)->trigger();
        HistoryWindow* history = m_app->historyWindow();
        QVERIFY(history != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(history));
        // The run's end is written by the history's own thread: read again
        // until it is there.
        QTRY_VERIFY_WITH_TIMEOUT(
            (history->Reload(), history->RunList()->topLevelItemCount() == 2 &&
                                    history->RunList()->topLevelItem(1)->text(4) == "completed"),
            10000);
        QCOMPARE(history->RunList()->topLevelItem(1)->text(3), QString("desktop"));
        QCOMPARE(history->ProfileBox()->currentText(), QString("www.adv-run.com"));
    }

    // After a restart every page shows its result of the last recorded run,
    // marked as such, until Play; clicks and ticks of rows keep them. "Check
    // This Page Now" checks one page into its row and records nothing.
    void lastResultsComeBackUntilPlay() {
        m_server->AddFile("flips.html", "<p>no link</p>");
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/found.html"), "a@p.org", "0"),
                    Page(m_server->Http("/files/flips.html"), "b@p.org", "0")});
        AddProfile(m_data->Folder(), "second.org", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/status/404/gone.html"), "c@p.org", "0")});
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 1, 30000);
        m_app->History()->Flush();
        m_app.reset();

        Start();
        const std::string mark = RecordedResultMark(std::time(nullptr));
        QVERIFY(QString::fromStdString(mark).startsWith("last run: "));
        const std::vector<std::string> words = {"Link Found", "Link Not Found",
                                                "Page Cannot be Found"};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(Status(row), words[static_cast<size_t>(row)]);
            QCOMPARE(Results().RowAt(row).m_strChange, mark);
            QVERIFY(Results().RowAt(row).m_bRecorded);
        }
        QVERIFY(!Results().RowAt(1).m_strReason.empty());  // the tool tip says why
        // Recorded results are no run's of this session: a tick asks nothing
        // and the pages of the profiles still ticked keep theirs.
        PaneTableView& list = Profiles().List();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CheckBoxRect(1).center());
        QCOMPARE(Results().RowCount(), 2);
        QCOMPARE(Status(1), std::string("Link Not Found"));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());

        // One page checked now: its row changes, the history does not.
        const auto runs = [this] {
            return HistoryDatabase(HistoryDatabase::PathIn(m_data->Folder().Folder()))
                .Runs()
                .size();
        };
        QCOMPARE(runs(), size_t{1});
        m_server->AddFile("flips.html", std::string("<a href=\"") + kAdvertiser + "\">us</a>");
        Results().List().setCurrentIndex(Results().Shown().ShownIndex(1, 1));
        QVERIFY(Frame().Command(ID_CHECK_PAGE_NOW)->isEnabled());
        Frame().Command(ID_CHECK_PAGE_NOW)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(Status(1), std::string("Link Found"), 20000);
        QVERIFY(!Results().RowAt(1).m_bRecorded);
        QVERIFY(Results().RowAt(1).m_evidence->m_bChecked);
        QCOMPARE(Status(0), std::string("Link Found"));
        QVERIFY(Results().RowAt(0).m_bRecorded);
        QCOMPARE(Frame().RunSummaryText(),
                 QString("Checked now: Link Found (not recorded in the history)"));
        QTRY_VERIFY(!m_app->IsCheckingPageNow());
        QCOMPARE(runs(), size_t{1});

        // Play starts from empty rows: the run's own results replace them.
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 2, 30000);
        QCOMPARE(Status(1), std::string("Link Found"));
        QVERIFY(!Results().RowAt(0).m_bRecorded);
        QCOMPARE(Results().RowAt(1).m_strChange, std::string("Restored"));
    }

    void wholeRunInTheWindow() {
        FivePages();
        Start();
        ReportPrompts prompts;
        const std::string report = m_data->Root() + "/Report.txt";
        prompts.m_paths.append(QString::fromStdString(report));

        Frame().Command(ID_PLAY)->trigger();
        // Right after Play: the first profile runs, the other waits.
        QVERIFY(g_bScanRunning || ProfileStatus(1) == "Completed");
        QVERIFY(!Frame().Command(ID_PLAY)->isEnabled() || !g_bScanRunning);

        QTRY_COMPARE_WITH_TIMEOUT(ProfileStatus(1), std::string("Completed"), 30000);
        QCOMPARE(ProfileStatus(0), std::string("Completed."));
        QCOMPARE(Status(0), std::string("Link Found"));
        QCOMPARE(Status(1), std::string("Link Not Found"));
        QCOMPARE(Status(2), std::string("Page Cannot be Found"));
        QCOMPARE(Status(3), std::string("Link Found"));
        QCOMPARE(Status(4), std::string("Page cannot be displayed"));

        // The report prompt comes once and the report is written.
        QTRY_COMPARE(prompts.Shown(), 1);
        QTRY_VERIFY(test::Exists(report));
        QVERIFY(test::ReadBytes(report).find("Link Not Found") != std::string::npos);
        QVERIFY(g_bReportSaved);

        // The lost, notified page: with no mail settings its letter says so.
        QTRY_COMPARE(Results().RowAt(1).m_strMail, std::string("Mail Settings Not provided"));
        QCOMPARE(Results().RowAt(0).m_strMail, std::string("a@p.org"));
        // Play asked once about the missing settings (No: the run mailed as usual).
        QVERIFY(AppMessageBox::ShownTexts().front().startsWith("No mail settings are stored"));
        // The run told in one line.
        QTRY_COMPARE(Frame().SummaryText(),
                     QStringLiteral("Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found, "
                                    "1 Page cannot be displayed. Letters: 0 sent, 1 could not be "
                                    "sent: Mail Settings Not provided."));
        QVERIFY(!Frame().ProgressBar()->isVisible());

        QTRY_VERIFY(Frame().Command(ID_PLAY)->isEnabled());
        QVERIFY(!Frame().Command(ID_STOP)->isEnabled());
        QTRY_COMPARE(Frame().MessageText(), QStringLiteral("Ready"));

        // The Status cells in their colours.
        PaneTableView& list = Results().List();
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
        QCOMPARE(prompts.Shown(), 1);

        // Play again starts from empty statuses.
        Frame().Command(ID_PLAY)->trigger();
        QVERIFY(!g_bReportSaved);
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 2, 30000);
        QCOMPARE(ProfileStatus(1), std::string("Completed"));
    }

    // A page that trickles forever ends at the time limit of the shared
    // settings: the run completes, the page is yellow and its Status cell's
    // tooltip gives the reason.
    void tricklingPageEndsAtTheTimeLimit() {
        const std::string config = m_data->Root() + "/config";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        AppSettings settings;
        settings.m_nPageTimeoutSeconds = 1;
        settings.Save();
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/trickle/found.html?every=0.1")),
                    Page(m_server->Http("/files/found.html"))});
        Start();
        ReportPrompts prompts;
        QElapsedTimer clock;
        clock.start();
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(ProfileStatus(0), std::string("Completed"), 20000);
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(Status(0), std::string("Page cannot be displayed"));
        QCOMPARE(Status(1), std::string("Link Found"));
        const QAbstractItemModel* model = Results().List().model();
        QCOMPARE(model->data(model->index(0, 4), Qt::ToolTipRole).toString(),
                 QStringLiteral("time limit of 1 s reached"));
        QCOMPARE(model->data(model->index(1, 4), Qt::ToolTipRole).toString(),
                 QStringLiteral("link to http://www.adv-run.com/ found"));

        PaneTableView& list = Results().List();
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
        const std::string config = m_data->Root() + "/config";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
        Start();
        test::WhenModal<PreferencesDialog>([](PreferencesDialog* dialog) {
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
        Frame().Command(ID_FILE_PREFERENCES)->trigger();
        const AppSettings saved = AppSettings::Load();
        QCOMPARE(saved.m_nPageTimeoutSeconds, 9L);
        QCOMPARE(saved.m_nSilenceSeconds, 7L);
        QCOMPARE(saved.m_nJobs, 4L);
        QCOMPARE(saved.m_nHostConnections, 1L);
        QCOMPARE(saved.m_nHostIntervalMs, 500L);
        QCOMPARE(saved.m_nLinkFarmLinks, 40L);
        QVERIFY(!saved.m_bCloakCheck);
        QVERIFY(saved.m_bRender);
        qunsetenv("XDG_CONFIG_HOME");
    }

    void stopMidRun() {
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/found.html")), Page(m_server->Http("/silent")),
                    Page(m_server->Http("/files/found.html"))});
        AddProfile(m_data->Folder(), "second.org", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/found.html"))});
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Frame().MessageText().startsWith("Checking page 2 of 4"), 20000);
        // The progress a tool tip cannot cover.
        QTRY_COMPARE(Frame().PageText(), QStringLiteral("Page 2 of 4"));
        // The pages behind the silent one come back meanwhile, and the bar
        // says so, and whom the run waits for.
        QTRY_VERIFY_WITH_TIMEOUT(Frame().FetchedText().startsWith(QString::fromUtf8(
                                     "\u00b7 3 fetched \u00b7 waiting for 127.0.0.1 (")),
                                 20000);
        QVERIFY(Frame().ProgressBar()->isVisible());
        QCOMPARE(Frame().ProgressBar()->value(), 1);
        QCOMPARE(Frame().ProgressBar()->maximum(), 4);
        QCOMPARE(Status(0), std::string("Link Found"));
        QCOMPARE(ProfileStatus(0), std::string("Running..."));
        QCOMPARE(ProfileStatus(1), std::string("Waiting..."));
        QVERIFY(Frame().Command(ID_STOP)->isEnabled());
        QVERIFY(!Frame().Command(ID_PLAY)->isEnabled());

        // While the page hangs: the commands that change the store are
        // refused, clicks too.
        Frame().Command(ID_ADD)->trigger();
        Frame().Command(ID_DELETE)->trigger();
        Frame().Command(ID_EDIT_PROFILE)->trigger();
        PaneTableView& list = Profiles().List();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(1, 1)).center());
        // (First the question about the missing mail settings, at Play.)
        QCOMPARE(
            AppMessageBox::ShownTexts().mid(1),
            QStringList({"You cannot add profile while task is running",
                         "You cannot delete profile while task is runing",
                         "You cannot edit any profile while task is running", "Task is running"}));

        Frame().Command(ID_STOP)->trigger();
        QCOMPARE(Status(2), std::string("Stopped by user"));
        QCOMPARE(Status(3), std::string("Stopped by user"));
        QCOMPARE(ProfileStatus(0), std::string("Stopped."));
        QCOMPARE(ProfileStatus(1), std::string("Stopped."));
        QVERIFY(!g_bScanRunning);
        QTRY_COMPARE(prompts.Shown(), 1);
        QVERIFY(!g_bReportSaved);
        QTRY_VERIFY(Frame().Command(ID_PLAY)->isEnabled());
        QVERIFY(!Frame().Command(ID_STOP)->isEnabled());
        QTest::qWait(100);
        QCOMPARE(prompts.Shown(), 1);
        // The summary line counts the rows Stop marked after the run ended
        // (the page in hand among them until its answer comes).
        QTRY_VERIFY2(Frame().SummaryText().contains(QStringLiteral("3 Stopped by user")),
                     qPrintable(Frame().SummaryText()));
    }

    // The letter rules of the mail settings: with "missing in 2 runs" and
    // "not again within 7 days" a lost link is mailed on its second run only.
    // The Mail Address cell keeps the address with a mark, the reason in its
    // tool tip and in Page Details, and the status bar counts each letter
    // once, as the mail server received them.
    void lettersWaitForTheMailRules() {
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        QVERIFY2(smtp.Started(), smtp.Failure().c_str());
        MailSettings account;
        account.m_strSender = "owner@adv-run.com";
        account.m_strSmtpServer = smtp.Address();
        WriteMailSettings(m_data->Folder().MailPath(), account);
        WriteLetterRules(m_data->Folder().Folder(), LetterRules{2, 7});
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/lost.html"), "b@p.org", "1")});
        Start();
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
        const QAbstractItemModel* model = Results().List().model();
        for (const auto& run : runs) {
            Frame().Command(ID_PLAY)->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), static_cast<int>(&run - runs) + 1, 30000);
            QCOMPARE(Status(0), std::string("Link Not Found"));
            QTRY_COMPARE(Results().RowAt(0).m_eLetter, run.mark);
            const ResultRow row = Results().RowAt(0);
            QVERIFY2(row.m_strLetterNote.rfind(run.note, 0) == 0, row.m_strLetterNote.c_str());
            QCOMPARE(row.m_strMail, std::string("b@p.org"));
            QCOMPARE(model->data(model->index(0, ResultListModel::ColMail)).toString(), run.cell);
            QCOMPARE(model->data(model->index(0, ResultListModel::ColMail), Qt::ToolTipRole),
                     QVariant(ToQ(row.m_strLetterNote)));
            QCOMPARE(PageDetailsDialog(row).Value(QStringLiteral("Letter")),
                     ToQ(row.m_strLetterNote));
            QTRY_VERIFY2(Frame().SummaryText().endsWith(run.summary),
                         qPrintable(Frame().SummaryText()));
            QCOMPARE(smtp.WaitForMail(run.received, std::chrono::milliseconds(2000)).size(),
                     run.received);
            m_app->History()->Flush();
        }
        QVERIFY2(Results().RowAt(0).m_strLetterNote.find("days") != std::string::npos,
                 Results().RowAt(0).m_strLetterNote.c_str());
        const auto mail = smtp.WaitForMail(1);
        QCOMPARE(mail.size(), size_t(1));
        QCOMPARE(mail[0].m_strRecipients, std::string("b@p.org"));
    }

    // Stop, then Play again at once (a run that seemed stuck): the webmaster
    // mailed before the stop gets no second letter, as the letter rules
    // stand by default, and the status bar counts the letter held back.
    void stopAndPlayAgainSendsNoSecondLetter() {
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        QVERIFY2(smtp.Started(), smtp.Failure().c_str());
        MailSettings account;
        account.m_strSender = "owner@adv-run.com";
        account.m_strSmtpServer = smtp.Address();
        WriteMailSettings(m_data->Folder().MailPath(), account);
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/lost.html"), "b@p.org", "1"),
                    Page(m_server->Http("/delay/3000/found.html"), "c@p.org", "1")});
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        // (The window keeps turning while the letter goes.)
        QTRY_COMPARE_WITH_TIMEOUT(smtp.Mail().size(), size_t(1), 20000);
        Frame().Command(ID_STOP)->trigger();
        QTRY_COMPARE(prompts.Shown(), 1);
        QTRY_VERIFY(Frame().Command(ID_PLAY)->isEnabled());

        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 2, 30000);
        QCOMPARE(Status(0), std::string("Link Not Found"));
        QTRY_COMPARE(Results().RowAt(0).m_eLetter, LetterMark::HeldBack);
        QTRY_VERIFY2(Frame().SummaryText().endsWith("Letters: 0 sent, 1 held back."),
                     qPrintable(Frame().SummaryText()));
        QCOMPARE(smtp.WaitForMail(2, std::chrono::milliseconds(1000)).size(), size_t(1));
    }

    // A link written with https, without www and the slash, with blanks
    // around "=", is green and mails nobody; a link inside a comment is red,
    // says why, and its webmaster gets the one letter (real SMTP server).
    void linksAreJudgedAsBrowsersSeeThem() {
        test::SmtpTestServer smtp(test::SmtpTestServer::Mode::Plain);
        QVERIFY2(smtp.Started(), smtp.Failure().c_str());
        MailSettings account;
        account.m_strSender = "owner@adv-run.com";
        account.m_strSmtpServer = smtp.Address();
        WriteMailSettings(m_data->Folder().MailPath(), account);
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/files/https.html"), "friend@p.org", "1"),
                    Page(m_server->Http("/files/commented.html"), "pretender@p.org", "1")});
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 1, 30000);
        QCOMPARE(Status(0), std::string("Link Found"));
        QCOMPARE(Status(1), std::string("Link Not Found"));
        const QAbstractItemModel* model = Results().List().model();
        QCOMPARE(model->data(model->index(1, 4), Qt::ToolTipRole).toString(),
                 QStringLiteral("the link is inside an HTML comment"));
        PaneTableView& list = Results().List();
        for (int c = 0; c < 4; ++c) {
            list.horizontalHeader()->resizeSection(c, 40);
        }
        list.selectionModel()->clearCurrentIndex();
        const QImage shot = list.viewport()->grab().toImage();
        const QRect found = list.visualRect(model->index(0, 4));
        QCOMPARE(shot.pixelColor(found.right() - 3, found.bottom() - 2), QColor(0, 255, 0));
        const auto mail = smtp.WaitForMail(2, std::chrono::milliseconds(3000));
        QCOMPARE(mail.size(), size_t(1));
        QCOMPARE(mail[0].m_strRecipients, std::string("pretender@p.org"));
    }

    // One scan per data folder: while a real tarnwick-cli scan holds it, Play
    // names that scan and starts nothing; once it has ended Play runs, and
    // the window holds the folder until its run is over. A value of
    // Letters.ini that cannot be used is named in the status bar at Play.
    void playLeavesTheFolderToARunningScan() {
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/delay/2000/found.html")),
                    Page(m_server->Http("/files/found.html"))});
        test::WriteBytes(m_data->Folder().Folder() + "/Letters.ini", "Missing_Runs = 0\r\n");
        const std::string lockPath = m_data->Folder().Folder() + "/" + kRunLockFileName;
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
        QTRY_VERIFY_WITH_TIMEOUT(test::ReadBytes(lockPath).rfind(std::to_string(pid) + " ", 0) == 0,
                                 10000);
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        QCOMPARE(
            AppMessageBox::LastText(),
            QString::fromStdString("Another scan of this data folder is running "
                                   "(tarnwick-cli scan, process " +
                                   std::to_string(pid) + ").\n\nPlay again when it has ended."));
        QVERIFY(!g_bScanRunning);
        QTest::qWait(200);
        QCOMPARE(prompts.Shown(), 0);
        int status = -1;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QCOMPARE(WEXITSTATUS(status), 0);

        Frame().Command(ID_PLAY)->trigger();
        QVERIFY(Frame().RunSummaryText().contains(
            "Letters.ini: missing_runs=\"0\" is outside 1 to 1000; 1 is used"));
        QVERIFY(m_app->holdsRunLock());
        QCOMPARE(RunLock::tryLock(m_data->Folder().Folder(), "test").state(), RunLock::State::Busy);
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 1, 30000);
        QCOMPARE(Status(0), std::string("Link Found"));
        QTRY_VERIFY(!m_app->holdsRunLock());
        QVERIFY(RunLock::tryLock(m_data->Folder().Folder(), "test").isHeld());
    }

    // The toggle sends no letter and asks nothing; a long run ends with a
    // desktop notification carrying the summary.
    void checkWithoutMailing() {
        FivePages();
        Start();
        ReportPrompts prompts;
        QStringList notices;
        Frame().SetNotifyAfterSeconds(0);
        Frame().SetDesktopNotifier([&](const QString& text) { notices.append(text); });
        Frame().Command(ID_CHECK_WITHOUT_MAIL)->setChecked(true);
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(ProfileStatus(1), std::string("Completed"), 30000);
        QCOMPARE(Status(1), std::string("Link Not Found"));
        QTRY_COMPARE(prompts.Shown(), 1);
        QTest::qWait(300);
        QCOMPARE(Results().RowAt(1).m_strMail, std::string("b@p.org"));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
        const QString summary = QStringLiteral(
            "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found, 1 Page cannot be "
            "displayed.");
        QCOMPARE(Frame().SummaryText(), summary);
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
        SmtpClient::SetTimeouts(2000, 2, 3000);
        MailSettings account;
        account.m_strSender = "owner@adv-run.com";
        account.m_strSmtpServer = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        WriteMailSettings(m_data->Folder().MailPath(), account);
        constexpr int kLetters = 30;
        std::vector<std::string> pages;
        for (int k = 0; k < kLetters; ++k) {
            pages.push_back(Page(m_server->Http("/files/lost.html?" + std::to_string(k)),
                                 "w" + std::to_string(k) + "@p.org", "1"));
        }
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser, pages);
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(prompts.Shown(), 1, 30000);
        QString label;
        test::WhenModal<QProgressDialog>([&label](QProgressDialog* progress) {
            label = progress->labelText();
            test::Control(progress, "QuitWithoutMail")->click();
        });
        m_app.reset();
        SmtpClient::SetTimeouts(20000, 60, 60000);
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
        HistoryDatabase history(HistoryDatabase::PathIn(m_data->Folder().Folder()));
        int left = 0;
        for (const std::string& page : pages) {
            const std::string url = page.substr(0, page.find("|||"));
            for (const TimelineEntry& entry : history.Timeline({kAdvertiser, url})) {
                left += entry.m_bLetter && entry.m_strText == kNotSentQuit ? 1 : 0;
            }
        }
        QCOMPARE(left, kLetters - attempted);
    }

    void closingDuringARunCanStopItFirst() {
        AddProfile(m_data->Folder(), "adv-run.com", std::string("Link: ") + kAdvertiser,
                   {Page(m_server->Http("/silent")), Page(m_server->Http("/files/found.html"))});
        Start();
        ReportPrompts prompts;
        Frame().Command(ID_PLAY)->trigger();
        QTRY_VERIFY(Frame().MessageText().startsWith("Checking page 1 of 2"));
        // Cancel: the program and the run go on.
        PressWhenModal<SaveReportQuestion>("2");
        QVERIFY(!Frame().close());
        QVERIFY(g_bScanRunning);
        QVERIFY(Frame().isVisible());
        // Yes: Stop runs first (with its report prompt), then the window closes.
        PressWhenModal<SaveReportQuestion>("1044");
        QVERIFY(Frame().close());
        QCOMPARE(prompts.Shown(), 1);
        QVERIFY(!g_bScanRunning);
        QCOMPARE(Status(1), std::string("Stopped by user"));
        // The hung fetch does not hold the program's end up.
        m_app.reset();
    }
};

QTEST_MAIN(RunTest)
#include "RunTest.moc"
