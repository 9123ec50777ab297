#include "editing/ProfileSaver.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::readBytes;

class ProfileSaverTest : public ::testing::Test {
protected:
    test::TempDataFolder m_temp;
    const DataFolder& f() const { return m_temp.folder(); }

    SavedProfile saveNew(const std::string& address, const std::vector<ImportRow>& rows,
                         bool notify) {
        const SavePlan plan = planSave(f(), address);
        EXPECT_NE(plan.m_lookup.m_kind, SiteLookup::Kind::AddressFound);
        return saveNewProfile(f(), plan, address, rows, notify);
    }
};

TEST_F(ProfileSaverTest, FirstProfileIntoAnEmptyStore) {
    const SavedProfile saved =
        saveNew("http://www.example.com/", {{"a.net/x", ""}, {"b.org", "w@b.org"}}, false);
    EXPECT_EQ(saved.m_row, 0);
    EXPECT_EQ(saved.m_displayText, "http://www.example.com/");
    EXPECT_EQ(readBytes(f().stIndexPath()), "example.com**http://www.example.com/||");
    EXPECT_EQ(readBytes(f().indexPath()), f().profilesFolder() + "example.com.txt");
    EXPECT_EQ(readBytes(f().profilePath("example.com")),
              "Link: http://www.example.com/\r\na.net/x||| |||0|||\r\nb.org|||w@b.org|||0|||");
}

TEST_F(ProfileSaverTest, SecondAddressOfTheSameBaseNameIsNumbered) {
    saveNew("example.com", {{"a.net", ""}}, true);
    saveNew("other.org", {{"b.net", ""}}, true);
    const SavedProfile saved = saveNew("shop.example.com", {{"c.net", "m"}}, true);
    EXPECT_EQ(saved.m_row, 2);
    EXPECT_EQ(saved.m_displayText, "www.example.com (2)");
    EXPECT_EQ(readBytes(f().stIndexPath()),
              "example.com**example.com||shop.example.com||\r\nother.org**other.org||");
    EXPECT_EQ(readBytes(f().profilePath("example.com (2)")),
              "Link: shop.example.com\r\nc.net|||m|||1|||");
    const SavedProfile third = saveNew("www.example.com/links", {{"d.net", ""}}, false);
    EXPECT_EQ(third.m_displayText, "www.example.com (3)");
}

// The second address of a base name belongs to base name (2): Append and
// Overwrite act on that profile and leave the first one's pages alone.
TEST_F(ProfileSaverTest, AppendAndOverwriteActOnTheProfileOfTheTypedAddress) {
    saveNew("www.example.co.uk", {{"a.net", ""}}, false);
    saveNew("shop.example.co.uk", {{"b.net", ""}}, false);  // example.co.uk (2)
    const std::string index = readBytes(f().indexPath());
    const std::string first = readBytes(f().profilePath("example.co.uk"));
    ASSERT_EQ(first, "Link: www.example.co.uk\r\na.net||| |||0|||");

    SavePlan plan = planSave(f(), "shop.example.co.uk");
    ASSERT_EQ(plan.m_lookup.m_kind, SiteLookup::Kind::AddressFound);
    const SavedProfile appended =
        appendToProfile(f(), plan, "shop.example.co.uk", {{"c.net", "m"}}, true);
    EXPECT_EQ(appended.m_row, -1);
    EXPECT_EQ(readBytes(f().profilePath("example.co.uk (2)")),
              "Link: shop.example.co.uk\r\nb.net||| |||0|||\r\nc.net|||m|||1|||");

    EXPECT_EQ(overwriteProfile(f(), plan, "shop.example.co.uk", {{"d.net", ""}}, false).m_row, -1);
    EXPECT_EQ(readBytes(f().profilePath("example.co.uk (2)")),
              "Link: shop.example.co.uk\r\nd.net||| |||0|||");
    EXPECT_EQ(readBytes(f().profilePath("example.co.uk")), first);  // never touched
    EXPECT_EQ(readBytes(f().indexPath()), index);                   // the list is not changed
    EXPECT_FALSE(test::exists(f().newTxtPath()));

    // The first address still leads to the first profile.
    plan = planSave(f(), "www.example.co.uk");
    overwriteProfile(f(), plan, "www.example.co.uk", {{"e.net", ""}}, false);
    EXPECT_EQ(readBytes(f().profilePath("example.co.uk")),
              "Link: www.example.co.uk\r\ne.net||| |||0|||");
    EXPECT_EQ(readBytes(f().profilePath("example.co.uk (2)")),
              "Link: shop.example.co.uk\r\nd.net||| |||0|||");
}

// Appending the same list again adds only the pages the profile lacks, so no
// partner is listed (and mailed) twice; Overwrite takes the list as it is.
TEST_F(ProfileSaverTest, AppendLeavesOutPagesTheProfileHas) {
    saveNew("example.com", {{"a.net", "x@a.net"}, {"b.net", ""}}, true);
    const SavePlan plan = planSave(f(), "example.com");
    const SavedProfile saved = appendToProfile(
        f(), plan, "example.com", {{" a.net ", "other@a.net"}, {"c.net", ""}, {"b.net", ""}}, true);
    EXPECT_EQ(saved.m_skipped, 2);
    EXPECT_EQ(
        readBytes(f().profilePath("example.com")),
        "Link: example.com\r\na.net|||x@a.net|||1|||\r\nb.net||| |||1|||\r\nc.net||| |||1|||");
    const SavedProfile all = appendToProfile(f(), plan, "example.com", {{"a.net", ""}}, true);
    EXPECT_EQ(all.m_skipped, 1);
    EXPECT_EQ(
        overwriteProfile(f(), plan, "example.com", {{"a.net", ""}, {"a.net", ""}}, true).m_skipped,
        0);
}

