// A whole number that must lie within [min, max], read from text typed by a
// person: a command-line option refuses one outside the range, a settings
// file clamps it into the range (and says so). The one parser of numbers for
// both.
#pragma once

#include <string_view>

namespace tarnwick {

struct BoundedNumber {
    enum class Kind { InRange, Below, Above, NotANumber };

    Kind kind = Kind::NotANumber;
    // The number clamped into [min, max]; 0 for NotANumber.
    long value = 0;

    bool inRange() const { return kind == Kind::InRange; }

    // Blanks (spaces, tabs) around the number are dropped; an optional sign
    // and at least one digit make a number, anything else does not ("1e3",
    // "0x10", "8 pages"). Numbers too long for a long count as below or
    // above the range.
    static BoundedNumber parse(std::string_view text, long min, long max);
};

}  // namespace tarnwick
