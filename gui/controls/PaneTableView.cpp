#include "gui/controls/PaneTableView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <cmath>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/CellColourDelegate.h"
#include "gui/controls/CheckHeader.h"
#include "gui/controls/ListPanes.h"
#include "scan/RunState.h"

namespace tarnwick {
namespace {

constexpr const char* kTaskRunning = "Task is running";
constexpr const char* kRefreshQuestion =
    "This operation will refresh all the contents of this list. Do you want to continue";

}  // namespace

PaneTableView::PaneTableView(QWidget* parent) : RowTableView(parent) {
    m_delegate = new CellColourDelegate(this);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Clicks go through the click rule, which gives the focus itself when it
    // lets a click through; a refused click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, QColor::fromRgb(kOddBand));
    viewport()->setPalette(pal);
}

PaneTableView::~PaneTableView() = default;

void PaneTableView::setModel(QAbstractItemModel* model) {
    for (const QMetaObject::Connection& c : m_modelConnections) {
        disconnect(c);
    }
    m_modelConnections.clear();
    QTableView::setModel(model);
    if (model == nullptr) {
        return;
    }
    m_modelConnections.append(
        connect(model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                    if (roles.isEmpty() || roles.contains(Qt::CheckStateRole)) {
                        onStateChanged(true);
                    }
                }));
    // Selection and focus changes made by the user count as state changes;
    // the view's own (a current row set when it gains the focus) do not.
    const auto userChange = [this] {
        if (m_batch > 0) {
            onStateChanged(false);
        }
    };
    m_modelConnections.append(
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, userChange));
    for (const auto rowsChanged :
         {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        m_modelConnections.append(connect(model, rowsChanged, this, [this] { updateEmptyHint(); }));
    }
    m_modelConnections.append(
        connect(model, &QAbstractItemModel::modelReset, this, [this] { updateEmptyHint(); }));
    m_modelConnections.append(
        connect(selectionModel(), &QItemSelectionModel::currentChanged, this, userChange));
}

bool PaneTableView::initCheckHeader() {
    if (m_checkHeader != nullptr) {
        return true;
    }
    QHeaderView* old = horizontalHeader();
    QList<int> sizes;
    for (int i = 0; i < old->count(); ++i) {
        sizes.append(old->sectionSize(i));
    }
    auto* header = new CheckHeader(this);
    header->setSectionsMovable(old->sectionsMovable());
    header->setStretchLastSection(old->stretchLastSection());
    setHorizontalHeader(header);
    for (int i = 0; i < sizes.size() && i < header->count(); ++i) {
        header->resizeSection(i, sizes[i]);
    }
    header->setImage(HeaderCheck::None);
    connect(header, &CheckHeader::checkBoxClicked, this, [this](bool ticked) {
        // The header has drawn its next picture already; a declined question
        // puts the rows' picture back.
        // (During a scan the rows change alone: the rule waits for its end.)
        if (!scanRunning() && !confirmTickChange()) {
            refreshCheckHeader();
            return;
        }
        setAllChecks(ticked);
    });
    m_checkHeader = header;
    return true;
}

void PaneTableView::setMiddleElidedColumns(const QList<int>& columns) {
    m_delegate->setMiddleElidedColumns(columns);
    viewport()->update();
}

int PaneTableView::fontWidth(int designed) const {
    // The widths were chosen for text of about 10 points; a larger font
    // (14 points, a scaled desktop) widens them alike, so "Link Not Found"
    // still fits its column.
    const QFont& f = font();
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 0.75;
    const double scale = std::max(1.0, points / 10.0);
    return static_cast<int>(std::lround(designed * scale));
}

int PaneTableView::rowCount() const {
    return model() != nullptr ? model()->rowCount() : 0;
}

QString PaneTableView::cellText(int row, int column) const {
    if (model() == nullptr) {
        return {};
    }
    return model()->index(row, column).data(Qt::DisplayRole).toString();
}

