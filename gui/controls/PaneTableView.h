// The list control of both panes: a table view whose background is painted in
// white and light grey bands, whose cells holding a page result are coloured,
// which refuses clicks while a scan runs, lets a click or a key only select,
// and asks before a change of ticks throws away a run's results, and which -
// in the profile pane, once InitCheckHeader has run - keeps a three-state
// check box in its header in step with the rows.
#pragma once

#include "gui/controls/RowTableView.h"

#include "viewrules/ListRules.h"

namespace tarnwick {

class CheckHeader;
class CellColourDelegate;
class ListPanes;
class RunState;

class PaneTableView : public RowTableView {
    Q_OBJECT
public:
    static constexpr QRgb kEvenBand = 0xFFFFFFFF;  // rows 0, 2, 4, ...
    static constexpr QRgb kOddBand = 0xFFF2F2F2;   // rows 1, 3, 5, ... and the rest

    explicit PaneTableView(QWidget* parent = nullptr);
    ~PaneTableView() override;

    void setModel(QAbstractItemModel* model) override;

    // The panes the click and check-state rules work on.
    void setPanes(ListPanes* panes) { m_panes = panes; }
    // The scan session's run state: clicks are refused while a run is in
    // progress, and the check-state rule tells it whether any profile is
    // ticked to play. None: no run, and nothing is told.
    void setRunState(RunState* state) { m_runState = state; }

    // Puts the check box into the header of column 0 and switches the
    // check-state rule on. Idempotent; always true.
    bool initCheckHeader();
    CheckHeader* checkHeader() const { return m_checkHeader; }

    int rowCount() const;
    QString cellText(int row, int column) const;
    // The check box of column 0: ticked, and (for the rule) explicitly unticked.
    bool getCheck(int row) const;
    bool isUnticked(int row) const;
    void setCheck(int row, bool ticked);
    int tickedCount() const;
    // Ticks or unticks every row; the check-state rule then runs once.
    void setAllChecks(bool ticked);
    // Columns whose addresses are cut in the middle when too narrow.
    void setMiddleElidedColumns(const QList<int>& columns);
    // A designed column width (pixels at a 10-point font) for the list's
    // font: wider with a larger font, never narrower.
    int fontWidth(int designed) const;
    // Where the check box of a row is drawn (empty when it has none).
    QRect checkBoxRect(int row) const;

    // The check-state rule for the rows as they are now (the profile pane
    // runs it once after loading many ticked rows).
    void runCheckStateRule();
    // Before the user changes a tick: true when the results hold no result
    // of this session's runs, or the user agrees to their refresh.
    bool confirmTickChange();
    // A line shown in the empty list, telling how to begin (also its
    // accessible description while it is empty).
    void setEmptyHint(const QString& hint);

    // Only the header's picture, set from the rows (an empty box for no
    // rows); nothing told to the run state and no rebuild.
    void refreshCheckHeader();

signals:
    // What the commands may do may have changed (the rows, the run state).
    void commandStateChanged();
    // A double click the click rule let through, or Enter, on a row (the
    // view's row number). Enter is the list's own when nothing listens.
    void rowActivated(int row);
    // The context menu of a row, by mouse or keyboard (the current row).
    void rowMenuRequested(int row, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The list's own handling of a press (selection, focus, check box), with
    // the state changes it makes answered by one run of the check-state rule.
    // True when that run rebuilt the results.
    bool defaultPress(QMouseEvent* event);
    bool onCheckIndicator(const QModelIndex& index, QPoint point) const;
    void onStateChanged(bool ticksChanged);
    void runCheckStateRule(bool ticksChanged);
    void beginStateBatch();
    bool endStateBatch();
    void copySelection() const;
    void rebuildFromRule();

    void updateEmptyHint();

    bool scanRunning() const;

    ListPanes* m_panes = nullptr;
    RunState* m_runState = nullptr;
    QString m_emptyHint;
    CellColourDelegate* m_delegate = nullptr;
    CheckHeader* m_checkHeader = nullptr;
    int m_batch = 0;
    bool m_rulePending = false;
    bool m_ticksPending = false;
    bool m_rebuiltInBatch = false;
    bool m_discardMouse = false;
    QList<QMetaObject::Connection> m_modelConnections;
};

}  // namespace tarnwick
