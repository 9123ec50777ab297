// Process-wide state of the desktop program besides the scan state
// (scan/ScanState.h): the application object, the two panes, and whether
// loading the profile pane ticks its rows.
#pragma once

#include <atomic>

namespace tarnwick {

class CTarnwickApp;
class CLeftList;
class CRightList;

extern CTarnwickApp* g_pApp;        // set by InitInstance
extern CLeftList* g_pProfilePane;   // set by the profile pane's initial update
extern CRightList* g_pResultsPane;  // set by the results pane's initial update

// When set, loading the profile pane leaves its rows unticked. Set by the
// first Delete and never cleared while the program runs.
extern std::atomic<bool> g_bSuppressAutoCheck;

}  // namespace tarnwick
