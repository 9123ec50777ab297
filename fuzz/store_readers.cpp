// index.txt, stindex.txt, a profile file and Letters.ini made of the input's
// bytes: every reader and the removal plan must cope without a crash, a hang
// or a read past the end, and the letter rules stay within their ranges.
#include <set>

#include "FuzzFolder.h"
#include "history/LetterRules.h"
#include "store/ProfileFile.h"
#include "store/ProfileList.h"
#include "store/SiteIndex.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const DataFolder& f = fuzz::folder();
    fuzz::put(f.indexPath(), data, size);
    fuzz::put(f.stIndexPath(), data, size);
    const std::string profile = f.profilePath("example.com");
    fuzz::put(profile, data, size);

    const ProfileList list(f);
    const std::vector<std::string> lines = list.read();
    for (const std::string& line : lines) {
        if (line.empty()) {
            __builtin_trap();  // readers stop at the first empty line
        }
        const std::string own = list.ownFileOf(line);
        if (own.compare(0, f.profilesFolder().size(), f.profilesFolder()) != 0) {
            __builtin_trap();  // a row's file is always inside the Profiles folder
        }
    }
    list.planRemove({0, 1, 2});
    const SiteIndex sites(f);
    const std::string text(reinterpret_cast<const char*>(data), size < 16 ? size : 16);
    sites.lookup("example.com", text);
    sites.lookup(text, "example.com");
    ProfileFile::readForResults(profile);
    ProfileFile::readForEdit(profile);
    ProfileFile::readAfterDelete(profile);

    fuzz::put(f.folder() + "/" + kLetterRulesFileName, data, size);
    std::vector<std::string> warnings;
    const LetterRules rules = readLetterRules(f.folder(), &warnings);
    if (rules.m_missingRuns < 1 || rules.m_missingRuns > 1000 || rules.m_quietDays < 0 ||
        rules.m_quietDays > 36500 || warnings.size() > 2) {
        __builtin_trap();  // clamped into range, at most one warning per key
    }
    return 0;
}