bool PaneTableView::getCheck(int row) const {
    if (model() == nullptr) {
        return false;
    }
    return model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

bool PaneTableView::isUnticked(int row) const {
    if (model() == nullptr) {
        return false;
    }
    const QVariant state = model()->index(row, 0).data(Qt::CheckStateRole);
    return state.isValid() && state.toInt() == Qt::Unchecked;
}

void PaneTableView::setCheck(int row, bool ticked) {
    if (model() != nullptr && getCheck(row) != ticked) {
        model()->setData(model()->index(row, 0), ticked ? Qt::Checked : Qt::Unchecked,
                         Qt::CheckStateRole);
    }
}

int PaneTableView::tickedCount() const {
    int count = 0;
    for (int row = 0, rows = rowCount(); row < rows; ++row) {
        count += getCheck(row) ? 1 : 0;
    }
    return count;
}

void PaneTableView::setAllChecks(bool ticked) {
    beginStateBatch();
    for (int row = 0, rows = rowCount(); row < rows; ++row) {
        setCheck(row, ticked);
    }
    endStateBatch();
}

void PaneTableView::runCheckStateRule() {
    runCheckStateRule(true);
}

bool PaneTableView::scanRunning() const {
    return m_runState != nullptr && m_runState->isRunning();
}

bool PaneTableView::confirmTickChange() {
    if (m_panes == nullptr || !m_panes->resultsHaveStatus()) {
        return true;
    }
    return AppMessageBox::show(kRefreshQuestion, AppMessageBox::Buttons::YesNo, window()) ==
           AppMessageBox::Answer::Yes;
}

void PaneTableView::runCheckStateRule(bool ticksChanged) {
    if (m_checkHeader == nullptr || scanRunning()) {
        return;
    }
    const int rows = rowCount();
    int unticked = 0;
    for (int row = 0; row < rows; ++row) {
        unticked += isUnticked(row) ? 1 : 0;
    }
    const HeaderCheck state = summariseChecks(rows, unticked);
    if (m_runState != nullptr) {
        m_runState->setProfilesToPlay(state != HeaderCheck::None);
    }
    // Results stay until the user asks for others: moving the selection
    // leaves them, and only a change of ticks (whatever the header then
    // shows) gives the pages of the profiles now ticked.
    if (ticksChanged) {
        rebuildFromRule();
    }
    m_checkHeader->setImage(state);
    emit commandStateChanged();
}

void PaneTableView::refreshCheckHeader() {
    if (m_checkHeader == nullptr) {
        return;
    }
    const int rows = rowCount();
    int unticked = 0;
    for (int row = 0; row < rows; ++row) {
        unticked += isUnticked(row) ? 1 : 0;
    }
    m_checkHeader->setImage(rows == 0 ? HeaderCheck::None : summariseChecks(rows, unticked));
}

void PaneTableView::rebuildFromRule() {
    if (m_panes == nullptr) {
        return;
    }
    m_panes->rebuildResults();
    if (m_batch > 0) {
        m_rebuiltInBatch = true;
    }
}

void PaneTableView::onStateChanged(bool ticksChanged) {
    if (m_checkHeader == nullptr) {
        return;
    }
    if (m_batch > 0) {
        m_rulePending = true;
        m_ticksPending = m_ticksPending || ticksChanged;
        return;
    }
    runCheckStateRule(ticksChanged);
}

void PaneTableView::beginStateBatch() {
    if (m_batch++ == 0) {
        m_rulePending = false;
        m_ticksPending = false;
        m_rebuiltInBatch = false;
    }
}

bool PaneTableView::endStateBatch() {
    if (--m_batch > 0) {
        return false;
    }
    if (m_rulePending) {
        m_rulePending = false;
        const bool ticks = m_ticksPending;
        m_ticksPending = false;
        ++m_batch;  // a rebuild from this run counts for the batch
        runCheckStateRule(ticks);
        --m_batch;
    }
    const bool rebuilt = m_rebuiltInBatch;
    m_rebuiltInBatch = false;
    return rebuilt;
}

void PaneTableView::paintEvent(QPaintEvent* event) {
    {
        // Bands behind the rows, across the whole width: white for even rows,
        // light grey for odd ones and for the space below the last row.
        QPainter painter(viewport());
        const QRect area = event->rect();
        // A dark theme (light text) gets its own two bands, so its text stays
        // readable; otherwise white and light grey.
        const bool darkTheme = palette().color(QPalette::Text).lightness() > 128;
        const QColor even =
            darkTheme ? palette().color(QPalette::Base) : QColor::fromRgb(kEvenBand);
        const QColor odd =
            darkTheme ? palette().color(QPalette::AlternateBase) : QColor::fromRgb(kOddBand);
        painter.fillRect(area, odd);
        const int rows = rowCount();
        if (rows > 0) {
            int first = rowAt(area.top());
            int last = rowAt(area.bottom());
            if (first < 0) {
                first = 0;
            }
            if (last < 0) {
                last = rows - 1;
            }
            for (int row = first; row <= last; ++row) {
                if (row % 2 == 0) {
                    painter.fillRect(
                        QRect(area.left(), rowViewportPosition(row), area.width(), rowHeight(row)),
                        even);
                }
            }
        }
    }
    QTableView::paintEvent(event);
    if (!m_emptyHint.isEmpty() && rowCount() == 0) {
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_emptyHint);
    }
}

void PaneTableView::setEmptyHint(const QString& hint) {
    m_emptyHint = hint;
    updateEmptyHint();
}

void PaneTableView::updateEmptyHint() {
    const QString description = rowCount() == 0 ? m_emptyHint : QString();
    if (accessibleDescription() != description) {
        setAccessibleDescription(description);
    }
    viewport()->update();
}

