// The program's pictures, built into the program, and the user guide, kept as
// files beside it. Anything that loads a picture calls InitResources first
// (the resources sit in a static library, so they are registered on first
// use).
#pragma once

#include <QString>

namespace tarnwick {

void initResources();

// The user guide's start page: in the installed data folder (share/tarnwick/
// guide beside the program's bin folder), else
// in the build tree the program was built in (not for package builds); empty
// when neither holds it.
QString userGuidePath();

}  // namespace tarnwick
