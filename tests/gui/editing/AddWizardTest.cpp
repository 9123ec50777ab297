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
#include "scan/RunState.h"
#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

using tarnwick::AddProfileWizard;
using tarnwick::AppMessageBox;
using tarnwick::OverwriteOrAppendQuestion;
using tarnwick::test::PaneTable;
using tarnwick::test::readBytes;
namespace texts = tarnwick::texts;

namespace {

const QStringList kPageControls = {
    AddProfileWizard::kPagesLabel,      AddProfileWizard::kPagesTable,
    AddProfileWizard::kTextFileRadio,   AddProfileWizard::kCsvFileRadio,
    AddProfileWizard::kExcelFileRadio,  AddProfileWizard::kImportHeading,
    AddProfileWizard::kNotifyBox,       AddProfileWizard::kMailSettingsButton,
    AddProfileWizard::kPathLabel,       AddProfileWizard::kPathEdit,
    AddProfileWizard::kBrowseButton,    AddProfileWizard::kSemicolonRadio,
    AddProfileWizard::kCommaRadio,      AddProfileWizard::kOtherSymbolRadio,
    AddProfileWizard::kOtherSymbolEdit, AddProfileWizard::kSeparatorHint};

}  // namespace

class AddWizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    PaneTable m_panes;
    tarnwick::RunState m_runState;  // what the commands guard against and tell
    std::unique_ptr<AddProfileWizard> m_wizard;

    const tarnwick::DataFolder& f() const { return m_temp->folder(); }
    QString writeFile(const char* name, const std::string& bytes) {
        const std::string path = m_temp->root() + "/" + name;
        tarnwick::test::writeBytes(path, bytes);
        return QString::fromStdString(path);
    }
    AddProfileWizard& open() {
        m_wizard = std::make_unique<AddProfileWizard>(m_panes);
        m_wizard->show();
        return *m_wizard;
    }
    QWidget* w(const char* id) const {
        QWidget* w = m_wizard->findChild<QWidget*>(QString::fromLatin1(id));
        if (w == nullptr) {
            qFatal("no control %s", id);
        }
        return w;
    }
    void click(const char* id) { static_cast<QAbstractButton*>(w(id))->click(); }
    void typeInto(const char* id, const QString& text) {
        static_cast<QLineEdit*>(w(id))->setText(text);
    }
    // The caption as shown: the letter marked for Alt is not part of it.
    QString caption(const char* id) const {
        return static_cast<QAbstractButton*>(w(id))->text().remove(QLatin1Char('&'));
    }
    QStringList shown() const {
        QStringList shown;
        for (const QString& id : kPageControls) {
            if (!w(id.toLatin1().constData())->isHidden()) {
                shown << id;
            }
        }
        return shown;
    }
    QStringList headings() const { return m_wizard->listModel().columns(); }
    QStringList cells(int column) const {
        QStringList cells;
        const auto& model = m_wizard->listModel();
        for (int r = 0; r < model.rowCount(); ++r) {
            cells << model.data(model.index(r, column)).toString();
        }
        return cells;
    }
    // Address page to the file page with the type and the check box.
    void toFilePage(const QString& address, const char* type, bool notify) {
        typeInto(AddProfileWizard::kAdvertiserEdit, address);
        click(AddProfileWizard::kNextButton);
        if (notify) {
            click(AddProfileWizard::kNotifyBox);
        }
        click(type);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 2);
    }
    std::string profile(const char* name) const { return readBytes(f().profilePath(name)); }

