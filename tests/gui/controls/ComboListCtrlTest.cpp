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
    void Make(int rows = 5, QSize size = QSize(420, 300)) {
        m_window = std::make_unique<QWidget>();
        m_window->resize(size);
        auto* layout = new QVBoxLayout(m_window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_list = new PageTable(m_window.get());
        layout->addWidget(m_list);
        for (int c = 0; c < 3; ++c) {
            m_list->InsertColumn(c, QString("Col %1").arg(c), 100);
        }
        for (int r = 0; r < rows; ++r) {
            m_list->InsertItem(r, QString("r%1 c0").arg(r));
            m_list->SetItemText(r, 1, QString("r%1 c1").arg(r));
            m_list->SetItemText(r, 2, QString("r%1 c2").arg(r));
        }
        connect(m_list, &PageTable::getDropDownItems, m_list, [](int column, QStringList* items) {
            if (column == 2) {
                *items = {"Enabled", "Disabled"};
            }
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    QPoint Centre(int row, int column) const {
        return m_list->visualRect(m_list->model()->index(row, column)).center();
    }
    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, modifiers, Centre(row, column));
    }
    QLineEdit* Edit() const { return qobject_cast<QLineEdit*>(m_list->CurrentEditor()); }
    QComboBox* Combo() const { return qobject_cast<QComboBox*>(m_list->CurrentEditor()); }

private slots:
    void cleanup() {
        m_window.reset();
        m_list = nullptr;
    }

    void enterCommitsTheTypedText() {
        Make();
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        ClickCell(1, 1);
        QLineEdit* edit = Edit();
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
        QCOMPARE(m_list->GetItemText(1, 1), QString("new text"));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0), QVariantList({1, 1, QString("new text")}));
        QTRY_VERIFY(m_list->CurrentEditor() == nullptr);
        QVERIFY(m_list->hasFocus());
    }

    void escapeRestoresTheTextAndStillReports() {
        Make();
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        ClickCell(2, 0);
        QTest::keyClicks(Edit(), "changed");
        QTest::keyClick(Edit(), Qt::Key_Escape);
        QCOMPARE(m_list->GetItemText(2, 0), QString("r2 c0"));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0), QVariantList({2, 0, QString("r2 c0")}));
        QVERIFY(m_window->isVisible());
    }

    void clickElsewhereCommitsAndLosingFocusCommits() {
        Make();
        ClickCell(0, 0);
        QTest::keyClicks(Edit(), "a");
        ClickCell(3, 1);
        QCOMPARE(m_list->GetItemText(0, 0), QString("a"));
        QVERIFY(Edit() != nullptr);
        QCOMPARE(Edit()->text(), QString("r3 c1"));
        QTest::keyClicks(Edit(), "b");
        auto* other = new QLineEdit(m_window.get());
        other->show();
        other->setFocus();
        QTRY_COMPARE(m_list->GetItemText(3, 1), QString("b"));
    }

    void dropDownColumn() {
        Make();
        m_list->SetDropDownColumn(2, true);
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        m_list->SetItemText(0, 2, "disab");
        ClickCell(0, 2);
        QComboBox* combo = Combo();
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
        QTRY_COMPARE(m_list->GetItemText(0, 2), QString("Enabled"));
        QTRY_VERIFY(m_list->CurrentEditor() == nullptr);
        QCOMPARE(edited.size(), 1);

        // Escape on an empty cell writes the empty text back.
        m_list->SetItemText(1, 2, "");
        ClickCell(1, 2);
        Combo()->setCurrentIndex(1);
        QTest::keyClick(Combo(), Qt::Key_Escape);
        QCOMPARE(m_list->GetItemText(1, 2), QString(""));
        QCOMPARE(edited.size(), 2);

        // A text that matches no item: no selection; closing the list writes "".
        m_list->SetItemText(2, 2, "maybe");
        ClickCell(2, 2);
        QCOMPARE(Combo()->currentIndex(), -1);
        Combo()->showPopup();
        Combo()->hidePopup();
        QTRY_COMPARE(m_list->GetItemText(2, 2), QString(""));
        QCOMPARE(edited.size(), 3);

        // Other columns still edit as text.
        ClickCell(2, 1);
        QVERIFY(Edit() != nullptr);
    }

    void readOnlyColumnGetsNoEditor() {
        Make();
        m_list->SetReadOnlyColumn(1, true);
        ClickCell(2, 1);
        QVERIFY(m_list->CurrentEditor() == nullptr);
        QCOMPARE(m_list->GetSelectedRows(), QList<int>({2}));
        m_list->SetReadOnlyColumn(1, false);
        ClickCell(2, 1);
        QVERIFY(Edit() != nullptr);
    }

    void shiftAndCtrlClickSelectWithoutEditor() {
        Make();
        ClickCell(0, 0);
        QTest::keyClick(Edit(), Qt::Key_Escape);
        ClickCell(3, 1, Qt::ShiftModifier);
        QVERIFY(m_list->CurrentEditor() == nullptr);
        QCOMPARE(m_list->GetSelectedRows(), QList<int>({0, 1, 2, 3}));
        ClickCell(1, 0, Qt::ControlModifier);
        QVERIFY(m_list->CurrentEditor() == nullptr);
        QCOMPARE(m_list->GetSelectedRows(), QList<int>({0, 2, 3}));
    }

    void clickOutsideEveryCellDoesNothing() {
        Make();
        ClickCell(1, 0);
        QTest::keyClick(Edit(), Qt::Key_Escape);
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        const int below = m_list->rowViewportPosition(4) + m_list->rowHeight(4) + 20;
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(50, below));
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(350, Centre(3, 0).y()));
        QCOMPARE(m_list->GetSelectedRows(), QList<int>({1}));
        QVERIFY(m_list->CurrentEditor() == nullptr);
        QCOMPARE(edited.size(), 0);
    }

    void validCharactersFilterTypingAndPaste() {
        Make();
        m_list->SetValidCharacters("0123456789");
        ClickCell(0, 1);
        QLineEdit* edit = Edit();
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
        QCOMPARE(m_list->GetItemText(0, 1), QString("123"));
    }

    void scrollingCommitsAnOpenEdit() {
        Make(100);
        ClickCell(0, 0);
        QTest::keyClicks(Edit(), "scrolled");
        m_list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(m_list->GetItemText(0, 0), QString("scrolled"));
        QTRY_VERIFY(m_list->CurrentEditor() == nullptr);
    }

    // A partly hidden column scrolls to the client's left edge; one sticking
    // out on the right scrolls just enough to show its right edge.
    void clickedColumnScrollsIntoView() {
        Make(5, QSize(180, 300));
        QScrollBar* bar = m_list->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        const int clientWidth = m_list->viewport()->width();
        bar->setValue(40);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(30, Centre(1, 0).y()));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(Edit()->geometry().left(), 0);
        QTest::keyClick(Edit(), Qt::Key_Escape);
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {},
                          QPoint(clientWidth - 5, Centre(1, 0).y()));
        QCOMPARE(m_list->CurrentEditor()->geometry().right() + 1, clientWidth);
        QCOMPARE(bar->value(), 200 - clientWidth);
    }

    void hitTestGivesBordersToTheLeftColumn() {
        Make();
        int row = -1;
        int column = -1;
        const int y = Centre(2, 0).y();
        QVERIFY(m_list->HitTestCell(QPoint(100, y), row, column));
        QCOMPARE(row, 2);
        QCOMPARE(column, 0);
        QVERIFY(m_list->HitTestCell(QPoint(101, y), row, column));
        QCOMPARE(column, 1);
        QVERIFY(!m_list->HitTestCell(QPoint(301, y), row, column));
        QVERIFY(!m_list->HitTestCell(QPoint(10, 290), row, column));
    }

    void settingsAndRoom() {
        Make();
        m_list->SetDropDownColumn(1, true);
        m_list->SetDropDownColumn(1, true);
        m_list->SetDropDownColumn(1, false);
        QVERIFY(!m_list->IsDropDownColumn(1));
        QCOMPARE(PageTable::DropDownRoomRows(2), 12);
        QCOMPARE(PageTable::DropDownRoomRows(9), 19);
        QCOMPARE(PageTable::DropDownRoomRows(10), 11);
        QCOMPARE(PageTable::DropDownRoomRows(40), 11);
        // Without label editing no editor opens.
        m_list->SetEditLabels(false);
        ClickCell(0, 0);
        QVERIFY(m_list->CurrentEditor() == nullptr);
        // F2 edits the current cell from the keyboard.
        m_list->SetEditLabels(true);
        QTest::keyClick(m_list, Qt::Key_F2);
        QVERIFY(Edit() != nullptr);
        QCOMPARE(Edit()->accessibleName(), QString("Col 0"));
    }

    // Closing the window ends an open edit like any loss of focus; deleting
    // the list itself drops the edit. Neither touches freed memory.
    void closingWithAnOpenEditor() {
        Make();
        QSignalSpy edited(m_list, &PageTable::cellEdited);
        ClickCell(0, 0);
        QTest::keyClicks(Edit(), "closing");
        m_window->close();
        QCOMPARE(m_list->GetItemText(0, 0), QString("closing"));
        QCOMPARE(edited.size(), 1);
        m_window.reset();

        Make();
        QSignalSpy dropped(m_list, &PageTable::cellEdited);
        ClickCell(1, 2);
        delete m_list;
        m_list = nullptr;
        QCOMPARE(dropped.size(), 0);
        QTest::qWait(10);
    }
};

QTEST_MAIN(ComboListCtrlTest)
#include "ComboListCtrlTest.moc"
