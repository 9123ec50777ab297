#include "store/IniFile.h"

#include <cerrno>
#include <cstring>

#include "common/AsciiText.h"
#include "store/BoundedNumber.h"
#include "store/StoreLineReader.h"

namespace tarnwick {
namespace {

std::string_view trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

// A value as a warning quotes it: control characters (a terminal's escape
// sequences) shown as '?', and not longer than a line.
std::string quoted(std::string_view value) {
    constexpr size_t kLongest = 40;
    std::string out = "\"";
    for (char c : value.substr(0, kLongest)) {
        const auto b = static_cast<unsigned char>(c);
        out += b < 0x20 || b == 0x7F ? '?' : c;
    }
    return out + (value.size() > kLongest ? "...\"" : "\"");
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {
    StoreLineReader reader(m_path);
    if (!reader.isOpen()) {
        const int error = reader.openError();
        if (error == EINVAL || error == EISDIR) {
            m_warnings.push_back(m_path + " is not a regular file; it is ignored");
        } else if (error != ENOENT && error != ENOTDIR) {
            m_warnings.push_back(m_path + " cannot be read (" + std::strerror(error) +
                                 "); it is ignored");
        }
        return;
    }
    std::string line;
    std::string section;
    while (reader.readLine(line)) {
        const std::string_view t = trimmed(line);
        if (t.empty() || t[0] == '#' || t[0] == ';') {
            continue;
        }
        if (t.front() == '[' && t.back() == ']') {
            section = loweredAscii(trimmed(t.substr(1, t.size() - 2)));
            continue;
        }
        const size_t eq = t.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        m_values[{section, loweredAscii(trimmed(t.substr(0, eq)))}] =
            std::string(trimmed(t.substr(eq + 1)));
    }
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto it = m_values.find({loweredAscii(section), loweredAscii(key)});
    if (it == m_values.end()) {
        return std::nullopt;
    }
    return it->second;
}

long IniFile::number(std::string_view section, std::string_view key, long min, long max,
                     long fallback) {
    const std::optional<std::string> text = value(section, key);
    if (!text) {
        return fallback;
    }
    const BoundedNumber n = BoundedNumber::parse(*text, min, max);
    const std::string said = m_path + ": " + std::string(key) + "=" + quoted(*text);
    switch (n.kind) {
        case BoundedNumber::Kind::InRange:
            return n.value;
        case BoundedNumber::Kind::Below:
        case BoundedNumber::Kind::Above:
            m_warnings.push_back(said + " is outside " + std::to_string(min) + " to " +
                                 std::to_string(max) + "; " + std::to_string(n.value) + " is used");
            return n.value;
        case BoundedNumber::Kind::NotANumber:
            break;
    }
    m_warnings.push_back(said + " is not a whole number; " + std::to_string(fallback) + " is used");
    return fallback;
}

}  // namespace tarnwick
