// Drives a modal dialog from inside its exec(): once the active modal widget
// has the object name, the action runs on it (polled on the event loop).
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace tarnwick::test {

inline void WhenModal(const QString& name, std::function<void(QWidget*)> action,
                      int triesLeft = 300) {
    QTimer::singleShot(10, qApp, [name, action = std::move(action), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->objectName() == name) {
            action(modal);
        } else if (triesLeft > 0) {
            WhenModal(name, std::move(action), triesLeft - 1);
        }
    });
}

// Clicks the button with the object name in the modal dialog.
inline void ClickInModal(const QString& dialog, const QString& button) {
    WhenModal(dialog, [button](QWidget* modal) {
        if (auto* b = modal->findChild<QPushButton*>(button)) {
            b->click();
        }
    });
}

}  // namespace tarnwick::test
