// Writes a store file: the first line bare, every later line as CR LF + line,
// so the file never ends with a line break. Used directly for new files and,
// through CommitOver, for rewrites: the finished temporary replaces its target
// in one rename, so there is no moment when the target is missing.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tarnwick {

class StoreFileWriter {
public:
    // Creates or truncates path; throws FileError when it cannot.
    explicit StoreFileWriter(std::string path);
    ~StoreFileWriter();
    StoreFileWriter(const StoreFileWriter&) = delete;
    StoreFileWriter& operator=(const StoreFileWriter&) = delete;

    // One store line: bare when it is the first, else preceded by CR LF.
    void WriteLine(std::string_view line);
    // Bytes as they are (the caller writes its own CR LF).
    void WriteRaw(std::string_view bytes);
    int LinesWritten() const { return m_nLines; }

    // Flushes and closes; throws FileError on a write error (full disk).
    void Close();
    // Closes, makes the data durable and renames the file over target.
    void CommitOver(const std::string& target);
    // Closes and deletes the unfinished file (used when an operation fails).
    void Discard();

    const std::string& Path() const { return m_strPath; }

private:
    void Fail();

    std::string m_strPath;
    FILE* m_pFile = nullptr;
    int m_nLines = 0;
};

// Appends one line to a store file: creates it with the line bare when it does
// not exist. A file that is empty or already ends with a line break (as a text
// editor leaves it) gets the line without another break, so no empty line ever
// hides it; otherwise CR LF + line. Throws FileError.
void AppendStoreLine(const std::string& path, std::string_view line);

// Deletes a file; throws FileError naming it when it cannot.
void DeleteStoreFile(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace tarnwick
