#include "store/AppSettings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "store/FileError.h"
#include "store/IniFile.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

std::string ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// mkdir -p for the settings folder (0700: the user's own settings).
void MakeFolders(const std::string& folder) {
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

std::string AppSettings::Path() {
    return ConfigHome() + "/tarnwick/settings.ini";
}

AppSettings AppSettings::Load(const std::string& path, std::vector<std::string>* warnings) {
    AppSettings settings;
    IniFile file(path.empty() ? Path() : path);
    settings.m_nPageTimeoutSeconds =
        file.number("scan", "page_timeout_seconds", kMinPageTimeoutSeconds, kMaxPageTimeoutSeconds,
                    kDefaultPageTimeoutSeconds);
    settings.m_nSilenceSeconds = file.number("scan", "silence_timeout_seconds", kMinSilenceSeconds,
                                             kMaxSilenceSeconds, kDefaultSilenceSeconds);
    settings.m_nJobs = file.number("scan", "jobs", kMinJobs, kMaxJobs, kDefaultJobs);
    settings.m_nHostConnections = file.number("scan", "host_connections", kMinHostConnections,
                                              kMaxHostConnections, kDefaultHostConnections);
    settings.m_nHostIntervalMs = file.number("scan", "host_interval_ms", kMinHostIntervalMs,
                                             kMaxHostIntervalMs, kDefaultHostIntervalMs);
    settings.m_nLinkFarmLinks = file.number("scan", "link_farm_links", kMinLinkFarmLinks,
                                            kMaxLinkFarmLinks, kDefaultLinkFarmLinks);
    settings.m_bRender = file.number("scan", "render", 0, 1, 0) == 1;
    settings.m_bCloakCheck = file.number("scan", "cloak_check", 0, 1, 1) == 1;
    if (warnings != nullptr) {
        warnings->insert(warnings->end(), file.warnings().begin(), file.warnings().end());
    }
    return settings;
}

void AppSettings::Save(const std::string& path) const {
    const std::string target = path.empty() ? Path() : path;
    MakeFolders(FolderOf(target));
    StoreFileWriter writer(target + ".new");
    try {
        writer.WriteRaw("[scan]\n");
        writer.WriteRaw("page_timeout_seconds=" + std::to_string(m_nPageTimeoutSeconds) + "\n");
        writer.WriteRaw("silence_timeout_seconds=" + std::to_string(m_nSilenceSeconds) + "\n");
        writer.WriteRaw("jobs=" + std::to_string(m_nJobs) + "\n");
        writer.WriteRaw("host_connections=" + std::to_string(m_nHostConnections) + "\n");
        writer.WriteRaw("host_interval_ms=" + std::to_string(m_nHostIntervalMs) + "\n");
        writer.WriteRaw("link_farm_links=" + std::to_string(m_nLinkFarmLinks) + "\n");
        writer.WriteRaw(std::string("render=") + (m_bRender ? "1" : "0") + "\n");
        writer.WriteRaw(std::string("cloak_check=") + (m_bCloakCheck ? "1" : "0") + "\n");
        writer.CommitOver(target);
    } catch (...) {
        writer.Discard();
        throw;
    }
}

}  // namespace tarnwick
