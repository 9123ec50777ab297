// The product's web site, opened by the exit confirmation (and meant for every
// other place that names the site: the webmaster letter, the about box).
#pragma once

namespace tarnwick {

inline constexpr char kProductWebSite[] = "https://www.osgrel-tarnwick.example/";

}  // namespace tarnwick
