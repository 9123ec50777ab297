#include "store/ProfileNames.h"

#include <array>
#include <string_view>

namespace tarnwick {
namespace {

bool contains(const std::string& s, std::string_view x) {
    return s.find(x) != std::string::npos;
}

// The text after the first x of s; all of s when s has no x.
std::string afterFirst(const std::string& s, std::string_view x) {
    const size_t p = s.find(x);
    return p == std::string::npos ? s : s.substr(p + x.size());
}

// The text after the last "." of s; all of s when s has none.
std::string afterLastDot(const std::string& s) {
    const size_t p = s.rfind('.');
    return p == std::string::npos ? s : s.substr(p + 1);
}

// The text before the last "." of s; empty when s has none.
std::string beforeLastDot(const std::string& s) {
    const size_t p = s.rfind('.');
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

constexpr std::array<std::string_view, 6> kGenericLabels = {"co",  "com", "info",
                                                            "biz", "net", "org"};

}  // namespace

std::string hostPart(const std::string& s) {
    std::string r;
    if (contains(s, "http")) {
        if (contains(s, "www")) {
            r = afterFirst(s, ".");
        } else if (contains(s, "//")) {
            r = afterFirst(s, "//");
        } else {
            r = s.substr(1);
        }
    } else if (contains(s, "www") || contains(s, "ftp.")) {
        r = afterFirst(s, ".");
    } else if (contains(s, "ftp:")) {
        return std::string();  // an ftp: address without an ftp. host has none
    } else {
        r = s;
    }
    return r.substr(0, r.find('/'));
}

std::string baseName(const std::string& h) {
    const std::string g = afterLastDot(h);
    const std::string d = beforeLastDot(h);
    if (g.size() == 2) {
        const std::string f = afterLastDot(d);
        for (std::string_view label : kGenericLabels) {
            if (f == label) {
                const size_t p = h.find("." + f);
                const std::string b = h.substr(0, p);
                return afterLastDot(b) + "." + f + "." + g;
            }
        }
        return f + "." + g;
    }
    return afterLastDot(d) + "." + g;
}

std::string profileName(const std::string& text) {
    // A numbered profile's " (k)" suffix, k in decimal.
    if (text.size() >= 4 && text.back() == ')') {
        const size_t open = text.rfind(" (");
        if (open != std::string::npos && open + 3 < text.size()) {
            bool digits = true;
            for (size_t i = open + 2; i + 1 < text.size(); ++i) {
                digits = digits && text[i] >= '0' && text[i] <= '9';
            }
            if (digits) {
                return baseName(hostPart(text.substr(0, open))) + text.substr(open);
            }
        }
    }
    return baseName(hostPart(text));
}

std::string numberedProfileName(const std::string& baseName, int k) {
    return k == 1 ? baseName : baseName + " (" + std::to_string(k) + ")";
}

}  // namespace tarnwick
