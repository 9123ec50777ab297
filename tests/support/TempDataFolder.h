// A fresh program-files folder for one test, removed when the test ends, with
// TARNWICK_PROGRAM_FILES pointing at it so the program finds its data there.
#pragma once

#include <string>

#include "store/DataFolder.h"

namespace tarnwick::test {

class TempDataFolder {
public:
    TempDataFolder();
    ~TempDataFolder();
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    const std::string& root() const { return m_root; }
    const DataFolder& folder() const { return m_folder; }

private:
    std::string m_root;
    DataFolder m_folder;
};

// Whole file as bytes ("" when missing); and a file written from bytes.
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);

}  // namespace tarnwick::test
