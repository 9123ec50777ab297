// The push buttons of the dialogs placed in dialog units: named by their
// resource ID, and never pressed by Enter (no button of these dialogs is the
// default one).
#pragma once

#include <QPushButton>
#include <QRect>
#include <QString>

namespace tarnwick {

inline QPushButton* MakeButton(QWidget* parent, const char* id, const QString& text,
                               const QRect& rect) {
    auto* button = new QPushButton(text, parent);
    if (id != nullptr) {
        button->setObjectName(QString::fromLatin1(id));
    }
    button->setAutoDefault(false);
    button->setGeometry(rect);
    return button;
}

}  // namespace tarnwick
