#include "gui/controls/FormView.h"

#include <QEvent>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>

namespace tarnwick {
namespace {

LayoutRect ToLayout(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

FormView::FormView(QSize designSize, QWidget* parent)
    : QScrollArea(parent), m_designSize(designSize) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    m_pForm = new QWidget;
    m_pForm->resize(designSize);
    m_pForm->installEventFilter(this);
    setWidget(m_pForm);
}

FormView::~FormView() = default;

int FormView::AnchorControl(int controlId, AnchorPoint topLeft, AnchorPoint bottomRight) {
    return AnchorControl(m_pForm->findChild<QWidget*>(QString::number(controlId)), topLeft,
                         bottomRight);
}

int FormView::AnchorControl(QWidget* control, AnchorPoint topLeft, AnchorPoint bottomRight) {
    if (control == nullptr || !m_pForm->isAncestorOf(control)) {
        return 0;
    }
    auto record = std::make_unique<AnchorRecord>();
    record->m_strControlId = control->objectName();
    record->m_rcDesign = ToLayout(QRect(control->mapTo(m_pForm, QPoint(0, 0)), control->size()));
    record->m_topLeft = topLeft;
    record->m_bottomRight = bottomRight;
    record->m_pWindow = control;
    m_anchors.push_back(std::move(record));
    return static_cast<int>(m_anchors.size()) - 1;
}

void FormView::BuildLayout() {
    for (const std::unique_ptr<AnchorRecord>& record : m_anchors) {
        if (record->m_pWindow == nullptr) {
            continue;
        }
        LayoutItem item;
        item.m_pWindow = record->m_pWindow;
        item.m_margins = MeasureAnchorMargins(ToLayout(record->m_pWindow->geometry()),
                                              record->m_topLeft, record->m_bottomRight,
                                              m_designSize.width(), m_designSize.height());
        m_layout.push_back(item);
    }
}

void FormView::RepositionControls() {
    const int width = m_pForm->width();
    const int height = m_pForm->height();
    for (const LayoutItem& item : m_layout) {
        QWidget* window = item.m_pWindow;
        const AnchorRecord* record = FindAnchor(window);
        if (window == nullptr || record == nullptr) {
            continue;
        }
        const LayoutRect r = AnchoredRect(item.m_margins, record->m_rcDesign, width, height);
        const QRect target(r.left, r.top, r.Width(), r.Height());
        if (window->geometry() != target) {
            window->setGeometry(target);
        }
    }
}

const FormView::AnchorRecord* FormView::FindAnchor(const QWidget* window) const {
    for (const std::unique_ptr<AnchorRecord>& record : m_anchors) {
        if (record->m_pWindow == window) {
            return record.get();
        }
    }
    return nullptr;
}

void FormView::OnInitialUpdate() {
    m_bLayoutReady = true;
    FitFormToViewport();
}

void FormView::FitFormToViewport() {
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
    m_pForm->resize(std::max(width, m_designSize.width()), std::max(height, m_designSize.height()));
}

void FormView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_bLayoutReady) {
        FitFormToViewport();
    }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pForm && event->type() == QEvent::Resize && m_bLayoutReady) {
        RepositionControls();
    }
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace tarnwick
