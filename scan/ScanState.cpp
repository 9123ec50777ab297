#include "scan/ScanState.h"

namespace tarnwick {

std::atomic<bool> g_bScanRunning{false};
std::atomic<bool> g_bStopRequested{false};
std::atomic<bool> g_bPlayEnabled{false};
std::atomic<bool> g_bStopEnabled{false};
std::atomic<bool> g_bReportSaved{false};
std::mutex g_csScan;
std::string g_strRunRows;

}  // namespace tarnwick
