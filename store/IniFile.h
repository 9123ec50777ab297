// The one reader of the program's INI files: settings.ini (shared by the
// desktop program and the command line) and Letters.ini (the letter rules in
// the data folder). People edit them by hand, so the reader is lenient about
// form and strict about meaning:
//   - a UTF-8 byte-order mark, CR LF, LF or CR line ends are all fine;
//   - blanks (spaces, tabs) around keys, values, section names and "=" are
//     dropped; keys and section names are compared without regard to case
//     ("Missing_Runs = 2" is missing_runs=2);
//   - lines starting with '#' or ';' are comments; lines without '=' and
//     unknown keys are ignored; of a key given twice the last one counts;
//   - only a regular file is read: a FIFO, a device or a folder in its place
//     is never opened for a read that could block, and is ignored with a
//     warning;
//   - a number outside its range is clamped into it, text that is no number
//     leaves the default; either way with a warning that names the file, the
//     key and the value used.
// Each read gathers its own warnings, once per problem; the caller shows
// them (one read per run).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

class IniFile {
public:
    // Reads the file at once; a missing file reads as empty, without a
    // warning.
    explicit IniFile(std::string path);

    const std::string& path() const { return m_path; }

    // The value of key in section ("" for the keys before any section).
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // The number under key, clamped into [min, max]; fallback when the key
    // is missing or its value is no whole number. Warns about a value that
    // was not used as it stands.
    long number(std::string_view section, std::string_view key, long min, long max, long fallback);

    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    std::string m_path;
    // (section, key), both lowered -> value.
    std::map<std::pair<std::string, std::string>, std::string> m_values;
    std::vector<std::string> m_warnings;
};

}  // namespace tarnwick
