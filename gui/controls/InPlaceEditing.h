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
        : m_list(list), m_row(row), m_column(column), m_initialText(std::move(initialText)) {}

    int row() const { return m_row; }
    int column() const { return m_column; }
    bool isEnded() const { return m_ended; }
    void setInitialText(const QString& text) { m_initialText = text; }

    // Escape was pressed: the edit reports the text the cell had.
    void escape() { m_escape = true; }

    // Ends the edit the first time only: the editor hides, report gets the
    // cell and the text, and the editor goes once control returns.
    void end(QWidget* editor, const QString& current,
             const std::function<void(int row, int column, const QString& text)>& report) {
        if (m_ended) {
            return;
        }
        m_ended = true;
        const QString result = m_escape ? m_initialText : current;
        editor->hide();
        report(m_row, m_column, result);
        editor->deleteLater();
    }

    // The list is going away: the edit ends without reporting.
    void abandon() {
        m_ended = true;
        m_list = nullptr;
    }

    // Gives the focus back to the list while it is still there. Without an
    // active window the focus does not move: the caller ends the edit all
    // the same.
    void focusList();

private:
    QPointer<PageTable> m_list;
    int m_row = -1;
    int m_column = -1;
    bool m_escape = false;
    bool m_ended = false;
    QString m_initialText;
};

}  // namespace tarnwick
