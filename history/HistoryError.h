// A history database that cannot be opened, read or written; what() names
// the file and SQLite's reason.
#pragma once

#include <stdexcept>

namespace tarnwick {

class HistoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tarnwick
