// The desktop program's own options: --help and --version, answered before
// any window is made, so that they work without a display (over ssh, or to
// name the version in a bug report). Qt's options (-platform, -style...) are
// left to QApplication; other words are ignored, as they always were.
#pragma once

#include <QString>
#include <QStringList>

namespace tarnwick {

class DesktopCommandLine {
public:
    // arguments: the whole command line, the program first. True when it
    // asks for the help or the version; text is then what to print.
    static bool answer(const QStringList& arguments, QString& text);
};

}  // namespace tarnwick
