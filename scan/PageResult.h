// What the check of one page found: the result word, why, and the final HTTP
// status the server gave (0 when there was none: FTP, or no answer at all).
#pragma once

#include <string>
#include <utility>

namespace tarnwick {

struct PageResult {
    std::string m_status;  // one of the four result words
    std::string m_reason;  // e.g. "HTTP 503", "time limit of 120 s reached"
    long m_httpStatus = 0;
    // No answer because this computer is off the network: the host's name
    // did not resolve, or there was no route to it. A run in which every
    // page is so is taken as offline, not as a week of broken partners.
    bool m_networkDown = false;

    PageResult() = default;
    // A result word alone converts, so a checker that only knows the word
    // (a test's scripted checker) still is one.
    PageResult(std::string status, std::string reason = {}, long httpStatus = 0)  // NOLINT
        : m_status(std::move(status)), m_reason(std::move(reason)), m_httpStatus(httpStatus) {}
    PageResult(const char* status) : PageResult(std::string(status)) {}  // NOLINT

    bool operator==(const PageResult&) const = default;
};

}  // namespace tarnwick
