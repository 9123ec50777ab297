#include "store/AppSettings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "store/FileError.h"
#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {
namespace {

std::string ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string Trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
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

bool AppSettings::ParseNumber(const std::string& text, long min, long max, long& value) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 9) {
        return false;
    }
    long v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    if (v < min || v > max) {
        return false;
    }
    value = v;
    return true;
}

AppSettings AppSettings::Load(const std::string& path) {
    AppSettings settings;
    StoreLineReader reader(path.empty() ? Path() : path);
    std::string line;
    std::string section;
    while (reader.ReadLine(line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == '#' || t[0] == ';') {
            continue;
        }
        if (t.front() == '[' && t.back() == ']') {
            section = Trim(t.substr(1, t.size() - 2));
            continue;
        }
        const size_t eq = t.find('=');
        if (eq == std::string::npos || section != "scan") {
            continue;
        }
        const std::string key = Trim(t.substr(0, eq));
        const std::string value = t.substr(eq + 1);
        if (key == "page_timeout_seconds") {
            ParseNumber(value, kMinPageTimeoutSeconds, kMaxPageTimeoutSeconds,
                        settings.m_nPageTimeoutSeconds);
        } else if (key == "jobs") {
            ParseNumber(value, kMinJobs, kMaxJobs, settings.m_nJobs);
        } else if (key == "host_connections") {
            ParseNumber(value, kMinHostConnections, kMaxHostConnections,
                        settings.m_nHostConnections);
        } else if (key == "host_interval_ms") {
            ParseNumber(value, kMinHostIntervalMs, kMaxHostIntervalMs, settings.m_nHostIntervalMs);
        }
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
        writer.WriteRaw("jobs=" + std::to_string(m_nJobs) + "\n");
        writer.WriteRaw("host_connections=" + std::to_string(m_nHostConnections) + "\n");
        writer.WriteRaw("host_interval_ms=" + std::to_string(m_nHostIntervalMs) + "\n");
        writer.CommitOver(target);
    } catch (...) {
        writer.Discard();
        throw;
    }
}

}  // namespace tarnwick
