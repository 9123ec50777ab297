// The Edit Profile dialog on a real store: picking, change of address, the
// pages list, Delete, Finish and Back.
#include <sys/stat.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <map>
#include <memory>

#include "PaneTable.h"
#include "editing/EditingTexts.h"
#include "editing/ProfileSaver.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/PageTable.h"
#include "gui/editing/AddProfileWizard.h"
#include "gui/editing/EditProfileDialog.h"
#include "gui/editing/ImportListModel.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/OverwriteOrAppendQuestion.h"
#include "gui/editing/ProfileCommands.h"
#include "gui/mail/MailSettingsDialog.h"
#include "gui/support/ModalDriver.h"
#include "mail/MailSettings.h"
#include "scan/RunState.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

using tarnwick::AddProfileWizard;
using tarnwick::AppMessageBox;
using tarnwick::EditProfileDialog;
using tarnwick::MailSettingsDialog;
using tarnwick::OverwriteOrAppendQuestion;
using tarnwick::PageTable;
using tarnwick::test::PaneTable;
using tarnwick::test::readBytes;
namespace texts = tarnwick::texts;

class EditProfTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    PaneTable m_panes;
    tarnwick::RunState m_runState;  // what the commands guard against and tell
    std::unique_ptr<EditProfileDialog> m_dialog;

    const tarnwick::DataFolder& f() const { return m_temp->folder(); }

    // A profile file with its index line (and its site-index line).
    void makeProfile(const std::string& name, const std::string& bytes) {
        tarnwick::test::writeBytes(f().profilePath(name), bytes);
        tarnwick::ProfileList(f()).add(f().profilePath(name));
    }
    EditProfileDialog& open() {
        m_panes.loadProfiles();
        m_dialog = std::make_unique<EditProfileDialog>(m_panes);
        m_dialog->show();
        return *m_dialog;
    }
    template <typename T = QWidget>
    T* w(const char* id) const {
        T* w = m_dialog->findChild<T*>(QString::fromLatin1(id));
        if (w == nullptr) {
            qFatal("no control %s", id);
        }
        return w;
    }
    void click(const char* id) { w<QAbstractButton>(id)->click(); }
    PageTable* pages() const { return w<PageTable>(EditProfileDialog::kPagesTable); }
    void pick(int row) {
        auto* list = w<QTableView>(EditProfileDialog::kProfilesTable);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    QList<QStringList> pageRows() const {
        QList<QStringList> rows;
        for (int r = 0; r < pages()->getItemCount(); ++r) {
            rows << QStringList{pages()->getItemText(r, 0), pages()->getItemText(r, 1),
                                pages()->getItemText(r, 2)};
        }
        return rows;
    }
    QPoint cellCentre(int row, int column) const {
        return pages()->visualRect(pages()->model()->index(row, column)).center();
    }
    void clickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(pages()->viewport(), Qt::LeftButton, modifiers, cellCentre(row, column));
    }
    // The store of most cases: example.com with three pages, other.org.
    void makeStore() {
        makeProfile("example.com",
                    "Link: http://www.example.com/\r\np1||| |||1|||\r\np2|||w@p2|||0|||\r\n"
                    "p3|||w@p3|||1|||");
        makeProfile("other.org", "Link: other.org\r\nq1|||m|||0|||");
    }
    void toPagesPage() {
        open();
        pick(0);
        click(EditProfileDialog::kNextButton);
        QCOMPARE(m_dialog->page(), 1);
    }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        m_temp->folder().ensureProfilesFolder();
        m_panes = PaneTable();
        m_runState.setRunning(false);
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
    }
    void cleanup() {
        m_dialog.reset();
        AppMessageBox::clearShown();
        AppMessageBox::setTestMode(false);
        tarnwick::setMailSettingsOpener(nullptr);
        m_temp.reset();
    }

    void opensOnTheProfilePage() {
        makeStore();
        open();
        QCOMPARE(m_dialog->windowTitle(), QString("Edit Profile"));
        auto* list = w<QTableView>(EditProfileDialog::kProfilesTable);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
                 QString("Advertiser's Link"));
        QCOMPARE(list->columnWidth(0), 394);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->index(1, 0).data().toString(), QString("www.other.org"));
        QVERIFY(!w(EditProfileDialog::kAdvertiserEdit)->isEnabled());
        QVERIFY(!w(EditProfileDialog::kBackButton)->isEnabled());
        QVERIFY(!w(EditProfileDialog::kFinishButton)->isEnabled());
        QVERIFY(w(EditProfileDialog::kNextButton)->isEnabled());
        for (const char* hidden :
             {EditProfileDialog::kPagesTable, EditProfileDialog::kPagesHeading,
              EditProfileDialog::kAllDisabledBox, EditProfileDialog::kDeleteButton,
              EditProfileDialog::kMailSettingsButton, EditProfileDialog::kCancelButton,
              EditProfileDialog::kUnusedEdit, EditProfileDialog::kOkButton}) {
            QVERIFY2(w(hidden)->isHidden(), hidden);
        }
    }

    // F2 on a profile of the main window edits that one: it is picked, and
    // Enter goes on to its pages; Home and End move along the list.
    void startsOnTheProfileSelectedInTheWindow() {
        makeStore();
        m_panes.m_selected = 1;
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        auto* list = w<QTableView>(EditProfileDialog::kProfilesTable);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->currentIndex().row(), 1);
        QCOMPARE(w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->text(),
                 QString("www.other.org"));
        QVERIFY(w(EditProfileDialog::kFinishButton)->isEnabled());
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->text(),
                 QString("www.example.com"));
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->text(),
                 QString("www.other.org"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_dialog->page(), 1);
        QCOMPARE(pageRows(), QList<QStringList>({{"q1", "m", "Disabled"}}));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void nextWithoutPickOrWithABadAddress() {
        makeStore();
        open();
        click(EditProfileDialog::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kSelectProfile}));
        pick(0);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText("  example.c ");
        click(EditProfileDialog::kNextButton);
        QCOMPARE(AppMessageBox::lastText(), QString(texts::kUrlInvalid));
        QCOMPARE(m_dialog->page(), 0);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText(" \t ");
        click(EditProfileDialog::kNextButton);
        QCOMPARE(AppMessageBox::lastText(), QString(texts::kSelectProfile));
    }

    void pickAndNextShowsThePages() {
        makeStore();
        toPagesPage();
        QCOMPARE(m_dialog->selected(), QString("www.example.com"));
        QCOMPARE(pages()->getColumnCount(), 3);
        QCOMPARE(pages()->getColumnHeading(0), QString("Url"));
        QCOMPARE(pages()->getColumnHeading(1), QString("Mail Address"));
        QCOMPARE(pages()->getColumnHeading(2), QString("Email Notification"));
        QCOMPARE(pages()->columnWidth(2), 164);
        QVERIFY(pages()->isDropDownColumn(2));
        QCOMPARE(pageRows(), (QList<QStringList>{{"p1", " ", "Enabled"},
                                                 {"p2", "w@p2", "Disabled"},
                                                 {"p3", "w@p3", "Enabled"}}));
        QCOMPARE(w<QLabel>(EditProfileDialog::kPagesHeading)->text(), QString("www.example.com"));
        // The last page is enabled: the check box is not ticked.
        QVERIFY(!w<QCheckBox>(EditProfileDialog::kAllDisabledBox)->isChecked());
        for (const char* shown :
             {EditProfileDialog::kPagesTable, EditProfileDialog::kPagesHeading,
              EditProfileDialog::kAllDisabledBox, EditProfileDialog::kDeleteButton,
              EditProfileDialog::kMailSettingsButton}) {
            QVERIFY2(!w(shown)->isHidden(), shown);
        }
        QVERIFY(w(EditProfileDialog::kProfilesTable)->isHidden());
        QVERIFY(w(EditProfileDialog::kAdvertiserEdit)->isHidden());
        QVERIFY(w(EditProfileDialog::kBackButton)->isEnabled());
        QVERIFY(!w(EditProfileDialog::kNextButton)->isEnabled());
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    // Next pressed without taking the focus (as an assistive tool presses
    // it) while the profile list has the focus: hiding the list hands the
    // focus on and must not pick another profile on the way.
    void nextWhileTheListHasTheFocusKeepsThePick() {
        makeStore();
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        for (int row : {1, 0}) {
            if (row == 0) {
                click(EditProfileDialog::kBackButton);
            }
            pick(row);
            w(EditProfileDialog::kProfilesTable)->setFocus();
            QVERIFY(w(EditProfileDialog::kProfilesTable)->hasFocus());
            w<QAbstractButton>(EditProfileDialog::kNextButton)->animateClick();
            QTRY_COMPARE(m_dialog->page(), 1);
            const QString picked = row == 1 ? "www.other.org" : "www.example.com";
            QCOMPARE(m_dialog->selected(), picked);
            QCOMPARE(w<QLabel>(EditProfileDialog::kPagesHeading)->text(), picked);
            QCOMPARE(pageRows().at(0).at(0), QString(row == 1 ? "q1" : "p1"));
        }
    }

    // Enter goes on by keyboard: Next from the profiles, Finish (which saves
    // what the list shows) from the pages; a cell's editor keeps its Enter.
    void enterGoesOn() {
        makeStore();
        open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        auto* list = w<QTableView>(EditProfileDialog::kProfilesTable);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->text(),
                 QString("www.example.com"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_dialog->page(), 1);
        pages()->setFocus();
        pages()->setCurrentIndex(pages()->model()->index(1, 1));
        QTest::keyClick(pages(), Qt::Key_F2);
        auto* editor = pages()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr && editor->isVisible());
        editor->setText(QStringLiteral("new@p2.example"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(pages()->getItemText(1, 1), QString("new@p2.example"));
        QTest::keyClick(pages(), Qt::Key_Return);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(readBytes(f().profilePath("example.com")).find("p2|||new@p2.example|||0|||") !=
                std::string::npos);
    }

    // Rows copied from a spreadsheet and pasted with Ctrl+V join the list
    // after its last row; Finish writes them. A bad line adds nothing.
    void pasteAddsPagesFromASpreadsheet() {
        makeProfile(
            "example.com",
            "Link: http://www.example.com/\r\nhttp://a.example.net/links|||w@a.example.net|||1|||");
        toPagesPage();
        pages()->setFocus();
        QApplication::clipboard()->setText(
            "Url\tMail Address\r\nhttp://a.example.net/links\tx@y.org\r\n"
            "b.example.org/p\tm@b.example.org\tDisabled\r\nc.example.com\r\n");
        QTest::keyClick(pages(), Qt::Key_V, Qt::ControlModifier);
        const QList<QStringList> pasted = {
            {"http://a.example.net/links", "w@a.example.net", "Enabled"},
            {"b.example.org/p", "m@b.example.org", "Disabled"},
            {"c.example.com", "", "Enabled"}};
        QCOMPARE(pageRows(), pasted);
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({"1 pasted page is in the list already; it was left out."}));

        AppMessageBox::clearShown();
        QApplication::clipboard()->setText("d.example.com\nnot a page\n");
        QTest::keyClick(pages(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(pageRows(), pasted);
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({QStringLiteral("Line 2: not a page\n\n") + texts::kUrlInvalid}));

        click(EditProfileDialog::kFinishButton);
        QCOMPARE(
            readBytes(f().profilePath("example.com")),
            std::string("Link: http://www.example.com/\r\nhttp://a.example.net/links|||"
                        "w@a.example.net|||1|||\r\nb.example.org/p|||m@b.example.org|||0|||\r\n"
                        "c.example.com||||||1|||"));
    }

    void lastPageDisabledTicksTheCheckBox() {
        makeProfile("example.com", "Link: example.com\r\np1|||m|||1|||\r\np2|||m|||0|||");
        toPagesPage();
        QVERIFY(w<QCheckBox>(EditProfileDialog::kAllDisabledBox)->isChecked());
        // Ticking and unticking changes the list only.
        const std::string before = readBytes(f().profilePath("example.com"));
        w<QCheckBox>(EditProfileDialog::kAllDisabledBox)->click();
        QCOMPARE(pageRows().at(0).at(2), QString("Enabled"));
        QCOMPARE(pageRows().at(1).at(2), QString("Enabled"));
        w<QCheckBox>(EditProfileDialog::kAllDisabledBox)->click();
        QCOMPARE(pageRows().at(0).at(2), QString("Disabled"));
        QCOMPARE(pageRows().at(1).at(2), QString("Disabled"));
        QCOMPARE(readBytes(f().profilePath("example.com")), before);
    }

    void changeOfAddressOnNext_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void changeOfAddressOnNext() {
        QFETCH(bool, ok);
        makeStore();
        const std::string index = readBytes(f().indexPath());
        open();
        pick(0);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText(" example.net ");
        AppMessageBox::presetAnswer(ok ? AppMessageBox::Answer::Ok : AppMessageBox::Answer::Cancel);
        const int loads = m_panes.m_loads;
        click(EditProfileDialog::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({"Do you want to change profile name from <www.example.com> to "
                              "<example.net>"}));
        if (ok) {
            QCOMPARE(m_dialog->page(), 1);
            QCOMPARE(m_dialog->selected(), QString("example.net"));
            QVERIFY(!tarnwick::test::exists(f().profilePath("example.com")));
            QCOMPARE(readBytes(f().profilePath("example.net")),
                     std::string("Link: example.net\r\np1||| |||1|||\r\np2|||w@p2|||0|||\r\n"
                                 "p3|||w@p3|||1|||"));
            QCOMPARE(readBytes(f().indexPath()), f().profilesFolder() + "example.net.txt\r\n" +
                                                     f().profilesFolder() + "other.org.txt");
            QCOMPARE(m_panes.m_loads, loads + 1);
            QCOMPARE(m_panes.texts(), QStringList({"www.example.net", "www.other.org"}));
            QCOMPARE(pageRows().size(), 3);
        } else {
            QCOMPARE(m_dialog->page(), 0);
            QCOMPARE(readBytes(f().indexPath()), index);
            QVERIFY(tarnwick::test::exists(f().profilePath("example.com")));
            QCOMPARE(m_panes.m_loads, loads);
        }
    }

    void finishOnTheProfilePage() {
        makeStore();
        open();
        pick(1);
        // Unchanged: closes at once.
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());

        open();
        pick(1);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText("");
        click(EditProfileDialog::kFinishButton);
        QVERIFY(!w(EditProfileDialog::kFinishButton)->isEnabled());
        QVERIFY(!w(EditProfileDialog::kAdvertiserEdit)->isEnabled());
        QVERIFY(AppMessageBox::shownTexts().isEmpty());

        pick(1);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText("www.other.net");
        click(EditProfileDialog::kFinishButton);  // Cancel: nothing changes
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kReallyChange}));
        QCOMPARE(m_dialog->result(), 0);
        QVERIFY(tarnwick::test::exists(f().profilePath("other.org")));
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Ok);
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(readBytes(f().profilePath("other.net")),
                 std::string("Link: www.other.net\r\nq1|||m|||0|||"));
        QVERIFY(!tarnwick::test::exists(f().profilePath("other.org")));
    }

    // Onto another profile's name: refused with a message, nothing changes.
    // Onto its own name: the pages stay.
    void changeOntoAnotherProfilesNameIsRefused() {
        makeStore();
        const std::string index = readBytes(f().indexPath());
        const std::string example = readBytes(f().profilePath("example.com"));
        const std::string other = readBytes(f().profilePath("other.org"));
        open();
        pick(0);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText("http://other.org/");
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Ok);
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({texts::kReallyChange,
                              "Another profile already has the name other.org. The address was "
                              "not changed."}));
        QCOMPARE(m_dialog->result(), 0);
        QCOMPARE(readBytes(f().indexPath()), index);
        QCOMPARE(readBytes(f().profilePath("example.com")), example);
        QCOMPARE(readBytes(f().profilePath("other.org")), other);

        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText("example.com/links");
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Ok);
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(readBytes(f().profilePath("example.com")),
                 "Link: example.com/links" + example.substr(example.find("\r\n")));
    }

    // Edits through the list's editors, then Finish: "1|||" for "Enabled",
    // "0|||" otherwise, an emptied mail cell as an empty field; the first
    // line is the address box's text.
    void editsAndFinishRewriteTheFile() {
        makeStore();
        toPagesPage();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        clickCell(0, 1);
        auto* edit = qobject_cast<QLineEdit*>(pages()->currentEditor());
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), QString(" "));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(pages()->getItemText(0, 1), QString(""));

        clickCell(1, 2);
        auto* combo = qobject_cast<QComboBox*>(pages()->currentEditor());
        QVERIFY(combo != nullptr);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("Enabled"));
        QCOMPARE(combo->currentText(), QString("Disabled"));
        combo->setCurrentIndex(0);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(pages()->getItemText(1, 2), QString("Enabled"));

        clickCell(2, 2);
        combo = qobject_cast<QComboBox*>(pages()->currentEditor());
        QVERIFY(combo != nullptr);
        combo->setCurrentIndex(-1);  // no choice: written empty, saved as "0"
        const int rebuilds = m_panes.m_rebuilds;
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        // The advertiser's address stays as it was typed.
        QCOMPARE(readBytes(f().profilePath("example.com")),
                 std::string("Link: http://www.example.com/\r\np1||||||1|||\r\np2|||w@p2|||1|||"
                             "\r\np3|||w@p3|||0|||"));
        QCOMPARE(m_panes.m_rebuilds, rebuilds + 1);
        QVERIFY(!tarnwick::test::exists(f().newTxtPath()));
    }

    // What is typed over a cell must pass the wizard's rules: Finish names
    // the cell, keeps the dialog open and writes nothing.
    void finishRefusesATypedBadCell() {
        makeStore();
        toPagesPage();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        const std::string before = readBytes(f().profilePath("example.com"));
        clickCell(1, 1);
        auto* edit = qobject_cast<QLineEdit*>(pages()->currentEditor());
        QVERIFY(edit != nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, "not a mail");
        QTest::keyClick(edit, Qt::Key_Return);
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(m_dialog->result(), 0);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(AppMessageBox::lastText(),
                 QString("Row 2, Mail Address: \"not a mail\"\n\nIncorrect Mail Address"));
        QCOMPARE(pages()->currentIndex().row(), 1);
        QCOMPARE(pages()->currentIndex().column(), 1);
        QCOMPARE(readBytes(f().profilePath("example.com")), before);
        // A typed page without a dot is refused the same way.
        clickCell(0, 0);
        edit = qobject_cast<QLineEdit*>(pages()->currentEditor());
        QVERIFY(edit != nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, "no scheme here");
        QTest::keyClick(edit, Qt::Key_Return);
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(AppMessageBox::lastText(),
                 QString("Row 1, Url: \"no scheme here\"\n\nURL is invalid or incomplete"));
        QCOMPARE(readBytes(f().profilePath("example.com")), before);
    }

    // Blanks around the address box's text: Finish acts on the file the
    // pages came from (and, with no page changed, leaves it as it is).
    void finishWritesTheFileThePagesCameFrom() {
        makeStore();
        open();
        pick(0);
        w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->setText("  www.example.com ");
        click(EditProfileDialog::kNextButton);
        QCOMPARE(m_dialog->page(), 1);
        pages()->setItemText(2, 1, QStringLiteral("w@p3.example"));
        click(EditProfileDialog::kFinishButton);
        QCOMPARE(readBytes(f().profilePath("example.com")),
                 std::string("Link: http://www.example.com/\r\np1||| |||1|||\r\np2|||w@p2|||0|||"
                             "\r\np3|||w@p3.example|||1|||"));
        QCOMPARE(QDir(QString::fromStdString(f().profilesFolder())).entryList(QDir::Files).size(),
                 2);
    }

    void deleteSelectedPages() {
        makeProfile("example.com",
                    "Link: example.com\r\np0|||m|||1|||\r\np1|||m|||1|||\r\np2|||m|||0|||\r\n"
                    "p3|||m|||1|||\r\np4|||m|||1|||");
        toPagesPage();
        click(EditProfileDialog::kDeleteButton);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kSelectRow}));

        clickCell(0, 0, Qt::ControlModifier);
        clickCell(2, 0, Qt::ControlModifier);
        QCOMPARE(pages()->getSelectedRows(), QList<int>({0, 2}));
        const std::string before = readBytes(f().profilePath("example.com"));
        click(EditProfileDialog::kDeleteButton);  // Cancel
        QCOMPARE(AppMessageBox::lastText(), QString(texts::kDeleteRows));
        QVERIFY(AppMessageBox::lastText().endsWith("action "));
        QCOMPARE(readBytes(f().profilePath("example.com")), before);
        QVERIFY(w(EditProfileDialog::kBackButton)->isEnabled());

        // Edits made before the deletion are saved with it, never dropped.
        pages()->setItemText(4, 1, "edited before the delete");
        pages()->setItemText(3, 2, "Disabled");
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Ok);
        click(EditProfileDialog::kDeleteButton);
        QCOMPARE(readBytes(f().profilePath("example.com")),
                 std::string("Link: example.com\r\np1|||m|||1|||\r\np3|||m|||0|||\r\n"
                             "p4|||edited before the delete|||1|||"));
        QCOMPARE(pageRows(), (QList<QStringList>{{"p1", "m", "Enabled"},
                                                 {"p3", "m", "Disabled"},
                                                 {"p4", "edited before the delete", "Enabled"}}));
        QVERIFY(!w(EditProfileDialog::kBackButton)->isEnabled());
        QVERIFY(!w(EditProfileDialog::kCancelButton)->isEnabled());
    }

    void backKeepsTheAddressBox() {
        makeStore();
        toPagesPage();
        m_panes.insertProfileRow(2, "www.third.net");  // the pane changed meanwhile
        click(EditProfileDialog::kBackButton);
        QCOMPARE(m_dialog->page(), 0);
        QVERIFY(!w(EditProfileDialog::kProfilesTable)->isHidden());
        QVERIFY(!w(EditProfileDialog::kAdvertiserEdit)->isHidden());
        QCOMPARE(w<QLineEdit>(EditProfileDialog::kAdvertiserEdit)->text(),
                 QString("www.example.com"));
        QVERIFY(w(EditProfileDialog::kFinishButton)->isEnabled());
        QVERIFY(w(EditProfileDialog::kNextButton)->isEnabled());
        QVERIFY(!w(EditProfileDialog::kBackButton)->isEnabled());
        for (const char* hidden :
             {EditProfileDialog::kPagesTable, EditProfileDialog::kDeleteButton,
              EditProfileDialog::kPagesHeading, EditProfileDialog::kAllDisabledBox,
              EditProfileDialog::kMailSettingsButton}) {
            QVERIFY2(w(hidden)->isHidden(), hidden);
        }
        QCOMPARE(w<QTableView>(EditProfileDialog::kProfilesTable)->model()->rowCount(), 3);
        // Next again: the list has its three columns once.
        click(EditProfileDialog::kNextButton);
        QCOMPARE(pages()->getColumnCount(), 3);
        QCOMPARE(pageRows().size(), 3);
    }

    void mailSettingsAndDropDownItems() {
        int opened = 0;
        tarnwick::setMailSettingsOpener([&](QWidget*) { ++opened; });
        makeStore();
        toPagesPage();
        click(EditProfileDialog::kMailSettingsButton);
        QCOMPARE(opened, 1);
        QStringList items{"stale"};
        emit pages()->getDropDownItems(1, &items);
        QVERIFY(items.isEmpty());
        emit pages()->getDropDownItems(2, &items);
        QCOMPARE(items, QStringList({"Enabled", "Disabled"}));
    }

    // Every editing dialog opened and finished without a change (Edit
    // Profile on each profile through its pages and on its first page, the
    // mail settings saved as they are, the Add wizard appending a list the
    // profile holds already) leaves every file of the store as it was: not a
    // byte, not a new file, not a rename.
    void aPassWithoutChangesKeepsEveryStoreFile() {
        const std::vector<tarnwick::ImportRow> pages = {
            {"http://p1.example/links.html", "w@p1.example"}, {"http://p2.example/", ""}};
        for (const char* address : {"http://www.shop-a.example/", "shop-b.example"}) {
            tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), address), address, pages, true);
        }
        tarnwick::MailSettings mail;
        mail.m_sender = "owner@shop-a.example";
        mail.m_smtpServer = "smtp.shop-a.example";
        tarnwick::writeMailSettings(f().mailPath(), mail);
        tarnwick::test::writeBytes(f().folder() + "/Letters.ini", "missing_runs=2\r\nquiet_days=3");
        const auto snapshot = [this] {
            std::map<std::string, std::pair<std::string, std::pair<ino_t, time_t>>> files;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(f().folder())) {
                struct stat st {};
                if (entry.is_regular_file() && stat(entry.path().c_str(), &st) == 0) {
                    files[entry.path()] = {readBytes(entry.path()), {st.st_ino, st.st_mtime}};
                }
            }
            return files;
        };
        const auto before = snapshot();
        QCOMPARE(before.size(), size_t{6});  // index, site index, 2 profiles, Mail.txt, Letters.ini

        for (int row = 0; row < 2; ++row) {
            open();
            pick(row);
            click(EditProfileDialog::kNextButton);
            QCOMPARE(m_dialog->page(), 1);
            click(EditProfileDialog::kFinishButton);
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            open();
            pick(row);
            click(EditProfileDialog::kFinishButton);
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        }
        {
            tarnwick::MailSettingsDialog settings;
            settings.show();
            tarnwick::test::control(&settings, MailSettingsDialog::kSaveButton)->click();
            QCOMPARE(settings.result(), int(QDialog::Accepted));
        }
        {
            const std::string list = m_temp->root() + "/pages.csv";
            tarnwick::test::writeBytes(list,
                                       "http://p1.example/links.html,w@p1.example\r\n"
                                       "http://p2.example/,\r\n");
            tarnwick::AddProfileWizard wizard(m_panes);
            wizard.show();
            const auto set = [&wizard](const char* id, const QString& text) {
                tarnwick::test::control<QLineEdit>(&wizard, id)->setText(text);
            };
            const auto click = [&wizard](const char* id) {
                tarnwick::test::control<QAbstractButton>(&wizard, id)->click();
            };
            set(AddProfileWizard::kAdvertiserEdit, "http://www.shop-a.example/");
            click(AddProfileWizard::kNextButton);
            click(AddProfileWizard::kNotifyBox);
            click(AddProfileWizard::kCsvFileRadio);
            click(AddProfileWizard::kNextButton);
            set(AddProfileWizard::kPathEdit, QString::fromStdString(list));
            click(AddProfileWizard::kNextButton);
            QCOMPARE(wizard.listModel().rowCount(), 2);
            tarnwick::test::pressWhenModal<tarnwick::OverwriteOrAppendQuestion>(
                OverwriteOrAppendQuestion::kAppendButton);
            click(AddProfileWizard::kNextButton);
            QCOMPARE(wizard.result(), int(QDialog::Accepted));
        }
        QVERIFY(snapshot() == before);
    }

    void editCommandIsRefusedWhileRunning() {
        m_runState.setRunning(true);
        tarnwick::runEditProfileCommand(nullptr, m_panes, m_runState);
        m_runState.setRunning(false);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kEditWhileRunning}));
    }
};

QTEST_MAIN(EditProfTest)
#include "EditProfTest.moc"
