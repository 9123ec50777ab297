// The list control's rules that need no window: cell colours, the click rule
// and the header picture.
#include <gtest/gtest.h>

#include "viewrules/ListRules.h"

namespace tarnwick {
namespace {

struct ColourCase {
    const char* text;
    CellColour expected;
};

class CellColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(CellColourTest, FollowsTheExactWord) {
    EXPECT_EQ(cellBackgroundOf(resultFromWord(GetParam().text)), GetParam().expected)
        << GetParam().text;
}

constexpr CellColour kRed{255, 0, 0};
constexpr CellColour kGreen{0, 255, 0};
constexpr CellColour kYellow{255, 255, 0};
constexpr CellColour kWhite{255, 255, 255};

INSTANTIATE_TEST_SUITE_P(
    Words, CellColourTest,
    ::testing::Values(ColourCase{"Link Not Found", kRed}, ColourCase{"Page Cannot be Found", kRed},
                      ColourCase{"Link Found", kGreen},
                      ColourCase{"Page cannot be displayed", kYellow}, ColourCase{"", kWhite},
                      ColourCase{"Stopped by user", kWhite}, ColourCase{"link found", kWhite},
                      ColourCase{"LINK NOT FOUND", kWhite},
                      ColourCase{"Page cannot be Found", kWhite},
                      ColourCase{"Page Cannot be displayed", kWhite},
                      ColourCase{"Link Found ", kWhite}, ColourCase{" Link Found", kWhite}));

TEST(HeaderCheckTest, SummarisesTheRows) {
    EXPECT_EQ(summariseChecks(3, 0), HeaderCheck::All);
    EXPECT_EQ(summariseChecks(3, 3), HeaderCheck::None);
    EXPECT_EQ(summariseChecks(3, 1), HeaderCheck::Some);
    EXPECT_EQ(summariseChecks(1, 1), HeaderCheck::None);
    EXPECT_EQ(summariseChecks(1, 0), HeaderCheck::All);
}

TEST(HeaderCheckTest, ClickTicksAllOnlyFromNone) {
    EXPECT_EQ(nextHeaderCheck(HeaderCheck::None), HeaderCheck::All);
    EXPECT_EQ(nextHeaderCheck(HeaderCheck::Some), HeaderCheck::None);
    EXPECT_EQ(nextHeaderCheck(HeaderCheck::All), HeaderCheck::None);
}

struct ClickCase {
    const char* name;
    bool running;
    bool onRow;
    bool onCheckBox;
    bool haveStatus;
    ClickAction expected;
    bool asksForStatus;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

class ClickRuleTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ClickRuleTest, Decides) {
    const ClickCase& c = GetParam();
    bool asked = false;
    ClickFacts facts;
    facts.m_scanRunning = c.running;
    facts.m_onRow = c.onRow;
    facts.m_onCheckBox = c.onCheckBox;
    facts.m_resultsHaveStatus = [&] {
        asked = true;
        return c.haveStatus;
    };
    EXPECT_EQ(decideClick(facts), c.expected);
    EXPECT_EQ(asked, c.asksForStatus);
}

// Results stay: a click on a row only selects it, whatever the results hold;
// only a tick that changes asks (when a run's results would go) and rebuilds.
INSTANTIATE_TEST_SUITE_P(
    Clicks, ClickRuleTest,
    ::testing::Values(
        ClickCase{"running", true, true, true, true, ClickAction::RefuseRunning, false},
        ClickCase{"running, below the rows", true, false, false, false, ClickAction::RefuseRunning,
                  false},
        ClickCase{"below the rows", false, false, false, true, ClickAction::Discard, false},
        ClickCase{"row, results", false, true, false, true, ClickAction::Select, false},
        ClickCase{"row, no results", false, true, false, false, ClickAction::Select, false},
        ClickCase{"check box, no results", false, true, true, false, ClickAction::Toggle, true},
        ClickCase{"check box, results", false, true, true, true, ClickAction::AskThenToggle,
                  true}));

TEST(BlankTest, WhiteSpaceOnlyIsBlank) {
    EXPECT_FALSE(isNonBlank(""));
    EXPECT_FALSE(isNonBlank(" \t\r\n"));
    EXPECT_TRUE(isNonBlank("  x "));
}

}  // namespace
}  // namespace tarnwick
