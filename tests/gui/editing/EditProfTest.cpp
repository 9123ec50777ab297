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
#include "scan/ScanState.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

using tarnwick::AppMessageBox;
using tarnwick::EditProfileDialog;
using tarnwick::PageTable;
using tarnwick::test::PaneTable;
using tarnwick::test::ReadBytes;
namespace texts = tarnwick::texts;

class EditProfTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    PaneTable m_panes;
    std::unique_ptr<EditProfileDialog> m_dialog;

    const tarnwick::DataFolder& F() const { return m_temp->Folder(); }

    // A profile file with its index line (and its site-index line).
    void MakeProfile(const std::string& name, const std::string& bytes) {
        tarnwick::test::WriteBytes(F().ProfilePath(name), bytes);
        tarnwick::ProfileList(F()).Add(F().ProfilePath(name));
    }
    EditProfileDialog& Open() {
        m_panes.LoadProfiles();
        m_dialog = std::make_unique<EditProfileDialog>(m_panes);
        m_dialog->show();
        return *m_dialog;
    }
    template <typename T = QWidget>
    T* W(const char* id) const {
        T* w = m_dialog->findChild<T*>(QString::fromLatin1(id));
        if (w == nullptr) {
            qFatal("no control %s", id);
        }
        return w;
    }
    void Click(const char* id) { W<QAbstractButton>(id)->click(); }
    PageTable* Pages() const { return W<PageTable>("1048"); }
    void Pick(int row) {
        auto* list = W<QTableView>("1042");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    QList<QStringList> PageRows() const {
        QList<QStringList> rows;
        for (int r = 0; r < Pages()->GetItemCount(); ++r) {
            rows << QStringList{Pages()->GetItemText(r, 0), Pages()->GetItemText(r, 1),
                                Pages()->GetItemText(r, 2)};
        }
        return rows;
    }
    QPoint CellCentre(int row, int column) const {
        return Pages()->visualRect(Pages()->model()->index(row, column)).center();
    }
    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Pages()->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
    }
    // The store of most cases: example.com with three pages, other.org.
    void MakeStore() {
        MakeProfile("example.com",
                    "Link: http://www.example.com/\r\np1||| |||1|||\r\np2|||w@p2|||0|||\r\n"
                    "p3|||w@p3|||1|||");
        MakeProfile("other.org", "Link: other.org\r\nq1|||m|||0|||");
    }
    void ToPagesPage() {
        Open();
        Pick(0);
        Click("1008");
        QCOMPARE(m_dialog->Page(), 1);
    }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        m_temp->Folder().EnsureProfilesFolder();
        m_panes = PaneTable();
        tarnwick::g_bSuppressAutoCheck = false;
        tarnwick::g_bScanRunning = false;
        AppMessageBox::SetTestMode(true);
        AppMessageBox::ClearShown();
    }
    void cleanup() {
        m_dialog.reset();
        AppMessageBox::ClearShown();
        AppMessageBox::SetTestMode(false);
        tarnwick::SetMailSettingsOpener(nullptr);
        m_temp.reset();
    }

    void opensOnTheProfilePage() {
        MakeStore();
        Open();
        QCOMPARE(m_dialog->windowTitle(), QString("Edit Profile"));
        auto* list = W<QTableView>("1042");
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
                 QString("Advertiser's Link"));
        QCOMPARE(list->columnWidth(0), 394);
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->index(1, 0).data().toString(), QString("www.other.org"));
        QVERIFY(!W("1043")->isEnabled());
        QVERIFY(!W("1045")->isEnabled());
        QVERIFY(!W("1046")->isEnabled());
        QVERIFY(W("1008")->isEnabled());
        for (const char* hidden : {"1048", "1050", "1058", "1051", "1075", "1044", "1047", "1"}) {
            QVERIFY2(W(hidden)->isHidden(), hidden);
        }
    }

    // F2 on a profile of the main window edits that one: it is picked, and
    // Enter goes on to its pages; Home and End move along the list.
    void startsOnTheProfileSelectedInTheWindow() {
        MakeStore();
        m_panes.m_nSelected = 1;
        Open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        auto* list = W<QTableView>("1042");
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->currentIndex().row(), 1);
        QCOMPARE(W<QLineEdit>("1043")->text(), QString("www.other.org"));
        QVERIFY(W("1046")->isEnabled());
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(W<QLineEdit>("1043")->text(), QString("www.example.com"));
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(W<QLineEdit>("1043")->text(), QString("www.other.org"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_dialog->Page(), 1);
        QCOMPARE(PageRows(), QList<QStringList>({{"q1", "m", "Disabled"}}));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void nextWithoutPickOrWithABadAddress() {
        MakeStore();
        Open();
        Click("1008");
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kSelectProfile}));
        Pick(0);
        W<QLineEdit>("1043")->setText("  example.c ");
        Click("1008");
        QCOMPARE(AppMessageBox::LastText(), QString(texts::kUrlInvalid));
        QCOMPARE(m_dialog->Page(), 0);
        W<QLineEdit>("1043")->setText(" \t ");
        Click("1008");
        QCOMPARE(AppMessageBox::LastText(), QString(texts::kSelectProfile));
    }

    void pickAndNextShowsThePages() {
        MakeStore();
        ToPagesPage();
        QCOMPARE(m_dialog->Selected(), QString("www.example.com"));
        QCOMPARE(Pages()->GetColumnCount(), 3);
        QCOMPARE(Pages()->GetColumnHeading(0), QString("Url"));
        QCOMPARE(Pages()->GetColumnHeading(1), QString("Mail Address"));
        QCOMPARE(Pages()->GetColumnHeading(2), QString("Email Notification"));
        QCOMPARE(Pages()->columnWidth(2), 164);
        QVERIFY(Pages()->IsDropDownColumn(2));
        QCOMPARE(PageRows(), (QList<QStringList>{{"p1", " ", "Enabled"},
                                                 {"p2", "w@p2", "Disabled"},
                                                 {"p3", "w@p3", "Enabled"}}));
        QCOMPARE(W<QLabel>("1050")->text(), QString("www.example.com"));
        // The last page is enabled: the check box is not ticked.
        QVERIFY(!W<QCheckBox>("1058")->isChecked());
        for (const char* shown : {"1048", "1050", "1058", "1051", "1075"}) {
            QVERIFY2(!W(shown)->isHidden(), shown);
        }
        QVERIFY(W("1042")->isHidden());
        QVERIFY(W("1043")->isHidden());
        QVERIFY(W("1045")->isEnabled());
        QVERIFY(!W("1008")->isEnabled());
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    // Next pressed without taking the focus (as an assistive tool presses
    // it) while the profile list has the focus: hiding the list hands the
    // focus on and must not pick another profile on the way.
    void nextWhileTheListHasTheFocusKeepsThePick() {
        MakeStore();
        Open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        for (int row : {1, 0}) {
            if (row == 0) {
                Click("1045");
            }
            Pick(row);
            W("1042")->setFocus();
            QVERIFY(W("1042")->hasFocus());
            W<QAbstractButton>("1008")->animateClick();
            QTRY_COMPARE(m_dialog->Page(), 1);
            const QString picked = row == 1 ? "www.other.org" : "www.example.com";
            QCOMPARE(m_dialog->Selected(), picked);
            QCOMPARE(W<QLabel>("1050")->text(), picked);
            QCOMPARE(PageRows().at(0).at(0), QString(row == 1 ? "q1" : "p1"));
        }
    }

    // Enter goes on by keyboard: Next from the profiles, Finish (which saves
    // what the list shows) from the pages; a cell's editor keeps its Enter.
    void enterGoesOn() {
        MakeStore();
        Open();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        auto* list = W<QTableView>("1042");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(W<QLineEdit>("1043")->text(), QString("www.example.com"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_dialog->Page(), 1);
        Pages()->setFocus();
        Pages()->setCurrentIndex(Pages()->model()->index(1, 1));
        QTest::keyClick(Pages(), Qt::Key_F2);
        auto* editor = Pages()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr && editor->isVisible());
        editor->setText(QStringLiteral("new@p2.example"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(Pages()->GetItemText(1, 1), QString("new@p2.example"));
        QTest::keyClick(Pages(), Qt::Key_Return);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(ReadBytes(F().ProfilePath("example.com")).find("p2|||new@p2.example|||0|||") !=
                std::string::npos);
    }

    // Rows copied from a spreadsheet and pasted with Ctrl+V join the list
    // after its last row; Finish writes them. A bad line adds nothing.
    void pasteAddsPagesFromASpreadsheet() {
        MakeProfile(
            "example.com",
            "Link: http://www.example.com/\r\nhttp://a.example.net/links|||w@a.example.net|||1|||");
        ToPagesPage();
        Pages()->setFocus();
        QApplication::clipboard()->setText(
            "Url\tMail Address\r\nhttp://a.example.net/links\tx@y.org\r\n"
            "b.example.org/p\tm@b.example.org\tDisabled\r\nc.example.com\r\n");
        QTest::keyClick(Pages(), Qt::Key_V, Qt::ControlModifier);
        const QList<QStringList> pasted = {
            {"http://a.example.net/links", "w@a.example.net", "Enabled"},
            {"b.example.org/p", "m@b.example.org", "Disabled"},
            {"c.example.com", "", "Enabled"}};
        QCOMPARE(PageRows(), pasted);
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({"1 pasted page is in the list already; it was left out."}));

        AppMessageBox::ClearShown();
        QApplication::clipboard()->setText("d.example.com\nnot a page\n");
        QTest::keyClick(Pages(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(PageRows(), pasted);
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({QStringLiteral("Line 2: not a page\n\n") + texts::kUrlInvalid}));

        Click("1046");
        QCOMPARE(
            ReadBytes(F().ProfilePath("example.com")),
            std::string("Link: http://www.example.com/\r\nhttp://a.example.net/links|||"
                        "w@a.example.net|||1|||\r\nb.example.org/p|||m@b.example.org|||0|||\r\n"
                        "c.example.com||||||1|||"));
    }

    void lastPageDisabledTicksTheCheckBox() {
        MakeProfile("example.com", "Link: example.com\r\np1|||m|||1|||\r\np2|||m|||0|||");
        ToPagesPage();
        QVERIFY(W<QCheckBox>("1058")->isChecked());
        // Ticking and unticking changes the list only.
        const std::string before = ReadBytes(F().ProfilePath("example.com"));
        W<QCheckBox>("1058")->click();
        QCOMPARE(PageRows().at(0).at(2), QString("Enabled"));
        QCOMPARE(PageRows().at(1).at(2), QString("Enabled"));
        W<QCheckBox>("1058")->click();
        QCOMPARE(PageRows().at(0).at(2), QString("Disabled"));
        QCOMPARE(PageRows().at(1).at(2), QString("Disabled"));
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")), before);
    }

    void changeOfAddressOnNext_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void changeOfAddressOnNext() {
        QFETCH(bool, ok);
        MakeStore();
        const std::string index = ReadBytes(F().IndexPath());
        Open();
        Pick(0);
        W<QLineEdit>("1043")->setText(" example.net ");
        AppMessageBox::PresetAnswer(ok ? AppMessageBox::Answer::Ok : AppMessageBox::Answer::Cancel);
        const int loads = m_panes.m_nLoads;
        Click("1008");
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({"Do you want to change profile name from <www.example.com> to "
                              "<example.net>"}));
        if (ok) {
            QCOMPARE(m_dialog->Page(), 1);
            QCOMPARE(m_dialog->Selected(), QString("example.net"));
            QVERIFY(!tarnwick::test::Exists(F().ProfilePath("example.com")));
            QCOMPARE(ReadBytes(F().ProfilePath("example.net")),
                     std::string("Link: example.net\r\np1||| |||1|||\r\np2|||w@p2|||0|||\r\n"
                                 "p3|||w@p3|||1|||"));
            QCOMPARE(ReadBytes(F().IndexPath()), F().ProfilesFolder() + "example.net.txt\r\n" +
                                                     F().ProfilesFolder() + "other.org.txt");
            QCOMPARE(m_panes.m_nLoads, loads + 1);
            QCOMPARE(m_panes.Texts(), QStringList({"www.example.net", "www.other.org"}));
            QCOMPARE(PageRows().size(), 3);
        } else {
            QCOMPARE(m_dialog->Page(), 0);
            QCOMPARE(ReadBytes(F().IndexPath()), index);
            QVERIFY(tarnwick::test::Exists(F().ProfilePath("example.com")));
            QCOMPARE(m_panes.m_nLoads, loads);
        }
    }

    void finishOnTheProfilePage() {
        MakeStore();
        Open();
        Pick(1);
        // Unchanged: closes at once.
        Click("1046");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());

        Open();
        Pick(1);
        W<QLineEdit>("1043")->setText("");
        Click("1046");
        QVERIFY(!W("1046")->isEnabled());
        QVERIFY(!W("1043")->isEnabled());
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());

        Pick(1);
        W<QLineEdit>("1043")->setText("www.other.net");
        Click("1046");  // Cancel: nothing changes
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kReallyChange}));
        QCOMPARE(m_dialog->result(), 0);
        QVERIFY(tarnwick::test::Exists(F().ProfilePath("other.org")));
        AppMessageBox::PresetAnswer(AppMessageBox::Answer::Ok);
        Click("1046");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(ReadBytes(F().ProfilePath("other.net")),
                 std::string("Link: www.other.net\r\nq1|||m|||0|||"));
        QVERIFY(!tarnwick::test::Exists(F().ProfilePath("other.org")));
    }

    // Onto another profile's name: refused with a message, nothing changes.
    // Onto its own name: the pages stay.
    void changeOntoAnotherProfilesNameIsRefused() {
        MakeStore();
        const std::string index = ReadBytes(F().IndexPath());
        const std::string example = ReadBytes(F().ProfilePath("example.com"));
        const std::string other = ReadBytes(F().ProfilePath("other.org"));
        Open();
        Pick(0);
        W<QLineEdit>("1043")->setText("http://other.org/");
        AppMessageBox::PresetAnswer(AppMessageBox::Answer::Ok);
        Click("1046");
        QCOMPARE(AppMessageBox::ShownTexts(),
                 QStringList({texts::kReallyChange,
                              "Another profile already has the name other.org. The address was "
                              "not changed."}));
        QCOMPARE(m_dialog->result(), 0);
        QCOMPARE(ReadBytes(F().IndexPath()), index);
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")), example);
        QCOMPARE(ReadBytes(F().ProfilePath("other.org")), other);

        W<QLineEdit>("1043")->setText("example.com/links");
        AppMessageBox::PresetAnswer(AppMessageBox::Answer::Ok);
        Click("1046");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")),
                 "Link: example.com/links" + example.substr(example.find("\r\n")));
    }

    // Edits through the list's editors, then Finish: "1|||" for "Enabled",
    // "0|||" otherwise, an emptied mail cell as an empty field; the first
    // line is the address box's text.
    void editsAndFinishRewriteTheFile() {
        MakeStore();
        ToPagesPage();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        ClickCell(0, 1);
        auto* edit = qobject_cast<QLineEdit*>(Pages()->CurrentEditor());
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), QString(" "));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(Pages()->GetItemText(0, 1), QString(""));

        ClickCell(1, 2);
        auto* combo = qobject_cast<QComboBox*>(Pages()->CurrentEditor());
        QVERIFY(combo != nullptr);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("Enabled"));
        QCOMPARE(combo->currentText(), QString("Disabled"));
        combo->setCurrentIndex(0);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(Pages()->GetItemText(1, 2), QString("Enabled"));

        ClickCell(2, 2);
        combo = qobject_cast<QComboBox*>(Pages()->CurrentEditor());
        QVERIFY(combo != nullptr);
        combo->setCurrentIndex(-1);  // no choice: written empty, saved as "0"
        const int rebuilds = m_panes.m_nRebuilds;
        Click("1046");
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        // The advertiser's address stays as it was typed.
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")),
                 std::string("Link: http://www.example.com/\r\np1||||||1|||\r\np2|||w@p2|||1|||"
                             "\r\np3|||w@p3|||0|||"));
        QCOMPARE(m_panes.m_nRebuilds, rebuilds + 1);
        QVERIFY(!tarnwick::test::Exists(F().NewTxtPath()));
    }

    // What is typed over a cell must pass the wizard's rules: Finish names
    // the cell, keeps the dialog open and writes nothing.
    void finishRefusesATypedBadCell() {
        MakeStore();
        ToPagesPage();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        const std::string before = ReadBytes(F().ProfilePath("example.com"));
        ClickCell(1, 1);
        auto* edit = qobject_cast<QLineEdit*>(Pages()->CurrentEditor());
        QVERIFY(edit != nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, "not a mail");
        QTest::keyClick(edit, Qt::Key_Return);
        Click("1046");
        QCOMPARE(m_dialog->result(), 0);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(AppMessageBox::LastText(),
                 QString("Row 2, Mail Address: \"not a mail\"\n\nIncorrect Mail Address"));
        QCOMPARE(Pages()->currentIndex().row(), 1);
        QCOMPARE(Pages()->currentIndex().column(), 1);
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")), before);
        // A typed page without a dot is refused the same way.
        ClickCell(0, 0);
        edit = qobject_cast<QLineEdit*>(Pages()->CurrentEditor());
        QVERIFY(edit != nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, "no scheme here");
        QTest::keyClick(edit, Qt::Key_Return);
        Click("1046");
        QCOMPARE(AppMessageBox::LastText(),
                 QString("Row 1, Url: \"no scheme here\"\n\nURL is invalid or incomplete"));
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")), before);
    }

    // Blanks around the address box's text: Finish acts on the file the
    // pages came from (and, with no page changed, leaves it as it is).
    void finishWritesTheFileThePagesCameFrom() {
        MakeStore();
        Open();
        Pick(0);
        W<QLineEdit>("1043")->setText("  www.example.com ");
        Click("1008");
        QCOMPARE(m_dialog->Page(), 1);
        Pages()->SetItemText(2, 1, QStringLiteral("w@p3.example"));
        Click("1046");
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")),
                 std::string("Link: http://www.example.com/\r\np1||| |||1|||\r\np2|||w@p2|||0|||"
                             "\r\np3|||w@p3.example|||1|||"));
        QCOMPARE(QDir(QString::fromStdString(F().ProfilesFolder())).entryList(QDir::Files).size(),
                 2);
    }

    void deleteSelectedPages() {
        MakeProfile("example.com",
                    "Link: example.com\r\np0|||m|||1|||\r\np1|||m|||1|||\r\np2|||m|||0|||\r\n"
                    "p3|||m|||1|||\r\np4|||m|||1|||");
        ToPagesPage();
        Click("1051");
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kSelectRow}));

        ClickCell(0, 0, Qt::ControlModifier);
        ClickCell(2, 0, Qt::ControlModifier);
        QCOMPARE(Pages()->GetSelectedRows(), QList<int>({0, 2}));
        const std::string before = ReadBytes(F().ProfilePath("example.com"));
        Click("1051");  // Cancel
        QCOMPARE(AppMessageBox::LastText(), QString(texts::kDeleteRows));
        QVERIFY(AppMessageBox::LastText().endsWith("action "));
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")), before);
        QVERIFY(W("1045")->isEnabled());

        // Edits made before the deletion are saved with it, never dropped.
        Pages()->SetItemText(4, 1, "edited before the delete");
        Pages()->SetItemText(3, 2, "Disabled");
        AppMessageBox::PresetAnswer(AppMessageBox::Answer::Ok);
        Click("1051");
        QCOMPARE(ReadBytes(F().ProfilePath("example.com")),
                 std::string("Link: example.com\r\np1|||m|||1|||\r\np3|||m|||0|||\r\n"
                             "p4|||edited before the delete|||1|||"));
        QCOMPARE(PageRows(), (QList<QStringList>{{"p1", "m", "Enabled"},
                                                 {"p3", "m", "Disabled"},
                                                 {"p4", "edited before the delete", "Enabled"}}));
        QVERIFY(!W("1045")->isEnabled());
        QVERIFY(!W("1044")->isEnabled());
    }

    void backKeepsTheAddressBox() {
        MakeStore();
        ToPagesPage();
        m_panes.InsertProfileRow(2, "www.third.net");  // the pane changed meanwhile
        Click("1045");
        QCOMPARE(m_dialog->Page(), 0);
        QVERIFY(!W("1042")->isHidden());
        QVERIFY(!W("1043")->isHidden());
        QCOMPARE(W<QLineEdit>("1043")->text(), QString("www.example.com"));
        QVERIFY(W("1046")->isEnabled());
        QVERIFY(W("1008")->isEnabled());
        QVERIFY(!W("1045")->isEnabled());
        for (const char* hidden : {"1048", "1051", "1050", "1058", "1075"}) {
            QVERIFY2(W(hidden)->isHidden(), hidden);
        }
        QCOMPARE(W<QTableView>("1042")->model()->rowCount(), 3);
        // Next again: the list has its three columns once.
        Click("1008");
        QCOMPARE(Pages()->GetColumnCount(), 3);
        QCOMPARE(PageRows().size(), 3);
    }

    void mailSettingsAndDropDownItems() {
        int opened = 0;
        tarnwick::SetMailSettingsOpener([&](QWidget*) { ++opened; });
        MakeStore();
        ToPagesPage();
        Click("1075");
        QCOMPARE(opened, 1);
        QStringList items{"stale"};
        emit Pages()->getDropDownItems(1, &items);
        QVERIFY(items.isEmpty());
        emit Pages()->getDropDownItems(2, &items);
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
            tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), address), address, pages, true);
        }
        tarnwick::MailSettings mail;
        mail.m_strSender = "owner@shop-a.example";
        mail.m_strSmtpServer = "smtp.shop-a.example";
        tarnwick::WriteMailSettings(F().MailPath(), mail);
        tarnwick::test::WriteBytes(F().Folder() + "/Letters.ini", "missing_runs=2\r\nquiet_days=3");
        const auto snapshot = [this] {
            std::map<std::string, std::pair<std::string, std::pair<ino_t, time_t>>> files;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(F().Folder())) {
                struct stat st {};
                if (entry.is_regular_file() && stat(entry.path().c_str(), &st) == 0) {
                    files[entry.path()] = {ReadBytes(entry.path()), {st.st_ino, st.st_mtime}};
                }
            }
            return files;
        };
        const auto before = snapshot();
        QCOMPARE(before.size(), size_t{6});  // index, site index, 2 profiles, Mail.txt, Letters.ini

        for (int row = 0; row < 2; ++row) {
            Open();
            Pick(row);
            Click("1008");
            QCOMPARE(m_dialog->Page(), 1);
            Click("1046");
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            Open();
            Pick(row);
            Click("1046");
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        }
        {
            tarnwick::MailSettingsDialog settings;
            settings.show();
            tarnwick::test::Control(&settings, "1037")->click();
            QCOMPARE(settings.result(), int(QDialog::Accepted));
        }
        {
            const std::string list = m_temp->Root() + "/pages.csv";
            tarnwick::test::WriteBytes(list,
                                       "http://p1.example/links.html,w@p1.example\r\n"
                                       "http://p2.example/,\r\n");
            tarnwick::AddProfileWizard wizard(m_panes);
            wizard.show();
            const auto set = [&wizard](const char* id, const QString& text) {
                tarnwick::test::Control<QLineEdit>(&wizard, id)->setText(text);
            };
            const auto click = [&wizard](const char* id) {
                tarnwick::test::Control<QAbstractButton>(&wizard, id)->click();
            };
            set("1006", "http://www.shop-a.example/");
            click("1009");
            click("1025");
            click("1011");
            click("1009");
            set("1018", QString::fromStdString(list));
            click("1009");
            QCOMPARE(wizard.ListModel().rowCount(), 2);
            tarnwick::test::PressWhenModal<tarnwick::OverwriteOrAppendQuestion>("1028");
            click("1009");
            QCOMPARE(wizard.result(), int(QDialog::Accepted));
        }
        QVERIFY(snapshot() == before);
    }

    void editCommandIsRefusedWhileRunning() {
        tarnwick::g_bScanRunning = true;
        tarnwick::RunEditProfileCommand(nullptr, m_panes);
        tarnwick::g_bScanRunning = false;
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kEditWhileRunning}));
    }
};

QTEST_MAIN(EditProfTest)
#include "EditProfTest.moc"
