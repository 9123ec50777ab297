// The rules of the coloured list control that need no window: the colour of
// a cell from its text, what a left click does, and the header picture that
// follows the rows' check boxes.
#pragma once

#include <functional>
#include <string_view>

namespace tarnwick {

struct CellColour {
    int red = 255;
    int green = 255;
    int blue = 255;
    bool operator==(const CellColour&) const = default;
};

// Background of a cell: red for "Link Not Found" and "Page Cannot be Found",
// green for "Link Found", yellow for "Page cannot be displayed" (exact,
// case-sensitive), white for anything else. Text is always black.
CellColour CellBackgroundOf(std::string_view text);

// The header picture of the check-box column, by its image index.
enum class HeaderCheck { Some = 0, None = 1, All = 2 };

// All rows count as ticked when none is unticked; none when every row is.
HeaderCheck SummariseChecks(int rowCount, int untickedCount);

// The picture after a click on the header's check box: none -> all, else none.
HeaderCheck NextHeaderCheck(HeaderCheck current);

enum class ClickAction {
    RefuseRunning,            // "Task is running"; the click is discarded
    DefaultThenClearResults,  // no profile ticked: handle the click, empty the results
    Discard,                  // not on a row, or the refresh was declined
    AskThenRebuild,           // results shown: ask before handling and rebuilding
    DefaultThenRebuild,       // handle the click, then rebuild the results
};

struct ClickFacts {
    bool m_bScanRunning = false;
    int m_nTickedProfiles = 0;
    // Whether a row lies under the click point (a click on empty space below
    // or beside the rows is discarded).
    bool m_bOnRow = false;
    // Whether any Status cell of the results is non-blank; asked only when
    // it matters (it walks the whole results list).
    std::function<bool()> m_fnResultsHaveStatus;
};

ClickAction DecideClick(const ClickFacts& facts);

// True when the text holds something besides blanks, tabs and line breaks.
bool IsNonBlank(std::string_view text);

}  // namespace tarnwick
