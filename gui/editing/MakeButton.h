// The push buttons of the profile dialogs, with the object name tests find
// them by. As in every dialog, Enter presses the button that has the focus,
// else the dialog's default button.
#pragma once

#include <QPushButton>
#include <QString>

namespace tarnwick {

inline QPushButton* makeButton(QWidget* parent, const char* id, const QString& text) {
    auto* button = new QPushButton(text, parent);
    if (id != nullptr) {
        button->setObjectName(QString::fromLatin1(id));
    }
    return button;
}

}  // namespace tarnwick
