#include "gui/controls/RadioArrowKeys.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>

namespace tarnwick {

RadioArrowKeys::RadioArrowKeys(QButtonGroup* group) : QObject(group), m_group(group) {
    for (QAbstractButton* button : group->buttons()) {
        button->installEventFilter(this);
    }
}

bool RadioArrowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) {
        return false;
    }
    int step = 0;
    switch (key->key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        default:
            return false;
    }
    const QList<QAbstractButton*> buttons = m_group->buttons();
    const auto from = buttons.indexOf(qobject_cast<QAbstractButton*>(watched));
    if (from < 0) {
        return false;
    }
    // The next button that can be chosen, round the group (a disabled one,
    // such as a type that cannot be imported, is passed over).
    const auto count = buttons.size();
    for (qsizetype i = 1; i < count; ++i) {
        QAbstractButton* next = buttons.at(((from + step * i) % count + count) % count);
        if (next->isEnabled() && next->isVisibleTo(next->window())) {
            next->setFocus(Qt::TabFocusReason);
            if (!next->isChecked()) {
                next->click();
            }
            return true;
        }
    }
    return true;
}

}  // namespace tarnwick
