#include "app/AppState.h"

namespace tarnwick {

CTarnwickApp* g_pApp = nullptr;
CLeftList* g_pProfilePane = nullptr;
CRightList* g_pResultsPane = nullptr;
std::atomic<bool> g_bSuppressAutoCheck{false};

}  // namespace tarnwick
