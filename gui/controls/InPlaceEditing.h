// What the in-place edit box and drop-down share for the length of one edit:
// the list and cell they lie over, the text the cell had, and how the edit
// ends: once, reporting the editor's text or (after Escape) the text the cell
// had, and not at all when the list went away first.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace tarnwick {

class PageTable;

class InPlaceEditing {
public:
    InPlaceEditing(PageTable* list, int row, int column, QString initialText)
        : m_pList(list), m_nRow(row), m_nColumn(column), m_strInitialText(std::move(initialText)) {}

    int Row() const { return m_nRow; }
    int Column() const { return m_nColumn; }
    bool IsEnded() const { return m_bEnded; }
    void SetInitialText(const QString& text) { m_strInitialText = text; }

    // Escape was pressed: the edit reports the text the cell had.
    void Escape() { m_bEscape = true; }

    // Ends the edit the first time only: the editor hides, report gets the
    // cell and the text, and the editor goes once control returns.
    void End(QWidget* editor, const QString& current,
             const std::function<void(int row, int column, const QString& text)>& report) {
        if (m_bEnded) {
            return;
        }
        m_bEnded = true;
        const QString result = m_bEscape ? m_strInitialText : current;
        editor->hide();
        report(m_nRow, m_nColumn, result);
        editor->deleteLater();
    }

    // The list is going away: the edit ends without reporting.
    void Abandon() {
        m_bEnded = true;
        m_pList = nullptr;
    }

    // Gives the focus back to the list while it is still there. Without an
    // active window the focus does not move: the caller ends the edit all
    // the same.
    void FocusList();

private:
    QPointer<PageTable> m_pList;
    int m_nRow = -1;
    int m_nColumn = -1;
    bool m_bEscape = false;
    bool m_bEnded = false;
    QString m_strInitialText;
};

}  // namespace tarnwick
