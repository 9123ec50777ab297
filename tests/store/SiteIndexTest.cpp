#include <gtest/gtest.h>

#include "store/SiteIndex.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using Kind = SiteLookup::Kind;
using test::ReadBytes;
using test::WriteBytes;

class SiteIndexTest : public ::testing::Test {
protected:
    // Looks the address up and records it, as "Save and Finish" does.
    SiteLookup Add(const std::string& base, const std::string& address) {
        const SiteLookup lookup = m_index.Lookup(base, address);
        m_index.Record(base, address, lookup);
        return lookup;
    }

    test::TempDataFolder m_temp;
    SiteIndex m_index{m_temp.Folder()};
};

TEST_F(SiteIndexTest, GrowsLineByLineAndNumbersSecondAddresses) {
    EXPECT_EQ(Add("example.com", "http://www.example.com/").m_eKind, Kind::IndexMissing);
    EXPECT_EQ(ReadBytes(m_temp.Folder().StIndexPath()), "example.com**http://www.example.com/||");

    EXPECT_EQ(Add("example.co.uk", "www.example.co.uk").m_eKind, Kind::BaseNotFound);

    const SiteLookup second = Add("example.com", "www.example.com/links.html");
    EXPECT_EQ(second.m_eKind, Kind::BaseFound);
    EXPECT_EQ(second.m_nNext, 2);
    const SiteLookup third = Add("example.com", "example.com");
    EXPECT_EQ(third.m_nNext, 3);

    EXPECT_EQ(ReadBytes(m_temp.Folder().StIndexPath()),
              "example.com**http://www.example.com/||www.example.com/links.html||example.com||"
              "\r\nexample.co.uk**www.example.co.uk||");
    EXPECT_FALSE(test::Exists(m_temp.Folder().DummyPath()));

    EXPECT_EQ(m_index.Lookup("example.com", "www.example.com/links.html").m_eKind,
              Kind::AddressFound);
}

TEST_F(SiteIndexTest, AddressesCompareExactlyBlanksAndCaseIncluded) {
    Add("example.com", " www.example.com ");
    EXPECT_EQ(m_index.Lookup("example.com", " www.example.com ").m_eKind, Kind::AddressFound);
    EXPECT_EQ(m_index.Lookup("example.com", "www.example.com").m_eKind, Kind::BaseFound);
    EXPECT_EQ(m_index.Lookup("EXAMPLE.COM", "www.example.com").m_eKind, Kind::BaseNotFound);
}

TEST_F(SiteIndexTest, OddLinesAreReadAsTheirKeysSay) {
    // A line without "**" has an empty key; text after the last "||" is ignored;
    // an empty line ends the index.
    WriteBytes(m_temp.Folder().StIndexPath(),
               "junk\r\nexample.com**a||b||tail\r\n\r\nhidden.com**x||");
    EXPECT_EQ(m_index.Lookup("example.com", "tail").m_nNext, 3);
    EXPECT_EQ(m_index.Lookup("example.com", "b").m_eKind, Kind::AddressFound);
    EXPECT_EQ(m_index.Lookup("hidden.com", "x").m_eKind, Kind::BaseNotFound);
}

TEST_F(SiteIndexTest, AppendAfterAnEditorsLineBreakStaysVisible) {
    WriteBytes(m_temp.Folder().StIndexPath(), "a.com**a.com||\r\n");
    Add("b.com", "b.com");
    EXPECT_EQ(m_index.Lookup("b.com", "b.com").m_eKind, Kind::AddressFound);
}

}  // namespace
}  // namespace tarnwick
