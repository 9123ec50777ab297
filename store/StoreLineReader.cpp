#include "store/StoreLineReader.h"

#include <cstdlib>

namespace tarnwick {

StoreLineReader::StoreLineReader(const std::string& path)
    : m_pFile(std::fopen(path.c_str(), "rb")) {}

StoreLineReader::~StoreLineReader() {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
    std::free(m_pBuffer);
}

bool StoreLineReader::ReadLine(std::string& line) {
    if (m_pFile == nullptr) {
        return false;
    }
    const ssize_t n = getline(&m_pBuffer, &m_nCapacity, m_pFile);
    if (n < 0) {
        return false;
    }
    size_t len = static_cast<size_t>(n);
    if (len > 0 && m_pBuffer[len - 1] == '\n') {
        --len;
        if (len > 0 && m_pBuffer[len - 1] == '\r') {
            --len;
        }
    }
    line.assign(m_pBuffer, len);
    return true;
}

}  // namespace tarnwick
