// The program's pictures and user guide, built into the program. Anything
// that loads one calls InitResources first (the resources sit in a static
// library, so they are registered on first use).
#pragma once

namespace tarnwick {

void InitResources();

}  // namespace tarnwick
