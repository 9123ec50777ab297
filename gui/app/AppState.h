// Process-wide state of the desktop program besides the scan state
// (scan/ScanState.h): the application object and the two panes. Whether
// loading the profile pane ticks its rows is g_bSuppressAutoCheck
// (editing/SuppressAutoCheck.h), set by the Delete command.
#pragma once

#include "editing/SuppressAutoCheck.h"

namespace tarnwick {

class TarnwickApplication;
class ProfilePane;
class ResultsPane;

extern TarnwickApplication* g_pApp;  // set by start
extern ProfilePane* g_pProfilePane;  // set by the profile pane's initial update
extern ResultsPane* g_pResultsPane;  // set by the results pane's initial update

}  // namespace tarnwick
