// Answers the program's own modal dialogs in tests: act on the first modal
// dialog of a type once it is up, and find a control by its ID.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace tarnwick::test {

template <typename T>
void WhenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

template <typename B = QPushButton>
B* Control(QWidget* dialog, const char* id) {
    B* control = dialog->findChild<B*>(QString::fromLatin1(id));
    if (control == nullptr) {
        qFatal("control %s missing", id);
    }
    return control;
}

// Presses a push button of the next modal dialog of type T.
template <typename T>
void PressWhenModal(const char* id) {
    WhenModal<T>([id](T* dialog) { Control(dialog, id)->click(); });
}

}  // namespace tarnwick::test
