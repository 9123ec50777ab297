// The question asked before the program ends, for the Exit command and for the
// main window's close box: while a run is in progress and its report is not
// saved, SaveReportQuestion (whose Yes runs onStop, the Stop command, first); otherwise the
// exit confirmation ConfirmExitDialog. Returns true when the program is to end.
#pragma once

#include <functional>

class QWidget;

namespace tarnwick {

bool runExitPrompt(QWidget* parent, bool scanRunning, bool reportSaved,
                   const std::function<void()>& onStop);

}  // namespace tarnwick
