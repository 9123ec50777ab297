// The rules of the coloured list control that need no window: the colour of
// a cell from its page result, what a left click does, and the header picture that
// follows the rows' check boxes.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "scan/LinkResult.h"

namespace tarnwick {

struct CellColour {
    int red = 255;
    int green = 255;
    int blue = 255;
    bool operator==(const CellColour&) const = default;
};

// Background of a cell: red for "Link Not Found" and "Page Cannot be Found",
// green for "Link Found", yellow for "Page cannot be displayed", white for a
// cell without a result. Text is always black.
CellColour cellBackgroundOf(std::optional<LinkResult> result);

// The header picture of the check-box column, by its image index.
enum class HeaderCheck { Some = 0, None = 1, All = 2 };

// All rows count as ticked when none is unticked; none when every row is.
HeaderCheck summariseChecks(int rowCount, int untickedCount);

// The picture after a click on the header's check box: none -> all, else none.
HeaderCheck nextHeaderCheck(HeaderCheck current);

// What a left click on one of the two lists does. Results stay until the
// user asks for others: a click selects, and only a click that changes a
// profile's tick rebuilds the results (asking first when they hold a run's
// results, since those would go).
enum class ClickAction {
    RefuseRunning,  // "Task is running"; the click is discarded
    Discard,        // not on a row
    Select,         // the list's own handling only: selection and focus
    AskThenToggle,  // a tick changes and results are shown: ask, then tick and rebuild
    Toggle,         // a tick changes: tick, then rebuild
};

struct ClickFacts {
    bool m_scanRunning = false;
    // Whether a row lies under the click point (a click on empty space below
    // or beside the rows is discarded).
    bool m_onRow = false;
    // Whether the click lands on a row's check box (the profile pane's).
    bool m_onCheckBox = false;
    // Whether any Status cell holds a result of a run of this session;
    // asked only when it matters (it walks the whole results list).
    std::function<bool()> m_resultsHaveStatus;
};

ClickAction decideClick(const ClickFacts& facts);

// True when the text holds something besides blanks, tabs and line breaks.
bool isNonBlank(std::string_view text);

}  // namespace tarnwick
