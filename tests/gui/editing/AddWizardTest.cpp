// The Add wizard as the user drives it: real dialog, real files in a fresh
// data folder, message boxes in test mode.
#include <QAbstractButton>
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "PaneTable.h"
#include "editing/EditingTexts.h"
#include "editing/ProfileSaver.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/controls/FileDialog.h"
#include "gui/editing/AddProfileWizard.h"
#include "gui/editing/ImportBrowse.h"
#include "gui/editing/ImportListModel.h"
#include "gui/editing/MailSettingsLink.h"
#include "gui/editing/OverwriteOrAppendQuestion.h"
#include "gui/editing/ProfileCommands.h"
#include "gui/mail/MailSettingsDialog.h"
#include "gui/support/ModalDriver.h"
#include "scan/ScanState.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

using tarnwick::AddProfileWizard;
using tarnwick::AppMessageBox;
using tarnwick::test::PaneTable;
using tarnwick::test::ReadBytes;
namespace texts = tarnwick::texts;

namespace {

const QStringList kPageControls = {"1026", "1000", "1010", "1011", "1012", "1027", "1025", "1041",
                                   "1020", "1018", "1019", "1021", "1022", "1023", "1024", "1074"};

}  // namespace

class AddWizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    PaneTable m_panes;
    std::unique_ptr<AddProfileWizard> m_wizard;

    const tarnwick::DataFolder& F() const { return m_temp->Folder(); }
    QString File(const char* name, const std::string& bytes) {
        const std::string path = m_temp->Root() + "/" + name;
        tarnwick::test::WriteBytes(path, bytes);
        return QString::fromStdString(path);
    }
    AddProfileWizard& Open() {
        m_wizard = std::make_unique<AddProfileWizard>(m_panes);
        m_wizard->show();
        return *m_wizard;
    }
    QWidget* W(const char* id) const {
        QWidget* w = m_wizard->findChild<QWidget*>(QString::fromLatin1(id));
        if (w == nullptr) {
            qFatal("no control %s", id);
        }
        return w;
    }
    void Click(const char* id) { static_cast<QAbstractButton*>(W(id))->click(); }
    void Type(const char* id, const QString& text) {
        static_cast<QLineEdit*>(W(id))->setText(text);
    }
    // The caption as shown: the letter marked for Alt is not part of it.
    QString Caption(const char* id) const {
        return static_cast<QAbstractButton*>(W(id))->text().remove(QLatin1Char('&'));
    }
    QStringList Shown() const {
        QStringList shown;
        for (const QString& id : kPageControls) {
            if (!W(id.toLatin1().constData())->isHidden()) {
                shown << id;
            }
        }
        return shown;
    }
    QStringList Headings() const { return m_wizard->ListModel().Columns(); }
    QStringList Cells(int column) const {
        QStringList cells;
        const auto& model = m_wizard->ListModel();
        for (int r = 0; r < model.rowCount(); ++r) {
            cells << model.data(model.index(r, column)).toString();
        }
        return cells;
    }
    // Address page to the file page with the type and the check box.
    void ToFilePage(const QString& address, const char* type, bool notify) {
        Type("1006", address);
        Click("1009");
        if (notify) {
            Click("1025");
        }
        Click(type);
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 2);
    }
    std::string Profile(const char* name) const { return ReadBytes(F().ProfilePath(name)); }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        m_panes = PaneTable();
        AppMessageBox::SetTestMode(true);
        AppMessageBox::ClearShown();
        tarnwick::FileDialog::ClearPresets();
        tarnwick::g_bScanRunning = false;
    }
    void cleanup() {
        m_wizard.reset();
        AppMessageBox::ClearShown();
        AppMessageBox::SetTestMode(false);
        tarnwick::SetMailSettingsOpener(nullptr);
        m_temp.reset();
    }

    void opensOnTheAddressPage() {
        Open();
        QCOMPARE(m_wizard->windowTitle(), QString("Add"));
        QCOMPARE(Shown(), QStringList({"1026", "1000"}));
        QCOMPARE(Caption("1008"), QString("Cancel"));
        QCOMPARE(Caption("1009"), QString("Import..."));
        QCOMPARE(Headings(), QStringList({"Website"}));
        QVERIFY(W("1006")->isEnabled());
        QVERIFY(!W("1012")->isEnabled());
        QVERIFY(W("1")->isHidden());
        QVERIFY(!W("1")->isEnabled());
        QCOMPARE(m_wizard->PageCounter(), 1);
        QCOMPARE(static_cast<QTableView*>(W("1000"))->columnWidth(0), 366);
        // Fields are named by their labels for assistive technology.
        const auto name = [this](const char* id) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(W(id));
            return face != nullptr ? face->text(QAccessible::Name) : QString();
        };
        QCOMPARE(name("1006"), QString("Enter Advetiser's Site :"));
        QCOMPARE(name("1018"), QString("Import from file :"));
        QCOMPARE(name("1000"), QString("Publisher's Site"));
        QCOMPARE(name("1024"), QString("Other Symbol"));
        QCOMPARE(name("1019"), QString("Browse"));
        QCOMPARE(name("1025"), QString("Also send e-mail notifications to link publishers."));
    }

    // Text file, no notification: type page, file page, list; saved with the
    // mail field " " and flag "0".
    void plainTextImportMakesANewProfile() {
        const QString list =
            File("pages.txt", "http://a.net/links.html\r\n\r\n  b.org/x  \r\nc.info\r\n");
        Open();
        Type("1006", "http://www.example.com/");
        Click("1009");
        QCOMPARE(Shown(), QStringList({"1010", "1011", "1012", "1027", "1025"}));
        QVERIFY(!W("1006")->isEnabled());
        QCOMPARE(Caption("1008"), QString("< Back"));
        QCOMPARE(Caption("1009"), QString("Next >"));
        Click("1010");
        Click("1009");
        QCOMPARE(Shown(), QStringList({"1027", "1020", "1018", "1019"}));
        Type("1018", list);
        Click("1009");
        QCOMPARE(Shown(), QStringList({"1000"}));
        QCOMPARE(Caption("1009"), QString("Save and Finish"));
        QCOMPARE(m_wizard->PageCounter(), 3);
        QVERIFY(m_wizard->PlainImportMark());
        QCOMPARE(Headings(), QStringList({"Website"}));
        // Pages without a scheme get http://, and the line under the list
        // says so.
        QCOMPARE(Cells(0),
                 QStringList({"http://a.net/links.html", "http://b.org/x", "http://c.info"}));
        QVERIFY(!W("ImportSummary")->isHidden());
        QCOMPARE(static_cast<QLabel*>(W("ImportSummary"))->text(),
                 QString("3 pages; http:// added to 2 addresses without it (http://b.org/x, ...)"));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());

        Click("1009");
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(ReadBytes(F().StIndexPath()),
                 std::string("example.com**http://www.example.com/||"));
        QCOMPARE(ReadBytes(F().IndexPath()), F().ProfilesFolder() + "example.com.txt");
        QCOMPARE(Profile("example.com"),
                 std::string("Link: http://www.example.com/\r\nhttp://a.net/links.html||| |||0|||"
                             "\r\nhttp://b.org/x||| |||0|||\r\nhttp://c.info||| |||0|||"));
        QCOMPARE(m_panes.Texts(), QStringList({"http://www.example.com/"}));
        QVERIFY(m_panes.IsProfileTicked(0));
    }

    void separatedTextImport_data() {
        QTest::addColumn<QString>("separator");  // "1021", "1022" or "1023" + symbol
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("semicolon") << "1021"
                                   << "" << QByteArray("a.net;w@a.net;x\r\n\r\nb.net ;w@b\r\n");
        QTest::newRow("comma") << "1022"
                               << "" << QByteArray("a.net,w@a.net;x\nb.net ,w@b");
        QTest::newRow("bar with blanks")
            << "1023"
            << " | " << QByteArray("a.net | w@a.net;x\nb.net  | w@b\n");
    }

    // Text file with notification passes the separator page; every page line
    // has the flag "1".
    void separatedTextImport() {
        QFETCH(QString, separator);
        QFETCH(QString, symbol);
        QFETCH(QByteArray, file);
        const QString list = File("pages.txt", file.toStdString());
        Open();
        ToFilePage("example.org", "1010", true);
        QVERIFY(!W("1041")->isHidden());
        Type("1018", list);
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 3);
        QCOMPARE(Shown(), QStringList({"1027", "1041", "1021", "1022", "1023", "1024", "1074"}));
        QVERIFY(!W("1024")->isEnabled());
        QCOMPARE(static_cast<QLabel*>(W("1074"))->text(), QString("Use (!,^,*,|)"));
        Click(separator.toLatin1().constData());
        QCOMPARE(W("1024")->isEnabled(), separator == "1023");
        Type("1024", symbol);
        Click("1009");
        QVERIFY2(AppMessageBox::ShownTexts().isEmpty(), qPrintable(AppMessageBox::LastText()));
        QCOMPARE(m_wizard->PageCounter(), 4);
        QCOMPARE(Shown(), QStringList({"1000", "1041"}));
        QCOMPARE(Headings(), QStringList({"links", "Mail"}));
        QCOMPARE(Cells(0), QStringList({"http://a.net", "http://b.net "}));
        QCOMPARE(Cells(1), QStringList({"w@a.net;x", "w@b"}));
        Click("1009");
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(Profile("example.org"),
                 std::string("Link: example.org\r\nhttp://a.net|||w@a.net;x|||1|||\r\nhttp://b.net "
                             "|||w@b|||1|||"));
    }

    void separatorRefusals() {
        const QString list = File("pages.txt", "a.net!m\n");
        Open();
        ToFilePage("example.org", "1010", true);
        Type("1018", list);
        Click("1009");
        const struct {
            const char* click;
            const char* text;
            const char* message;
        } cases[] = {
            {nullptr, "", texts::kSelectSeparator},  {"1023", "", texts::kEnterSeparator},
            {"1023", "   ", texts::kEnterSeparator}, {"1023", "!!", texts::kSeparatorSymbols},
            {"1023", "#", texts::kSeparatorSymbols}, {"1023", ";", texts::kSeparatorSymbols}};
        for (const auto& c : cases) {
            AppMessageBox::ClearShown();
            if (c.click != nullptr) {
                Click(c.click);
            }
            Type("1024", c.text);
            Click("1009");
            QCOMPARE(AppMessageBox::ShownTexts(), QStringList({c.message}));
            QCOMPARE(m_wizard->PageCounter(), 3);
            QCOMPARE(static_cast<QLineEdit*>(W("1024"))->text(), QString(c.text));
        }
        // A click on another separator disables the symbol box again.
        Click("1022");
        QVERIFY(!W("1024")->isEnabled());
        Click("1023");
        QVERIFY(W("1024")->isEnabled());
        Type("1024", " ! ");
        AppMessageBox::ClearShown();
        Click("1009");
        // Accepted trimmed, then searched for as typed: no line holds " ! ".
        QCOMPARE(m_wizard->PageCounter(), 4);
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY(AppMessageBox::LastText().startsWith(QString::fromLatin1(texts::kSeparatedFormat)));
        QCOMPARE(m_wizard->ListModel().rowCount(), 0);
    }

    void csvImport() {
        const QString list =
            File("pages.csv", "a.example.com/x,webmaster mail\r\nnocomma\r\n\r\nb.net,m\r\n");
        Open();
        ToFilePage("example.net", "1011", false);
        Type("1018", list);
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 3);
        QVERIFY(!m_wizard->PlainImportMark());
        QCOMPARE(Shown(), QStringList({"1000"}));
        QCOMPARE(Headings(), QStringList({"links", "Mail", "Website"}));
        // A line without a comma is an address; the empty line is skipped.
        QCOMPARE(Cells(0),
                 QStringList({"http://a.example.com/x", "http://nocomma", "http://b.net"}));
        QCOMPARE(Cells(1), QStringList({"webmaster mail", "", "m"}));
        QCOMPARE(static_cast<QLabel*>(W("ImportSummary"))->text(),
                 QString("3 pages, 1 without mail; http:// added to 3 addresses without it "
                         "(http://a.example.com/x, ...)"));
        Click("1009");
        QCOMPARE(Profile("example.net"),
                 std::string("Link: example.net\r\nhttp://a.example.com/x|||webmaster mail|||0|||"
                             "\r\nhttp://nocomma||| |||0|||\r\nhttp://b.net|||m|||0|||"));
    }

    // A CSV list as a spreadsheet writes it where the decimal mark is a
    // comma: semicolons, a heading, a page listed twice. The list shows the
    // pages and mail addresses apart, and says what it left out.
    void semicolonCsvImport() {
        const QString list = File(
            "pages.csv",
            "Page;E-mail\r\nhttp://a.example.net/p0.html;w@a.example.net\r\n"
            "http://b.example.net/p1.html;\r\nhttp://a.example.net/p0.html;w@a.example.net\r\n");
        Open();
        ToFilePage("example.net", "1011", true);
        Type("1018", list);
        Click("1009");
        QCOMPARE(Cells(0),
                 QStringList({"http://a.example.net/p0.html", "http://b.example.net/p1.html"}));
        QCOMPARE(Cells(1), QStringList({"w@a.example.net", ""}));
        QCOMPARE(static_cast<QLabel*>(W("ImportSummary"))->text(),
                 QString("2 pages, 1 without mail, 1 duplicate left out"));
        Click("1009");
        QCOMPARE(Profile("example.net"),
                 std::string("Link: example.net\r\nhttp://a.example.net/p0.html|||w@a.example.net"
                             "|||1|||\r\nhttp://b.example.net/p1.html||| |||1|||"));
    }

    // Pages typed or pasted instead of a file: one per line, a mail address
    // after them; a bad line is named and keeps the wizard on its page.
    void typedPagesBecomeTheProfile() {
        Open();
        ToFilePage("http://example.net", "TypedChoice", true);
        auto* typed = qobject_cast<QPlainTextEdit*>(W("TypedPages"));
        QVERIFY(typed != nullptr && !typed->isHidden());
        QVERIFY(W("1018")->isHidden());
        typed->setPlainText("http://a.example.org/links\tweb@a.example.org\n\nno scheme here\n");
        Click("1009");
        QCOMPARE(AppMessageBox::LastText(),
                 QString("Line 3: no scheme here\n\n") + texts::kUrlInvalid);
        QCOMPARE(m_wizard->PageCounter(), 2);
        typed->setPlainText("http://a.example.org/links\tweb@a.example.org\nb.example.com/x\n");
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 3);
        QCOMPARE(Cells(0), QStringList({"http://a.example.org/links", "b.example.com/x"}));
        QCOMPARE(Cells(1), QStringList({"web@a.example.org", ""}));
        // Back returns to the typed pages, kept as they were.
        Click("1008");
        QCOMPARE(m_wizard->PageCounter(), 2);
        QVERIFY(!typed->isHidden());
        Click("1009");
        Click("1009");
        QCOMPARE(Profile("example.net"),
                 std::string("Link: http://example.net\r\nhttp://a.example.org/links|||"
                             "web@a.example.org|||1|||\r\nb.example.com/x||| |||1|||"));
    }

    void addressMessages() {
        Open();
        Click("1009");
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kEnterUrl}));
        Type("1006", "example.c");
        Click("1009");
        QCOMPARE(AppMessageBox::LastText(), QString(texts::kUrlInvalid));
        QCOMPARE(Caption("1009"), QString("Import..."));
        Type("1006", "example . com");
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 1);
        QCOMPARE(AppMessageBox::ShownTexts().size(), 2);
    }

    // By keyboard alone: Enter goes on from every page (the focus never
    // rests on Back), the arrow keys choose among the radio buttons (passing
    // over the Excel type) and a typed path imports.
    void enterAloneFinishesTheWizard() {
        const QString list = File("pages.txt", "a.net\nb.net\n");
        Open();
        m_wizard->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_wizard.get()));
        const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
        QTest::keyClicks(QApplication::focusWidget(), "example.net");
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->PageCounter(), 1);
        QCOMPARE(QApplication::focusWidget(), W("1010"));
        const auto checked = [this] {
            QStringList ids;
            for (const char* id : {"1010", "1011", "1012", "TypedChoice"}) {
                if (static_cast<QAbstractButton*>(W(id))->isChecked()) {
                    ids << id;
                }
            }
            return ids;
        };
        key(Qt::Key_Down);
        QCOMPARE(checked(), QStringList({"1011"}));
        key(Qt::Key_Down);
        QCOMPARE(checked(), QStringList({"TypedChoice"}));
        QCOMPARE(QApplication::focusWidget(), W("TypedChoice"));
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        QCOMPARE(checked(), QStringList({"1010"}));
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->PageCounter(), 2);
        QCOMPARE(QApplication::focusWidget(), W("1018"));
        QTest::keyClicks(QApplication::focusWidget(), list);
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->PageCounter(), 3);
        QCOMPARE(Caption("1009"), QString("Save and Finish"));
        QVERIFY(!qobject_cast<QPushButton*>(QApplication::focusWidget()));
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(
            Profile("example.net"),
            std::string("Link: example.net\r\nhttp://a.net||| |||0|||\r\nhttp://b.net||| |||0|||"));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    void typeAndPathMessages() {
        Open();
        Type("1006", "example.com");
        Click("1009");
        // A text file is chosen at first, so Enter alone goes on.
        QVERIFY(static_cast<QAbstractButton*>(W("1010"))->isChecked());
        QCOMPARE(m_wizard->PageCounter(), 1);
        // The Excel type cannot be chosen.
        static_cast<QAbstractButton*>(W("1012"))->click();
        QVERIFY(!static_cast<QAbstractButton*>(W("1012"))->isChecked());
        Click("1011");
        Click("1010");
        QVERIFY(!static_cast<QAbstractButton*>(W("1011"))->isChecked());
        Click("1009");
        Click("1009");
        QCOMPARE(AppMessageBox::LastText(), QString(texts::kEnterPath));
        QCOMPARE(m_wizard->PageCounter(), 2);
    }

    // A path that names no readable file: a message naming it, and the wizard
    // stays where it was with nothing written.
    void unreadableImportPathStaysOnItsPage_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("notify");
        QTest::addColumn<bool>("folder");
        QTest::newRow("text") << "1010" << false << false;
        QTest::newRow("text with notification") << "1010" << true << false;
        QTest::newRow("csv") << "1011" << false << false;
        QTest::newRow("a folder") << "1011" << false << true;
    }
    void unreadableImportPathStaysOnItsPage() {
        QFETCH(QString, type);
        QFETCH(bool, notify);
        QFETCH(bool, folder);
        const QString path =
            folder
                ? QString::fromStdString(m_temp->Root())
                : QString::fromStdString(m_temp->Root() + "/missing list \xc3\xb6\xe4\xb8\xad.txt");
        Open();
        ToFilePage("example.com", type.toLatin1().constData(), notify);
        Type("1018", path);
        Click("1009");
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY2(AppMessageBox::LastText().contains(path), qPrintable(AppMessageBox::LastText()));
        QCOMPARE(m_wizard->PageCounter(), 2);
        QVERIFY(!W("1018")->isHidden());
        QCOMPARE(Caption("1009"), QString("Next >"));
        QVERIFY(!tarnwick::test::Exists(F().ProfilesFolderNoSlash()));
    }

    // The file went away between the file page and the separator page.
    void fileGoneBeforeTheSeparatorPage() {
        const QString list = File("pages \xc3\xb6\xe4\xb8\xad.txt", "a;b\n");
        Open();
        ToFilePage("example.com", "1010", true);
        Type("1018", list);
        Click("1009");
        QFile::remove(list);
        Click("1021");
        Click("1009");
        QVERIFY(AppMessageBox::LastText().contains(list));
        QCOMPARE(m_wizard->PageCounter(), 3);
        QVERIFY(W("1000")->isHidden());
    }

    void plainFormatMessageKeepsEarlierRows() {
        const QString list = File("pages.txt", "a.net\nb.net\nc .net\nd.net\n");
        Open();
        ToFilePage("example.com", "1010", false);
        Type("1018", list);
        Click("1009");
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY(AppMessageBox::LastText().startsWith(QString::fromLatin1(texts::kPlainFormat)));
        QCOMPARE(Cells(0), QStringList({"http://a.net", "http://b.net"}));
        QCOMPARE(Caption("1009"), QString("Save and Finish"));
    }

    void emptyListSavesNothing() {
        const QString list = File("pages.txt", "\r\n   \r\n");
        Open();
        ToFilePage("example.com", "1010", false);
        Type("1018", list);
        Click("1009");
        Click("1009");
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kNoItem}));
        QCOMPARE(m_wizard->result(), 0);
        QVERIFY(!tarnwick::test::Exists(F().ProfilesFolderNoSlash()));
        QVERIFY(!tarnwick::test::Exists(F().StIndexPath()));
    }

    void backFromEveryPage() {
        const QString txt = File("pages.txt", "a;m\n");
        const QString csv = File("pages.csv", "a,m\n");
        Open();
        // B to A.
        Type("1006", "example.com");
        Click("1009");
        Click("1025");
        QCOMPARE(Shown(), QStringList({"1010", "1011", "1012", "1027", "1025", "1041"}));
        Click("1008");
        QCOMPARE(m_wizard->PageCounter(), 0);
        QCOMPARE(Shown(), QStringList({"1026", "1000"}));
        QVERIFY(W("1006")->isEnabled());
        QCOMPARE(Caption("1008"), QString("Cancel"));
        QCOMPARE(Caption("1009"), QString("Import..."));
        // C to B.
        Click("1009");
        Click("1010");
        Click("1009");
        Click("1008");
        QCOMPARE(m_wizard->PageCounter(), 1);
        QCOMPARE(Shown(), QStringList({"1010", "1011", "1012", "1027", "1025", "1041"}));
        // D to C.
        Click("1009");
        Type("1018", txt);
        Click("1009");
        Click("1008");
        QCOMPARE(m_wizard->PageCounter(), 2);
        QCOMPARE(Shown(), QStringList({"1027", "1041", "1020", "1018", "1019"}));
        QCOMPARE(Caption("1009"), QString("Next >"));
        // E (separated) to D: the heading and the hint stay hidden.
        Click("1009");
        Click("1021");
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 4);
        Click("1008");
        QCOMPARE(m_wizard->PageCounter(), 3);
        QCOMPARE(Shown(), QStringList({"1041", "1021", "1022", "1023", "1024"}));
        QCOMPARE(Caption("1009"), QString("Next >"));
        // Forward again: the columns are not added twice.
        Click("1009");
        QCOMPARE(Headings(), QStringList({"links", "Mail"}));
        // E (separated) to D to C to B; untick the check box; plain text.
        Click("1008");
        Click("1008");
        Click("1008");
        Click("1025");
        QVERIFY(W("1041")->isHidden());
        Click("1009");
        Click("1009");
        QCOMPARE(m_wizard->PageCounter(), 3);
        QVERIFY(m_wizard->PlainImportMark());
        // E (plain) to C hides the list.
        Click("1008");
        QVERIFY(!m_wizard->PlainImportMark());
        QCOMPARE(Shown(), QStringList({"1020", "1018", "1019"}));
        // E (csv) to C leaves the list in view.
        Click("1008");
        Click("1011");
        Click("1009");
        Type("1018", csv);
        Click("1009");
        QCOMPARE(Headings(), QStringList({"links", "Mail"}));
        Click("1008");
        QCOMPARE(m_wizard->PageCounter(), 2);
        QCOMPARE(Shown(), QStringList({"1000", "1020", "1018", "1019"}));
        // Cancel on the address page.
        Click("1008");
        Click("1008");
        QCOMPARE(Caption("1008"), QString("Cancel"));
        Click("1008");
        QCOMPARE(m_wizard->result(), int(QDialog::Rejected));
        QVERIFY(!tarnwick::test::Exists(F().ProfilesFolderNoSlash()));
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
    }

    // The second address with the same base name: profile "(2)", shown as
    // "www." + its name at the end of the pane.
    void secondAddressGetsANumberedProfile() {
        const QString list = File("pages.txt", "a.net\n");
        m_panes.InsertProfileRow(0, "www.other.org");
        tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), "other.org"), "other.org",
                                 {{"x", ""}}, false);
        for (const char* address : {"example.com", "shop.example.com/links"}) {
            Open();
            ToFilePage(address, "1010", false);
            Type("1018", list);
            Click("1009");
            Click("1009");
            QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        }
        QCOMPARE(m_panes.Texts(),
                 QStringList({"www.other.org", "example.com", "www.example.com (2)"}));
        QVERIFY(m_panes.IsProfileTicked(2));
        QCOMPARE(
            ReadBytes(F().StIndexPath()),
            std::string(
                "other.org**other.org||\r\nexample.com**example.com||shop.example.com/links||"));
        QCOMPARE(Profile("example.com (2)"),
                 std::string("Link: shop.example.com/links\r\nhttp://a.net||| |||0|||"));
    }

    void addressAddedBefore_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("append")
            << "1028"
            << QByteArray("Link: example.com\r\nold.net||| |||0|||\r\nhttp://new.net|||m|||0|||");
        QTest::newRow("overwrite")
            << "1029" << QByteArray("Link: example.com\r\nhttp://new.net|||m|||0|||");
        QTest::newRow("cancel") << "1030" << QByteArray("Link: example.com\r\nold.net||| |||0|||");
        // Append is the default button.
        QTest::newRow("Enter")
            << "Enter"
            << QByteArray("Link: example.com\r\nold.net||| |||0|||\r\nhttp://new.net|||m|||0|||");
    }

    // Dialog 147 for an address saved before: Append and Overwrite act on the
    // base name's file and close the wizard; Cancel writes nothing and keeps
    // the wizard on its page.
    void addressAddedBefore() {
        QFETCH(QString, button);
        QFETCH(QByteArray, expected);
        tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), "example.com"), "example.com",
                                 {{"old.net", ""}}, false);
        m_panes.LoadProfiles();
        const std::string index = ReadBytes(F().IndexPath());
        const std::string stindex = ReadBytes(F().StIndexPath());
        const QString list = File("pages.csv", "new.net,m\n");
        Open();
        ToFilePage("example.com", "1011", false);
        Type("1018", list);
        Click("1009");
        QString question;
        tarnwick::test::WhenModal<tarnwick::OverwriteOrAppendQuestion>(
            [&](tarnwick::OverwriteOrAppendQuestion* dialog) {
                question = dialog->windowTitle() + "|" + dialog->findChild<QLabel*>()->text();
                if (button == QLatin1String("Enter")) {
                    QTest::keyClick(dialog, Qt::Key_Return);
                } else {
                    dialog->findChild<QPushButton*>(button)->click();
                }
            });
        const int rebuilds = m_panes.m_nRebuilds;
        Click("1009");
        QCOMPARE(question, QString("Overwrite/Append|") + texts::kAppendQuestion);
        QCOMPARE(Profile("example.com"), expected.toStdString());
        QCOMPARE(ReadBytes(F().IndexPath()), index);
        QCOMPARE(ReadBytes(F().StIndexPath()), stindex);
        if (button == "1030") {
            QCOMPARE(m_wizard->result(), 0);
            QVERIFY(m_wizard->isVisible());
            QCOMPARE(Caption("1009"), QString("Save and Finish"));
            QCOMPARE(m_wizard->ListModel().rowCount(), 1);
            QCOMPARE(m_panes.m_nRebuilds, rebuilds);
        } else {
            QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
            QCOMPARE(m_panes.m_nRebuilds, rebuilds + 1);
            QCOMPARE(m_panes.ProfileRowCount(), 1);
        }
    }

    // The profile was deleted while its address stayed in the site index:
    // Append creates the file again and the pane shows it.
    void appendOnAVanishedProfileCreatesIt() {
        for (const char* address : {"example.com", "other.org"}) {
            tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), address), address, {{"x", ""}},
                                     false);
        }
        tarnwick::ProfileList(F()).Remove({0});
        m_panes.LoadProfiles();
        const QString list = File("pages.txt", "new.net\n");
        Open();
        ToFilePage("example.com", "1010", false);
        Type("1018", list);
        Click("1009");
        tarnwick::test::PressWhenModal<tarnwick::OverwriteOrAppendQuestion>("1028");
        Click("1009");
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(Profile("example.com"),
                 std::string("Link: example.com\r\nhttp://new.net||| |||0|||"));
        QCOMPARE(m_panes.Texts(), QStringList({"www.other.org", "www.example.com"}));
        QVERIFY(m_panes.IsProfileTicked(1));
    }

    // A profile's address was changed onto c.com; adding c.com then offers
    // Append/Overwrite on that profile instead of listing it twice.
    void newAddressOntoAnExistingProfileAsksAppendOrOverwrite() {
        tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), "a.com"), "a.com", {{"x", ""}},
                                 false);
        tarnwick::ProfileFile(F()).ChangeAddress("www.a.com", "c.com");
        m_panes.LoadProfiles();
        const QString list = File("pages.txt", "new.net\n");
        Open();
        ToFilePage("c.com", "1010", false);
        Type("1018", list);
        Click("1009");
        tarnwick::test::PressWhenModal<tarnwick::OverwriteOrAppendQuestion>("1028");
        Click("1009");
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(Profile("c.com"),
                 std::string("Link: c.com\r\nx||| |||0|||\r\nhttp://new.net||| |||0|||"));
        QCOMPARE(ReadBytes(F().IndexPath()), F().ProfilesFolder() + "c.com.txt");
        QCOMPARE(m_panes.Texts(), QStringList({"www.c.com"}));
    }

    // stindex.txt gone while index.txt lists profiles: the new row goes where
    // its index line goes, not to the top.
    void missingSiteIndexPutsTheRowWhereItsLineIs() {
        tarnwick::SaveNewProfile(F(), tarnwick::PlanSave(F(), "a.com"), "a.com", {{"x", ""}},
                                 false);
        m_panes.LoadProfiles();
        QFile::remove(QString::fromStdString(F().StIndexPath()));
        const QString list = File("pages.txt", "new.net\n");
        Open();
        ToFilePage("b.com", "1010", false);
        Type("1018", list);
        Click("1009");
        Click("1009");
        QCOMPARE(m_panes.Texts(), QStringList({"www.a.com", "b.com"}));
    }

    void storeFailureIsShownAndTheWizardStays() {
        const QString list = File("pages.txt", "new.net\n");
        // A file where the Profiles folder should be.
        tarnwick::test::WriteBytes(F().ProfilesFolderNoSlash(), "x");
        Open();
        ToFilePage("b.com", "1010", false);
        Type("1018", list);
        Click("1009");
        Click("1009");
        QCOMPARE(AppMessageBox::ShownTexts().size(), 1);
        QVERIFY(AppMessageBox::LastText().contains("Profiles"));
        QCOMPARE(m_wizard->result(), 0);
        QCOMPARE(m_panes.ProfileRowCount(), 0);
    }

    void mailSettingsAndBrowseButtons() {
        int opened = 0;
        tarnwick::SetMailSettingsOpener([&](QWidget* parent) {
            QCOMPARE(parent, m_wizard.get());
            ++opened;
        });
        Open();
        ToFilePage("example.com", "1011", true);
        Click("1041");
        QCOMPARE(opened, 1);
        // Without a stand-in the real mail settings dialog opens over the wizard.
        tarnwick::SetMailSettingsOpener(nullptr);
        QWidget* mailParent = nullptr;
        tarnwick::test::WhenModal<tarnwick::MailSettingsDialog>(
            [&](tarnwick::MailSettingsDialog* dialog) {
                mailParent = dialog->parentWidget();
                dialog->reject();
            });
        Click("1041");
        QCOMPARE(mailParent, m_wizard.get());
        tarnwick::FileDialog::PresetNextPath("/data/list.csv");
        Click("1019");
        QCOMPARE(static_cast<QLineEdit*>(W("1018"))->text(), QString("/data/list.csv"));
        QVERIFY(tarnwick::FileDialog::LastWasOpen());
        QCOMPARE(tarnwick::FileDialog::LastFilter(), QString("CSV Files(*.csv)"));
        QCOMPARE(tarnwick::FileDialog::LastInitialFile(), QString("*.csv "));
        QCOMPARE(tarnwick::FileDialog::LastInitialFolder(),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        tarnwick::FileDialog::PresetCancel();
        Click("1019");
        QCOMPARE(static_cast<QLineEdit*>(W("1018"))->text(), QString("/data/list.csv"));

        const auto txt = tarnwick::ImportDialogSettingsFor("txt");
        QCOMPARE(txt.m_strFilter, QString("Text Files(*.txt)"));
        QCOMPARE(txt.m_strInitialFile, QString("*.txt "));
        QCOMPARE(txt.m_strFolder,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        const auto csv = tarnwick::ImportDialogSettingsFor("csv");
        QCOMPARE(csv.m_strFilter, QString("CSV Files(*.csv)"));
        QCOMPARE(csv.m_strInitialFile, QString("*.csv "));
    }

    // The Add command: modal wizard, success message and flags.
    void addCommandShowsSuccessAndEnablesPlay() {
        const QString list = File("pages.txt", "a.net\n");
        tarnwick::g_bPlayEnabled = false;
        tarnwick::g_bStopEnabled = true;
        tarnwick::test::WhenModal<AddProfileWizard>([&](AddProfileWizard* dialog) {
            auto button = [dialog](const char* id) {
                return dialog->findChild<QAbstractButton*>(QString::fromLatin1(id));
            };
            dialog->findChild<QLineEdit*>("1006")->setText("example.com");
            button("1009")->click();
            QCOMPARE(dialog->PageCounter(), 1);
            button("1010")->click();
            button("1009")->click();
            dialog->findChild<QLineEdit*>("1018")->setText(list);
            button("1009")->click();
            button("1009")->click();
        });
        tarnwick::RunAddCommand(nullptr, m_panes);
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kAdded}));
        QVERIFY(tarnwick::g_bPlayEnabled);
        QVERIFY(!tarnwick::g_bStopEnabled);
        QCOMPARE(m_panes.Texts(), QStringList({"example.com"}));
    }

    void addCommandCancelledOrRefused() {
        tarnwick::g_bPlayEnabled = false;
        tarnwick::g_bStopEnabled = true;
        tarnwick::test::PressWhenModal<AddProfileWizard>("1008");
        tarnwick::RunAddCommand(nullptr, m_panes);
        QVERIFY(AppMessageBox::ShownTexts().isEmpty());
        QVERIFY(!tarnwick::g_bPlayEnabled);
        QVERIFY(tarnwick::g_bStopEnabled);

        tarnwick::g_bScanRunning = true;
        tarnwick::RunAddCommand(nullptr, m_panes);
        tarnwick::g_bScanRunning = false;
        QCOMPARE(AppMessageBox::ShownTexts(), QStringList({texts::kAddWhileRunning}));
    }
};

QTEST_MAIN(AddWizardTest)
#include "AddWizardTest.moc"
