#include "store/AppSettings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "store/FileError.h"
#include "store/IniFile.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

std::string configHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// mkdir -p for the settings folder (0700: the user's own settings).
void makeFolders(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    for (size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        const std::string part = at == std::string::npos ? folder : folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            throw FileError(part, errno);
        }
        if (at == std::string::npos) {
            return;
        }
    }
}

}  // namespace

std::string AppSettings::path() {
    return configHome() + "/tarnwick/settings.ini";
}

AppSettings AppSettings::load(const std::string& path, std::vector<std::string>* warnings) {
    AppSettings settings;
    IniFile file(path.empty() ? AppSettings::path() : path);
    settings.m_pageTimeoutSeconds =
        file.number("scan", "page_timeout_seconds", kMinPageTimeoutSeconds, kMaxPageTimeoutSeconds,
                    kDefaultPageTimeoutSeconds);
    settings.m_silenceSeconds = file.number("scan", "silence_timeout_seconds", kMinSilenceSeconds,
                                            kMaxSilenceSeconds, kDefaultSilenceSeconds);
    settings.m_jobs = file.number("scan", "jobs", kMinJobs, kMaxJobs, kDefaultJobs);
    settings.m_hostConnections = file.number("scan", "host_connections", kMinHostConnections,
                                             kMaxHostConnections, kDefaultHostConnections);
    settings.m_hostIntervalMs = file.number("scan", "host_interval_ms", kMinHostIntervalMs,
                                            kMaxHostIntervalMs, kDefaultHostIntervalMs);
    settings.m_linkFarmLinks = file.number("scan", "link_farm_links", kMinLinkFarmLinks,
                                           kMaxLinkFarmLinks, kDefaultLinkFarmLinks);
    settings.m_render = file.number("scan", "render", 0, 1, 0) == 1;
    settings.m_cloakCheck = file.number("scan", "cloak_check", 0, 1, 1) == 1;
    if (warnings != nullptr) {
        warnings->insert(warnings->end(), file.warnings().begin(), file.warnings().end());
    }
    return settings;
}

void AppSettings::save(const std::string& path) const {
    const std::string target = path.empty() ? AppSettings::path() : path;
    makeFolders(folderOf(target));
    StoreFileWriter writer(target + ".new");
    try {
        writer.writeRaw("[scan]\n");
        writer.writeRaw("page_timeout_seconds=" + std::to_string(m_pageTimeoutSeconds) + "\n");
        writer.writeRaw("silence_timeout_seconds=" + std::to_string(m_silenceSeconds) + "\n");
        writer.writeRaw("jobs=" + std::to_string(m_jobs) + "\n");
        writer.writeRaw("host_connections=" + std::to_string(m_hostConnections) + "\n");
        writer.writeRaw("host_interval_ms=" + std::to_string(m_hostIntervalMs) + "\n");
        writer.writeRaw("link_farm_links=" + std::to_string(m_linkFarmLinks) + "\n");
        writer.writeRaw(std::string("render=") + (m_render ? "1" : "0") + "\n");
        writer.writeRaw(std::string("cloak_check=") + (m_cloakCheck ? "1" : "0") + "\n");
        writer.commitOver(target);
    } catch (...) {
        writer.discard();
        throw;
    }
}

}  // namespace tarnwick
