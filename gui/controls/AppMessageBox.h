// The program's message box: caption "Tarnwick", the warning icon, and OK,
// Yes/No or OK/Cancel. Callable from any thread: from a worker the box is shown
// on the GUI thread while the caller waits for the answer.
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

    static Answer Show(const QString& text, Buttons buttons = Buttons::Ok,
                       QWidget* parent = nullptr);
    // The core's 8-bit text (ToQ).
    static Answer Show(const std::string& text, Buttons buttons = Buttons::Ok,
                       QWidget* parent = nullptr);
    static Answer Show(const char* text, Buttons buttons = Buttons::Ok, QWidget* parent = nullptr);
    // A store error: its message names the file as the file system spells it
    // (PathToQ).
    static Answer Show(const FileError& error, Buttons buttons = Buttons::Ok,
                       QWidget* parent = nullptr);

    // Test seam.
    static void SetTestMode(bool on);
    static void PresetAnswer(Answer answer);
    static QStringList ShownTexts();
    static QString LastText();
    static void ClearShown();  // also drops unused preset answers
};

}  // namespace tarnwick
