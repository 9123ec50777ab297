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
    const DataFolder& f = fuzz::Folder();
    fuzz::Put(f.IndexPath(), data, size);
    fuzz::Put(f.StIndexPath(), data, size);
    const std::string profile = f.ProfilePath("example.com");
    fuzz::Put(profile, data, size);

    const ProfileList list(f);
    const std::vector<std::string> lines = list.Read();
    for (const std::string& line : lines) {
        if (line.empty()) {
            __builtin_trap();  // readers stop at the first empty line
        }
        const std::string own = list.OwnFileOf(line);
        if (own.compare(0, f.ProfilesFolder().size(), f.ProfilesFolder()) != 0) {
            __builtin_trap();  // a row's file is always inside the Profiles folder
        }
    }
    list.PlanRemove({0, 1, 2});
    const SiteIndex sites(f);
    const std::string text(reinterpret_cast<const char*>(data), size < 16 ? size : 16);
    sites.Lookup("example.com", text);
    sites.Lookup(text, "example.com");
    ProfileFile::ReadForResults(profile);
    ProfileFile::ReadForEdit(profile);
    ProfileFile::ReadAfterDelete(profile);

    fuzz::Put(f.Folder() + "/" + kLetterRulesFileName, data, size);
    std::vector<std::string> warnings;
    const LetterRules rules = ReadLetterRules(f.Folder(), &warnings);
    if (rules.m_nMissingRuns < 1 || rules.m_nMissingRuns > 1000 || rules.m_nQuietDays < 0 ||
        rules.m_nQuietDays > 36500 || warnings.size() > 2) {
        __builtin_trap();  // clamped into range, at most one warning per key
    }
    return 0;
}
