// The program's message box: caption "Tarnwick", the warning icon, and OK,
// Yes/No or OK/Cancel; news of a success (Inform) with the information icon. Callable from any
// thread: from a worker the box is shown on the GUI thread while the caller waits for the answer.
//
// Tests switch on the test mode: no window appears, every text is recorded,
// and the answer is the next preset one (or the box's negative answer when
// none is preset, so an unexpected question never goes ahead silently).
#pragma once

#include <QString>
#include <QStringList>
#include <string>

class QWidget;

namespace tarnwick {

class FileError;

class AppMessageBox {
public:
    enum class Buttons { Ok, YesNo, OkCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    static Answer show(const QString& text, Buttons buttons = Buttons::Ok,
                       QWidget* parent = nullptr);
    // The core's 8-bit text (ToQ).
    static Answer show(const std::string& text, Buttons buttons = Buttons::Ok,
                       QWidget* parent = nullptr);
    // A fixed text, translated (context "AppMessageBox").
    static Answer show(const char* text, Buttons buttons = Buttons::Ok, QWidget* parent = nullptr);
    // A store error: its message names the file as the file system spells it
    // (PathToQ).
    static Answer show(const FileError& error, Buttons buttons = Buttons::Ok,
                       QWidget* parent = nullptr);
    // A success ("profile added", "Message sent"): OK, the information icon.
    static void inform(const QString& text, QWidget* parent = nullptr);
    static void inform(const std::string& text, QWidget* parent = nullptr);

    // Test seam.
    static void setTestMode(bool on);
    static void presetAnswer(Answer answer);
    static QStringList shownTexts();
    static QString lastText();
    static void clearShown();  // also drops unused preset answers
};

}  // namespace tarnwick
