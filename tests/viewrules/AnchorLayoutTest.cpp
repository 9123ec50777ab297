// The resizable form view's anchor arithmetic on a table of layouts.
#include <gtest/gtest.h>

#include "viewrules/AnchorLayout.h"

namespace tarnwick {
namespace {

struct AnchorCase {
    const char* name;
    int designWidth;
    int designHeight;
    LayoutRect rect;  // the control at the design size
    AnchorPoint topLeft;
    AnchorPoint bottomRight;
    int width;  // the new client size
    int height;
    LayoutRect expected;
};

void PrintTo(const AnchorCase& c, std::ostream* os) {
    *os << c.name;
}

class AnchorLayoutTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(AnchorLayoutTest, PlacesTheControl) {
    const AnchorCase& c = GetParam();
    const AnchorMargins margins =
        measureAnchorMargins(c.rect, c.topLeft, c.bottomRight, c.designWidth, c.designHeight);
    const LayoutRect r = anchoredRect(margins, c.rect, c.width, c.height);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AnchorLayoutTest,
    ::testing::Values(
        // A list filling its form with 7-pixel margins keeps them when larger...
        AnchorCase{"fill larger",
                   200,
                   100,
                   {7, 7, 193, 93},
                   ANCHOR_TOP_LEFT,
                   ANCHOR_BOTTOM_RIGHT,
                   640,
                   480,
                   {7, 7, 633, 473}},
        AnchorCase{"fill same",
                   200,
                   100,
                   {7, 7, 193, 93},
                   ANCHOR_TOP_LEFT,
                   ANCHOR_BOTTOM_RIGHT,
                   200,
                   100,
                   {7, 7, 193, 93}},
        // ...and keeps its design rectangle when smaller (the view scrolls).
        AnchorCase{"fill smaller",
                   200,
                   100,
                   {7, 7, 193, 93},
                   ANCHOR_TOP_LEFT,
                   ANCHOR_BOTTOM_RIGHT,
                   120,
                   60,
                   {7, 7, 193, 93}},
        AnchorCase{"fill wider only",
                   200,
                   100,
                   {7, 7, 193, 93},
                   ANCHOR_TOP_LEFT,
                   ANCHOR_BOTTOM_RIGHT,
                   300,
                   50,
                   {7, 7, 293, 93}},
        // Both corners at the bottom right: moves, keeps its size...
        AnchorCase{"corner larger",
                   200,
                   100,
                   {150, 70, 190, 90},
                   ANCHOR_BOTTOM_RIGHT,
                   ANCHOR_BOTTOM_RIGHT,
                   300,
                   150,
                   {250, 120, 290, 140}},
        // ...but never above or left of its design position.
        AnchorCase{"corner smaller",
                   200,
                   100,
                   {150, 70, 190, 90},
                   ANCHOR_BOTTOM_RIGHT,
                   ANCHOR_BOTTOM_RIGHT,
                   100,
                   50,
                   {150, 70, 190, 90}},
        // Only a top-left anchor: the control keeps its size.
        AnchorCase{"no second anchor",
                   200,
                   100,
                   {10, 10, 60, 30},
                   ANCHOR_TOP_LEFT,
                   ANCHOR_NONE,
                   400,
                   300,
                   {10, 10, 60, 30}},
        AnchorCase{"centred, no second anchor",
                   200,
                   100,
                   {90, 40, 110, 60},
                   ANCHOR_MIDDLE_CENTER,
                   ANCHOR_NONE,
                   300,
                   200,
                   {140, 90, 160, 110}},
        // Halves are truncated: 50 % of 101 is 50, of 103 is 51.
        AnchorCase{"odd width",
                   100,
                   100,
                   {50, 0, 51, 10},
                   ANCHOR_TOP_CENTER,
                   ANCHOR_NONE,
                   101,
                   100,
                   {50, 0, 51, 10}},
        AnchorCase{"odd width grown",
                   100,
                   100,
                   {50, 0, 51, 10},
                   ANCHOR_TOP_CENTER,
                   ANCHOR_NONE,
                   103,
                   100,
                   {51, 0, 52, 10}},
        // Stretching between the middle and the right edge.
        AnchorCase{"right half",
                   200,
                   100,
                   {100, 10, 190, 90},
                   ANCHOR_TOP_CENTER,
                   ANCHOR_BOTTOM_RIGHT,
                   400,
                   200,
                   {200, 10, 390, 190}}));

TEST(AnchorMarginsTest, MeasuresFromTruncatedAnchorPoints) {
    // W = 101: the centre anchor lies at 50, not 50.5.
    const AnchorMargins m =
        measureAnchorMargins({60, 5, 80, 25}, ANCHOR_TOP_CENTER, ANCHOR_BOTTOM_RIGHT, 101, 51);
    EXPECT_EQ(m.leftMargin, 10);
    EXPECT_EQ(m.topMargin, 5);
    EXPECT_EQ(m.rightMargin, 80 - 101);
    EXPECT_EQ(m.bottomMargin, 25 - 51);
}

TEST(AnchorMarginsTest, MissingSecondAnchorFollowsTheFirst) {
    const AnchorMargins m =
        measureAnchorMargins({10, 20, 30, 40}, ANCHOR_MIDDLE_RIGHT, ANCHOR_NONE, 200, 100);
    EXPECT_EQ(m.bottomRight, ANCHOR_MIDDLE_RIGHT);
    EXPECT_EQ(m.rightMargin, 30 - 200);
    EXPECT_EQ(m.bottomMargin, 40 - 50);
}

}  // namespace
}  // namespace tarnwick
