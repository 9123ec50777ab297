// The fetch options of a run, from the shared settings, and room for them
// among the process's open files. The desktop program and the command line
// both take their options from here.
#pragma once

#include <optional>
#include <string>

#include "scan/PageFetcher.h"
#include "store/AppSettings.h"

namespace tarnwick {

class FetchSettings {
public:
    static PageFetcher::Options fromSettings(const AppSettings& settings);

    // Raises the process's soft limit of open files to what options need
    // (every transfer's socket, as many idle connections kept for reuse, and
    // the name look-ups under way). When the hard limit is lower, lowers
    // options.jobs to what fits and says so in a sentence for the user.
    static std::optional<std::string> fitOpenFiles(PageFetcher::Options& options);

    // The open files options.jobs transfers may need at once.
    static long openFilesFor(int jobs);
};

}  // namespace tarnwick
