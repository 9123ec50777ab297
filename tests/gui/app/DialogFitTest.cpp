// Every dialog, in each of its states, at large fonts: no label or button is
// narrower or lower than its text asks, none reaches out of its window, and no
// two of them lie on top of each other. This is what a user with a 12 or 16
// point desktop font (or a scaled screen) sees of the dialogs' layouts.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <functional>
#include <memory>

#include "editing/ProfileSaver.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/PageDetailsDialog.h"
#include "gui/app/PreferencesDialog.h"
#include "gui/controls/AppMessageBox.h"
#include "gui/editing/AddProfileWizard.h"
#include "gui/editing/DeleteProfilesQuestion.h"
#include "gui/editing/EditProfileDialog.h"
#include "gui/editing/OverwriteOrAppendQuestion.h"
#include "gui/editing/PaneTable.h"
#include "gui/mail/MailSettingsDialog.h"
#include "gui/report/ConfirmExitDialog.h"
#include "gui/report/ReportFormatDialog.h"
#include "gui/report/SaveReportQuestion.h"
#include "support/TempDataFolder.h"

using tarnwick::AppMessageBox;

namespace {

QString describe(const QWidget* w) {
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    const auto* label = qobject_cast<const QLabel*>(w);
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(w->metaObject()->className()), button != nullptr  ? button->text()
                                                                : label != nullptr ? label->text()
                                                                                   : QString());
}

// The labels and buttons of the dialog that show a text now.
QList<QWidget*> shownTexts(QWidget* dialog) {
    QList<QWidget*> texts;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible()) {
            continue;
        }
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        if ((label != nullptr && !label->text().isEmpty()) ||
            (button != nullptr && !button->text().isEmpty())) {
            texts << w;
        }
    }
    return texts;
}

QRect inDialog(const QWidget* w, const QWidget* dialog) {
    return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

}  // namespace

class DialogFitTest : public QObject {
    Q_OBJECT

    QFont m_savedFont;
    std::unique_ptr<tarnwick::test::TempDataFolder> m_temp;
    tarnwick::test::PaneTable m_panes;

    const tarnwick::DataFolder& f() const { return m_temp->folder(); }

    static void addFonts() {
        QTest::addColumn<int>("points");
        for (const int points : {9, 12, 16}) {
            QTest::addRow("%d pt", points) << points;
        }
    }

    // Shows the dialog at the row's font, lets `drive` bring it into each of
    // its states (calling `check` in each) and checks the texts there.
    template <typename D>
    void checkStates(
        const std::function<std::unique_ptr<D>()>& make,
        const std::function<void(D&, const std::function<void(const char*)>&)>& drive) {
        QFETCH(int, points);
        QFont font = m_savedFont;
        font.setPointSize(points);
        QApplication::setFont(font);
        std::unique_ptr<D> dialog = make();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        drive(*dialog, [&](const char* state) { verifyTextsFit(dialog.get(), state); });
        dialog->hide();
    }

    static void verifyTextsFit(QWidget* dialog, const char* state) {
        QApplication::processEvents();
        const QList<QWidget*> texts = shownTexts(dialog);
        QVERIFY2(!texts.isEmpty(), state);
        for (QWidget* w : texts) {
            const QString where = QStringLiteral("%1, %2: %3 is %4x%5")
                                      .arg(QString::fromLatin1(state), describe(w))
                                      .arg(w->width())
                                      .arg(w->height())
                                      .arg(QStringLiteral("%1x%2")
                                               .arg(w->sizeHint().width())
                                               .arg(w->sizeHint().height()));
            const QByteArray message = where.toUtf8();
            const auto* label = qobject_cast<QLabel*>(w);
            if (label != nullptr && label->wordWrap()) {
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         message.constData());
            } else {
                QVERIFY2(w->sizeHint().width() <= w->width(), message.constData());
                QVERIFY2(w->sizeHint().height() <= w->height(), message.constData());
            }
            // Nothing cut by a frame or the window's edge.
            for (const QWidget* inner = w; inner != dialog; inner = inner->parentWidget()) {
                QVERIFY2(inner->parentWidget()->rect().contains(inner->geometry()),
                         message.constData());
            }
        }
        for (int i = 0; i < texts.size(); ++i) {
            for (int j = i + 1; j < texts.size(); ++j) {
                const QByteArray message =
                    QStringLiteral("%1: %2 on %3")
                        .arg(QString::fromLatin1(state), describe(texts[i]), describe(texts[j]))
                        .toUtf8();
                QVERIFY2(!inDialog(texts[i], dialog).intersects(inDialog(texts[j], dialog)),
                         message.constData());
            }
        }
    }

    template <typename T = QWidget>
    static T* w(QWidget& dialog, const char* id) {
        T* w = dialog.findChild<T*>(QString::fromLatin1(id));
        if (w == nullptr) {
            qFatal("no control %s", id);
        }
        return w;
    }

