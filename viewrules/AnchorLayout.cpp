#include "viewrules/AnchorLayout.h"

#include <algorithm>

namespace tarnwick {
namespace {

// Percent of a length, truncated towards zero as 32-bit integer division does.
int Share(int length, int percent) {
    return length * percent / 100;
}

}  // namespace

AnchorMargins MeasureAnchorMargins(const LayoutRect& rect, AnchorPoint topLeft,
                                   AnchorPoint bottomRight, int width, int height) {
    if (bottomRight == ANCHOR_NONE) {
        bottomRight = topLeft;
    }
    AnchorMargins m;
    m.topLeft = topLeft;
    m.leftMargin = rect.left - Share(width, topLeft.cx);
    m.topMargin = rect.top - Share(height, topLeft.cy);
    m.bottomRight = bottomRight;
    m.rightMargin = rect.right - Share(width, bottomRight.cx);
    m.bottomMargin = rect.bottom - Share(height, bottomRight.cy);
    return m;
}

LayoutRect AnchoredRect(const AnchorMargins& m, const LayoutRect& design, int width, int height) {
    LayoutRect r;
    r.left = Share(width, m.topLeft.cx) + m.leftMargin;
    r.top = Share(height, m.topLeft.cy) + m.topMargin;
    r.right = Share(width, m.bottomRight.cx) + m.rightMargin;
    r.bottom = Share(height, m.bottomRight.cy) + m.bottomMargin;
    r.left = std::max(r.left, design.left);
    r.top = std::max(r.top, design.top);
    r.right = std::max(r.right, design.right);
    r.bottom = std::max(r.bottom, design.bottom);
    return r;
}

}  // namespace tarnwick