bool PaneTableView::onCheckIndicator(const QModelIndex& index, QPoint point) const {
    return index.isValid() && index.column() == 0 && checkBoxRect(index.row()).contains(point);
}

QRect PaneTableView::checkBoxRect(int row) const {
    if (model() == nullptr) {
        return {};
    }
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid() || !(model()->flags(index) & Qt::ItemIsUserCheckable)) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return m_delegate->checkIndicatorRect(option, index);
}

bool PaneTableView::defaultPress(QMouseEvent* event) {
    beginStateBatch();
    setFocus(Qt::MouseFocusReason);
    QTableView::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    if (onCheckIndicator(index, point)) {
        setCheck(index.row(), !getCheck(index.row()));
    }
    return endStateBatch();
}

void PaneTableView::mousePressEvent(QMouseEvent* event) {
    m_discardMouse = false;
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const QModelIndex hit = indexAt(point);
    ClickFacts facts;
    facts.m_scanRunning = scanRunning();
    facts.m_onRow = hit.isValid();
    facts.m_onCheckBox = m_checkHeader != nullptr && onCheckIndicator(hit, point);
    facts.m_resultsHaveStatus = [this] {
        return m_panes != nullptr && m_panes->resultsHaveStatus();
    };
    if (m_panes == nullptr && !facts.m_scanRunning) {
        defaultPress(event);
        return;
    }
    switch (decideClick(facts)) {
        case ClickAction::RefuseRunning:
            m_discardMouse = true;
            AppMessageBox::show(kTaskRunning, AppMessageBox::Buttons::Ok, window());
            return;
        case ClickAction::Discard:
            m_discardMouse = true;
            return;
        case ClickAction::AskThenToggle:
            if (AppMessageBox::show(kRefreshQuestion, AppMessageBox::Buttons::YesNo, window()) !=
                AppMessageBox::Answer::Yes) {
                m_discardMouse = true;
                return;
            }
            [[fallthrough]];
        case ClickAction::Toggle:
        case ClickAction::Select:
            // The tick's change runs the check-state rule, which rebuilds
            // the results once; a selection alone leaves them.
            defaultPress(event);
            return;
    }
}

void PaneTableView::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: a drag does not change the rows' state.
    if (m_discardMouse || (event->buttons() & Qt::LeftButton)) {
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void PaneTableView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_discardMouse) {
        if (event->button() == Qt::LeftButton) {
            m_discardMouse = false;
        }
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void PaneTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click has already come as a press and
    // gone through the click rule; when the rule let it through, the double
    // click activates the row (the results pane opens the page).
    event->accept();
    if (event->button() != Qt::LeftButton || m_discardMouse) {
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && !onCheckIndicator(index, event->position().toPoint())) {
        emit rowActivated(index.row());
    }
}

void PaneTableView::contextMenuEvent(QContextMenuEvent* event) {
    QModelIndex index;
    QPoint global = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        index = indexAt(event->pos());
    } else {
        index = currentIndex();
        if (index.isValid()) {
            scrollTo(index);
            global = viewport()->mapToGlobal(visualRect(index).bottomLeft());
        }
    }
    if (!index.isValid()) {
        return;
    }
    event->accept();
    emit rowMenuRequested(index.row(), global);
}

void PaneTableView::keyPressEvent(QKeyEvent* event) {
    const bool toggleKey = (event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) &&
                           event->modifiers() == Qt::NoModifier;
    if (toggleKey && model() != nullptr && currentIndex().isValid()) {
        const int row = currentIndex().row();
        if (model()->flags(model()->index(row, 0)) & Qt::ItemIsUserCheckable) {
            if (scanRunning()) {
                AppMessageBox::show(kTaskRunning, AppMessageBox::Buttons::Ok, window());
                return;
            }
            if (confirmTickChange()) {
                setCheck(row, !getCheck(row));
            }
            return;
        }
    }
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    // Shift+F10 opens the row's menu as the Menu key does.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos(),
                               event->modifiers());
        contextMenuEvent(&menu);
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentIndex().isValid() &&
        isSignalConnected(QMetaMethod::fromSignal(&PaneTableView::rowActivated))) {
        emit rowActivated(currentIndex().row());
        return;
    }
    beginStateBatch();
    QTableView::keyPressEvent(event);
    endStateBatch();
}

void PaneTableView::copySelection() const {
    if (model() == nullptr || selectionModel() == nullptr) {
        return;
    }
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    const QHeaderView* header = horizontalHeader();
    for (const QModelIndex& index : rows) {
        QStringList cells;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int column = header->logicalIndex(visual);
            if (model()->headerData(column, Qt::Horizontal).toString().isEmpty()) {
                continue;
            }
            cells.append(cellText(index.row(), column));
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    if (!lines.isEmpty()) {
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

}  // namespace tarnwick
