// Pages typed or pasted by hand (the Add wizard's "Type or paste" page) and
// the check of a page and its mail address that Edit Profile shares.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/ProfileFile.h"

namespace tarnwick {

struct TypedPages {
    std::vector<ImportRow> m_rows;
    int m_line = 0;         // the first bad line, counted from 1; 0: none
    std::string m_message;  // what is wrong with it, naming the line
};

// One page per line; after it, separated by a tab, ";", "," or blanks, may
// come its webmaster's mail address. Blanks around both are dropped, empty
// lines skipped, and so is a first line that is a list's heading ("Url",
// "Page<TAB>Mail" as a spreadsheet copies it). Every page must pass the
// address rule and every mail address given the mail rule; the first line
// that does not stops the reading, and no row is returned then.
TypedPages parseTypedPages(std::string_view text);

// Rows pasted into a profile's list of pages: the lines as ParseTypedPages
// reads them, where a third field may give the notification ("Enabled" or
// "Disabled", in any letter case; `notify` when it is missing). Pages already
// in `existing`, or earlier in the paste, are left out and counted.
struct PastedPages {
    std::vector<ProfilePage> m_pages;
    int m_skipped = 0;
    int m_line = 0;  // the first bad line, counted from 1; 0: none
    std::string m_message;
};
PastedPages parsePastedPages(std::string_view text, const std::vector<std::string>& existing,
                             const std::string& notify);

// nullptr when the page passes the address rule and the mail address is
// blank or passes the mail rule; otherwise the rule's message ("URL is
// invalid or incomplete" or "Incorrect Mail Address").
const char* checkPageAndMail(std::string_view page, std::string_view mail);
// The two halves: the page alone, the mail address alone (blank passes).
const char* checkPage(std::string_view page);
const char* checkMail(std::string_view mail);

}  // namespace tarnwick
