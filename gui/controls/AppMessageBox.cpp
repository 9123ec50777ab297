#include "gui/controls/AppMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <deque>
#include <mutex>

#include "gui/controls/GuiThread.h"
#include "gui/controls/TextCodec.h"
#include "store/FileError.h"

namespace tarnwick {
namespace {

struct TestState {
    std::mutex m_mutex;
    bool m_on = false;
    std::deque<AppMessageBox::Answer> m_answers;
    QStringList m_shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

AppMessageBox::Answer negative(AppMessageBox::Buttons buttons) {
    switch (buttons) {
        case AppMessageBox::Buttons::YesNo:
            return AppMessageBox::Answer::No;
        case AppMessageBox::Buttons::OkCancel:
            return AppMessageBox::Answer::Cancel;
        case AppMessageBox::Buttons::Ok:
            break;
    }
    return AppMessageBox::Answer::Ok;
}

AppMessageBox::Answer showOnGuiThread(const QString& text, AppMessageBox::Buttons buttons,
                                      QWidget* parent, QMessageBox::Icon icon) {
    QMessageBox box(icon, QStringLiteral("Tarnwick"), text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case AppMessageBox::Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case AppMessageBox::Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case AppMessageBox::Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return AppMessageBox::Answer::Yes;
        case QMessageBox::No:
            return AppMessageBox::Answer::No;
        case QMessageBox::Cancel:
            return AppMessageBox::Answer::Cancel;
        case QMessageBox::Ok:
            return AppMessageBox::Answer::Ok;
        default:
            // Esc or the close box on a question.
            return negative(buttons);
    }
}

}  // namespace

namespace {

AppMessageBox::Answer showWithIcon(const QString& text, AppMessageBox::Buttons buttons,
                                   QWidget* parent, QMessageBox::Icon icon) {
    using Answer = AppMessageBox::Answer;
    {
        TestState& state = testState();
        std::lock_guard<std::mutex> lock(state.m_mutex);
        if (state.m_on) {
            state.m_shown.append(text);
            if (state.m_answers.empty()) {
                return negative(buttons);
            }
            const Answer answer = state.m_answers.front();
            state.m_answers.pop_front();
            return answer;
        }
    }
    // A box asked for from another thread has no parent: the parent belongs
    // to the GUI thread's caller, not to this one.
    const bool here = QCoreApplication::instance() != nullptr &&
                      QThread::currentThread() == QCoreApplication::instance()->thread();
    Answer answer = negative(buttons);
    GuiThread::callOnApplication(
        [&] { answer = showOnGuiThread(text, buttons, here ? parent : nullptr, icon); });
    return answer;
}

}  // namespace

AppMessageBox::Answer AppMessageBox::show(const QString& text, Buttons buttons, QWidget* parent) {
    return showWithIcon(text, buttons, parent, QMessageBox::Warning);
}

void AppMessageBox::inform(const QString& text, QWidget* parent) {
    showWithIcon(text, Buttons::Ok, parent, QMessageBox::Information);
}

void AppMessageBox::inform(const std::string& text, QWidget* parent) {
    inform(toQ(text), parent);
}

AppMessageBox::Answer AppMessageBox::show(const std::string& text, Buttons buttons,
                                          QWidget* parent) {
    return show(toQ(text), buttons, parent);
}

// A fixed text: the program's own, marked with QT_TRANSLATE_NOOP("AppMessageBox", ...),
// or the core's (editing/EditingTexts.h), which cannot mark its texts without Qt;
// both are looked up under this class in the installed translation.
AppMessageBox::Answer AppMessageBox::show(const char* text, Buttons buttons, QWidget* parent) {
    return show(QCoreApplication::translate("AppMessageBox", text), buttons, parent);
}

AppMessageBox::Answer AppMessageBox::show(const FileError& error, Buttons buttons,
                                          QWidget* parent) {
    return show(pathToQ(error.what()), buttons, parent);
}

void AppMessageBox::setTestMode(bool on) {
    std::lock_guard<std::mutex> lock(testState().m_mutex);
    testState().m_on = on;
}

void AppMessageBox::presetAnswer(Answer answer) {
    std::lock_guard<std::mutex> lock(testState().m_mutex);
    testState().m_answers.push_back(answer);
}

QStringList AppMessageBox::shownTexts() {
    std::lock_guard<std::mutex> lock(testState().m_mutex);
    return testState().m_shown;
}

QString AppMessageBox::lastText() {
    std::lock_guard<std::mutex> lock(testState().m_mutex);
    return testState().m_shown.isEmpty() ? QString() : testState().m_shown.back();
}

void AppMessageBox::clearShown() {
    std::lock_guard<std::mutex> lock(testState().m_mutex);
    testState().m_shown.clear();
    testState().m_answers.clear();
}

}  // namespace tarnwick