private slots:
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        m_panes = PaneTable();
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
        tarnwick::FileDialog::clearPresets();
        m_runState.setRunning(false);
    }
    void cleanup() {
        m_wizard.reset();
        AppMessageBox::clearShown();
        AppMessageBox::setTestMode(false);
        tarnwick::setMailSettingsOpener(nullptr);
        m_temp.reset();
    }

    void opensOnTheAddressPage() {
        open();
        QCOMPARE(m_wizard->windowTitle(), QString("Add"));
        QCOMPARE(shown(),
                 QStringList({AddProfileWizard::kPagesLabel, AddProfileWizard::kPagesTable}));
        QCOMPARE(caption(AddProfileWizard::kBackButton), QString("Cancel"));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Import..."));
        QCOMPARE(headings(), QStringList({"Website"}));
        QVERIFY(w(AddProfileWizard::kAdvertiserEdit)->isEnabled());
        QVERIFY(!w(AddProfileWizard::kExcelFileRadio)->isEnabled());
        QVERIFY(w(AddProfileWizard::kOkButton)->isHidden());
        QVERIFY(!w(AddProfileWizard::kOkButton)->isEnabled());
        QCOMPARE(m_wizard->pageCounter(), 1);
        QCOMPARE(static_cast<QTableView*>(w(AddProfileWizard::kPagesTable))->columnWidth(0), 366);
        // Fields are named by their labels for assistive technology.
        const auto name = [this](const char* id) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w(id));
            return face != nullptr ? face->text(QAccessible::Name) : QString();
        };
        QCOMPARE(name(AddProfileWizard::kAdvertiserEdit), QString("Enter Advetiser's Site :"));
        QCOMPARE(name(AddProfileWizard::kPathEdit), QString("Import from file :"));
        QCOMPARE(name(AddProfileWizard::kPagesTable), QString("Publisher's Site"));
        QCOMPARE(name(AddProfileWizard::kOtherSymbolEdit), QString("Other Symbol"));
        QCOMPARE(name(AddProfileWizard::kBrowseButton), QString("Browse"));
        QCOMPARE(name(AddProfileWizard::kNotifyBox),
                 QString("Also send e-mail notifications to link publishers."));
    }

    // Text file, no notification: type page, file page, list; saved with the
    // mail field " " and flag "0".
    void plainTextImportMakesANewProfile() {
        const QString list =
            writeFile("pages.txt", "http://a.net/links.html\r\n\r\n  b.org/x  \r\nc.info\r\n");
        open();
        typeInto(AddProfileWizard::kAdvertiserEdit, "http://www.example.com/");
        click(AddProfileWizard::kNextButton);
        QCOMPARE(shown(),
                 QStringList({AddProfileWizard::kTextFileRadio, AddProfileWizard::kCsvFileRadio,
                              AddProfileWizard::kExcelFileRadio, AddProfileWizard::kImportHeading,
                              AddProfileWizard::kNotifyBox}));
        QVERIFY(!w(AddProfileWizard::kAdvertiserEdit)->isEnabled());
        QCOMPARE(caption(AddProfileWizard::kBackButton), QString("< Back"));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Next >"));
        click(AddProfileWizard::kTextFileRadio);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(shown(),
                 QStringList({AddProfileWizard::kImportHeading, AddProfileWizard::kPathLabel,
                              AddProfileWizard::kPathEdit, AddProfileWizard::kBrowseButton}));
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(shown(), QStringList({AddProfileWizard::kPagesTable}));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Save and Finish"));
        QCOMPARE(m_wizard->pageCounter(), 3);
        QVERIFY(m_wizard->plainImportMark());
        QCOMPARE(headings(), QStringList({"Website"}));
        // Pages without a scheme get http://, and the line under the list
        // says so.
        QCOMPARE(cells(0),
                 QStringList({"http://a.net/links.html", "http://b.org/x", "http://c.info"}));
        QVERIFY(!w("ImportSummary")->isHidden());
        QCOMPARE(static_cast<QLabel*>(w("ImportSummary"))->text(),
                 QString("3 pages; http:// added to 2 addresses without it (http://b.org/x, ...)"));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());

        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(readBytes(f().stIndexPath()),
                 std::string("example.com**http://www.example.com/||"));
        QCOMPARE(readBytes(f().indexPath()), f().profilesFolder() + "example.com.txt");
        QCOMPARE(profile("example.com"),
                 std::string("Link: http://www.example.com/\r\nhttp://a.net/links.html||| |||0|||"
                             "\r\nhttp://b.org/x||| |||0|||\r\nhttp://c.info||| |||0|||"));
        QCOMPARE(m_panes.texts(), QStringList({"http://www.example.com/"}));
        QVERIFY(m_panes.isProfileTicked(0));
    }

    void separatedTextImport_data() {
        QTest::addColumn<QString>(
            "separator");  // AddProfileWizard::kSemicolonRadio, AddProfileWizard::kCommaRadio or
                           // AddProfileWizard::kOtherSymbolRadio + symbol
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("semicolon") << AddProfileWizard::kSemicolonRadio << ""
                                   << QByteArray("a.net;w@a.net;x\r\n\r\nb.net ;w@b\r\n");
        QTest::newRow("comma") << AddProfileWizard::kCommaRadio << ""
                               << QByteArray("a.net,w@a.net;x\nb.net ,w@b");
        QTest::newRow("bar with blanks") << AddProfileWizard::kOtherSymbolRadio << " | "
                                         << QByteArray("a.net | w@a.net;x\nb.net  | w@b\n");
    }

    // Text file with notification passes the separator page; every page line
    // has the flag "1".
    void separatedTextImport() {
        QFETCH(QString, separator);
        QFETCH(QString, symbol);
        QFETCH(QByteArray, file);
        const QString list = writeFile("pages.txt", file.toStdString());
        open();
        toFilePage("example.org", AddProfileWizard::kTextFileRadio, true);
        QVERIFY(!w(AddProfileWizard::kMailSettingsButton)->isHidden());
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 3);
        QCOMPARE(
            shown(),
            QStringList({AddProfileWizard::kImportHeading, AddProfileWizard::kMailSettingsButton,
                         AddProfileWizard::kSemicolonRadio, AddProfileWizard::kCommaRadio,
                         AddProfileWizard::kOtherSymbolRadio, AddProfileWizard::kOtherSymbolEdit,
                         AddProfileWizard::kSeparatorHint}));
        QVERIFY(!w(AddProfileWizard::kOtherSymbolEdit)->isEnabled());
        QCOMPARE(static_cast<QLabel*>(w(AddProfileWizard::kSeparatorHint))->text(),
                 QString("Use (!,^,*,|)"));
        click(separator.toLatin1().constData());
        QCOMPARE(w(AddProfileWizard::kOtherSymbolEdit)->isEnabled(),
                 separator == AddProfileWizard::kOtherSymbolRadio);
        typeInto(AddProfileWizard::kOtherSymbolEdit, symbol);
        click(AddProfileWizard::kNextButton);
        QVERIFY2(AppMessageBox::shownTexts().isEmpty(), qPrintable(AppMessageBox::lastText()));
        QCOMPARE(m_wizard->pageCounter(), 4);
        QCOMPARE(shown(), QStringList({AddProfileWizard::kPagesTable,
                                       AddProfileWizard::kMailSettingsButton}));
        QCOMPARE(headings(), QStringList({"links", "Mail"}));
        QCOMPARE(cells(0), QStringList({"http://a.net", "http://b.net "}));
        QCOMPARE(cells(1), QStringList({"w@a.net;x", "w@b"}));
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(profile("example.org"),
                 std::string("Link: example.org\r\nhttp://a.net|||w@a.net;x|||1|||\r\nhttp://b.net "
                             "|||w@b|||1|||"));
    }

    void separatorRefusals() {
        const QString list = writeFile("pages.txt", "a.net!m\n");
        open();
        toFilePage("example.org", AddProfileWizard::kTextFileRadio, true);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        const struct {
            const char* click;
            const char* text;
            const char* message;
        } cases[] = {{nullptr, "", texts::kSelectSeparator},
                     {AddProfileWizard::kOtherSymbolRadio, "", texts::kEnterSeparator},
                     {AddProfileWizard::kOtherSymbolRadio, "   ", texts::kEnterSeparator},
                     {AddProfileWizard::kOtherSymbolRadio, "!!", texts::kSeparatorSymbols},
                     {AddProfileWizard::kOtherSymbolRadio, "#", texts::kSeparatorSymbols},
                     {AddProfileWizard::kOtherSymbolRadio, ";", texts::kSeparatorSymbols}};
        for (const auto& c : cases) {
            AppMessageBox::clearShown();
            if (c.click != nullptr) {
                click(c.click);
            }
            typeInto(AddProfileWizard::kOtherSymbolEdit, c.text);
            click(AddProfileWizard::kNextButton);
            QCOMPARE(AppMessageBox::shownTexts(), QStringList({c.message}));
            QCOMPARE(m_wizard->pageCounter(), 3);
            QCOMPARE(static_cast<QLineEdit*>(w(AddProfileWizard::kOtherSymbolEdit))->text(),
                     QString(c.text));
        }
        // A click on another separator disables the symbol box again.
        click(AddProfileWizard::kCommaRadio);
        QVERIFY(!w(AddProfileWizard::kOtherSymbolEdit)->isEnabled());
        click(AddProfileWizard::kOtherSymbolRadio);
        QVERIFY(w(AddProfileWizard::kOtherSymbolEdit)->isEnabled());
        typeInto(AddProfileWizard::kOtherSymbolEdit, " ! ");
        AppMessageBox::clearShown();
        click(AddProfileWizard::kNextButton);
        // Accepted trimmed, then searched for as typed: no line holds " ! ".
        QCOMPARE(m_wizard->pageCounter(), 4);
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY(AppMessageBox::lastText().startsWith(QString::fromLatin1(texts::kSeparatedFormat)));
        QCOMPARE(m_wizard->listModel().rowCount(), 0);
    }

    void csvImport() {
        const QString list =
            writeFile("pages.csv", "a.example.com/x,webmaster mail\r\nnocomma\r\n\r\nb.net,m\r\n");
        open();
        toFilePage("example.net", AddProfileWizard::kCsvFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 3);
        QVERIFY(!m_wizard->plainImportMark());
        QCOMPARE(shown(), QStringList({AddProfileWizard::kPagesTable}));
        QCOMPARE(headings(), QStringList({"links", "Mail", "Website"}));
        // A line without a comma is an address; the empty line is skipped.
        QCOMPARE(cells(0),
                 QStringList({"http://a.example.com/x", "http://nocomma", "http://b.net"}));
        QCOMPARE(cells(1), QStringList({"webmaster mail", "", "m"}));
        QCOMPARE(static_cast<QLabel*>(w("ImportSummary"))->text(),
                 QString("3 pages, 1 without mail; http:// added to 3 addresses without it "
                         "(http://a.example.com/x, ...)"));
        click(AddProfileWizard::kNextButton);
        QCOMPARE(profile("example.net"),
                 std::string("Link: example.net\r\nhttp://a.example.com/x|||webmaster mail|||0|||"
                             "\r\nhttp://nocomma||| |||0|||\r\nhttp://b.net|||m|||0|||"));
    }

    // A CSV list as a spreadsheet writes it where the decimal mark is a
    // comma: semicolons, a heading, a page listed twice. The list shows the
    // pages and mail addresses apart, and says what it left out.
    void semicolonCsvImport() {
        const QString list = writeFile(
            "pages.csv",
            "Page;E-mail\r\nhttp://a.example.net/p0.html;w@a.example.net\r\n"
            "http://b.example.net/p1.html;\r\nhttp://a.example.net/p0.html;w@a.example.net\r\n");
        open();
        toFilePage("example.net", AddProfileWizard::kCsvFileRadio, true);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(cells(0),
                 QStringList({"http://a.example.net/p0.html", "http://b.example.net/p1.html"}));
        QCOMPARE(cells(1), QStringList({"w@a.example.net", ""}));
        QCOMPARE(static_cast<QLabel*>(w("ImportSummary"))->text(),
                 QString("2 pages, 1 without mail, 1 duplicate left out"));
        click(AddProfileWizard::kNextButton);
        QCOMPARE(profile("example.net"),
                 std::string("Link: example.net\r\nhttp://a.example.net/p0.html|||w@a.example.net"
                             "|||1|||\r\nhttp://b.example.net/p1.html||| |||1|||"));
    }

    // Pages typed or pasted instead of a file: one per line, a mail address
    // after them; a bad line is named and keeps the wizard on its page.
    void typedPagesBecomeTheProfile() {
        open();
        toFilePage("http://example.net", "TypedChoice", true);
        auto* typed = qobject_cast<QPlainTextEdit*>(w("TypedPages"));
        QVERIFY(typed != nullptr && !typed->isHidden());
        QVERIFY(w(AddProfileWizard::kPathEdit)->isHidden());
        typed->setPlainText("http://a.example.org/links\tweb@a.example.org\n\nno scheme here\n");
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::lastText(),
                 QString("Line 3: no scheme here\n\n") + texts::kUrlInvalid);
        QCOMPARE(m_wizard->pageCounter(), 2);
        typed->setPlainText("http://a.example.org/links\tweb@a.example.org\nb.example.com/x\n");
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 3);
        QCOMPARE(cells(0), QStringList({"http://a.example.org/links", "b.example.com/x"}));
        QCOMPARE(cells(1), QStringList({"web@a.example.org", ""}));
        // Back returns to the typed pages, kept as they were.
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->pageCounter(), 2);
        QVERIFY(!typed->isHidden());
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(profile("example.net"),
                 std::string("Link: http://example.net\r\nhttp://a.example.org/links|||"
                             "web@a.example.org|||1|||\r\nb.example.com/x||| |||1|||"));
    }

    void addressMessages() {
        open();
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kEnterUrl}));
        typeInto(AddProfileWizard::kAdvertiserEdit, "example.c");
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::lastText(), QString(texts::kUrlInvalid));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Import..."));
        typeInto(AddProfileWizard::kAdvertiserEdit, "example . com");
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 1);
        QCOMPARE(AppMessageBox::shownTexts().size(), 2);
    }

    // By keyboard alone: Enter goes on from every page (the focus never
    // rests on Back), the arrow keys choose among the radio buttons (passing
    // over the Excel type) and a typed path imports.
    void enterAloneFinishesTheWizard() {
        const QString list = writeFile("pages.txt", "a.net\nb.net\n");
        open();
        m_wizard->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_wizard.get()));
        const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
        QTest::keyClicks(QApplication::focusWidget(), "example.net");
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->pageCounter(), 1);
        QCOMPARE(QApplication::focusWidget(), w(AddProfileWizard::kTextFileRadio));
        const auto checked = [this] {
            QStringList ids;
            for (const char* id :
                 {AddProfileWizard::kTextFileRadio, AddProfileWizard::kCsvFileRadio,
                  AddProfileWizard::kExcelFileRadio, "TypedChoice"}) {
                if (static_cast<QAbstractButton*>(w(id))->isChecked()) {
                    ids << id;
                }
            }
            return ids;
        };
        key(Qt::Key_Down);
        QCOMPARE(checked(), QStringList({AddProfileWizard::kCsvFileRadio}));
        key(Qt::Key_Down);
        QCOMPARE(checked(), QStringList({"TypedChoice"}));
        QCOMPARE(QApplication::focusWidget(), w("TypedChoice"));
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        QCOMPARE(checked(), QStringList({AddProfileWizard::kTextFileRadio}));
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->pageCounter(), 2);
        QCOMPARE(QApplication::focusWidget(), w(AddProfileWizard::kPathEdit));
        QTest::keyClicks(QApplication::focusWidget(), list);
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->pageCounter(), 3);
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Save and Finish"));
        QVERIFY(!qobject_cast<QPushButton*>(QApplication::focusWidget()));
        key(Qt::Key_Return);
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(
            profile("example.net"),
            std::string("Link: example.net\r\nhttp://a.net||| |||0|||\r\nhttp://b.net||| |||0|||"));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    void typeAndPathMessages() {
        open();
        typeInto(AddProfileWizard::kAdvertiserEdit, "example.com");
        click(AddProfileWizard::kNextButton);
        // A text file is chosen at first, so Enter alone goes on.
        QVERIFY(static_cast<QAbstractButton*>(w(AddProfileWizard::kTextFileRadio))->isChecked());
        QCOMPARE(m_wizard->pageCounter(), 1);
        // The Excel type cannot be chosen.
        static_cast<QAbstractButton*>(w(AddProfileWizard::kExcelFileRadio))->click();
        QVERIFY(!static_cast<QAbstractButton*>(w(AddProfileWizard::kExcelFileRadio))->isChecked());
        click(AddProfileWizard::kCsvFileRadio);
        click(AddProfileWizard::kTextFileRadio);
        QVERIFY(!static_cast<QAbstractButton*>(w(AddProfileWizard::kCsvFileRadio))->isChecked());
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::lastText(), QString(texts::kEnterPath));
        QCOMPARE(m_wizard->pageCounter(), 2);
    }

    // A path that names no readable file: a message naming it, and the wizard
    // stays where it was with nothing written.
    void unreadableImportPathStaysOnItsPage_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("notify");
        QTest::addColumn<bool>("folder");
        QTest::newRow("text") << AddProfileWizard::kTextFileRadio << false << false;
        QTest::newRow("text with notification")
            << AddProfileWizard::kTextFileRadio << true << false;
        QTest::newRow("csv") << AddProfileWizard::kCsvFileRadio << false << false;
        QTest::newRow("a folder") << AddProfileWizard::kCsvFileRadio << false << true;
    }
    void unreadableImportPathStaysOnItsPage() {
        QFETCH(QString, type);
        QFETCH(bool, notify);
        QFETCH(bool, folder);
        const QString path =
            folder
                ? QString::fromStdString(m_temp->root())
                : QString::fromStdString(m_temp->root() + "/missing list \xc3\xb6\xe4\xb8\xad.txt");
        open();
        toFilePage("example.com", type.toLatin1().constData(), notify);
        typeInto(AddProfileWizard::kPathEdit, path);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY2(AppMessageBox::lastText().contains(path), qPrintable(AppMessageBox::lastText()));
        QCOMPARE(m_wizard->pageCounter(), 2);
        QVERIFY(!w(AddProfileWizard::kPathEdit)->isHidden());
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Next >"));
        QVERIFY(!tarnwick::test::exists(f().profilesFolderNoSlash()));
    }

    // The file went away between the file page and the separator page.
    void fileGoneBeforeTheSeparatorPage() {
        const QString list = writeFile("pages \xc3\xb6\xe4\xb8\xad.txt", "a;b\n");
        open();
        toFilePage("example.com", AddProfileWizard::kTextFileRadio, true);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QFile::remove(list);
        click(AddProfileWizard::kSemicolonRadio);
        click(AddProfileWizard::kNextButton);
        QVERIFY(AppMessageBox::lastText().contains(list));
        QCOMPARE(m_wizard->pageCounter(), 3);
        QVERIFY(w(AddProfileWizard::kPagesTable)->isHidden());
    }

    void plainFormatMessageKeepsEarlierRows() {
        const QString list = writeFile("pages.txt", "a.net\nb.net\nc .net\nd.net\n");
        open();
        toFilePage("example.com", AddProfileWizard::kTextFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY(AppMessageBox::lastText().startsWith(QString::fromLatin1(texts::kPlainFormat)));
        QCOMPARE(cells(0), QStringList({"http://a.net", "http://b.net"}));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Save and Finish"));
    }

    void emptyListSavesNothing() {
        const QString list = writeFile("pages.txt", "\r\n   \r\n");
        open();
        toFilePage("example.com", AddProfileWizard::kTextFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kNoItem}));
        QCOMPARE(m_wizard->result(), 0);
        QVERIFY(!tarnwick::test::exists(f().profilesFolderNoSlash()));
        QVERIFY(!tarnwick::test::exists(f().stIndexPath()));
    }

    void backFromEveryPage() {
        const QString txt = writeFile("pages.txt", "a;m\n");
        const QString csv = writeFile("pages.csv", "a,m\n");
        open();
        // B to A.
        typeInto(AddProfileWizard::kAdvertiserEdit, "example.com");
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNotifyBox);
        QCOMPARE(
            shown(),
            QStringList({AddProfileWizard::kTextFileRadio, AddProfileWizard::kCsvFileRadio,
                         AddProfileWizard::kExcelFileRadio, AddProfileWizard::kImportHeading,
                         AddProfileWizard::kNotifyBox, AddProfileWizard::kMailSettingsButton}));
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->pageCounter(), 0);
        QCOMPARE(shown(),
                 QStringList({AddProfileWizard::kPagesLabel, AddProfileWizard::kPagesTable}));
        QVERIFY(w(AddProfileWizard::kAdvertiserEdit)->isEnabled());
        QCOMPARE(caption(AddProfileWizard::kBackButton), QString("Cancel"));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Import..."));
        // C to B.
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kTextFileRadio);
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->pageCounter(), 1);
        QCOMPARE(
            shown(),
            QStringList({AddProfileWizard::kTextFileRadio, AddProfileWizard::kCsvFileRadio,
                         AddProfileWizard::kExcelFileRadio, AddProfileWizard::kImportHeading,
                         AddProfileWizard::kNotifyBox, AddProfileWizard::kMailSettingsButton}));
        // D to C.
        click(AddProfileWizard::kNextButton);
        typeInto(AddProfileWizard::kPathEdit, txt);
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->pageCounter(), 2);
        QCOMPARE(shown(),
                 QStringList({AddProfileWizard::kImportHeading,
                              AddProfileWizard::kMailSettingsButton, AddProfileWizard::kPathLabel,
                              AddProfileWizard::kPathEdit, AddProfileWizard::kBrowseButton}));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Next >"));
        // E (separated) to D: the heading and the hint stay hidden.
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kSemicolonRadio);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 4);
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->pageCounter(), 3);
        QCOMPARE(
            shown(),
            QStringList({AddProfileWizard::kMailSettingsButton, AddProfileWizard::kSemicolonRadio,
                         AddProfileWizard::kCommaRadio, AddProfileWizard::kOtherSymbolRadio,
                         AddProfileWizard::kOtherSymbolEdit}));
        QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Next >"));
        // Forward again: the columns are not added twice.
        click(AddProfileWizard::kNextButton);
        QCOMPARE(headings(), QStringList({"links", "Mail"}));
        // E (separated) to D to C to B; untick the check box; plain text.
        click(AddProfileWizard::kBackButton);
        click(AddProfileWizard::kBackButton);
        click(AddProfileWizard::kBackButton);
        click(AddProfileWizard::kNotifyBox);
        QVERIFY(w(AddProfileWizard::kMailSettingsButton)->isHidden());
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->pageCounter(), 3);
        QVERIFY(m_wizard->plainImportMark());
        // E (plain) to C hides the list.
        click(AddProfileWizard::kBackButton);
        QVERIFY(!m_wizard->plainImportMark());
        QCOMPARE(shown(), QStringList({AddProfileWizard::kPathLabel, AddProfileWizard::kPathEdit,
                                       AddProfileWizard::kBrowseButton}));
        // E (csv) to C leaves the list in view.
        click(AddProfileWizard::kBackButton);
        click(AddProfileWizard::kCsvFileRadio);
        click(AddProfileWizard::kNextButton);
        typeInto(AddProfileWizard::kPathEdit, csv);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(headings(), QStringList({"links", "Mail"}));
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->pageCounter(), 2);
        QCOMPARE(shown(),
                 QStringList({AddProfileWizard::kPagesTable, AddProfileWizard::kPathLabel,
                              AddProfileWizard::kPathEdit, AddProfileWizard::kBrowseButton}));
        // Cancel on the address page.
        click(AddProfileWizard::kBackButton);
        click(AddProfileWizard::kBackButton);
        QCOMPARE(caption(AddProfileWizard::kBackButton), QString("Cancel"));
        click(AddProfileWizard::kBackButton);
        QCOMPARE(m_wizard->result(), int(QDialog::Rejected));
        QVERIFY(!tarnwick::test::exists(f().profilesFolderNoSlash()));
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
    }

    // The second address with the same base name: profile "(2)", shown as
    // "www." + its name at the end of the pane.
    void secondAddressGetsANumberedProfile() {
        const QString list = writeFile("pages.txt", "a.net\n");
        m_panes.insertProfileRow(0, "www.other.org");
        tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), "other.org"), "other.org",
                                 {{"x", ""}}, false);
        for (const char* address : {"example.com", "shop.example.com/links"}) {
            open();
            toFilePage(address, AddProfileWizard::kTextFileRadio, false);
            typeInto(AddProfileWizard::kPathEdit, list);
            click(AddProfileWizard::kNextButton);
            click(AddProfileWizard::kNextButton);
            QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        }
        QCOMPARE(m_panes.texts(),
                 QStringList({"www.other.org", "example.com", "www.example.com (2)"}));
        QVERIFY(m_panes.isProfileTicked(2));
        QCOMPARE(
            readBytes(f().stIndexPath()),
            std::string(
                "other.org**other.org||\r\nexample.com**example.com||shop.example.com/links||"));
        QCOMPARE(profile("example.com (2)"),
                 std::string("Link: shop.example.com/links\r\nhttp://a.net||| |||0|||"));
    }

    void addressAddedBefore_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("append")
            << OverwriteOrAppendQuestion::kAppendButton
            << QByteArray("Link: example.com\r\nold.net||| |||0|||\r\nhttp://new.net|||m|||0|||");
        QTest::newRow("overwrite") << OverwriteOrAppendQuestion::kOverwriteButton
                                   << QByteArray("Link: example.com\r\nhttp://new.net|||m|||0|||");
        QTest::newRow("cancel") << OverwriteOrAppendQuestion::kCancelButton
                                << QByteArray("Link: example.com\r\nold.net||| |||0|||");
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
        tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), "example.com"), "example.com",
                                 {{"old.net", ""}}, false);
        m_panes.loadProfiles();
        const std::string index = readBytes(f().indexPath());
        const std::string stindex = readBytes(f().stIndexPath());
        const QString list = writeFile("pages.csv", "new.net,m\n");
        open();
        toFilePage("example.com", AddProfileWizard::kCsvFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        QString question;
        tarnwick::test::whenModal<tarnwick::OverwriteOrAppendQuestion>(
            [&](tarnwick::OverwriteOrAppendQuestion* dialog) {
                question = dialog->windowTitle() + "|" + dialog->findChild<QLabel*>()->text();
                if (button == QLatin1String("Enter")) {
                    QTest::keyClick(dialog, Qt::Key_Return);
                } else {
                    dialog->findChild<QPushButton*>(button)->click();
                }
            });
        const int rebuilds = m_panes.m_rebuilds;
        click(AddProfileWizard::kNextButton);
        QCOMPARE(question, QString("Overwrite/Append|") + texts::kAppendQuestion);
        QCOMPARE(profile("example.com"), expected.toStdString());
        QCOMPARE(readBytes(f().indexPath()), index);
        QCOMPARE(readBytes(f().stIndexPath()), stindex);
        if (button == OverwriteOrAppendQuestion::kCancelButton) {
            QCOMPARE(m_wizard->result(), 0);
            QVERIFY(m_wizard->isVisible());
            QCOMPARE(caption(AddProfileWizard::kNextButton), QString("Save and Finish"));
            QCOMPARE(m_wizard->listModel().rowCount(), 1);
            QCOMPARE(m_panes.m_rebuilds, rebuilds);
        } else {
            QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
            QCOMPARE(m_panes.m_rebuilds, rebuilds + 1);
            QCOMPARE(m_panes.profileRowCount(), 1);
        }
    }

    // The profile was deleted while its address stayed in the site index:
    // Append creates the file again and the pane shows it.
    void appendOnAVanishedProfileCreatesIt() {
        for (const char* address : {"example.com", "other.org"}) {
            tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), address), address, {{"x", ""}},
                                     false);
        }
        tarnwick::ProfileList(f()).remove({0});
        m_panes.loadProfiles();
        const QString list = writeFile("pages.txt", "new.net\n");
        open();
        toFilePage("example.com", AddProfileWizard::kTextFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        tarnwick::test::pressWhenModal<tarnwick::OverwriteOrAppendQuestion>(
            OverwriteOrAppendQuestion::kAppendButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(profile("example.com"),
                 std::string("Link: example.com\r\nhttp://new.net||| |||0|||"));
        QCOMPARE(m_panes.texts(), QStringList({"www.other.org", "www.example.com"}));
        QVERIFY(m_panes.isProfileTicked(1));
    }

    // A profile's address was changed onto c.com; adding c.com then offers
    // Append/Overwrite on that profile instead of listing it twice.
    void newAddressOntoAnExistingProfileAsksAppendOrOverwrite() {
        tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), "a.com"), "a.com", {{"x", ""}},
                                 false);
        tarnwick::ProfileFile(f()).changeAddress("www.a.com", "c.com");
        m_panes.loadProfiles();
        const QString list = writeFile("pages.txt", "new.net\n");
        open();
        toFilePage("c.com", AddProfileWizard::kTextFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        tarnwick::test::pressWhenModal<tarnwick::OverwriteOrAppendQuestion>(
            OverwriteOrAppendQuestion::kAppendButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_wizard->result(), int(QDialog::Accepted));
        QCOMPARE(profile("c.com"),
                 std::string("Link: c.com\r\nx||| |||0|||\r\nhttp://new.net||| |||0|||"));
        QCOMPARE(readBytes(f().indexPath()), f().profilesFolder() + "c.com.txt");
        QCOMPARE(m_panes.texts(), QStringList({"www.c.com"}));
    }

    // stindex.txt gone while index.txt lists profiles: the new row goes where
    // its index line goes, not to the top.
    void missingSiteIndexPutsTheRowWhereItsLineIs() {
        tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), "a.com"), "a.com", {{"x", ""}},
                                 false);
        m_panes.loadProfiles();
        QFile::remove(QString::fromStdString(f().stIndexPath()));
        const QString list = writeFile("pages.txt", "new.net\n");
        open();
        toFilePage("b.com", AddProfileWizard::kTextFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(m_panes.texts(), QStringList({"www.a.com", "b.com"}));
    }

    void storeFailureIsShownAndTheWizardStays() {
        const QString list = writeFile("pages.txt", "new.net\n");
        // A file where the Profiles folder should be.
        tarnwick::test::writeBytes(f().profilesFolderNoSlash(), "x");
        open();
        toFilePage("b.com", AddProfileWizard::kTextFileRadio, false);
        typeInto(AddProfileWizard::kPathEdit, list);
        click(AddProfileWizard::kNextButton);
        click(AddProfileWizard::kNextButton);
        QCOMPARE(AppMessageBox::shownTexts().size(), 1);
        QVERIFY(AppMessageBox::lastText().contains("Profiles"));
        QCOMPARE(m_wizard->result(), 0);
        QCOMPARE(m_panes.profileRowCount(), 0);
    }

    void mailSettingsAndBrowseButtons() {
        int opened = 0;
        tarnwick::setMailSettingsOpener([&](QWidget* parent) {
            QCOMPARE(parent, m_wizard.get());
            ++opened;
        });
        open();
        toFilePage("example.com", AddProfileWizard::kCsvFileRadio, true);
        click(AddProfileWizard::kMailSettingsButton);
        QCOMPARE(opened, 1);
        // Without a stand-in the real mail settings dialog opens over the wizard.
        tarnwick::setMailSettingsOpener(nullptr);
        QWidget* mailParent = nullptr;
        tarnwick::test::whenModal<tarnwick::MailSettingsDialog>(
            [&](tarnwick::MailSettingsDialog* dialog) {
                mailParent = dialog->parentWidget();
                dialog->reject();
            });
        click(AddProfileWizard::kMailSettingsButton);
        QCOMPARE(mailParent, m_wizard.get());
        tarnwick::FileDialog::presetNextPath("/data/list.csv");
        click(AddProfileWizard::kBrowseButton);
        QCOMPARE(static_cast<QLineEdit*>(w(AddProfileWizard::kPathEdit))->text(),
                 QString("/data/list.csv"));
        QVERIFY(tarnwick::FileDialog::lastWasOpen());
        QCOMPARE(tarnwick::FileDialog::lastFilter(), QString("CSV Files(*.csv)"));
        QCOMPARE(tarnwick::FileDialog::lastInitialFile(), QString("*.csv "));
        QCOMPARE(tarnwick::FileDialog::lastInitialFolder(),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        tarnwick::FileDialog::presetCancel();
        click(AddProfileWizard::kBrowseButton);
        QCOMPARE(static_cast<QLineEdit*>(w(AddProfileWizard::kPathEdit))->text(),
                 QString("/data/list.csv"));

        const auto txt = tarnwick::importDialogSettingsFor("txt");
        QCOMPARE(txt.m_filter, QString("Text Files(*.txt)"));
        QCOMPARE(txt.m_initialFile, QString("*.txt "));
        QCOMPARE(txt.m_folder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        const auto csv = tarnwick::importDialogSettingsFor("csv");
        QCOMPARE(csv.m_filter, QString("CSV Files(*.csv)"));
        QCOMPARE(csv.m_initialFile, QString("*.csv "));
    }

    // The Add command: modal wizard, success message and flags.
    void addCommandShowsSuccessAndEnablesPlay() {
        const QString list = writeFile("pages.txt", "a.net\n");
        m_runState.setProfilesToPlay(false);
        tarnwick::test::whenModal<AddProfileWizard>([&](AddProfileWizard* dialog) {
            auto button = [dialog](const char* id) {
                return dialog->findChild<QAbstractButton*>(QString::fromLatin1(id));
            };
            dialog->findChild<QLineEdit*>(AddProfileWizard::kAdvertiserEdit)
                ->setText("example.com");
            button(AddProfileWizard::kNextButton)->click();
            QCOMPARE(dialog->pageCounter(), 1);
            button(AddProfileWizard::kTextFileRadio)->click();
            button(AddProfileWizard::kNextButton)->click();
            dialog->findChild<QLineEdit*>(AddProfileWizard::kPathEdit)->setText(list);
            button(AddProfileWizard::kNextButton)->click();
            button(AddProfileWizard::kNextButton)->click();
        });
        tarnwick::runAddCommand(nullptr, m_panes, m_runState);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kAdded}));
        QVERIFY(m_runState.isPlayEnabled());
        QVERIFY(!m_runState.isStopEnabled());
        QCOMPARE(m_panes.texts(), QStringList({"example.com"}));
    }

    void addCommandCancelledOrRefused() {
        m_runState.setProfilesToPlay(false);
        tarnwick::test::pressWhenModal<AddProfileWizard>(AddProfileWizard::kBackButton);
        tarnwick::runAddCommand(nullptr, m_panes, m_runState);
        QVERIFY(AppMessageBox::shownTexts().isEmpty());
        QVERIFY(!m_runState.isPlayEnabled());

        m_runState.setRunning(true);
        tarnwick::runAddCommand(nullptr, m_panes, m_runState);
        m_runState.setRunning(false);
        QCOMPARE(AppMessageBox::shownTexts(), QStringList({texts::kAddWhileRunning}));
    }
};

QTEST_MAIN(AddWizardTest)
#include "AddWizardTest.moc"
