#include "store/SiteIndex.h"

#include "store/StoreFileWriter.h"
#include "store/StoreLineReader.h"

namespace tarnwick {
namespace {

// The key of a line: its text before the first "**" (empty without one).
std::string_view KeyOf(std::string_view line) {
    const size_t p = line.find("**");
    return p == std::string_view::npos ? std::string_view() : line.substr(0, p);
}

}  // namespace

SiteLookup SiteIndex::Lookup(const std::string& baseName, const std::string& address) const {
    StoreLineReader reader(m_folder.StIndexPath());
    if (!reader.IsOpen()) {
        return {SiteLookup::Kind::IndexMissing, 0};
    }
    bool found = false;
    int count = 0;
    std::string line;
    while (reader.ReadStoreLine(line)) {
        const std::string_view view(line);
        if (KeyOf(view) != baseName || view.find("**") == std::string_view::npos) {
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

void SiteIndex::Record(const std::string& baseName, const std::string& address,
                       const SiteLookup& lookup) const {
    switch (lookup.m_eKind) {
        case SiteLookup::Kind::IndexMissing: {
            StoreFileWriter file(m_folder.DummyPath());
            file.WriteLine(baseName + "**" + address + "||");
            file.CommitOver(m_folder.StIndexPath());
            break;
        }
        case SiteLookup::Kind::BaseNotFound:
            AppendStoreLine(m_folder.StIndexPath(), baseName + "**" + address + "||",
                            m_folder.DummyPath());
            break;
        case SiteLookup::Kind::BaseFound: {
            StoreLineReader reader(m_folder.StIndexPath());
            StoreFileWriter temp(m_folder.DummyPath());
            std::string line;
            while (reader.ReadStoreLine(line)) {
                if (line.find("**") != std::string::npos && KeyOf(line) == baseName) {
                    line += address + "||";
                }
                temp.WriteLine(line);
            }
            temp.CommitOver(m_folder.StIndexPath());
            break;
        }
        case SiteLookup::Kind::AddressFound:
            break;
    }
}

}  // namespace tarnwick
