// The product's web site: named at the end of every webmaster letter, opened
// by the about box and by the exit confirmation. One constant for all of them.
#pragma once

namespace tarnwick {

inline constexpr char kProductWebSite[] = "https://www.osgrel.example/tarnwick";

}  // namespace tarnwick
