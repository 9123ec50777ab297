// The product's own texts for the about box. The web site address, shared
// with the exit confirmation and the webmaster letter, is kProductWebSite.
#pragma once

#include <QtGlobal>

#include "common/ProductName.h"
#include "mail/ProductWebSite.h"

namespace tarnwick {

inline constexpr const char* kProductVersionLine = "Osgrel - Tarnwick  Version - 2.0.1.5";
inline constexpr const char* kMakerMail = "tarnwick@osgrel.example";
// Sentences for the user: the about box translates them.
inline constexpr const char* kMakerNotice =
    QT_TRANSLATE_NOOP("AboutDialog", "Copyright (C) Osgrel. All rights reserved.");
inline constexpr const char* kMakerContact =
    QT_TRANSLATE_NOOP("AboutDialog",
                      "Osgrel Software\nQuestions, ideas and bug reports are welcome\nby mail or "
                      "on the web site.");

}  // namespace tarnwick
