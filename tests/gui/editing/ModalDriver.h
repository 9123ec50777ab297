// Drives a modal dialog from inside its exec(): once the active modal widget
// has the object name, the action runs on it (polled on the event loop). The
// polling ends with the context object, or after the tries.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tarnwick::test {

inline void WhenModal(const QString& name, std::function<void(QWidget*)> action,
                      int triesLeft = 300, QObject* context = qApp) {
    QTimer::singleShot(10, context,
                       [name, action = std::move(action), triesLeft, context]() mutable {
                           QWidget* modal = QApplication::activeModalWidget();
                           if (modal != nullptr && modal->objectName() == name) {
                               action(modal);
                           } else if (triesLeft > 0) {
                               WhenModal(name, std::move(action), triesLeft - 1, context);
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
