// One checked page as the history keeps it: where it came from, its result
// and what was seen. The evidence fields are empty when the check did
// not gather them; they are stored as NULL then.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "scan/LinkResult.h"

namespace tarnwick {

struct PageRecord {
    std::string m_profile;     // the profile as the profile pane shows it
    std::string m_advertiser;  // "Advetiser's Site"
    std::string m_page;        // "Publisher's Site"
    int m_row = -1;            // the results row in that run
    LinkResult m_result = LinkResult::CannotBeDisplayed;
    std::int64_t m_checked = 0;  // seconds since the epoch

    std::optional<std::string> m_reason;      // why the result is what it is
    std::optional<int> m_httpStatus;          // final HTTP status
    std::optional<std::string> m_finalUrl;    // after redirects
    std::optional<std::string> m_rel;         // rel tokens of the anchor, space-separated
    std::optional<std::string> m_anchorText;  // text of the anchor
    std::optional<bool> m_noindex;            // meta robots or X-Robots-Tag says noindex
    std::optional<std::string> m_robotsTxt;   // "allowed", "disallowed" or "unknown"
    std::optional<std::int64_t> m_elapsedMs;  // time the check took
    std::optional<std::string> m_verdict;     // the short verdict ("follow", "nofollow"...)
    // Every finding about the link's worth, worst first, one per line
    // ("hidden by CSS\nnofollow"); "" for none.
    std::optional<std::string> m_findings;
};

}  // namespace tarnwick
