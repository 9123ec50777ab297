// The one way the program writes a file. Store files are written line by line:
// the first line bare, every later line as CR LF + line, so a file never ends
// with a line break. A writer either finishes a file in place (Close) or, for
// rewrites, fills a temporary beside its target and renames it over the
// target (CommitOver), so there is no moment when the target is missing or
// half written. A writer that is destroyed unfinished removes what it wrote.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace tarnwick {

class StoreFileWriter {
public:
    // Creates or truncates path with the permissions mode from the first byte
    // on (a file that exists with wider permissions is narrowed before
    // anything is written). Throws FileError naming the file when it cannot.
    explicit StoreFileWriter(std::string path, mode_t mode = 0644);
    ~StoreFileWriter();
    StoreFileWriter(const StoreFileWriter&) = delete;
    StoreFileWriter& operator=(const StoreFileWriter&) = delete;

    // One store line: bare when it is the first, else preceded by CR LF.
    void writeLine(std::string_view line);
    // Bytes as they are (the caller writes its own CR LF).
    void writeRaw(std::string_view bytes);
    int linesWritten() const { return m_lines; }

    // Flushes, makes the data durable and closes; throws FileError naming the
    // file on a write error (full disk, file too large). The file stays.
    void close();
    // Closes as above and renames the file over target; on any failure the
    // file is removed, target is left as it was, and FileError names the file
    // that failed.
    void commitOver(const std::string& target);
    // Closes and deletes the unfinished file (not a device or pipe it opened).
    void discard();

    const std::string& path() const { return m_path; }

private:
    [[noreturn]] void fail(int err);

    std::string m_path;
    FILE* m_file = nullptr;
    bool m_regular = true;
    bool m_done = false;
    int m_lines = 0;
};

// Appends one line to a store file: creates it with the line bare when it does
// not exist. A file that is empty or already ends with a line break (as a text
// editor leaves it) gets the line without another break, so no empty line ever
// hides it; otherwise CR LF + line. The new version is written through temp
// (beside the file; path + ".new" when not given) and renamed over it.
// Throws FileError.
void appendStoreLine(const std::string& path, std::string_view line, const std::string& temp = {});

// Deletes a file; throws FileError naming it when it cannot.
void deleteStoreFile(const std::string& path);

bool fileExists(const std::string& path);

}  // namespace tarnwick
