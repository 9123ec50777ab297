#include "gui/controls/FormView.h"

#include <QEvent>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>

namespace tarnwick {
namespace {

LayoutRect toLayout(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

FormView::FormView(QSize designSize, QWidget* parent)
    : QScrollArea(parent), m_designSize(designSize) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    m_form = new QWidget;
    m_form->resize(designSize);
    m_form->installEventFilter(this);
    setWidget(m_form);
}

FormView::~FormView() = default;

int FormView::anchorControl(QWidget* control, AnchorPoint topLeft, AnchorPoint bottomRight) {
    if (control == nullptr || !m_form->isAncestorOf(control)) {
        return 0;
    }
    auto record = std::make_unique<AnchorRecord>();
    record->m_rcDesign = toLayout(QRect(control->mapTo(m_form, QPoint(0, 0)), control->size()));
    record->m_topLeft = topLeft;
    record->m_bottomRight = bottomRight;
    record->m_window = control;
    m_anchors.push_back(std::move(record));
    return static_cast<int>(m_anchors.size()) - 1;
}

void FormView::buildLayout() {
    for (const std::unique_ptr<AnchorRecord>& record : m_anchors) {
        if (record->m_window == nullptr) {
            continue;
        }
        LayoutItem item;
        item.m_window = record->m_window;
        item.m_margins = measureAnchorMargins(toLayout(record->m_window->geometry()),
                                              record->m_topLeft, record->m_bottomRight,
                                              m_designSize.width(), m_designSize.height());
        m_layout.push_back(item);
    }
}

void FormView::repositionControls() {
    const int width = m_form->width();
    const int height = m_form->height();
    for (const LayoutItem& item : m_layout) {
        QWidget* window = item.m_window;
        const AnchorRecord* record = findAnchor(window);
        if (window == nullptr || record == nullptr) {
            continue;
        }
        const LayoutRect r = anchoredRect(item.m_margins, record->m_rcDesign, width, height);
        const QRect target(r.left, r.top, r.width(), r.height());
        if (window->geometry() != target) {
            window->setGeometry(target);
        }
    }
}

const FormView::AnchorRecord* FormView::findAnchor(const QWidget* window) const {
    for (const std::unique_ptr<AnchorRecord>& record : m_anchors) {
        if (record->m_window == window) {
            return record.get();
        }
    }
    return nullptr;
}

void FormView::onInitialUpdate() {
    m_layoutReady = true;
    fitFormToViewport();
}

void FormView::fitFormToViewport() {
    // The viewport's size once the scroll bars the design size needs are in.
    const QSize whole = maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool horizontal = whole.width() < m_designSize.width();
    bool vertical = whole.height() < m_designSize.height();
    if (vertical && !horizontal) {
        horizontal = whole.width() - bar < m_designSize.width();
    }
    if (horizontal && !vertical) {
        vertical = whole.height() - bar < m_designSize.height();
    }
    const int width = whole.width() - (vertical ? bar : 0);
    const int height = whole.height() - (horizontal ? bar : 0);
    m_form->resize(std::max(width, m_designSize.width()), std::max(height, m_designSize.height()));
}

void FormView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_layoutReady) {
        fitFormToViewport();
    }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form && event->type() == QEvent::Resize && m_layoutReady) {
        repositionControls();
    }
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace tarnwick
