// The Delete command on a real store of five profiles.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "PaneTable.h"
#include "editing/EditingTexts.h"
#include "editing/ProfileSaver.h"
#include "editing/SuppressAutoCheck.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/editing/CDel.h"
#include "gui/editing/ProfileCommands.h"
#include "gui/support/ModalDriver.h"
#include "scan/ScanState.h"
#include "support/TempDataFolder.h"

using tarnwick::AppMessageBox;
using tarnwick::test::Exists;
using tarnwick::test::PaneTable;
using tarnwick::test::ReadBytes;
namespace texts = tarnwick::texts;

class DeleteCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    PaneTable m_panes;
    const char* const m_names[5] = {"a.com", "b.com", "c.com", "d.com", "e.com"};

    const tarnwick::DataFolder& F() const { return m_temp->Folder(); }
    std::string Line(int i) const { return F().ProfilePath(m_names[i]); }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        for (const char* name : m_names) {
            tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), name), name, {{"p.net", ""}},
                                     false);
        }
        tarnwick::g_bSuppressAutoCheck = false;
        tarnwick::g_bScanRunning = false;
        tarnwick::g_bPlayEnabled = true;
        tarnwick::g_bStopEnabled = true;
        m_panes = PaneTable();
        m_panes.LoadProfiles();
        for (int row = 0; row < 5; ++row) {
            m_panes.SetProfileTicked(row, false);
        }
        AppMessageBox::SetTestMode(true);
        AppMessageBox::ClearShown();
    }
    void cleanup() {
        AppMessageBox::ClearShown();
        AppMessageBox::SetTestMode(false);
        tarnwick::g_bSuppressAutoCheck = false;
        m_temp.reset();
    }

    void confirmationDialog() {
        tarnwick::CDel dialog;
        QCOMPARE(dialog.windowTitle(), QString("Osgrel Tarnwick Ambrel"));
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QString(texts::kDeleteQuestion));
        auto* no = dialog.findChild<QPushButton*>("1045");
        QCOMPARE(no->text(), QString("No"));
        QVERIFY(no->isDefault());
        QCOMPARE(dialog.findChild<QPushButton*>("1070")->text(), QString("Yes"));
        QVERIFY(dialog.findChild<QPushButton*>("1073")->isHidden());
        QVERIFY(!dialog.findChild<QPushButton*>("1")->isEnabled());
    }

    // Two of five ticked: exactly their files and lines go; the rest come
    // back unticked and the results pane is rebuilt (empty).
    void twoOfFiveTicked() {
        m_panes.SetProfileTicked(1, true);
        m_panes.SetProfileTicked(3, true);
        const int rebuilds = m_panes.m_nRebuilds;
        const std::string stindex = ReadBytes(F().StIndexPath());
        tarnwick::test::PressWhenModal<tarnwick::CDel>("1070");
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
        QCOMPARE(ReadBytes(F().IndexPath()), Line(0) + "\r\n" + Line(2) + "\r\n" + Line(4));
        QVERIFY(!Exists(Line(1)));
        QVERIFY(!Exists(Line(3)));
        QVERIFY(Exists(Line(0)) && Exists(Line(2)) && Exists(Line(4)));
        QCOMPARE(ReadBytes(F().StIndexPath()), stindex);
        QCOMPARE(m_panes.Texts(), QStringList({"www.a.com", "www.c.com", "www.e.com"}));
        for (int row = 0; row < 3; ++row) {
            QVERIFY(!m_panes.IsProfileTicked(row));
        }
        QCOMPARE(m_panes.m_nRebuilds, rebuilds + 1);
        QVERIFY(tarnwick::g_bPlayEnabled);
        QVERIFY(tarnwick::g_bStopEnabled);
    }

    void allTickedEmptiesTheStore() {
        for (int row = 0; row < 5; ++row) {
            m_panes.SetProfileTicked(row, true);
        }
        tarnwick::test::PressWhenModal<tarnwick::CDel>("1070");
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QVERIFY(!Exists(F().IndexPath()));
        QVERIFY(!Exists(F().StIndexPath()));
        QVERIFY(!Exists(F().ProfilesFolderNoSlash()));
        QCOMPARE(m_panes.ProfileRowCount(), 0);
        QVERIFY(!tarnwick::g_bPlayEnabled);
        QVERIFY(!tarnwick::g_bStopEnabled);
    }

    void noChangesNothingButLaterReloadsStayUnticked() {
        m_panes.SetProfileTicked(0, true);
        const std::string index = ReadBytes(F().IndexPath());
        tarnwick::test::PressWhenModal<tarnwick::CDel>("1045");
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QCOMPARE(ReadBytes(F().IndexPath()), index);
        QVERIFY(Exists(Line(0)));
        QCOMPARE(m_panes.ProfileRowCount(), 5);
        QVERIFY(tarnwick::g_bSuppressAutoCheck);
        m_panes.LoadProfiles();
        QVERIFY(!m_panes.IsProfileTicked(0));
    }

    void noneTickedShowsTheMessageWithoutTheDialog() {
        bool dialogShown = false;
        QObject guard;  // the watch ends with the test
        tarnwick::test::WhenModal<tarnwick::CDel>(
            [&](tarnwick::CDel* dialog) {
                dialogShown = true;
                dialog->reject();
            },
            &guard);
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kSelectToDelete}));
        QVERIFY(!dialogShown);
        QVERIFY(tarnwick::g_bSuppressAutoCheck);
        QCOMPARE(m_panes.ProfileRowCount(), 5);
    }

    void refusedWhileRunning() {
        m_panes.SetProfileTicked(0, true);
        tarnwick::g_bScanRunning = true;
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        tarnwick::g_bScanRunning = false;
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kDeleteWhileRunning}));
        QVERIFY(!tarnwick::g_bSuppressAutoCheck);
        QVERIFY(Exists(Line(0)));
    }

    // A file that cannot be deleted: its message, and the pane shows the list
    // as the store left it.
    void undeletableFileIsReported() {
        m_panes.SetProfileTicked(0, true);
        m_panes.SetProfileTicked(3, true);
        // A folder with a file in it where d.com's profile file should be.
        QFile::remove(QString::fromStdString(Line(3)));
        QDir().mkpath(QString::fromStdString(Line(3)));
        tarnwick::test::WriteBytes(Line(3) + "/x", "x");
        tarnwick::test::PressWhenModal<tarnwick::CDel>("1070");
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY2(AppMessageBox::LastText().contains("d.com.txt"),
                 qPrintable(AppMessageBox::LastText()));
        // a.com went before the failure; the pane shows the list as it is.
        QCOMPARE(m_panes.Texts(),
                 QStringList({"www.b.com", "www.c.com", "www.d.com", "www.e.com"}));
    }
};

QTEST_MAIN(DeleteCommandTest)
#include "DeleteCommandTest.moc"
