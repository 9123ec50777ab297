// Reads a store file one line at a time. A line ends at CR LF, at a bare LF
// and at a bare CR (files saved by old Mac editors); lines of any length come
// back whole, without their line end. A UTF-8 byte-order mark at the start of
// the file (left by some editors) is not part of the first line.
//
// Only regular files are read: a folder, a FIFO, a device or a socket in the
// place of a store file is unreadable (IsOpen() is false, as for a missing
// file), and is never opened for a read that could block. A path holding a
// zero byte is refused the same way: the system would read it as a shorter
// path and open another file.
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

    bool isOpen() const { return m_file != nullptr; }
    // Why the file could not be opened (an errno value; 0 when it is open).
    int openError() const { return m_openError; }

    // The next line, empty lines included; false at the end of the file.
    bool readLine(std::string& line);

    // The next line of a store list: false at the end of the file and at the
    // first empty line, which ends every list of the store.
    bool readStoreLine(std::string& line) { return readLine(line) && !line.empty(); }

    // Opens path for reading when it is a regular file; otherwise nullptr
    // with errno set (EISDIR for a folder, EINVAL for a FIFO, device or
    // socket, or for a path with a zero byte). Never blocks on a FIFO.
    static FILE* openRegularFile(const std::string& path);

private:
    bool fill();

    FILE* m_file = nullptr;
    int m_openError = 0;
    char m_buffer[64 * 1024];
    size_t m_pos = 0;
    size_t m_len = 0;
    bool m_first = true;    // the byte-order mark is looked for once
    bool m_skipLf = false;  // the last line ended at a CR: a LF right after it belongs to it
};

}  // namespace tarnwick
