// What the check of one page found: the result, why, and the final HTTP
// status the server gave (0 when there was none: FTP, or no answer at all).
#pragma once

#include <string>
#include <utility>

#include "scan/LinkResult.h"

namespace tarnwick {

struct PageResult {
    LinkResult m_result = LinkResult::CannotBeDisplayed;
    std::string m_reason;  // e.g. "HTTP 503", "time limit of 120 s reached"
    long m_httpStatus = 0;
    // No answer because this computer is off the network: the host's name
    // did not resolve, or there was no route to it. A run in which every
    // page is so is taken as offline, not as a week of broken partners.
    bool m_networkDown = false;

    PageResult() = default;
    // A result alone converts, so a checker that only knows the result (a
    // test's scripted checker) still is one.
    PageResult(LinkResult result, std::string reason = {}, long httpStatus = 0)  // NOLINT
        : m_result(result), m_reason(std::move(reason)), m_httpStatus(httpStatus) {}

    // The result's word, for what shows or writes it.
    const std::string& word() const { return resultWord(m_result); }

    bool operator==(const PageResult&) const = default;
};

}  // namespace tarnwick
