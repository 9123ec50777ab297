// The settings the desktop program and the command line share, kept in one
// INI file: ${XDG_CONFIG_HOME:-~/.config}/tarnwick/settings.ini. The core
// reads it; the desktop program's Preferences dialog writes it; command-line
// options override a value for one run.
//
//   [scan]
//   page_timeout_seconds=120
//   jobs=32                  pages fetched side by side
//   host_connections=2       transfers to one host at once
//   host_interval_ms=0       between the starts of two requests to one host
//
// A missing file, a missing key or a value that is no number in range leaves
// the default. Unknown sections and keys are kept out of the way (ignored).
#pragma once

#include <string>

namespace tarnwick {

class AppSettings {
public:
    static constexpr long kDefaultPageTimeoutSeconds = 120;
    static constexpr long kMinPageTimeoutSeconds = 1;
    static constexpr long kMaxPageTimeoutSeconds = 3600;

    static constexpr long kDefaultJobs = 32;
    static constexpr long kMinJobs = 1;
    static constexpr long kMaxJobs = 64;
    static constexpr long kDefaultHostConnections = 2;
    static constexpr long kMinHostConnections = 1;
    static constexpr long kMaxHostConnections = 16;
    static constexpr long kDefaultHostIntervalMs = 0;
    static constexpr long kMinHostIntervalMs = 0;
    static constexpr long kMaxHostIntervalMs = 60000;

    long m_nPageTimeoutSeconds = kDefaultPageTimeoutSeconds;
    long m_nJobs = kDefaultJobs;
    long m_nHostConnections = kDefaultHostConnections;
    long m_nHostIntervalMs = kDefaultHostIntervalMs;

    // The file's path from the environment, read anew.
    static std::string Path();
    // The settings in the file at path (Path() when empty); defaults for
    // whatever is missing or unusable. Never throws.
    static AppSettings Load(const std::string& path = {});
    // Writes every setting to path (Path() when empty), creating its folder.
    // Throws FileError naming the file when it cannot.
    void Save(const std::string& path = {}) const;

    // "120" -> 120; false for text that is not a whole number in [min, max].
    static bool ParseNumber(const std::string& text, long min, long max, long& value);
    static bool ParseSeconds(const std::string& text, long min, long max, long& value) {
        return ParseNumber(text, min, max, value);
    }

    bool operator==(const AppSettings&) const = default;
};

}  // namespace tarnwick
