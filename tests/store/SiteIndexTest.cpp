#include <gtest/gtest.h>

#include "store/SiteIndex.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using Kind = SiteLookup::Kind;
using test::readBytes;
using test::writeBytes;

class SiteIndexTest : public ::testing::Test {
protected:
    // Looks the address up and records it, as "Save and Finish" does.
    SiteLookup add(const std::string& base, const std::string& address) {
        const SiteLookup lookup = m_index.lookup(base, address);
        m_index.record(base, address, lookup);
        return lookup;
    }

    test::TempDataFolder m_temp;
    SiteIndex m_index{m_temp.folder()};
};

TEST_F(SiteIndexTest, GrowsLineByLineAndNumbersSecondAddresses) {
    EXPECT_EQ(add("example.com", "http://www.example.com/").m_kind, Kind::IndexMissing);
    EXPECT_EQ(readBytes(m_temp.folder().stIndexPath()), "example.com**http://www.example.com/||");

    EXPECT_EQ(add("example.co.uk", "www.example.co.uk").m_kind, Kind::BaseNotFound);

    const SiteLookup second = add("example.com", "www.example.com/links.html");
    EXPECT_EQ(second.m_kind, Kind::BaseFound);
    EXPECT_EQ(second.m_next, 2);
    const SiteLookup third = add("example.com", "example.com");
    EXPECT_EQ(third.m_next, 3);

    EXPECT_EQ(readBytes(m_temp.folder().stIndexPath()),
              "example.com**http://www.example.com/||www.example.com/links.html||example.com||"
              "\r\nexample.co.uk**www.example.co.uk||");
    EXPECT_FALSE(test::exists(m_temp.folder().dummyPath()));

    EXPECT_EQ(m_index.lookup("example.com", "www.example.com/links.html").m_kind,
              Kind::AddressFound);
}

TEST_F(SiteIndexTest, AddressesCompareExactlyBlanksAndCaseIncluded) {
    add("example.com", " www.example.com ");
    EXPECT_EQ(m_index.lookup("example.com", " www.example.com ").m_kind, Kind::AddressFound);
    EXPECT_EQ(m_index.lookup("example.com", "www.example.com").m_kind, Kind::BaseFound);
    EXPECT_EQ(m_index.lookup("EXAMPLE.COM", "www.example.com").m_kind, Kind::BaseNotFound);
}

TEST_F(SiteIndexTest, OddLinesAreReadAsTheirKeysSay) {
    // A line without "**" has an empty key; text after the last "||" is ignored;
    // an empty line ends the index.
    writeBytes(m_temp.folder().stIndexPath(),
               "junk\r\nexample.com**a||b||tail\r\n\r\nhidden.com**x||");
    EXPECT_EQ(m_index.lookup("example.com", "tail").m_next, 3);
    EXPECT_EQ(m_index.lookup("example.com", "b").m_kind, Kind::AddressFound);
    EXPECT_EQ(m_index.lookup("hidden.com", "x").m_kind, Kind::BaseNotFound);
}

TEST_F(SiteIndexTest, AppendAfterAnEditorsLineBreakStaysVisible) {
    writeBytes(m_temp.folder().stIndexPath(), "a.com**a.com||\r\n");
    add("b.com", "b.com");
    EXPECT_EQ(m_index.lookup("b.com", "b.com").m_kind, Kind::AddressFound);
}

}  // namespace
}  // namespace tarnwick
