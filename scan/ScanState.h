// Process-wide state of the scan run and of the commands that follow it.
// Flags are atomics: the GUI thread and the scan thread both read and write
// them without taking the scan lock. The window follows the watched ones.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "scan/RunRowsText.h"
#include "scan/WatchedFlag.h"

namespace tarnwick {

extern WatchedFlag g_bScanRunning;          // a scan run is in progress
extern std::atomic<bool> g_bStopRequested;  // pages not yet begun must not be checked
extern WatchedFlag g_bPlayEnabled;          // Play command enabled
extern WatchedFlag g_bStopEnabled;          // Stop command enabled
extern std::atomic<bool> g_bReportSaved;    // a report of the last run was written

// The scan lock: held by the scan thread for the whole check of a page (and,
// at the end of a run, across the report prompt).
extern std::mutex g_csScan;

// Profile-pane rows of the current run, "0+2+5+"; the first entry is the
// profile marked "Running...". Written by Play before the scan starts, then
// only under g_csScan.
extern RunRowsText g_strRunRows;

}  // namespace tarnwick
