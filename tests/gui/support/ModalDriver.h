// Answers the program's own modal dialogs in tests: acts on the first modal
// dialog of a type once it is up, and finds a control by its object name.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

namespace tarnwick::test {

// Polls the event loop every 5 ms for a modal dialog of type T and runs act
// on the first one. The watch also ends with context (a test that expects no
// dialog hands it an object of its own) and after about half a minute.
template <typename T>
void whenModal(std::function<void(T*)> act, QObject* context = qApp) {
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    auto triesLeft = std::make_shared<int>(6000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, triesLeft] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog != nullptr || --*triesLeft <= 0) {
            timer->stop();
            timer->deleteLater();
        }
        if (dialog != nullptr) {
            act(dialog);
        }
    });
    timer->start();
}

template <typename B = QPushButton>
B* control(QWidget* dialog, const char* id) {
    B* control = dialog->findChild<B*>(QString::fromLatin1(id));
    if (control == nullptr) {
        qFatal("control %s missing", id);
    }
    return control;
}

// Presses a push button of the next modal dialog of type T.
template <typename T>
void pressWhenModal(const char* id) {
    whenModal<T>([id](T* dialog) { control(dialog, id)->click(); });
}

}  // namespace tarnwick::test
