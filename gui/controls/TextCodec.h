// The conversions between the core's text and Qt's Unicode strings. Every
// text crossing into or out of a widget goes through them:
//   - store text (addresses, statuses, mail fields, the core's messages) is
//     8-bit Windows-1252: ToQ and FromQ;
//   - file-system names, and the texts that carry them (a FileError's
//     message), are the file system's bytes, decoded and encoded the way Qt
//     treats file names: PathToQ and PathFromQ.
#pragma once

#include <QString>
#include <string>

namespace tarnwick {

QString toQ(const std::string& cp1252);
// Characters the code page cannot hold become '?'.
std::string fromQ(const QString& text);

QString pathToQ(const std::string& bytes);
std::string pathFromQ(const QString& path);

}  // namespace tarnwick
