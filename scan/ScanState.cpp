#include "scan/ScanState.h"

namespace tarnwick {

WatchedFlag g_bScanRunning{false};
std::atomic<bool> g_bStopRequested{false};
WatchedFlag g_bPlayEnabled{false};
WatchedFlag g_bStopEnabled{false};
std::atomic<bool> g_bReportSaved{false};
std::mutex g_csScan;
RunRowsText g_strRunRows;

}  // namespace tarnwick