private slots:
    void initTestCase() { m_savedFont = QApplication::font(); }
    void init() {
        m_temp = std::make_unique<tarnwick::test::TempDataFolder>();
        AppMessageBox::setTestMode(true);
        AppMessageBox::clearShown();
    }
    void cleanup() {
        QApplication::setFont(m_savedFont);
        AppMessageBox::setTestMode(false);
        m_temp.reset();
    }

    void deleteQuestion_data() { addFonts(); }
    void deleteQuestion() {
        checkStates<tarnwick::DeleteProfilesQuestion>(
            [] { return std::make_unique<tarnwick::DeleteProfilesQuestion>(); },
            [](tarnwick::DeleteProfilesQuestion&, const auto& check) { check("alone"); });
        checkStates<tarnwick::DeleteProfilesQuestion>(
            [] {
                return std::make_unique<tarnwick::DeleteProfilesQuestion>(
                    std::vector<tarnwick::ProfileRemoval>{
                        {"www.example.com", 3, ""},
                        {"www.a-rather-long-partner-name.example", 1, ""}});
            },
            [](tarnwick::DeleteProfilesQuestion&, const auto& check) { check("with the list"); });
    }

    void appendQuestion_data() { addFonts(); }
    void appendQuestion() {
        checkStates<tarnwick::OverwriteOrAppendQuestion>(
            [] { return std::make_unique<tarnwick::OverwriteOrAppendQuestion>(); },
            [](tarnwick::OverwriteOrAppendQuestion&, const auto& check) {
                check("Overwrite/Append");
            });
    }

    // Every page of the wizard, the mail settings button and the separator
    // hint included.
    void addWizard_data() { addFonts(); }
    void addWizard() {
        const std::string list = m_temp->root() + "/list.txt";
        tarnwick::test::writeBytes(list, "http://a.example/links.html;web@a.example\r\n");
        const auto make = [this] { return std::make_unique<tarnwick::AddProfileWizard>(m_panes); };
        checkStates<tarnwick::AddProfileWizard>(
            make, [&](tarnwick::AddProfileWizard& wizard, const auto& check) {
                check("address page");
                w<QLineEdit>(wizard, tarnwick::AddProfileWizard::kAdvertiserEdit)
                    ->setText(QStringLiteral("www.example.com"));
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNextButton)->click();
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNotifyBox)->click();
                QVERIFY(w(wizard, tarnwick::AddProfileWizard::kMailSettingsButton)->isVisible());
                check("file type page");
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kTextFileRadio)->click();
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNextButton)->click();
                w<QLineEdit>(wizard, tarnwick::AddProfileWizard::kPathEdit)
                    ->setText(QString::fromStdString(list));
                check("file page");
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNextButton)->click();
                QVERIFY(w(wizard, tarnwick::AddProfileWizard::kSeparatorHint)->isVisible());
                check("separator page");
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kSemicolonRadio)->click();
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNextButton)->click();
                QVERIFY(w(wizard, tarnwick::AddProfileWizard::kPagesTable)->isVisible());
                check("imported list");
                QCOMPARE(AppMessageBox::shownTexts(), QStringList());
            });
        checkStates<tarnwick::AddProfileWizard>(
            make, [&](tarnwick::AddProfileWizard& wizard, const auto& check) {
                w<QLineEdit>(wizard, tarnwick::AddProfileWizard::kAdvertiserEdit)
                    ->setText(QStringLiteral("www.example.com"));
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNextButton)->click();
                w<QAbstractButton>(wizard, "TypedChoice")->click();
                w<QAbstractButton>(wizard, tarnwick::AddProfileWizard::kNextButton)->click();
                QVERIFY(w(wizard, "TypedPages")->isVisible());
                check("typed pages");
            });
    }

    void editProfile_data() { addFonts(); }
    void editProfile() {
        tarnwick::saveNewProfile(f(), tarnwick::planSave(f(), "www.example.com"), "www.example.com",
                                 {{"http://p.example/links.html", "w@p.example"}}, true);
        m_panes.loadProfiles();
        checkStates<tarnwick::EditProfileDialog>(
            [this] { return std::make_unique<tarnwick::EditProfileDialog>(m_panes); },
            [](tarnwick::EditProfileDialog& dialog, const auto& check) {
                auto* profiles = w<QTableView>(dialog, tarnwick::EditProfileDialog::kProfilesTable);
                QTest::mouseClick(profiles->viewport(), Qt::LeftButton, {},
                                  profiles->visualRect(profiles->model()->index(0, 0)).center());
                check("profiles page");
                w<QAbstractButton>(dialog, tarnwick::EditProfileDialog::kNextButton)->click();
                QCOMPARE(AppMessageBox::shownTexts().join(QLatin1Char('|')), QString());
                QCOMPARE(dialog.page(), 1);
                QVERIFY(w(dialog, tarnwick::EditProfileDialog::kMailSettingsButton)->isVisible());
                check("pages page");
            });
    }

    void mailSettings_data() { addFonts(); }
    void mailSettings() {
        checkStates<tarnwick::MailSettingsDialog>(
            [] { return std::make_unique<tarnwick::MailSettingsDialog>(); },
            [](tarnwick::MailSettingsDialog&, const auto& check) { check("Mail Settings"); });
    }

    void smallDialogs_data() { addFonts(); }
    void smallDialogs() {
        checkStates<tarnwick::ReportFormatDialog>(
            [] { return std::make_unique<tarnwick::ReportFormatDialog>(); },
            [](tarnwick::ReportFormatDialog&, const auto& check) { check("Save As.."); });
        checkStates<tarnwick::SaveReportQuestion>(
            [] { return std::make_unique<tarnwick::SaveReportQuestion>(nullptr); },
            [](tarnwick::SaveReportQuestion&, const auto& check) {
                check("save report before exit");
            });
        checkStates<tarnwick::ConfirmExitDialog>(
            [] { return std::make_unique<tarnwick::ConfirmExitDialog>(); },
            [](tarnwick::ConfirmExitDialog&, const auto& check) { check("exit"); });
        checkStates<tarnwick::PreferencesDialog>(
            [] { return std::make_unique<tarnwick::PreferencesDialog>(tarnwick::AppSettings()); },
            [](tarnwick::PreferencesDialog&, const auto& check) { check("Preferences"); });
        checkStates<tarnwick::AboutDialog>(
            [] { return std::make_unique<tarnwick::AboutDialog>(); },
            [](tarnwick::AboutDialog&, const auto& check) { check("About"); });
        tarnwick::ResultRow row;
        row.m_advertiser = "http://www.example.com";
        row.m_page = "http://p.example/links.html";
        row.m_result = tarnwick::LinkResult::Found;
        checkStates<tarnwick::PageDetailsDialog>(
            [&] { return std::make_unique<tarnwick::PageDetailsDialog>(row); },
            [](tarnwick::PageDetailsDialog&, const auto& check) { check("Page Details"); });
    }
};

QTEST_MAIN(DialogFitTest)
#include "DialogFitTest.moc"
