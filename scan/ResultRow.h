// One row of the results pane: the columns "Advetiser's Site", "Publisher's
// Site", "Mail Address", "Email Notification", "Status", "Since last run",
// and the profile-pane row the page came from (set when the results are
// built), and what the check of the page found besides its result: the
// reason for the result, the final HTTP status (0 when none) and the page's
// evidence, all empty until the page is checked.
#pragma once

#include <optional>
#include <string>

#include "scan/LinkResult.h"
#include "scan/PageEvidence.h"
#include "scan/RowEvidence.h"

namespace tarnwick {

// What became of the page's webmaster letter in the run.
enum class LetterMark { None, Sent, Failed, HeldBack };

struct ResultRow {
    std::string m_advertiser;
    std::string m_page;
    std::string m_mail;
    std::string m_notify;
    // The Status: nothing until the page is checked; Stop marks a row left
    // without one, and a result that comes after all replaces the mark.
    std::optional<LinkResult> m_result;
    bool m_stopped = false;
    std::string m_change;  // the page's change since the last run, from the history
    int m_profileRow = -1;
    std::string m_reason;
    long m_httpStatus = 0;
    RowEvidence m_evidence;  // what the check saw of the link's worth
    // The letter beside the Mail Address cell, whose text a failure replaces:
    // the address it was for, and why it failed or was held back.
    LetterMark m_letter = LetterMark::None;
    std::string m_letterTo;
    std::string m_letterNote;
    // The Status, reason and "Since last run" cell come from the last run
    // recorded in the history (shown from the start until Play), not from a
    // run of this session.
    bool m_recorded = false;
    bool operator==(const ResultRow&) const = default;

    bool hasStatus() const { return m_result.has_value() || m_stopped; }
    // The Status cell's text: the result's word, "Stopped by user", or "".
    const std::string& statusText() const;
};

}  // namespace tarnwick
