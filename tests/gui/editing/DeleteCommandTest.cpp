// The Delete command on a real store of five profiles.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "PaneTable.h"
#include "editing/EditingTexts.h"
#include "editing/ProfileSaver.h"
#include "editing/SuppressAutoCheck.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/editing/DeleteProfilesQuestion.h"
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
    std::string m_strTrash;
    QByteArray m_savedHome;
    QByteArray m_savedDataHome;

    const tarnwick::DataFolder& F() const { return m_temp->Folder(); }
    std::string Line(int i) const { return F().ProfilePath(m_names[i]); }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        // The desktop's trash of this test, inside its temporary folder (the
        // home trash serves files on the home folder's file system).
        const std::string xdg = m_temp->Root() + "/xdg-data";
        QDir().mkpath(QString::fromStdString(xdg));
        m_savedHome = qgetenv("HOME");
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QByteArray::fromStdString(m_temp->Root()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(xdg));
        m_strTrash = xdg + "/Trash";
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
        qputenv("HOME", m_savedHome);
        if (m_savedDataHome.isEmpty()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", m_savedDataHome);
        }
        m_temp.reset();
    }

    void confirmationDialog() {
        tarnwick::DeleteProfilesQuestion dialog;
        QCOMPARE(dialog.windowTitle(), QString("Osgrel Tarnwick Ambrel"));
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QString(texts::kDeleteQuestion));
        auto* no = dialog.findChild<QPushButton*>("1045");
        QCOMPARE(no->text(), QString("&No"));
        QVERIFY(no->isDefault());
        QCOMPARE(dialog.findChild<QPushButton*>("1070")->text(), QString("&Yes"));
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
        tarnwick::test::WriteBytes(Line(3), "Link: d.com\r\np1||| |||0|||\r\np2||| |||0|||");
        // The question names what goes: the ticked profiles and their pages.
        QString question;
        QStringList listed;
        tarnwick::test::WhenModal<tarnwick::DeleteProfilesQuestion>(
            [&](tarnwick::DeleteProfilesQuestion* dialog) {
                question = dialog->findChild<QLabel*>()->text();
                auto* list = dialog->findChild<QListWidget*>("profiles");
                for (int i = 0; list != nullptr && i < list->count(); ++i) {
                    listed << list->item(i)->text();
                }
                dialog->findChild<QPushButton*>("1070")->click();
            });
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QCOMPARE(question, QString(texts::kDeleteQuestion));
        QCOMPARE(listed, QStringList({"www.b.com (1 page)", "www.d.com (2 pages)"}));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
        QCOMPARE(ReadBytes(F().IndexPath()), Line(0) + "\r\n" + Line(2) + "\r\n" + Line(4));
        QVERIFY(!Exists(Line(1)));
        QVERIFY(!Exists(Line(3)));
        // Both went to the desktop's trash, whole, and can be restored.
        QCOMPARE(ReadBytes(m_strTrash + "/files/b.com.txt"),
                 std::string("Link: b.com\r\np.net||| |||0|||"));
        QCOMPARE(ReadBytes(m_strTrash + "/files/d.com.txt"),
                 std::string("Link: d.com\r\np1||| |||0|||\r\np2||| |||0|||"));
        QVERIFY(Exists(m_strTrash + "/info/d.com.txt.trashinfo"));
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
        tarnwick::test::PressWhenModal<tarnwick::DeleteProfilesQuestion>("1070");
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
        tarnwick::test::PressWhenModal<tarnwick::DeleteProfilesQuestion>("1045");
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
        tarnwick::test::WhenModal<tarnwick::DeleteProfilesQuestion>(
            [&](tarnwick::DeleteProfilesQuestion* dialog) {
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
        // A plain file where the desktop's trash should be: nothing can be
        // moved there, not even by root.
        tarnwick::test::WriteBytes(m_strTrash, "not a folder");
        // a.com's file is gone already, so only d.com's needs the trash.
        QFile::remove(QString::fromStdString(Line(0)));
        tarnwick::test::PressWhenModal<tarnwick::DeleteProfilesQuestion>("1070");
        tarnwick::RunDeleteCommand(nullptr, m_panes);
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY2(AppMessageBox::LastText().contains("d.com.txt"),
                 qPrintable(AppMessageBox::LastText()));
        // a.com went before the failure; d.com stays listed with its file.
        QCOMPARE(m_panes.Texts(),
                 QStringList({"www.b.com", "www.c.com", "www.d.com", "www.e.com"}));
        QVERIFY(Exists(Line(3)));
    }
};

QTEST_MAIN(DeleteCommandTest)
#include "DeleteCommandTest.moc"
