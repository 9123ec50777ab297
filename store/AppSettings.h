// The settings the desktop program and the command line share, kept in one
// INI file: ${XDG_CONFIG_HOME:-~/.config}/tarnwick/settings.ini. The core
// reads it; the desktop program's Preferences dialog writes it; command-line
// options override a value for one run.
//
//   [scan]
//   page_timeout_seconds=120
//   silence_timeout_seconds=20  no byte for this long gives a page up
//   jobs=256                 pages fetched side by side
//   host_connections=2       transfers to one host at once
//   host_interval_ms=0       between the starts of two requests to one host
//   link_farm_links=100      more links to other hosts make a page a link farm
//   render=0                 1: pages also loaded in headless Chromium
//   cloak_check=1            a page with a good link is fetched again as
//                            Googlebot to see whether it is shown the same
//
// Read by IniFile: blanks, letter case of keys, a byte-order mark and CR LF
// do not matter; a missing file or key leaves the default, a number outside
// its range is clamped into it and text that is no number leaves the
// default, with a warning. Unknown sections and keys are ignored.
#pragma once

#include <string>
#include <vector>

namespace tarnwick {

class AppSettings {
public:
    static constexpr long kDefaultPageTimeoutSeconds = 120;
    static constexpr long kMinPageTimeoutSeconds = 1;
    static constexpr long kMaxPageTimeoutSeconds = 3600;

    static constexpr long kDefaultSilenceSeconds = 20;
    static constexpr long kMinSilenceSeconds = 1;
    static constexpr long kMaxSilenceSeconds = 3600;

    // Transfers on the wire at once, over all hosts; what one host sees is
    // set by the two host limits alone.
    static constexpr long kDefaultJobs = 256;
    static constexpr long kMinJobs = 1;
    static constexpr long kMaxJobs = 1024;
    static constexpr long kDefaultHostConnections = 2;
    static constexpr long kMinHostConnections = 1;
    static constexpr long kMaxHostConnections = 16;
    static constexpr long kDefaultHostIntervalMs = 0;
    static constexpr long kMinHostIntervalMs = 0;
    static constexpr long kMaxHostIntervalMs = 60000;
    static constexpr long kDefaultLinkFarmLinks = 100;
    static constexpr long kMinLinkFarmLinks = 1;
    static constexpr long kMaxLinkFarmLinks = 1000000;

    long m_pageTimeoutSeconds = kDefaultPageTimeoutSeconds;
    long m_silenceSeconds = kDefaultSilenceSeconds;
    long m_jobs = kDefaultJobs;
    long m_hostConnections = kDefaultHostConnections;
    long m_hostIntervalMs = kDefaultHostIntervalMs;
    long m_linkFarmLinks = kDefaultLinkFarmLinks;
    bool m_render = false;
    bool m_cloakCheck = true;

    // The file's path from the environment, read anew.
    static std::string path();
    // The settings in the file at path (Path() when empty); defaults for
    // whatever is missing or unusable, and a warning for each value not used
    // as it stands (and for a file that is not a regular file) appended to
    // warnings. Never throws, never blocks.
    static AppSettings load(const std::string& path = {},
                            std::vector<std::string>* warnings = nullptr);
    // Writes every setting to path (Path() when empty), creating its folder.
    // Throws FileError naming the file when it cannot.
    void save(const std::string& path = {}) const;

    bool operator==(const AppSettings&) const = default;
};

}  // namespace tarnwick
