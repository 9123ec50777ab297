// The product's name, the one place it is spelled: the data folder, window
// titles and the subjects of the mails are built from it.
#pragma once

namespace tarnwick {

inline constexpr char kProductName[] = "Osgrel Tarnwick Ambrel";

}  // namespace tarnwick
