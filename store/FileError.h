// A store file that could not be created, written, deleted or renamed. The
// operation that met it ends there; the desktop program shows what() in a
// message box, the command-line companion prints it.
#pragma once

#include <stdexcept>
#include <string>

namespace tarnwick {

class FileError : public std::runtime_error {
public:
    // errorCode is an errno value.
    FileError(std::string fileName, int errorCode);

    const std::string& fileName() const { return m_fileName; }
    // The errno value, so a failure on a temporary can be reported under the
    // name of the file the user knows (Mail.txt, a trashed profile).
    int errorCode() const { return m_errorCode; }

private:
    std::string m_fileName;
    int m_errorCode;
};

}  // namespace tarnwick
