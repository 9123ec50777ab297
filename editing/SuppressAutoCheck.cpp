#include "editing/SuppressAutoCheck.h"

namespace tarnwick {

std::atomic<bool> g_bSuppressAutoCheck{false};

}  // namespace tarnwick
