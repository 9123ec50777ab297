#include "store/FileError.h"

#include <cerrno>

namespace tarnwick {
namespace {

std::string describe(const std::string& file, int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return file + " was not found.";
        case EACCES:
        case EPERM:
        case EROFS:
            return file + " could not be accessed.";
        case ENOSPC:
        case EDQUOT:
            return "Disk full while accessing " + file + ".";
        case EFBIG:
            // The process's file size limit (ulimit -f), met like a full disk.
            return "File size limit reached while accessing " + file + ".";
        case EBUSY:
        case ETXTBSY:
            return "Sharing violation while accessing " + file + ".";
        default:
            return "An unexpected error occurred while accessing " + file + ".";
    }
}

}  // namespace

FileError::FileError(std::string fileName, int errorCode)
    : std::runtime_error(describe(fileName, errorCode)),
      m_fileName(std::move(fileName)),
      m_errorCode(errorCode) {}

}  // namespace tarnwick
