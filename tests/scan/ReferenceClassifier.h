// The whole-page rule, written the plain way: the page and the address are
// lowered, the page is held whole,
// searched for the two phrases, then for the address with the text cut behind
// every occurrence that has no "href=" in the 50 characters before it. The
// streaming classifier must give the same word for every page.
#pragma once

#include <string>

#include "support/Cp1252LowerTable.h"

namespace tarnwick::test {

inline std::string ReferenceClassify(const std::string& page, std::string address) {
    if (page.empty()) {
        return "Page cannot be displayed";
    }
    std::string t = page;
    for (char& c : t) {
        c = LowerCp1252Reference(c);  // the code page's own table, not the program's
    }
    const size_t p1 = t.find("page cannot be found");
    const size_t p2 = t.find("404 not found");
    if ((p1 != std::string::npos && p1 > 0) || (p2 != std::string::npos && p2 > 0)) {
        return "Page Cannot be Found";
    }
    for (char& c : address) {
        c = LowerCp1252Reference(c);
    }
    if (address.empty()) {
        return "Link Not Found";
    }
    const size_t n = address.size();
    size_t p = t.find(address);
    while (p != std::string::npos) {
        const std::string w = p < 50 ? t.substr(0, p) : t.substr(p - 50, 50);
        if (w.find("href=") != std::string::npos) {
            return "Link Found";
        }
        t = t.substr(p + n);
        p = t.find(address);
    }
    return "Link Not Found";
}

}  // namespace tarnwick::test
