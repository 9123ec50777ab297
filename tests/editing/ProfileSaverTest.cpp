#include "editing/ProfileSaver.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "store/ProfileList.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using test::ReadBytes;

class ProfileSaverTest : public ::testing::Test {
protected:
    test::TempDataFolder m_temp;
    const DataFolder& F() const { return m_temp.Folder(); }

    SavedProfile SaveNew(const std::string& address, const std::vector<ImportRow>& rows,
                         bool notify) {
        const SavePlan plan = PlanSave(F(), address);
        EXPECT_NE(plan.m_lookup.m_eKind, SiteLookup::Kind::AddressFound);
        return SaveNewProfile(F(), plan, address, rows, notify);
    }
};

TEST_F(ProfileSaverTest, FirstProfileIntoAnEmptyStore) {
    const SavedProfile saved =
        SaveNew("http://www.example.com/", {{"a.net/x", ""}, {"b.org", "w@b.org"}}, false);
    EXPECT_EQ(saved.m_nRow, 0);
    EXPECT_EQ(saved.m_strDisplayText, "http://www.example.com/");
    EXPECT_EQ(ReadBytes(F().StIndexPath()), "example.com**http://www.example.com/||");
    EXPECT_EQ(ReadBytes(F().IndexPath()), F().ProfilesFolder() + "example.com.txt");
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.com")),
              "Link: http://www.example.com/\r\na.net/x||| |||0|||\r\nb.org|||w@b.org|||0|||");
}

TEST_F(ProfileSaverTest, SecondAddressOfTheSameBaseNameIsNumbered) {
    SaveNew("example.com", {{"a.net", ""}}, true);
    SaveNew("other.org", {{"b.net", ""}}, true);
    const SavedProfile saved = SaveNew("shop.example.com", {{"c.net", "m"}}, true);
    EXPECT_EQ(saved.m_nRow, 2);
    EXPECT_EQ(saved.m_strDisplayText, "www.example.com (2)");
    EXPECT_EQ(ReadBytes(F().StIndexPath()),
              "example.com**example.com||shop.example.com||\r\nother.org**other.org||");
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.com (2)")),
              "Link: shop.example.com\r\nc.net|||m|||1|||");
    const SavedProfile third = SaveNew("www.example.com/links", {{"d.net", ""}}, false);
    EXPECT_EQ(third.m_strDisplayText, "www.example.com (3)");
}

// The second address of a base name belongs to base name (2): Append and
// Overwrite act on that profile and leave the first one's pages alone.
TEST_F(ProfileSaverTest, AppendAndOverwriteActOnTheProfileOfTheTypedAddress) {
    SaveNew("www.example.co.uk", {{"a.net", ""}}, false);
    SaveNew("shop.example.co.uk", {{"b.net", ""}}, false);  // example.co.uk (2)
    const std::string index = ReadBytes(F().IndexPath());
    const std::string first = ReadBytes(F().ProfilePath("example.co.uk"));
    ASSERT_EQ(first, "Link: www.example.co.uk\r\na.net||| |||0|||");

    SavePlan plan = PlanSave(F(), "shop.example.co.uk");
    ASSERT_EQ(plan.m_lookup.m_eKind, SiteLookup::Kind::AddressFound);
    const SavedProfile appended =
        AppendToProfile(F(), plan, "shop.example.co.uk", {{"c.net", "m"}}, true);
    EXPECT_EQ(appended.m_nRow, -1);
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.co.uk (2)")),
              "Link: shop.example.co.uk\r\nb.net||| |||0|||\r\nc.net|||m|||1|||");

    EXPECT_EQ(OverwriteProfile(F(), plan, "shop.example.co.uk", {{"d.net", ""}}, false).m_nRow, -1);
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.co.uk (2)")),
              "Link: shop.example.co.uk\r\nd.net||| |||0|||");
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.co.uk")), first);  // never touched
    EXPECT_EQ(ReadBytes(F().IndexPath()), index);                   // the list is not changed
    EXPECT_FALSE(test::Exists(F().NewTxtPath()));

    // The first address still leads to the first profile.
    plan = PlanSave(F(), "www.example.co.uk");
    OverwriteProfile(F(), plan, "www.example.co.uk", {{"e.net", ""}}, false);
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.co.uk")),
              "Link: www.example.co.uk\r\ne.net||| |||0|||");
    EXPECT_EQ(ReadBytes(F().ProfilePath("example.co.uk (2)")),
              "Link: shop.example.co.uk\r\nd.net||| |||0|||");
}

