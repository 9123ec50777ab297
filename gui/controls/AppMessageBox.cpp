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
    bool m_bOn = false;
    std::deque<AppMessageBox::Answer> m_answers;
    QStringList m_shown;
};

TestState& State() {
    static TestState state;
    return state;
}

AppMessageBox::Answer Negative(AppMessageBox::Buttons buttons) {
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

AppMessageBox::Answer ShowOnGuiThread(const QString& text, AppMessageBox::Buttons buttons,
                                      QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarnwick"), text, QMessageBox::NoButton,
                    parent);
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
            return Negative(buttons);
    }
}

}  // namespace

AppMessageBox::Answer AppMessageBox::Show(const QString& text, Buttons buttons, QWidget* parent) {
    {
        TestState& state = State();
        std::lock_guard<std::mutex> lock(state.m_mutex);
        if (state.m_bOn) {
            state.m_shown.append(text);
            if (state.m_answers.empty()) {
                return Negative(buttons);
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
    Answer answer = Negative(buttons);
    GuiThread::CallOnApplication(
        [&] { answer = ShowOnGuiThread(text, buttons, here ? parent : nullptr); });
    return answer;
}

AppMessageBox::Answer AppMessageBox::Show(const std::string& text, Buttons buttons,
                                          QWidget* parent) {
    return Show(ToQ(text), buttons, parent);
}

AppMessageBox::Answer AppMessageBox::Show(const char* text, Buttons buttons, QWidget* parent) {
    return Show(ToQ(text), buttons, parent);
}

AppMessageBox::Answer AppMessageBox::Show(const FileError& error, Buttons buttons,
                                          QWidget* parent) {
    return Show(PathToQ(error.what()), buttons, parent);
}

void AppMessageBox::SetTestMode(bool on) {
    std::lock_guard<std::mutex> lock(State().m_mutex);
    State().m_bOn = on;
}

void AppMessageBox::PresetAnswer(Answer answer) {
    std::lock_guard<std::mutex> lock(State().m_mutex);
    State().m_answers.push_back(answer);
}

QStringList AppMessageBox::ShownTexts() {
    std::lock_guard<std::mutex> lock(State().m_mutex);
    return State().m_shown;
}

QString AppMessageBox::LastText() {
    std::lock_guard<std::mutex> lock(State().m_mutex);
    return State().m_shown.isEmpty() ? QString() : State().m_shown.back();
}

void AppMessageBox::ClearShown() {
    std::lock_guard<std::mutex> lock(State().m_mutex);
    State().m_shown.clear();
    State().m_answers.clear();
}

}  // namespace tarnwick
