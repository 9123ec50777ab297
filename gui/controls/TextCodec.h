// The one conversion between the core's 8-bit Windows-1252 text and Qt's
// Unicode strings. Every text crossing into or out of a widget goes through it.
#pragma once

#include <QString>
#include <string>

namespace tarnwick {

QString ToQ(const std::string& cp1252);
// Characters the code page cannot hold become '?'.
std::string FromQ(const QString& text);

}  // namespace tarnwick