// The profile was deleted while its address stayed in the site index: the
// file is created again and listed, and its row goes where its line went.
TEST_F(ProfileSaverTest, AppendOrOverwriteOnAVanishedFileCreatesIt) {
    for (const bool overwrite : {false, true}) {
        test::TempDataFolder temp;
        const DataFolder& f = temp.Folder();
        SaveNewProfile(f, PlanSave(f, "example.com"), "example.com", {{"a.net", ""}}, false);
        SaveNewProfile(f, PlanSave(f, "other.org"), "other.org", {{"b.net", ""}}, false);
        ProfileList(f).Remove({0});
        const SavePlan plan = PlanSave(f, "example.com");
        ASSERT_EQ(plan.m_lookup.m_eKind, SiteLookup::Kind::AddressFound);
        const SavedProfile saved =
            overwrite ? OverwriteProfile(f, plan, "example.com", {{"c.net", ""}}, true)
                      : AppendToProfile(f, plan, "example.com", {{"c.net", ""}}, true);
        EXPECT_EQ(saved.m_nRow, 1);
        EXPECT_EQ(saved.m_strDisplayText, "www.example.com");
        EXPECT_EQ(ReadBytes(f.ProfilePath("example.com")), "Link: example.com\r\nc.net||| |||1|||");
        EXPECT_EQ(ReadBytes(f.IndexPath()), f.ProfilesFolder() + "other.org.txt\r\n" +
                                                f.ProfilesFolder() + "example.com.txt");
    }
}

// stindex.txt removed by hand while index.txt lists profiles: the new row goes
// where its index line goes, the end of the list.
TEST_F(ProfileSaverTest, MissingSiteIndexWithProfilesPutsTheRowAtTheEnd) {
    SaveNew("a.com", {{"x.net", ""}}, false);
    SaveNew("b.com", {{"y.net", ""}}, false);
    std::remove(F().StIndexPath().c_str());
    const SavePlan plan = PlanSave(F(), "c.com");
    EXPECT_EQ(plan.m_lookup.m_eKind, SiteLookup::Kind::IndexMissing);
    const SavedProfile saved = SaveNewProfile(F(), plan, "c.com", {{"z.net", ""}}, false);
    EXPECT_EQ(saved.m_nRow, 2);
    EXPECT_EQ(ReadBytes(F().StIndexPath()), "c.com**c.com||");
}

// A profile's address was changed onto a new name; adding an address of that
// name finds the file there: Append or Overwrite act on it and the address is
// recorded, and index.txt keeps one line for it.
TEST_F(ProfileSaverTest, NewAddressOntoAnExistingFileAppendsOrOverwrites) {
    SaveNew("a.com", {{"x.net", ""}}, false);
    ASSERT_EQ(ProfileFile(F()).ChangeAddress("www.a.com", "c.com"), AddressChange::Moved);
    const std::string index = ReadBytes(F().IndexPath());
    const SavePlan plan = PlanSave(F(), "www.c.com");
    EXPECT_EQ(plan.m_lookup.m_eKind, SiteLookup::Kind::BaseNotFound);
    EXPECT_TRUE(plan.m_bNewPathTaken);
    EXPECT_TRUE(plan.AsksAppendOrOverwrite());
    const SavedProfile saved = AppendToProfile(F(), plan, "www.c.com", {{"y.net", "m"}}, true);
    EXPECT_EQ(saved.m_nRow, -1);
    EXPECT_EQ(ReadBytes(F().ProfilePath("c.com")),
              "Link: c.com\r\nx.net||| |||0|||\r\ny.net|||m|||1|||");
    EXPECT_EQ(ReadBytes(F().IndexPath()), index);
    EXPECT_EQ(ReadBytes(F().StIndexPath()), "a.com**a.com||\r\nc.com**www.c.com||");
    EXPECT_EQ(PlanSave(F(), "www.c.com").m_lookup.m_eKind, SiteLookup::Kind::AddressFound);

    // The numbered name taken the same way.
    SaveNew("b.org", {{"x.net", ""}}, false);
    ASSERT_EQ(ProfileFile(F()).ChangeAddress("www.b.org", "www.c.com (2)"), AddressChange::Moved);
    const SavePlan numbered = PlanSave(F(), "shop.c.com");
    EXPECT_EQ(numbered.m_lookup.m_eKind, SiteLookup::Kind::BaseFound);
    EXPECT_EQ(numbered.m_strNewName, "c.com (2)");
    EXPECT_TRUE(numbered.m_bNewPathTaken);
    const SavedProfile over = OverwriteProfile(F(), numbered, "shop.c.com", {{"z", ""}}, false);
    EXPECT_EQ(over.m_strDisplayText, "www.c.com (2)");
    EXPECT_EQ(ReadBytes(F().ProfilePath("c.com (2)")), "Link: shop.c.com\r\nz||| |||0|||");
}

TEST_F(ProfileSaverTest, PlanCreatesTheProfilesFolderButWritesNoFile) {
    const SavePlan plan = PlanSave(F(), "example.co.uk");
    EXPECT_EQ(plan.m_strBaseName, "example.co.uk");
    EXPECT_EQ(plan.m_strBasePath, F().ProfilesFolder() + "example.co.uk.txt");
    EXPECT_TRUE(test::Exists(F().ProfilesFolderNoSlash()));
    EXPECT_FALSE(test::Exists(F().StIndexPath()));
    EXPECT_FALSE(test::Exists(F().IndexPath()));
}

}  // namespace
}  // namespace tarnwick
