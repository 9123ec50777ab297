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

    const std::string& FileName() const { return m_strFileName; }
    // The errno value, so a failure on a temporary can be reported under the
    // name of the file the user knows (Mail.txt, a trashed profile).
    int ErrorCode() const { return m_nErrorCode; }

private:
    std::string m_strFileName;
    int m_nErrorCode;
};

}  // namespace tarnwick
