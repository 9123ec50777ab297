// g_bSuppressAutoCheck: when set, every reload of the profile pane leaves its
// rows unticked. The Delete command sets it and nothing clears it while the
// program runs.
//
// The flag belongs to the profile pane; it is defined here until the pane
// (app/LeftList) takes it over, and the pane reads it from this header.
#pragma once

#include <atomic>

namespace tarnwick {

extern std::atomic<bool> g_bSuppressAutoCheck;

}  // namespace tarnwick
