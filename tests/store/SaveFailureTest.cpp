// Every operation that changes a store file, made to fail part way through its
// writing (the files cannot grow past a few bytes, as on a full disk): the
// data folder must come out byte for byte as it went in. The operations are
// called as the dialogs call them, so a caller that writes a file in place
// instead of through its temporary fails here.
#include <gtest/gtest.h>

#include <functional>

#include "store/FileError.h"
#include "store/ProfileFile.h"
#include "store/ProfileList.h"
#include "store/SiteIndex.h"
#include "support/FileSizeLimit.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::LimitedRun;
using test::writeBytes;

// Two profiles with a few pages each, a site index and a stray temporary
// from an earlier crash; every file longer than the size limit below.
void makeStore(const DataFolder& f) {
    f.ensureProfilesFolder();
    writeBytes(f.profilePath("example.com"),
               "Link: http://www.example.com/\r\nhttp://a.example.net/links.html||| |||1|||\r\n"
               "http://b.example.org/friends.html|||web@example.org|||0|||\r\n"
               "http://c.example.org/more.html|||x@example.org|||1|||");
    writeBytes(f.profilePath("example.org"),
               "Link: example.org\r\nhttp://d.example.net/partners.html|||d@example.net|||1|||");
    writeBytes(f.indexPath(), f.profilePath("example.com") + "\r\n" + f.profilePath("example.org"));
    writeBytes(f.stIndexPath(),
               "example.com**http://www.example.com/||\r\nexample.org**example.org||");
}

struct Case {
    const char* name;
    std::function<void(const DataFolder&)> operation;
};

const std::vector<ImportRow> kRows = {{"http://new.example.net/page.html", "n@example.net"},
                                      {"http://other.example.net/page.html", ""}};
const std::vector<ProfilePage> kPages = {
    {"http://edited.example.net/page.html", "e@example.net", "Enabled"},
    {"http://kept.example.net/page.html", "", "Disabled"}};

const std::vector<Case> kCases = {
    {"Overwrite",
     [](const DataFolder& f) {
         ProfileFile(f).overwrite(f.profilePath("example.com"), "example.com", kRows, true);
     }},
    {"Append",
     [](const DataFolder& f) {
         ProfileFile(f).append(f.profilePath("example.com"), "example.com", kRows, true);
     }},
    {"Rewrite", [](const DataFolder& f) { ProfileFile(f).rewrite("www.example.com", kPages); }},
    {"DeletePages",
     [](const DataFolder& f) { ProfileFile(f).deletePages("www.example.com", {0}); }},
    {"KeepPages", [](const DataFolder& f) { ProfileFile(f).keepPages("www.example.com", kPages); }},
    {"ChangeAddress to a new name",
     [](const DataFolder& f) {
         ProfileFile(f).changeAddress("www.example.com", "http://www.example.net/");
     }},
    {"ChangeAddress within the same name",
     [](const DataFolder& f) {
         ProfileFile(f).changeAddress("www.example.com", "http://www.example.com/links/");
     }},
    {"ProfileList Add", [](const DataFolder& f) { ProfileList(f).add(f.profilePath("x.com")); }},
    {"ProfileList Replace",
     [](const DataFolder& f) {
         ProfileList(f).replace(f.profilePath("example.org"), f.profilePath("example.info"));
     }},
    {"ProfileList Remove", [](const DataFolder& f) { ProfileList(f).remove({0}); }},
    {"SiteIndex new base name",
     [](const DataFolder& f) {
         SiteIndex index(f);
         index.record("example.net", "example.net", index.lookup("example.net", "example.net"));
     }},
    {"SiteIndex numbered address",
     [](const DataFolder& f) {
         SiteIndex index(f);
         index.record("example.com", "shop.example.com",
                      index.lookup("example.com", "shop.example.com"));
     }},
};

TEST(SaveFailure, AFailedWriteLeavesEveryStoreFileAsItWas) {
    for (const Case& c : kCases) {
        test::TempDataFolder temp;
        const DataFolder& f = temp.folder();
        makeStore(f);
        const auto before = test::snapshot(temp.root());
        EXPECT_EQ(test::runWithFileSizeLimit(8, [&] { c.operation(f); }), LimitedRun::FileError)
            << c.name;
        EXPECT_EQ(test::snapshot(temp.root()), before) << c.name;

        // The same operation without the limit succeeds, so the failure above
        // was the disk's and not the case's.
        EXPECT_EQ(test::runWithFileSizeLimit(1 << 20, [&] { c.operation(f); }),
                  LimitedRun::Succeeded)
            << c.name;
        EXPECT_NE(test::snapshot(temp.root()), before) << c.name;
    }
}

// A site index created from nothing, and a new profile: a failure leaves no
// half-written file behind.
TEST(SaveFailure, AFailedFirstSaveLeavesNoPartialFile) {
    test::TempDataFolder temp;
    const DataFolder& f = temp.folder();
    f.ensureProfilesFolder();
    const auto before = test::snapshot(temp.root());
    EXPECT_EQ(test::runWithFileSizeLimit(8,
                                         [&] {
                                             SiteIndex index(f);
                                             index.record("example.com", "http://www.example.com/",
                                                          index.lookup("example.com", "x"));
                                         }),
              LimitedRun::FileError);
    EXPECT_EQ(test::snapshot(temp.root()), before);
}

}  // namespace
}  // namespace tarnwick
