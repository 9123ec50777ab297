// Reads a store file one line at a time. Accepts CR LF and bare LF line ends
// and returns lines of any length whole, without their line end.
#pragma once

#include <cstdio>
#include <string>

namespace tarnwick {

class StoreLineReader {
public:
    explicit StoreLineReader(const std::string& path);
    ~StoreLineReader();
    StoreLineReader(const StoreLineReader&) = delete;
    StoreLineReader& operator=(const StoreLineReader&) = delete;

    bool IsOpen() const { return m_pFile != nullptr; }

    // The next line, empty lines included; false at the end of the file.
    bool ReadLine(std::string& line);

    // The next line of a store list: false at the end of the file and at the
    // first empty line, which ends every list of the store.
    bool ReadStoreLine(std::string& line) { return ReadLine(line) && !line.empty(); }

private:
    FILE* m_pFile = nullptr;
    char* m_pBuffer = nullptr;
    size_t m_nCapacity = 0;
};

}  // namespace tarnwick
