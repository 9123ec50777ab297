// Tests script and read results by the words the panes show; these turn
// such a word into the value the program keeps.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "scan/PageResult.h"
#include "scan/ResultRow.h"

namespace tarnwick::test {

inline LinkResult linkResultOf(std::string_view word) {
    const std::optional<LinkResult> result = resultFromWord(word);
    if (!result) {
        throw std::invalid_argument("not a result word: " + std::string(word));
    }
    return *result;
}

inline PageResult pageResultOf(std::string_view word, std::string reason = {},
                               long httpStatus = 0) {
    return {linkResultOf(word), std::move(reason), httpStatus};
}

// "" leaves the row without a Status; "Stopped by user" is Stop's mark.
inline void setStatusWord(ResultRow& row, std::string_view word) {
    row.m_stopped = word == "Stopped by user";
    row.m_result = word.empty() || row.m_stopped ? std::nullopt : resultFromWord(word);
}

}  // namespace tarnwick::test