// The profile was deleted while its address stayed in the site index: the
// file is created again and listed, and its row goes where its line went.
TEST_F(ProfileSaverTest, AppendOrOverwriteOnAVanishedFileCreatesIt) {
    for (const bool overwrite : {false, true}) {
        test::TempDataFolder temp;
        const DataFolder& f = temp.folder();
        saveNewProfile(f, planSave(f, "example.com"), "example.com", {{"a.net", ""}}, false);
        saveNewProfile(f, planSave(f, "other.org"), "other.org", {{"b.net", ""}}, false);
        ProfileList(f).remove({0});
        const SavePlan plan = planSave(f, "example.com");
        ASSERT_EQ(plan.m_lookup.m_kind, SiteLookup::Kind::AddressFound);
        const SavedProfile saved =
            overwrite ? overwriteProfile(f, plan, "example.com", {{"c.net", ""}}, true)
                      : appendToProfile(f, plan, "example.com", {{"c.net", ""}}, true);
        EXPECT_EQ(saved.m_row, 1);
        EXPECT_EQ(saved.m_displayText, "www.example.com");
        EXPECT_EQ(readBytes(f.profilePath("example.com")), "Link: example.com\r\nc.net||| |||1|||");
        EXPECT_EQ(readBytes(f.indexPath()), f.profilesFolder() + "other.org.txt\r\n" +
                                                f.profilesFolder() + "example.com.txt");
    }
}

// stindex.txt removed by hand while index.txt lists profiles: the new row goes
// where its index line goes, the end of the list.
TEST_F(ProfileSaverTest, MissingSiteIndexWithProfilesPutsTheRowAtTheEnd) {
    saveNew("a.com", {{"x.net", ""}}, false);
    saveNew("b.com", {{"y.net", ""}}, false);
    std::remove(f().stIndexPath().c_str());
    const SavePlan plan = planSave(f(), "c.com");
    EXPECT_EQ(plan.m_lookup.m_kind, SiteLookup::Kind::IndexMissing);
    const SavedProfile saved = saveNewProfile(f(), plan, "c.com", {{"z.net", ""}}, false);
    EXPECT_EQ(saved.m_row, 2);
    EXPECT_EQ(readBytes(f().stIndexPath()), "c.com**c.com||");
}

// A profile's address was changed onto a new name; adding an address of that
// name finds the file there: Append or Overwrite act on it and the address is
// recorded, and index.txt keeps one line for it.
TEST_F(ProfileSaverTest, NewAddressOntoAnExistingFileAppendsOrOverwrites) {
    saveNew("a.com", {{"x.net", ""}}, false);
    ASSERT_EQ(ProfileFile(f()).changeAddress("www.a.com", "c.com"), AddressChange::Moved);
    const std::string index = readBytes(f().indexPath());
    const SavePlan plan = planSave(f(), "www.c.com");
    EXPECT_EQ(plan.m_lookup.m_kind, SiteLookup::Kind::BaseNotFound);
    EXPECT_TRUE(plan.m_newPathTaken);
    EXPECT_TRUE(plan.asksAppendOrOverwrite());
    const SavedProfile saved = appendToProfile(f(), plan, "www.c.com", {{"y.net", "m"}}, true);
    EXPECT_EQ(saved.m_row, -1);
    EXPECT_EQ(readBytes(f().profilePath("c.com")),
              "Link: c.com\r\nx.net||| |||0|||\r\ny.net|||m|||1|||");
    EXPECT_EQ(readBytes(f().indexPath()), index);
    EXPECT_EQ(readBytes(f().stIndexPath()), "a.com**a.com||\r\nc.com**www.c.com||");
    EXPECT_EQ(planSave(f(), "www.c.com").m_lookup.m_kind, SiteLookup::Kind::AddressFound);

    // The numbered name taken the same way.
    saveNew("b.org", {{"x.net", ""}}, false);
    ASSERT_EQ(ProfileFile(f()).changeAddress("www.b.org", "www.c.com (2)"), AddressChange::Moved);
    const SavePlan numbered = planSave(f(), "shop.c.com");
    EXPECT_EQ(numbered.m_lookup.m_kind, SiteLookup::Kind::BaseFound);
    EXPECT_EQ(numbered.m_newName, "c.com (2)");
    EXPECT_TRUE(numbered.m_newPathTaken);
    const SavedProfile over = overwriteProfile(f(), numbered, "shop.c.com", {{"z", ""}}, false);
    EXPECT_EQ(over.m_displayText, "www.c.com (2)");
    EXPECT_EQ(readBytes(f().profilePath("c.com (2)")), "Link: shop.c.com\r\nz||| |||0|||");
}

TEST_F(ProfileSaverTest, PlanCreatesTheProfilesFolderButWritesNoFile) {
    const SavePlan plan = planSave(f(), "example.co.uk");
    EXPECT_EQ(plan.m_baseName, "example.co.uk");
    EXPECT_EQ(plan.m_basePath, f().profilesFolder() + "example.co.uk.txt");
    EXPECT_TRUE(test::exists(f().profilesFolderNoSlash()));
    EXPECT_FALSE(test::exists(f().stIndexPath()));
    EXPECT_FALSE(test::exists(f().indexPath()));
}

}  // namespace
}  // namespace tarnwick
