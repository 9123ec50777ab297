#include "editing/AddressRule.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

struct AddressCase {
    const char* text;
    bool accepted;
};

class AddressRuleTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressRuleTest, JudgesTheAddress) {
    EXPECT_EQ(isAcceptableAddress(GetParam().text), GetParam().accepted) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressRuleTest,
    ::testing::Values(AddressCase{"example.com", true}, AddressCase{"www.example.com", true},
                      AddressCase{"example.c", false}, AddressCase{".com", false},
                      AddressCase{"example.", false}, AddressCase{"http://x.y.z", true},
                      AddressCase{"a b.cd", true}, AddressCase{"localhost", false},
                      AddressCase{"example . com", true}, AddressCase{"", false},
                      AddressCase{" \t. co", false},  // nothing before the dot once trimmed
                      AddressCase{"a. c", false},     // one character after it once trimmed
                      AddressCase{"a.\tcd\r\n", true}, AddressCase{"a..", false},
                      AddressCase{"a...", true},  // only the first dot counts: ".." follows
                      AddressCase{"ab", false}, AddressCase{"\x80.\xff\xfe", true}));

TEST(TrimSpaceTest, RemovesTheSixSpaceCharactersAtBothEndsOnly) {
    EXPECT_EQ(trimSpace(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
    EXPECT_EQ(trimSpace("\xa0x\xa0"), "\xa0x\xa0");  // no-break space is no white space here
    EXPECT_EQ(trimSpace("   "), "");
}

}  // namespace
}  // namespace tarnwick
