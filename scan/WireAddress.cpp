#include "scan/WireAddress.h"

#include <algorithm>

#include "common/AsciiText.h"
#include "common/Cp1252.h"

namespace tarnwick {
namespace {

void percentEncode(std::string& out, std::string_view part) {
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : part) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
}

}  // namespace

std::string encodeForWire(const std::string& address) {
    std::string out;
    out.reserve(address.size() + 16);
    const size_t schemeEnd = address.find("://");
    if (schemeEnd == std::string::npos) {
        percentEncode(out, address);
        return out;
    }
    const size_t authorityBegin = schemeEnd + 3;
    const size_t authorityEnd =
        std::min(address.find_first_of("/?#", authorityBegin), address.size());
    const std::string_view authority(address.data() + authorityBegin,
                                     authorityEnd - authorityBegin);
    const size_t at = authority.rfind('@');
    const size_t hostBegin = at == std::string_view::npos ? 0 : at + 1;
    size_t hostEnd = authority.size();
    if (hostBegin < authority.size() && authority[hostBegin] != '[') {
        hostEnd = std::min(authority.find(':', hostBegin), authority.size());
    }
    const std::string_view host = authority.substr(hostBegin, hostEnd - hostBegin);
    out.append(address, 0, authorityBegin);
    percentEncode(out, authority.substr(0, hostBegin));
    if (std::all_of(host.begin(), host.end(), [](char c) { return (c & 0x80) == 0; })) {
        percentEncode(out, host);
    } else {
        // Control bytes and blanks cannot be part of any host name; they stay
        // visible to libcurl, which refuses the address.
        out += isUtf8(host) ? std::string(host) : cp1252ToUtf8(host);
    }
    percentEncode(out, authority.substr(hostEnd));
    percentEncode(out, std::string_view(address).substr(authorityEnd));
    return out;
}

std::string hostOf(const std::string& address) {
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos) {
        return {};
    }
    const size_t begin = scheme + 3;
    const size_t end = std::min(address.find_first_of("/?#", begin), address.size());
    std::string host = address.substr(begin, end - begin);
    const size_t at = host.rfind('@');
    if (at != std::string::npos) {
        host.erase(0, at + 1);
    }
    if (!host.empty() && host[0] == '[') {
        host.erase(std::min(host.find(']'), host.size()));
    } else {
        host.erase(std::min(host.find(':'), host.size()));
    }
    return loweredAscii(host);
}

bool isFetchable(std::string_view address) {
    const std::size_t colon = address.find("://");
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string scheme = loweredAscii(address.substr(0, colon));
    return scheme == "http" || scheme == "https" || scheme == "ftp";
}

}  // namespace tarnwick
