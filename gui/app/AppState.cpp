#include "gui/app/AppState.h"

namespace tarnwick {

CTarnwickApp* g_pApp = nullptr;
CLeftList* g_pProfilePane = nullptr;
CRightList* g_pResultsPane = nullptr;

}  // namespace tarnwick
