#include "viewrules/ListRules.h"

namespace tarnwick {

CellColour cellBackgroundOf(std::optional<LinkResult> result) {
    if (!result) {
        return {255, 255, 255};
    }
    switch (*result) {
        case LinkResult::NotFound:
        case LinkResult::CannotBeFound:
            return {255, 0, 0};
        case LinkResult::Found:
            return {0, 255, 0};
        case LinkResult::CannotBeDisplayed:
            break;
    }
    return {255, 255, 0};
}

HeaderCheck summariseChecks(int rowCount, int untickedCount) {
    if (untickedCount == 0) {
        return HeaderCheck::All;
    }
    if (untickedCount == rowCount) {
        return HeaderCheck::None;
    }
    return HeaderCheck::Some;
}

HeaderCheck nextHeaderCheck(HeaderCheck current) {
    return current == HeaderCheck::None ? HeaderCheck::All : HeaderCheck::None;
}

ClickAction decideClick(const ClickFacts& facts) {
    if (facts.m_scanRunning) {
        return ClickAction::RefuseRunning;
    }
    // Only the question whether the click hit a row: a row's text says nothing
    // about that (a page typed as http://... is a row like any other).
    if (!facts.m_onRow) {
        return ClickAction::Discard;
    }
    if (!facts.m_onCheckBox) {
        return ClickAction::Select;
    }
    if (facts.m_resultsHaveStatus && facts.m_resultsHaveStatus()) {
        return ClickAction::AskThenToggle;
    }
    return ClickAction::Toggle;
}

bool isNonBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") != std::string_view::npos;
}

}  // namespace tarnwick
