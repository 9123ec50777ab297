#include "gui/app/AppState.h"

namespace tarnwick {

TarnwickApplication* g_pApp = nullptr;
ProfilePane* g_pProfilePane = nullptr;
ResultsPane* g_pResultsPane = nullptr;

}  // namespace tarnwick
