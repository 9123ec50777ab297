// A hyperlink label: a pointing-hand cursor, a text that may change while the
// mouse moves over it, and a click signal (also from Enter or Space when it
// has the keyboard focus, so the link is usable without a mouse).
#pragma once

#include <QLabel>

namespace tarnwick {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);
    ~LinkLabel() override;

    // The text the label shows once the mouse has moved over it; empty keeps
    // the text as it is.
    void setHoverText(const QString& text) { m_hoverText = text; }

signals:
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_hoverText;
    bool m_pressed = false;
};

}  // namespace tarnwick
