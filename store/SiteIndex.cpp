#include "store/SiteIndex.h"

#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {
namespace {

// The key of a line: its text before the first "**" (empty without one).
std::string_view keyOf(std::string_view line) {
    const size_t p = line.find("**");
    return p == std::string_view::npos ? std::string_view() : line.substr(0, p);
}

}  // namespace

SiteLookup SiteIndex::lookup(const std::string& baseName, const std::string& address) const {
    StoreLineReader reader(m_folder.stIndexPath());
    if (!reader.isOpen()) {
        return {SiteLookup::Kind::IndexMissing, 0};
    }
    bool found = false;
    int count = 0;
    std::string line;
    while (reader.readStoreLine(line)) {
        const std::string_view view(line);
        if (keyOf(view) != baseName || view.find("**") == std::string_view::npos) {
            continue;
        }
        found = true;
        std::string_view rest = view.substr(view.find("**") + 2);
        for (size_t end = rest.find("||"); end != std::string_view::npos; end = rest.find("||")) {
            if (rest.substr(0, end) == address) {
                return {SiteLookup::Kind::AddressFound, count + 1};
            }
            ++count;
            rest.remove_prefix(end + 2);
        }
    }
    if (!found) {
        return {SiteLookup::Kind::BaseNotFound, 0};
    }
    return {SiteLookup::Kind::BaseFound, count + 1};
}

void SiteIndex::record(const std::string& baseName, const std::string& address,
                       const SiteLookup& lookup) const {
    switch (lookup.m_kind) {
        case SiteLookup::Kind::IndexMissing: {
            StoreFileWriter file(m_folder.dummyPath());
            file.writeLine(baseName + "**" + address + "||");
            file.commitOver(m_folder.stIndexPath());
            break;
        }
        case SiteLookup::Kind::BaseNotFound:
            appendStoreLine(m_folder.stIndexPath(), baseName + "**" + address + "||",
                            m_folder.dummyPath());
            break;
        case SiteLookup::Kind::BaseFound: {
            StoreLineReader reader(m_folder.stIndexPath());
            StoreFileWriter temp(m_folder.dummyPath());
            std::string line;
            while (reader.readStoreLine(line)) {
                if (line.find("**") != std::string::npos && keyOf(line) == baseName) {
                    line += address + "||";
                }
                temp.writeLine(line);
            }
            temp.commitOver(m_folder.stIndexPath());
            break;
        }
        case SiteLookup::Kind::AddressFound:
            break;
    }
}

}  // namespace tarnwick
