// A form view whose controls keep their place as it is resized: each control
// is anchored by its top-left and bottom-right corners to points of the
// view's client area (percent of its width and height), keeping the distance
// measured at the form's design size. Below the design size the controls keep
// their design rectangles and the view scrolls.
#pragma once

#include <QPointer>
#include <QScrollArea>
#include <memory>
#include <vector>

#include "viewrules/AnchorLayout.h"

namespace tarnwick {

class FormView : public QScrollArea {
    Q_OBJECT
public:
    struct AnchorRecord {
        LayoutRect m_rcDesign;  // in the form's coordinates, when anchored
        AnchorPoint m_topLeft;
        AnchorPoint m_bottomRight;
        QPointer<QWidget> m_window;
    };

    // The form is designSize pixels large; its controls are children of Form().
    explicit FormView(QSize designSize, QWidget* parent = nullptr);
    ~FormView() override;

    QWidget* form() const { return m_form; }
    QSize designSize() const { return m_designSize; }

    // Records a control of the form with its current rectangle as design
    // rectangle. Returns the record's index, or 0 when the control is not on
    // the form (nothing is recorded).
    int anchorControl(QWidget* control, AnchorPoint topLeft, AnchorPoint bottomRight);

    // Measures every anchored control's margins against the design size. Once.
    void buildLayout();
    // Lays every control out for the form's current size.
    void repositionControls();
    const AnchorRecord* findAnchor(const QWidget* window) const;

    // The view's initial update: from now on a resize lays the controls out.
    virtual void onInitialUpdate();
    bool isLayoutReady() const { return m_layoutReady; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LayoutItem {
        QPointer<QWidget> m_window;
        AnchorMargins m_margins;
    };

    void fitFormToViewport();

    QSize m_designSize;
    QWidget* m_form = nullptr;
    bool m_layoutReady = false;
    std::vector<LayoutItem> m_layout;
    std::vector<std::unique_ptr<AnchorRecord>> m_anchors;
};

}  // namespace tarnwick
