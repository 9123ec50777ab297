// The three importers of publisher-page lists: comma-separated, plain text (one
// address per line) and separated text (address and mail address per line).
// They only produce rows; nothing is stored until the wizard saves them.
// Any bytes are accepted: lines of any length, any byte values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/ProfileFile.h"

namespace tarnwick {

enum class ImportEnd {
    Complete,     // the whole file was read
    FormatError,  // a line broke the format: m_message; the rows before it stay
    Unreadable,   // the file could not be opened or read: m_error (an errno value)
};

struct ImportResult {
    std::vector<ImportRow> m_rows;
    ImportEnd m_end = ImportEnd::Complete;
    // The format message, then the number and text of the line that broke it.
    std::string m_message;
    int m_line = 0;  // that line, counted from 1 (0: none)
    int m_error = 0;
};

// Every importer forgives what spreadsheets and editors add: a UTF-8 byte
// order mark before the first line, and a heading line as the first line
// with text ("URL", "Page;E-mail", "Publisher's Site,Mail Address": words of
// that kind, no address in it), which is skipped.
//
// CSV: each line splits at its first separator; a line that is empty or
// blank is skipped; a line without one is an address without mail. A line
// holding a double quote is read as RFC 4180 fields ("a, b" and "" inside
// quotes): the first field is the address, the rest the mail address. The
// separator is ",", or ";" or a tab when the heading uses it ("Page;E-mail")
// or, without such a heading, when more lines hold it than hold a comma.
ImportResult importCsv(const std::string& path);
// Plain text: every line trimmed, empty lines skipped; a line holding a blank,
// "*", "|", "^" or "!" ends the import with its message.
ImportResult importPlainText(const std::string& path);
// Separated text: every line trimmed, empty lines skipped, split at the first
// occurrence of the separator; a line without it ends the import with its
// message. An empty separator is never found.
ImportResult importSeparatedText(const std::string& path, const std::string& separator);

// Whether a line is a list's heading rather than a page.
bool isHeadingLine(std::string_view line);

// The same rules over bytes in memory (LF or CR LF line ends).
ImportResult parseCsv(std::string_view bytes);
ImportResult parsePlainText(std::string_view bytes);
ImportResult parseSeparatedText(std::string_view bytes, const std::string& separator);

// What an import brought, told in one line after it.
struct ImportSummary {
    int m_pages = 0;        // rows kept
    int m_withoutMail = 0;  // of those, rows without a mail address
    int m_duplicates = 0;   // rows left out: the page of an earlier row again
    int m_schemeAdded = 0;  // pages without a scheme that got "http://"
    std::string m_firstSchemeAdded;
    // "41 pages, 3 without mail, 2 duplicates left out", with a notice of
    // the addresses that got "http://". withMail: the list has a mail column.
    std::string text(bool withMail) const;
};

// Makes imported rows fit to be checked: a page without a scheme
// ("www.partner.example/links") gets "http://", as a browser would read it;
// a page already listed above (compared without blanks around it) is left
// out. Rows are otherwise kept as they are.
ImportSummary tidyImport(std::vector<ImportRow>& rows);

// 0 when the path names a file that can be opened for reading, else an errno
// value (a folder gives EISDIR, anything else that is no regular file EINVAL).
int checkImportFile(const std::string& path);

// The separator page of the wizard.
enum class SeparatorChoice { None, Semicolon, Comma, Other };

// nullptr when the choice is accepted, else the message to show. The other
// symbol is judged trimmed: exactly one of "!", "^", "*", "|".
const char* checkSeparator(SeparatorChoice choice, std::string_view otherText);
// The separator the import searches for: ";", ",", or the other text as typed.
std::string separatorOf(SeparatorChoice choice, const std::string& otherText);

}  // namespace tarnwick
