// The product's web site, opened by the exit confirmation. It is the same
// constant as the one the webmaster letter ends with (mail/ProductWebSite.h):
// the definitions must stay token for token identical until one header
// includes the other.
#pragma once

namespace tarnwick {

inline constexpr char kProductWebSite[] = "https://www.osgrel.example/tarnwick";

}  // namespace tarnwick
