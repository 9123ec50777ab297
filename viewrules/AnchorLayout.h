// The arithmetic of the resizable form view: each control keeps the distance
// from its corners to anchor points given in percent of the view's client
// size, measured once at the form's design size. Plain integers, no widgets.
#pragma once

namespace tarnwick {

// An anchor point: cx percent of the client width, cy percent of its height.
struct AnchorPoint {
    int cx = 0;
    int cy = 0;
    bool operator==(const AnchorPoint&) const = default;
};

inline constexpr AnchorPoint ANCHOR_NONE{-1, -1};
inline constexpr AnchorPoint ANCHOR_TOP_LEFT{0, 0};
inline constexpr AnchorPoint ANCHOR_TOP_CENTER{50, 0};
inline constexpr AnchorPoint ANCHOR_TOP_RIGHT{100, 0};
inline constexpr AnchorPoint ANCHOR_MIDDLE_LEFT{0, 50};
inline constexpr AnchorPoint ANCHOR_MIDDLE_CENTER{50, 50};
inline constexpr AnchorPoint ANCHOR_MIDDLE_RIGHT{100, 50};
inline constexpr AnchorPoint ANCHOR_BOTTOM_LEFT{0, 100};
inline constexpr AnchorPoint ANCHOR_BOTTOM_CENTER{50, 100};
inline constexpr AnchorPoint ANCHOR_BOTTOM_RIGHT{100, 100};

// A rectangle by its edges; right and bottom are exclusive.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const LayoutRect&) const = default;
};

// What one control keeps: its two anchors and the offsets of its corners from
// them. A missing bottom-right anchor (ANCHOR_NONE) is replaced by the
// top-left one, so the control moves with it and keeps its size.
struct AnchorMargins {
    AnchorPoint topLeft;
    int leftMargin = 0;
    int topMargin = 0;
    AnchorPoint bottomRight;
    int rightMargin = 0;
    int bottomMargin = 0;
    bool operator==(const AnchorMargins&) const = default;
};

// Margins of a control with rectangle rect in a client area width x height.
AnchorMargins measureAnchorMargins(const LayoutRect& rect, AnchorPoint topLeft,
                                   AnchorPoint bottomRight, int width, int height);

// Where the control goes in a client area width x height. No edge comes
// before the matching edge of its design rectangle: below the design size the
// control keeps its design rectangle and the view scrolls instead.
LayoutRect anchoredRect(const AnchorMargins& margins, const LayoutRect& design, int width,
                        int height);

}  // namespace tarnwick
