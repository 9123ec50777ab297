#include "viewrules/AnchorLayout.h"

#include <algorithm>

namespace tarnwick {
namespace {

// Percent of a length, truncated towards zero as 32-bit integer division does.
int share(int length, int percent) {
    return length * percent / 100;
}

}  // namespace

AnchorMargins measureAnchorMargins(const LayoutRect& rect, AnchorPoint topLeft,
                                   AnchorPoint bottomRight, int width, int height) {
    if (bottomRight == ANCHOR_NONE) {
        bottomRight = topLeft;
    }
    AnchorMargins m;
    m.topLeft = topLeft;
    m.leftMargin = rect.left - share(width, topLeft.cx);
    m.topMargin = rect.top - share(height, topLeft.cy);
    m.bottomRight = bottomRight;
    m.rightMargin = rect.right - share(width, bottomRight.cx);
    m.bottomMargin = rect.bottom - share(height, bottomRight.cy);
    return m;
}

LayoutRect anchoredRect(const AnchorMargins& m, const LayoutRect& design, int width, int height) {
    LayoutRect r;
    r.left = share(width, m.topLeft.cx) + m.leftMargin;
    r.top = share(height, m.topLeft.cy) + m.topMargin;
    r.right = share(width, m.bottomRight.cx) + m.rightMargin;
    r.bottom = share(height, m.bottomRight.cy) + m.bottomMargin;
    r.left = std::max(r.left, design.left);
    r.top = std::max(r.top, design.top);
    r.right = std::max(r.right, design.right);
    r.bottom = std::max(r.bottom, design.bottom);
    return r;
}

}  // namespace tarnwick
