// The editable list with its two in-place editors, driven by mouse and keys.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "gui/controls/InPlaceCombo.h"
#include "gui/controls/InPlaceEdit.h"
#include "gui/controls/PageTable.h"

using tarnwick::PageTable;

class ComboListCtrlTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    PageTable* m_list = nullptr;

    // A window with the list: three columns of 100 pixels, rows "rK cC".
    void make(int rows = 5, QSize size = QSize(420, 300)) {
        m_window = std::make_unique<QWidget>();
        m_window->resize(size);
        auto* layout = new QVBoxLayout(m_window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_list = new PageTable(m_window.get());
        layout->addWidget(m_list);
        for (int c = 0; c < 3; ++c) {
            m_list->insertColumn(c, QString("Col %1").arg(c), 100);
        }
        for (int r = 0; r < rows; ++r) {
            m_list->insertItem(r, QString("r%1 c0").arg(r));
            m_list->setItemText(r, 1, QString("r%1 c1").arg(r));
            m_list->setItemText(r, 2, QString("r%1 c2").arg(r));
        }
        connect(m_list, &PageTable::getDropDownItems, m_list, [](int column, QStringList* items) {
            if (column == 2) {
                *items = {"Enabled", "Disabled"};
            }
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    QPoint centre(int row, int column) const {
        return m_list->visualRect(m_list->model()->index(row, column)).center();
    }
    void clickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, modifiers, centre(row, column));
    }
    QLineEdit* lineEditor() const { return qobject_cast<QLineEdit*>(m_list->currentEditor()); }
    QComboBox* comboEditor() const { return qobject_cast<QComboBox*>(m_list->currentEditor()); }

private slots:
    void cleanup() {
        m_window.reset();
        m_list = nullptr;
    }

    void enterCommitsTheTypedText() {
        make();
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        clickCell(1, 1);
        QLineEdit* edit = lineEditor();
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), QString("r1 c1"));
        QCOMPARE(edit->selectedText(), QString("r1 c1"));
        // Laid exactly over the cell.
        QCOMPARE(edit->geometry().left(), m_list->columnViewportPosition(1));
        QCOMPARE(edit->geometry().width(), 100);
        QCOMPARE(edit->geometry().top(), m_list->rowViewportPosition(1));
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, "new text");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_list->getItemText(1, 1), QString("new text"));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0), QVariantList({1, 1, QString("new text")}));
        QTRY_VERIFY(m_list->currentEditor() == nullptr);
        QVERIFY(m_list->hasFocus());
    }

    void escapeRestoresTheTextAndStillReports() {
        make();
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        clickCell(2, 0);
        QTest::keyClicks(lineEditor(), "changed");
        QTest::keyClick(lineEditor(), Qt::Key_Escape);
        QCOMPARE(m_list->getItemText(2, 0), QString("r2 c0"));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0), QVariantList({2, 0, QString("r2 c0")}));
        QVERIFY(m_window->isVisible());
    }

    void clickElsewhereCommitsAndLosingFocusCommits() {
        make();
        clickCell(0, 0);
        QTest::keyClicks(lineEditor(), "a");
        clickCell(3, 1);
        QCOMPARE(m_list->getItemText(0, 0), QString("a"));
        QVERIFY(lineEditor() != nullptr);
        QCOMPARE(lineEditor()->text(), QString("r3 c1"));
        QTest::keyClicks(lineEditor(), "b");
        auto* other = new QLineEdit(m_window.get());
        other->show();
        other->setFocus();
        QTRY_COMPARE(m_list->getItemText(3, 1), QString("b"));
    }

    void dropDownColumn() {
        make();
        m_list->setDropDownColumn(2, true);
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        m_list->setItemText(0, 2, "disab");
        clickCell(0, 2);
        QComboBox* combo = comboEditor();
        QVERIFY(combo != nullptr);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QString("Enabled"));
        // The first item that begins with the cell's text, ignoring case.
        QCOMPARE(combo->currentText(), QString("Disabled"));
        QCOMPARE(combo->maxVisibleItems(), 12);
        // Assistive tools name it by its column.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(combo);
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->text(QAccessible::Description), QString("Col 2"));
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Up);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_COMPARE(m_list->getItemText(0, 2), QString("Enabled"));
        QTRY_VERIFY(m_list->currentEditor() == nullptr);
        QCOMPARE(edited.size(), 1);

        // Escape on an empty cell writes the empty text back.
        m_list->setItemText(1, 2, "");
        clickCell(1, 2);
        comboEditor()->setCurrentIndex(1);
        QTest::keyClick(comboEditor(), Qt::Key_Escape);
        QCOMPARE(m_list->getItemText(1, 2), QString(""));
        QCOMPARE(edited.size(), 2);

        // A text that matches no item: no selection; closing the list writes "".
        m_list->setItemText(2, 2, "maybe");
        clickCell(2, 2);
        QCOMPARE(comboEditor()->currentIndex(), -1);
        comboEditor()->showPopup();
        comboEditor()->hidePopup();
        QTRY_COMPARE(m_list->getItemText(2, 2), QString(""));
        QCOMPARE(edited.size(), 3);

        // Other columns still edit as text.
        clickCell(2, 1);
        QVERIFY(lineEditor() != nullptr);
    }

    void readOnlyColumnGetsNoEditor() {
        make();
        m_list->setReadOnlyColumn(1, true);
        clickCell(2, 1);
        QVERIFY(m_list->currentEditor() == nullptr);
        QCOMPARE(m_list->getSelectedRows(), QList<int>({2}));
        m_list->setReadOnlyColumn(1, false);
        clickCell(2, 1);
        QVERIFY(lineEditor() != nullptr);
    }

    void shiftAndCtrlClickSelectWithoutEditor() {
        make();
        clickCell(0, 0);
        QTest::keyClick(lineEditor(), Qt::Key_Escape);
        clickCell(3, 1, Qt::ShiftModifier);
        QVERIFY(m_list->currentEditor() == nullptr);
        QCOMPARE(m_list->getSelectedRows(), QList<int>({0, 1, 2, 3}));
        clickCell(1, 0, Qt::ControlModifier);
        QVERIFY(m_list->currentEditor() == nullptr);
        QCOMPARE(m_list->getSelectedRows(), QList<int>({0, 2, 3}));
    }

    void clickOutsideEveryCellDoesNothing() {
        make();
        clickCell(1, 0);
        QTest::keyClick(lineEditor(), Qt::Key_Escape);
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        const int below = m_list->rowViewportPosition(4) + m_list->rowHeight(4) + 20;
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(50, below));
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(350, centre(3, 0).y()));
        QCOMPARE(m_list->getSelectedRows(), QList<int>({1}));
        QVERIFY(m_list->currentEditor() == nullptr);
        QCOMPARE(edited.size(), 0);
    }

    void validCharactersFilterTypingAndPaste() {
        make();
        m_list->setValidCharacters("0123456789");
        clickCell(0, 1);
        QLineEdit* edit = lineEditor();
        edit->clear();
        QTest::keyClicks(edit, "a1b2");
        QCOMPARE(edit->text(), QString("12"));
        QApplication::clipboard()->setText("3x");
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), QString("12"));
        QApplication::clipboard()->setText("34");
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), QString("1234"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_list->getItemText(0, 1), QString("123"));
    }

    void scrollingCommitsAnOpenEdit() {
        make(100);
        clickCell(0, 0);
        QTest::keyClicks(lineEditor(), "scrolled");
        m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(m_list->getItemText(0, 0), QString("scrolled"));
        QTRY_VERIFY(m_list->currentEditor() == nullptr);
    }

    // A partly hidden column scrolls to the client's left edge; one sticking
    // out on the right scrolls just enough to show its right edge.
    void clickedColumnScrollsIntoView() {
        make(5, QSize(180, 300));
        QScrollBar* bar = m_list->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        const int clientWidth = m_list->viewport()->width();
        bar->setValue(40);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(30, centre(1, 0).y()));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(lineEditor()->geometry().left(), 0);
        QTest::keyClick(lineEditor(), Qt::Key_Escape);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                          QPoint(clientWidth - 5, centre(1, 0).y()));
        QCOMPARE(m_list->currentEditor()->geometry().right() + 1, clientWidth);
        QCOMPARE(bar->value(), 200 - clientWidth);
    }

    void hitTestGivesBordersToTheLeftColumn() {
        make();
        int row = -1;
        int column = -1;
        const int y = centre(2, 0).y();
        QVERIFY(m_list->hitTestCell(QPoint(100, y), row, column));
        QCOMPARE(row, 2);
        QCOMPARE(column, 0);
        QVERIFY(m_list->hitTestCell(QPoint(101, y), row, column));
        QCOMPARE(column, 1);
        QVERIFY(!m_list->hitTestCell(QPoint(301, y), row, column));
        QVERIFY(!m_list->hitTestCell(QPoint(10, 290), row, column));
    }

    void settingsAndRoom() {
        make();
        m_list->setDropDownColumn(1, true);
        m_list->setDropDownColumn(1, true);
        m_list->setDropDownColumn(1, false);
        QVERIFY(!m_list->isDropDownColumn(1));
        QCOMPARE(PageTable::dropDownRoomRows(2), 12);
        QCOMPARE(PageTable::dropDownRoomRows(9), 19);
        QCOMPARE(PageTable::dropDownRoomRows(10), 11);
        QCOMPARE(PageTable::dropDownRoomRows(40), 11);
        // Without label editing no editor opens.
        m_list->setEditLabels(false);
        clickCell(0, 0);
        QVERIFY(m_list->currentEditor() == nullptr);
        // F2 edits the current cell from the keyboard.
        m_list->setEditLabels(true);
        QTest::keyClick(m_list, Qt::Key_F2);
        QVERIFY(lineEditor() != nullptr);
        QCOMPARE(lineEditor()->accessibleName(), QString("Col 0"));
    }

    // Closing the window ends an open edit like any loss of focus; deleting
    // the list itself drops the edit. Neither touches freed memory.
    void closingWithAnOpenEditor() {
        make();
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        clickCell(0, 0);
        QTest::keyClicks(lineEditor(), "closing");
        m_window->close();
        QCOMPARE(m_list->getItemText(0, 0), QString("closing"));
        QCOMPARE(edited.size(), 1);
        m_window.reset();

        make();
        QSignalSpy dropped(m_list, &PageTable::cellEdited);
        clickCell(1, 2);
        delete m_list;
        m_list = nullptr;
        QCOMPARE(dropped.size(), 0);
        QTest::qWait(10);
    }
};

QTEST_MAIN(ComboListCtrlTest)
#include "ComboListCtrlTest.moc"
