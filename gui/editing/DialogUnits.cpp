#include "gui/editing/DialogUnits.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace tarnwick {
namespace {

// Pixels per 4 horizontal and 8 vertical units: the average width of the
// letters and the line height of the application's font, at least those of
// the original 8-point font (6 and 13).
struct BaseUnits {
    int x;
    int y;
};

BaseUnits Units() {
    const QFontMetrics metrics(QApplication::font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {std::max(6, average), std::max(13, metrics.height())};
}

}  // namespace

QRect Dlu(int x, int y, int w, int h) {
    const BaseUnits u = Units();
    return QRect(x * u.x / 4, y * u.y / 8, w * u.x / 4, h * u.y / 8);
}

QSize DluSize(int w, int h) {
    const BaseUnits u = Units();
    return QSize(w * u.x / 4, h * u.y / 8);
}

void FitTextsToDialog(QWidget* dialog) {
    QList<QWidget*> children;
    for (QObject* object : dialog->children()) {
        if (auto* widget = qobject_cast<QWidget*>(object); widget && !widget->isWindow()) {
            children.append(widget);
        }
    }
    // Left to right, so a moved control is measured where it ends up.
    std::sort(children.begin(), children.end(),
              [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    for (QWidget* widget : children) {
        const auto* label = qobject_cast<QLabel*>(widget);
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        if ((label == nullptr || label->wordWrap() || label->text().isEmpty()) &&
            (button == nullptr || button->text().isEmpty())) {
            continue;
        }
        // A control kept out of sight in a corner (the never-shown "OK").
        if (widget->width() < 4) {
            continue;
        }
        const int needed = widget->sizeHint().width();
        const int grow = needed - widget->width();
        if (grow <= 0) {
            continue;
        }
        const QRect before = widget->geometry();
        widget->resize(needed, widget->height());
        for (QWidget* other : children) {
            const QRect r = other->geometry();
            const bool sameLine = r.top() < before.bottom() && r.bottom() > before.top();
            if (other != widget && sameLine && r.left() >= before.right() - 1) {
                other->move(r.left() + grow, r.top());
            }
        }
    }
    int right = 0;
    int bottom = 0;
    for (const QWidget* widget : children) {
        right = std::max(right, widget->geometry().right() + 1);
        bottom = std::max(bottom, widget->geometry().bottom() + 1);
    }
    const int margin = Dlu(7, 7, 0, 0).x();
    const QSize size(std::max(dialog->width(), right + margin),
                     std::max(dialog->height(), bottom + margin / 2));
    if (size != dialog->size()) {
        if (dialog->minimumSize() == dialog->maximumSize()) {
            dialog->setFixedSize(size);
        } else {
            dialog->resize(size);
        }
    }
}

}  // namespace tarnwick
