#include "scan/ScanState.h"

namespace tarnwick {

WatchedFlag g_bScanRunning{false};
WatchedFlag g_bPlayEnabled{false};
WatchedFlag g_bStopEnabled{false};
std::atomic<bool> g_bReportSaved{false};

}  // namespace tarnwick
