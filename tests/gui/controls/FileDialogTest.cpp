// The program's file dialog: its test seam, and the restrictions on Qt's real
// file dialog under the offscreen platform (no rename, delete, cut, paste,
// drag, context menu or new folder), its filters and default extensions.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <functional>

#include "gui/controls/FileDialog.h"

using tarnwick::FileDialog;

namespace {

// Runs checks on the real file dialog once it is up, then closes it unless
// the checks did (a failed check returns early and must not leave it open).
void withDialog(const std::function<void(QFileDialog*)>& checks) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, checks] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        checks(dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    timer->start();
}

void makeFile(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

// The model index of a file as the dialog lists it (invalid while the folder
// is still loading or when the filter hides the file).
QModelIndex listed(QFileDialog* dialog, const QString& path) {
    auto* model = dialog->findChild<QFileSystemModel*>();
    if (model == nullptr) {
        return {};
    }
    const QModelIndex folder = model->index(QFileInfo(path).absolutePath());
    for (int row = 0; row < model->rowCount(folder); ++row) {
        const QModelIndex item = model->index(row, 0, folder);
        if (model->filePath(item) == path) {
            return item;
        }
    }
    return {};
}

// Whether an in-place name editor is up in a view.
bool editorOpen(QAbstractItemView* view) {
    for (QLineEdit* edit : view->viewport()->findChildren<QLineEdit*>()) {
        if (edit->isVisible()) {
            return true;
        }
    }
    return false;
}

}  // namespace

class FileDialogTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_root;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path();
        makeFile(m_root + "/a.txt");
        makeFile(m_root + "/b.html");
        makeFile(m_root + "/noext");
        QVERIFY(QDir(m_root).mkdir("sub"));
        makeFile(m_root + "/sub/c.txt");
    }
    void cleanup() { FileDialog::clearPresets(); }

    void defaultExtensionIsKeptWithoutDotsAndAtMostThreeCharacters_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("kept");
        QTest::newRow("leading dot") << ".txt"
                                     << "txt";
        QTest::newRow("four letters") << "html"
                                      << "htm";
        QTest::newRow("dots inside") << "..c.s.v"
                                     << "csv";
        QTest::newRow("one letter") << ".a"
                                    << "a";
        QTest::newRow("none") << ""
                              << "";
    }
    void defaultExtensionIsKeptWithoutDotsAndAtMostThreeCharacters() {
        QFETCH(QString, given);
        QFETCH(QString, kept);
        FileDialog dialog(false, nullptr, QString(), QString(), QString(), given);
        QCOMPARE(dialog.defaultExtension(), kept);
    }

    void presetsAnswerInOrderWithoutAWindow() {
        FileDialog::presetNextPath("/tmp/x/Report.html");
        FileDialog::presetCancel();
        FileDialog first(false, nullptr, QString(), "Report.html", "HTML Files(*.html)");
        QVERIFY(first.runDialog());
        QCOMPARE(first.getChosenPath(), QString("/tmp/x/Report.html"));
        QVERIFY(!FileDialog::lastWasOpen());
        FileDialog second(true, nullptr, "/home", "*.csv ", "CSV Files(*.csv)");
        QVERIFY(!second.runDialog());
        QCOMPARE(second.getChosenPath(), QString());
        QVERIFY(FileDialog::lastWasOpen());
        QCOMPARE(FileDialog::lastFilter(), QString("CSV Files(*.csv)"));
        QCOMPARE(FileDialog::lastInitialFolder(), QString("/home"));
        QCOMPARE(FileDialog::lastInitialFile(), QString("*.csv "));
    }

    void realDialogIsQtsOwnAndCannotChangeTheFileSystem() {
        bool checked = false;
        withDialog([&](QFileDialog* dialog) {
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QVERIFY(dialog->testOption(QFileDialog::ReadOnly));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(m_root).canonicalPath());
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name != nullptr);
            QCOMPARE(name->text(), QString("Report.html"));

            auto* newFolder = dialog->findChild<QToolButton*>("newFolderButton");
            QVERIFY(newFolder != nullptr);
            QVERIFY(newFolder->isHidden());
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                QVERIFY2(!box->isVisible(), qPrintable(box->text()));
            }
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            QVERIFY(types != nullptr);
            QStringList shown;
            for (int i = 0; i < types->count(); ++i) {
                shown << types->itemText(i);
            }
            QCOMPARE(shown,
                     QStringList({"HTML Files(*.html)", "txt Files(*.txt)", "All Files(*.*)"}));

            auto* list = dialog->findChild<QListView*>("listView");
            auto* tree = dialog->findChild<QTreeView*>("treeView");
            QVERIFY(list != nullptr && tree != nullptr);
            QTRY_VERIFY(listed(dialog, m_root + "/b.html").isValid());
            const QModelIndex file = listed(dialog, m_root + "/b.html");
            QVERIFY(!(file.model()->flags(file) & Qt::ItemIsEditable));

            for (QAbstractItemView* view :
                 {static_cast<QAbstractItemView*>(list), static_cast<QAbstractItemView*>(tree)}) {
                QCOMPARE(view->contextMenuPolicy(), Qt::PreventContextMenu);
                QVERIFY(!view->dragEnabled());
                QVERIFY(!view->acceptDrops());
                QVERIFY(!view->viewport()->acceptDrops());
                QCOMPARE(view->dragDropMode(), QAbstractItemView::NoDragDrop);
                QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
            }
            QCOMPARE(tree->selectionBehavior(), QAbstractItemView::SelectRows);

            // Right-click: no menu.
            QSignalSpy menus(list, &QWidget::customContextMenuRequested);
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                         list->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(list->viewport(), &rightClick);
            QCOMPARE(menus.count(), 0);
            QVERIFY(QApplication::activePopupWidget() == nullptr);

            // Editing a selected name: no editor opens.
            list->setCurrentIndex(file);
            list->edit(file);
            QTest::keyClick(list, Qt::Key_F2);
            QVERIFY(!editorOpen(list));

            // Delete on the selected file: nothing happens, no question.
            QTest::keyClick(list, Qt::Key_Delete);
            QTest::keyClick(tree, Qt::Key_Delete);
            QVERIFY(QFile::exists(m_root + "/b.html"));
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            checked = true;
        });
        FileDialog chooser(false, nullptr, m_root, "Report.html",
                           "HTML Files(*.html);;txt Files(*.txt);;All Files(*.*)");
        QVERIFY(!chooser.runDialog());
        QVERIFY(checked);
    }

    void deleteCutAndPasteDoNothingInTheNameBox() {
        bool checked = false;
        withDialog([&](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name != nullptr);
            name->setFocus();
            name->setText("abcdef");
            name->setCursorPosition(0);
            QTest::keyClick(name, Qt::Key_Delete);
            QCOMPARE(name->text(), QString("abcdef"));
            QApplication::clipboard()->setText("ZZZ");
            name->selectAll();
            QTest::keyClick(name, Qt::Key_X, Qt::ControlModifier);
            QCOMPARE(name->text(), QString("abcdef"));
            QCOMPARE(QApplication::clipboard()->text(), QString("ZZZ"));
            name->setCursorPosition(6);
            QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(name->text(), QString("abcdef"));
            // Other keys still type.
            QTest::keyClick(name, Qt::Key_Backspace);
            QTest::keyClicks(name, "xv");
            QCOMPARE(name->text(), QString("abcdexv"));
            checked = true;
        });
        FileDialog chooser(false, nullptr, m_root, "Report.txt", "txt Files(*.txt)");
        QVERIFY(!chooser.runDialog());
        QVERIFY(checked);
    }

    void restrictionsHoldInAnotherFolder() {
        bool checked = false;
        withDialog([&](QFileDialog* dialog) {
            dialog->setDirectory(m_root + "/sub");
            QTRY_VERIFY(listed(dialog, m_root + "/sub/c.txt").isValid());
            auto* list = dialog->findChild<QListView*>("listView");
            const QModelIndex file = listed(dialog, m_root + "/sub/c.txt");
            list->setCurrentIndex(file);
            QTest::keyClick(list, Qt::Key_Delete);
            list->edit(file);
            QVERIFY(!editorOpen(list));
            QVERIFY(QFile::exists(m_root + "/sub/c.txt"));
            QCOMPARE(list->contextMenuPolicy(), Qt::PreventContextMenu);
            QVERIFY(!list->dragEnabled());
            QVERIFY(dialog->findChild<QToolButton*>("newFolderButton")->isHidden());
            checked = true;
        });
        FileDialog chooser(true, nullptr, m_root, QString(), "Text Files(*.txt)");
        QVERIFY(!chooser.runDialog());
        QVERIFY(checked);
    }

    void allFilesMeansEveryFile() {
        bool checked = false;
        withDialog([&](QFileDialog* dialog) {
            QTRY_VERIFY(listed(dialog, m_root + "/b.html").isValid());
            QVERIFY(!listed(dialog, m_root + "/noext").isValid());
            QVERIFY(!listed(dialog, m_root + "/a.txt").isValid());
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            QTRY_VERIFY(listed(dialog, m_root + "/noext").isValid());
            QVERIFY(listed(dialog, m_root + "/a.txt").isValid());
            checked = true;
        });
        FileDialog chooser(true, nullptr, m_root, QString(), "HTML Files(*.html);;All Files(*.*)");
        QVERIFY(!chooser.runDialog());
        QVERIFY(checked);
    }

    void aTypedNameWithoutExtensionGetsOne_data() {
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("defaultExt");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("html filter") << 0 << ""
                                     << "out"
                                     << "out.html";
        QTest::newRow("txt filter") << 1 << ""
                                    << "out"
                                    << "out.txt";
        QTest::newRow("all files") << 2 << ""
                                   << "out"
                                   << "out";
        QTest::newRow("own extension kept") << 0 << ""
                                            << "out.htm"
                                            << "out.htm";
        QTest::newRow("default extension") << 2 << ".csv"
                                           << "out"
                                           << "out.csv";
        QTest::newRow("existing file replaced without asking") << 1 << ""
                                                               << "a.txt"
                                                               << "a.txt";
    }
    void aTypedNameWithoutExtensionGetsOne() {
        QFETCH(int, filterIndex);
        QFETCH(QString, defaultExt);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        withDialog([&](QFileDialog* dialog) {
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            types->setCurrentIndex(filterIndex);
            emit types->activated(filterIndex);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            static_cast<QDialog*>(dialog)->accept();
        });
        FileDialog chooser(false, nullptr, m_root, "Report.html",
                           "HTML Files(*.html);;txt Files(*.txt);;All Files(*.*)", defaultExt);
        QVERIFY(chooser.runDialog());
        QCOMPARE(chooser.getChosenPath(), m_root + "/" + chosen);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void openDialogWithAWildcardNameChoosesAnExistingFile() {
        bool refusedMissing = false;
        withDialog([&](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QCOMPARE(name->text(), QString());
            name->setText("missing.txt");
            // Qt's dialog says the file is missing; close that box.
            QTimer::singleShot(0, qApp, [dialog] {
                if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    box != nullptr && box != dialog) {
                    box->reject();
                }
            });
            static_cast<QDialog*>(dialog)->accept();
            refusedMissing = dialog->isVisible();
            name->setText("a.txt");
            static_cast<QDialog*>(dialog)->accept();
        });
        FileDialog chooser(true, nullptr, m_root, "*.txt ", "Text Files(*.txt)");
        QVERIFY(chooser.runDialog());
        QVERIFY(refusedMissing);
        QCOMPARE(chooser.getChosenPath(), m_root + "/a.txt");
    }

    void withoutAnInitialFolderTheLastFolderIsUsed() {
        withDialog([&](QFileDialog* dialog) {
            dialog->setDirectory(m_root + "/sub");
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("c.txt");
            static_cast<QDialog*>(dialog)->accept();
        });
        FileDialog first(true, nullptr, m_root, QString(), "Text Files(*.txt)");
        QVERIFY(first.runDialog());
        QCOMPARE(first.getChosenPath(), m_root + "/sub/c.txt");

        QString startedIn;
        withDialog([&](QFileDialog* dialog) { startedIn = dialog->directory().absolutePath(); });
        FileDialog second(false, nullptr, QString(), "Report.txt", "txt Files(*.txt)");
        QVERIFY(!second.runDialog());
        QCOMPARE(startedIn, m_root + "/sub");
    }
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
