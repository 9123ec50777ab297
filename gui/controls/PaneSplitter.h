// The splitter of the main window: panes side by side with a bar that can be
// dragged, and a way to put a new view into a
// pane.
#pragma once

#include <QSplitter>

namespace tarnwick {

class PaneSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit PaneSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);
    ~PaneSplitter() override;

    // Puts view into the pane (row, column) in place of the pane's widget,
    // which is deleted. Refused (false, view deleted) when the pane already
    // holds a widget of the same class, unless skipClassTest is set.
    bool replacePaneView(int row, int column, QWidget* view, bool skipClassTest = false);

protected:
    QSplitterHandle* createHandle() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tarnwick
