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
#include "gui/controls/AppMessageBox.h"
#include "gui/editing/DeleteProfilesQuestion.h"
#include "gui/editing/ProfileCommands.h"
#include "gui/support/ModalDriver.h"
#include "scan/RunState.h"
#include "support/TempDataFolder.h"

using tarnwick::AppMessageBox;
using tarnwick::test::exists;
using tarnwick::test::PaneTable;
using tarnwick::test::readBytes;
namespace texts = tarnwick::texts;

class DeleteCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    PaneTable m_panes;
    tarnwick::RunState m_runState;  // what the commands guard against and tell
    const char* const m_names[5] = {"a.com", "b.com", "c.com", "d.com", "e.com"};
    std::string m_trash;
    QByteArray m_savedHome;
    QByteArray m_savedDataHome;

    const tarnwick::DataFolder& f() const { return m_temp->folder(); }
    std::string line(int i) const { return f().profilePath(m_names[i]); }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        // The desktop's trash of this test, inside its temporary folder (the
        // home trash serves files on the home folder's file system).
        const std::string xdg = m_temp->root() + "/xdg-data";
        QDir().mkpath(QString::fromStdString(xdg));
        m_savedHome = qgetenv("HOME");
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QByteArray::fromStdString(m_temp->root()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(xdg));
        m_trash = xdg + "/Trash";
        for (const char* name : m_names) {
            tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), name), name, {{"p.net", ""}},
                                     false);
        }
        m_runState.setRunning(false);
        m_runState.setProfilesToPlay(true);
        m_panes = PaneTable();
        m_panes.loadProfiles();
        for (int row = 0; row < 5; ++row) {
            m_panes.setProfileTicked(row, false);
        }
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
    }
    void cleanup() {
        AppMessageBox::clearShown();
        AppMessageBox::setTestMode(false);
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
        auto* no = dialog.findChild<QPushButton*>(tarnwick::DeleteProfilesQuestion::kNoButton);
        QCOMPARE(no->text(), QString("&No"));
        QVERIFY(no->isDefault());
        QCOMPARE(
            dialog.findChild<QPushButton*>(tarnwick::DeleteProfilesQuestion::kYesButton)->text(),
            QString("&Yes"));
        QVERIFY(dialog.findChild<QPushButton*>(tarnwick::DeleteProfilesQuestion::kHiddenOkButton)
                    ->isHidden());
        QVERIFY(!dialog.findChild<QPushButton*>(tarnwick::DeleteProfilesQuestion::kOkButton)
                     ->isEnabled());
    }

    // Two of five ticked: exactly their files and lines go; the rest come
    // back unticked and the results pane is rebuilt (empty).
    void twoOfFiveTicked() {
        m_panes.setProfileTicked(1, true);
        m_panes.setProfileTicked(3, true);
        const int rebuilds = m_panes.m_rebuilds;
        const std::string stindex = readBytes(f().stIndexPath());
        tarnwick::test::writeBytes(line(3), "Link: d.com\r\np1||| |||0|||\r\np2||| |||0|||");
        // The question names what goes: the ticked profiles and their pages.
        QString question;
        QStringList listed;
        tarnwick::test::whenModal<tarnwick::DeleteProfilesQuestion>(
            [&](tarnwick::DeleteProfilesQuestion* dialog) {
                question = dialog->findChild<QLabel*>()->text();
                auto* list = dialog->findChild<QListWidget*>("profiles");
                for (int i = 0; list != nullptr && i < list->count(); ++i) {
                    listed << list->item(i)->text();
                }
                dialog->findChild<QPushButton*>(tarnwick::DeleteProfilesQuestion::kYesButton)
                    ->click();
            });
        tarnwick::runDeleteCommand(nullptr, m_panes, m_runState);
        QCOMPARE(question, QString(texts::kDeleteQuestion));
        QCOMPARE(listed, QStringList({"www.b.com (1 page)", "www.d.com (2 pages)"}));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
        QCOMPARE(readBytes(f().indexPath()), line(0) + "\r\n" + line(2) + "\r\n" + line(4));
        QVERIFY(!exists(line(1)));
        QVERIFY(!exists(line(3)));
        // Both went to the desktop's trash, whole, and can be restored.
        QCOMPARE(readBytes(m_trash + "/files/b.com.txt"),
                 std::string("Link: b.com\r\np.net||| |||0|||"));
        QCOMPARE(readBytes(m_trash + "/files/d.com.txt"),
                 std::string("Link: d.com\r\np1||| |||0|||\r\np2||| |||0|||"));
        QVERIFY(exists(m_trash + "/info/d.com.txt.trashinfo"));
        QVERIFY(exists(line(0)) && exists(line(2)) && exists(line(4)));
        QCOMPARE(readBytes(f().stIndexPath()), stindex);
        QCOMPARE(m_panes.texts(), QStringList({"www.a.com", "www.c.com", "www.e.com"}));
        for (int row = 0; row < 3; ++row) {
            QVERIFY(!m_panes.isProfileTicked(row));
        }
        QCOMPARE(m_panes.m_rebuilds, rebuilds + 1);
        QVERIFY(m_runState.isPlayEnabled());
    }

    void allTickedEmptiesTheStore() {
        for (int row = 0; row < 5; ++row) {
            m_panes.setProfileTicked(row, true);
        }
        tarnwick::test::pressWhenModal<tarnwick::DeleteProfilesQuestion>(
            tarnwick::DeleteProfilesQuestion::kYesButton);
        tarnwick::runDeleteCommand(nullptr, m_panes, m_runState);
        QVERIFY(!exists(f().indexPath()));
        QVERIFY(!exists(f().stIndexPath()));
        QVERIFY(!exists(f().profilesFolderNoSlash()));
        QCOMPARE(m_panes.profileRowCount(), 0);
        QVERIFY(!m_runState.isPlayEnabled());
        QVERIFY(!m_runState.isStopEnabled());
    }

    void noChangesNothingButLaterReloadsStayUnticked() {
        m_panes.setProfileTicked(0, true);
        const std::string index = readBytes(f().indexPath());
        tarnwick::test::pressWhenModal<tarnwick::DeleteProfilesQuestion>(
            tarnwick::DeleteProfilesQuestion::kNoButton);
        tarnwick::runDeleteCommand(nullptr, m_panes, m_runState);
        QCOMPARE(readBytes(f().indexPath()), index);
        QVERIFY(exists(line(0)));
        QCOMPARE(m_panes.profileRowCount(), 5);
        QVERIFY(m_panes.isTickOnLoadSuppressed());
        m_panes.loadProfiles();
        QVERIFY(!m_panes.isProfileTicked(0));
    }

    void noneTickedShowsTheMessageWithoutTheDialog() {
        bool dialogShown = false;
        QObject guard;  // the watch ends with the test
        tarnwick::test::whenModal<tarnwick::DeleteProfilesQuestion>(
            [&](tarnwick::DeleteProfilesQuestion* dialog) {
                dialogShown = true;
                dialog->reject();
            },
            &guard);
        tarnwick::runDeleteCommand(nullptr, m_panes, m_runState);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kSelectToDelete}));
        QVERIFY(!dialogShown);
        QVERIFY(m_panes.isTickOnLoadSuppressed());
        QCOMPARE(m_panes.profileRowCount(), 5);
    }

    void refusedWhileRunning() {
        m_panes.setProfileTicked(0, true);
        m_runState.setRunning(true);
        tarnwick::runDeleteCommand(nullptr, m_panes, m_runState);
        m_runState.setRunning(false);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kDeleteWhileRunning}));
        QVERIFY(!m_panes.isTickOnLoadSuppressed());
        QVERIFY(exists(line(0)));
    }

    // A file that cannot be deleted: its message, and the pane shows the list
    // as the store left it.
    void undeletableFileIsReported() {
        m_panes.setProfileTicked(0, true);
        m_panes.setProfileTicked(3, true);
        // A plain file where the desktop's trash should be: nothing can be
        // moved there, not even by root.
        tarnwick::test::writeBytes(m_trash, "not a folder");
        // a.com's file is gone already, so only d.com's needs the trash.
        QFile::remove(QString::fromStdString(line(0)));
        tarnwick::test::pressWhenModal<tarnwick::DeleteProfilesQuestion>(
            tarnwick::DeleteProfilesQuestion::kYesButton);
        tarnwick::runDeleteCommand(nullptr, m_panes, m_runState);
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(AppMessageBox::lastText().contains("d.com.txt"),
                 qPrintable(AppMessageBox::lastText()));
        // a.com went before the failure; d.com stays listed with its file.
        QCOMPARE(m_panes.texts(),
                 QStringList({"www.b.com", "www.c.com", "www.d.com", "www.e.com"}));
        QVERIFY(exists(line(3)));
    }
};

QTEST_MAIN(DeleteCommandTest)
#include "DeleteCommandTest.moc"
