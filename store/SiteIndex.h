// stindex.txt, the site index: per base name, every advertiser's address ever
// added under it ("base name**address 1||address 2||"). The k-th address
// belongs to the profile base name (k = 1) or base name (k) (k >= 2).
#pragma once

#include <string>

#include "store/DataFolder.h"

namespace tarnwick {

struct SiteLookup {
    enum class Kind { IndexMissing, BaseNotFound, BaseFound, AddressFound };
    Kind m_kind = Kind::IndexMissing;
    // BaseFound: the next number k; AddressFound: the address's own k, so
    // the profile it belongs to is known (base name, or base name (k)).
    int m_next = 0;
};

class SiteIndex {
public:
    explicit SiteIndex(DataFolder folder) : m_folder(std::move(folder)) {}

    SiteLookup lookup(const std::string& baseName, const std::string& address) const;

    // Records the address as the lookup says: creates the index, appends a
    // line, or extends the base name's line; nothing when the address was
    // found. Throws FileError.
    void record(const std::string& baseName, const std::string& address,
                const SiteLookup& lookup) const;

private:
    DataFolder m_folder;
};

}  // namespace tarnwick
