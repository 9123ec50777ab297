#include "gui/controls/DialogLayout.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
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

BaseUnits units() {
    const QFontMetrics metrics(QApplication::font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {std::max(6, average), std::max(13, metrics.height())};
}

}  // namespace

QSize dluSize(int w, int h) {
    const BaseUnits u = units();
    return QSize(w * u.x / 4, h * u.y / 8);
}

QWidget* makePagePanel(QWidget* parent, QBoxLayout* layout) {
    auto* panel = new QWidget(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    panel->setLayout(layout);
    QSizePolicy policy = panel->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(policy);
    return panel;
}

void showPanelsWithContent(const QList<QWidget*>& panels) {
    for (QWidget* panel : panels) {
        bool any = false;
        for (const QWidget* child :
             panel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            // Not hidden by the dialog: shown with its panel (a control never
            // touched counts as hidden until its window first shows).
            const bool hidden =
                child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide);
            any = any || !hidden;
        }
        panel->setVisible(any);
    }
}

void openAtLeast(QWidget* dialog, QSize designed) {
    dialog->resize(dialog->sizeHint().expandedTo(designed).expandedTo(dialog->minimumSizeHint()));
}

}  // namespace tarnwick
