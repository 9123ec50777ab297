// Process-wide state of the scan run and of the commands that follow it.
// Flags are atomics: the GUI thread and the scan thread both read and write
// them without taking the scan lock. The window follows the watched ones.
#pragma once

#include <atomic>

#include "scan/WatchedFlag.h"

namespace tarnwick {

extern WatchedFlag g_bScanRunning;        // a scan run is in progress
extern WatchedFlag g_bPlayEnabled;        // Play command enabled
extern WatchedFlag g_bStopEnabled;        // Stop command enabled
extern std::atomic<bool> g_bReportSaved;  // a report of the last run was written

}  // namespace tarnwick
