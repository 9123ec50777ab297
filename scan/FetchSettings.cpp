#include "scan/FetchSettings.h"

#include <sys/resource.h>

#include <algorithm>

namespace tarnwick {
namespace {

// Files the rest of the program keeps open (history, profiles, standard
// streams, the mail threads) beside the transfers.
constexpr long kOtherFiles = 64;
// Per transfer: its socket, an idle connection kept for reuse, and the two
// ends of a name look-up's pipe.
constexpr long kFilesPerJob = 4;

}  // namespace

PageFetcher::Options FetchSettings::fromSettings(const AppSettings& settings) {
    PageFetcher::Options fetch;
    fetch.pageTimeoutSeconds = settings.m_pageTimeoutSeconds;
    fetch.stallSeconds = settings.m_silenceSeconds;
    fetch.jobs = static_cast<int>(settings.m_jobs);
    fetch.hostConnections = static_cast<int>(settings.m_hostConnections);
    fetch.hostIntervalMs = settings.m_hostIntervalMs;
    fetch.cloakCheck = settings.m_cloakCheck;
    return fetch;
}

long FetchSettings::openFilesFor(int jobs) {
    return kFilesPerJob * std::max(1, jobs) + kOtherFiles;
}

std::optional<std::string> FetchSettings::fitOpenFiles(PageFetcher::Options& options) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return std::nullopt;  // nothing known: libcurl reports what fails
    }
    const auto need = static_cast<rlim_t>(openFilesFor(options.jobs));
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur >= need) {
        return std::nullopt;
    }
    if (limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    const rlim_t allowed = limit.rlim_max == RLIM_INFINITY ? need : std::min(need, limit.rlim_max);
    limit.rlim_cur = allowed;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) {
        limit.rlim_cur = 0;
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur >= need) {
        return std::nullopt;
    }
    const long fits =
        std::max(1L, (static_cast<long>(limit.rlim_cur) - kOtherFiles) / kFilesPerJob);
    const int asked = options.jobs;
    options.jobs = static_cast<int>(std::min<long>(fits, asked));
    return "only " + std::to_string(options.jobs) + " of " + std::to_string(asked) +
           " pages are fetched side by side: the system allows this program " +
           std::to_string(limit.rlim_cur) + " open files";
}

}  // namespace tarnwick
