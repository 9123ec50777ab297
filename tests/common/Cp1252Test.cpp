#include <gtest/gtest.h>

#include "common/Cp1252.h"
#include "support/Cp1252LowerTable.h"

namespace tarnwick {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("\x92"), "\xE2\x80\x99");  // right single quotation mark
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
}

TEST(Cp1252, UnmappableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");      // a CJK character
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // an emoji
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");            // truncated sequence
    EXPECT_EQ(utf8ToCp1252("\xFF\xFE"), "??");
}

// Every byte against the table written out from the code page's chart.
TEST(Cp1252, LoweringMatchesTheCodePageForEveryByte) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(cp1252ToLower(static_cast<unsigned char>(b)), test::kCp1252Lower[b])
            << "byte 0x" << std::hex << b;
    }
}

TEST(Cp1252, LoweringCoversTheCodePagesCapitals) {
    EXPECT_EQ(cp1252ToLower('A'), 'a');
    EXPECT_EQ(cp1252ToLower('z'), 'z');
    EXPECT_EQ(cp1252ToLower(0xC0), 0xE0);
    EXPECT_EQ(cp1252ToLower(0xD7), 0xD7);  // multiplication sign
    EXPECT_EQ(cp1252ToLower(0x8A), 0x9A);
    EXPECT_EQ(cp1252ToLower(0x9F), 0xFF);
    EXPECT_EQ(cp1252ToLower(0xDF), 0xDF);  // sharp s has no capital here
}

}  // namespace
}  // namespace tarnwick
