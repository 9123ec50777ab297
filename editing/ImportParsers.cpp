#include "editing/ImportParsers.h"

#include <sys/stat.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"

namespace tarnwick {
namespace {

// One line at a time without its line end (LF, or CR LF), as text mode reads.
// The line stays valid until the next call.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual bool next(std::string_view& line) = 0;
    // An errno value when reading failed, else 0.
    virtual int error() const { return 0; }
};

void dropLineEnd(std::string_view& line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
}

class BytesSource : public LineSource {
public:
    explicit BytesSource(std::string_view bytes) : m_rest(bytes) {}
    bool next(std::string_view& line) override {
        if (m_rest.empty()) {
            return false;
        }
        const size_t end = m_rest.find('\n');
        line = end == std::string_view::npos ? m_rest : m_rest.substr(0, end + 1);
        m_rest.remove_prefix(line.size());
        dropLineEnd(line);
        return true;
    }

private:
    std::string_view m_rest;
};

class FileSource : public LineSource {
public:
    explicit FileSource(const std::string& path) {
        m_error = checkImportFile(path);
        if (m_error == 0) {
            m_file = std::fopen(path.c_str(), "rb");
            if (m_file == nullptr) {
                m_error = errno != 0 ? errno : EIO;
            }
        }
    }
    ~FileSource() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
        std::free(m_buffer);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool next(std::string_view& line) override {
        if (m_file == nullptr) {
            return false;
        }
        errno = 0;
        const ssize_t n = getline(&m_buffer, &m_capacity, m_file);
        if (n < 0) {
            if (std::ferror(m_file) != 0) {
                m_error = errno != 0 ? errno : EIO;
            }
            return false;
        }
        line = std::string_view(m_buffer, static_cast<size_t>(n));
        dropLineEnd(line);
        return true;
    }
    int error() const override { return m_error; }

private:
    FILE* m_file = nullptr;
    char* m_buffer = nullptr;
    size_t m_capacity = 0;
    int m_error = 0;
};

// A failed read wins over what the lines said: the list is then incomplete.
ImportResult finish(ImportResult result, const LineSource& source) {
    if (source.error() != 0) {
        result.m_end = ImportEnd::Unreadable;
        result.m_error = source.error();
        result.m_message.clear();
    }
    return result;
}

// The first line without a byte order mark; later lines as they are.
class ListLines {
public:
    explicit ListLines(LineSource& source) : m_source(source) {}
    bool next(std::string_view& line) {
        if (!m_source.next(line)) {
            return false;
        }
        if (++m_line == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") {
            line.remove_prefix(3);
        }
        return true;
    }
    int line() const { return m_line; }
    // True once for the first line with text, when it is a heading.
    bool skipHeading(std::string_view line) {
        if (m_seenText) {
            return false;
        }
        m_seenText = true;
        return isHeadingLine(line);
    }

private:
    LineSource& m_source;
    int m_line = 0;
    bool m_seenText = false;
};

void formatError(ImportResult& result, const char* message, int line, std::string_view text) {
    constexpr size_t kShown = 80;
    result.m_end = ImportEnd::FormatError;
    result.m_line = line;
    result.m_message = std::string(message) + "\n\nLine " + std::to_string(line) + ": " +
                       std::string(text.substr(0, kShown)) + (text.size() > kShown ? "..." : "");
}

// RFC 4180 fields of one line: separated by commas, a field in double quotes
// may hold commas, and "" inside it stands for one quote. An unclosed quote
// runs to the end of the line.
std::vector<std::string> csvFields(std::string_view line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The separators a CSV list is written with: the comma, and the semicolon
// and the tab of spreadsheets set up for a language whose decimal mark is a
// comma.
constexpr char kCsvSeparators[] = {',', ';', '\t'};

// Which of kCsvSeparators the line holds outside double quotes.
std::array<bool, 3> separatorsIn(std::string_view line) {
    std::array<bool, 3> found{};
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        }
        for (size_t k = 0; k < found.size() && !quoted; ++k) {
            found[k] = found[k] || c == kCsvSeparators[k];
        }
    }
    return found;
}

// The list's separator: the one its heading uses ("Page;E-mail"), else the
// one most lines hold; the comma when nothing says otherwise.
char detectCsvSeparator(LineSource& source) {
    ListLines lines(source);
    std::string_view line;
    std::array<int, 3> votes{};
    while (lines.next(line)) {
        if (trimSpace(line).empty()) {
            continue;
        }
        const std::array<bool, 3> found = separatorsIn(line);
        if (lines.skipHeading(line)) {
            // A heading names its columns: its separator is the list's.
            for (size_t k = 0; k < found.size(); ++k) {
                if (found[k]) {
                    return kCsvSeparators[k];
                }
            }
            continue;
        }
        for (size_t k = 0; k < found.size(); ++k) {
            votes[k] += found[k] ? 1 : 0;
        }
    }
    size_t best = 0;
    for (size_t k = 1; k < votes.size(); ++k) {
        if (votes[k] > votes[best]) {
            best = k;
        }
    }
    return kCsvSeparators[best];
}

ImportResult runCsv(LineSource& source, char separator) {
    ImportResult result;
    ListLines lines(source);
    std::string_view line;
    const std::string joint(1, separator);
    while (lines.next(line)) {
        if (trimSpace(line).empty() || lines.skipHeading(line)) {
            continue;
        }
        if (line.find('"') != std::string_view::npos) {
            std::vector<std::string> fields = csvFields(line, separator);
            std::string mail;
            for (size_t i = 1; i < fields.size(); ++i) {
                mail += (i > 1 ? joint : "") + fields[i];
            }
            result.m_rows.push_back({std::move(fields.front()), std::move(mail)});
            continue;
        }
        const size_t split = line.find(separator);
        if (split == std::string_view::npos) {
            result.m_rows.push_back({std::string(line), std::string()});
        } else {
            result.m_rows.push_back(
                {std::string(line.substr(0, split)), std::string(line.substr(split + 1))});
        }
    }
    return finish(std::move(result), source);
}

bool hasPlainSeparator(std::string_view line) {
    return line.find_first_of(" *|^!") != std::string_view::npos;
}

ImportResult runPlainText(LineSource& source) {
    ImportResult result;
    ListLines lines(source);
    std::string_view line;
    while (lines.next(line)) {
        const std::string_view trimmed = trimSpace(line);
        if (trimmed.empty() || lines.skipHeading(trimmed)) {
            continue;
        }
        if (hasPlainSeparator(trimmed)) {
            formatError(result, texts::kPlainFormat, lines.line(), trimmed);
            break;
        }
        result.m_rows.push_back({std::string(trimmed), std::string()});
    }
    return finish(std::move(result), source);
}

ImportResult runSeparatedText(LineSource& source, const std::string& separator) {
    ImportResult result;
    ListLines lines(source);
    std::string_view line;
    while (lines.next(line)) {
        const std::string_view trimmed = trimSpace(line);
        if (trimmed.empty() || lines.skipHeading(trimmed)) {
            continue;
        }
        const size_t p = separator.empty() ? std::string_view::npos : trimmed.find(separator);
        if (p == std::string_view::npos) {
            formatError(result, texts::kSeparatedFormat, lines.line(), trimmed);
            break;
        }
        result.m_rows.push_back(
            {std::string(trimmed.substr(0, p)), std::string(trimmed.substr(p + separator.size()))});
    }
    return finish(std::move(result), source);
}

}  // namespace

ImportResult importCsv(const std::string& path) {
    char separator = ',';
    {
        FileSource probe(path);
        separator = detectCsvSeparator(probe);
    }
    FileSource source(path);
    return runCsv(source, separator);
}

ImportResult importPlainText(const std::string& path) {
    FileSource source(path);
    return runPlainText(source);
}

ImportResult importSeparatedText(const std::string& path, const std::string& separator) {
    FileSource source(path);
    return runSeparatedText(source, separator);
}

ImportResult parseCsv(std::string_view bytes) {
    BytesSource probe(bytes);
    const char separator = detectCsvSeparator(probe);
    BytesSource source(bytes);
    return runCsv(source, separator);
}

ImportResult parsePlainText(std::string_view bytes) {
    BytesSource source(bytes);
    return runPlainText(source);
}

ImportResult parseSeparatedText(std::string_view bytes, const std::string& separator) {
    BytesSource source(bytes);
    return runSeparatedText(source, separator);
}

bool isHeadingLine(std::string_view line) {
    // An address has a dot (the address rule); a mail address an "@".
    if (line.find_first_of(".@/") != std::string_view::npos) {
        return false;
    }
    static constexpr std::string_view kWords[] = {
        "url",     "urls",         "page",       "pages",   "address",   "addresses",
        "link",    "links",        "site",       "sites",   "website",   "websites",
        "web",     "publisher",    "publishers", "s",       "mail",      "mails",
        "email",   "emails",       "e-mail",     "e-mails", "webmaster", "webmasters",
        "contact", "notification", "notify",     "partner", "partners",  "advertiser",
        "of",      "the",          "to",         "name"};
    bool anyWord = false;
    std::string word;
    const auto endWord = [&]() {
        if (word.empty()) {
            return true;
        }
        bool known = false;
        for (std::string_view w : kWords) {
            known = known || word == w;
        }
        word.clear();
        anyWord = true;
        return known;
    };
    for (const char c : line) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 || c == '-') {
            word += static_cast<char>(std::tolower(u));
        } else if (!endWord()) {
            return false;
        }
    }
    return endWord() && anyWord;
}

int checkImportFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno != 0 ? errno : ENOENT;
    }
    if (S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    // Pipes and devices could block or never end.
    if (!S_ISREG(st.st_mode)) {
        return EINVAL;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return errno != 0 ? errno : EACCES;
    }
    std::fclose(file);
    return 0;
}

const char* checkSeparator(SeparatorChoice choice, std::string_view otherText) {
    switch (choice) {
        case SeparatorChoice::None:
            return texts::kSelectSeparator;
        case SeparatorChoice::Semicolon:
        case SeparatorChoice::Comma:
            return nullptr;
        case SeparatorChoice::Other:
            break;
    }
    const std::string_view symbol = trimSpace(otherText);
    if (symbol.empty()) {
        return texts::kEnterSeparator;
    }
    if (symbol.size() != 1 ||
        std::string_view("!^*|").find(symbol.front()) == std::string_view::npos) {
        return texts::kSeparatorSymbols;
    }
    return nullptr;
}

namespace {

// "http", "https", "ftp"...: letters, digits, "+", "-" and "." after a letter.
bool hasScheme(std::string_view page) {
    const size_t end = page.find("://");
    if (end == std::string_view::npos || end == 0 ||
        std::isalpha(static_cast<unsigned char>(page[0])) == 0) {
        return false;
    }
    for (const char c : page.substr(0, end)) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

ImportSummary tidyImport(std::vector<ImportRow>& rows) {
    ImportSummary summary;
    std::set<std::string> seen;
    std::vector<ImportRow> kept;
    kept.reserve(rows.size());
    for (ImportRow& row : rows) {
        const std::string_view page = trimSpace(row.m_page);
        if (!page.empty() && !hasScheme(page)) {
            // As a browser takes an address typed without its scheme: the
            // check fetches it over http, and the list shows what it fetches.
            const size_t at = static_cast<size_t>(page.data() - row.m_page.data());
            row.m_page.insert(at, "http://");
            ++summary.m_schemeAdded;
            if (summary.m_firstSchemeAdded.empty()) {
                summary.m_firstSchemeAdded = std::string(trimSpace(row.m_page));
            }
        }
        if (!seen.insert(std::string(trimSpace(row.m_page))).second) {
            ++summary.m_duplicates;
            continue;
        }
        if (trimSpace(row.m_mail).empty()) {
            ++summary.m_withoutMail;
        }
        kept.push_back(std::move(row));
    }
    rows = std::move(kept);
    summary.m_pages = static_cast<int>(rows.size());
    return summary;
}

std::string ImportSummary::text(bool withMail) const {
    std::string text = counted(m_pages, "page", "pages");
    if (withMail && m_withoutMail > 0) {
        text += ", " + std::to_string(m_withoutMail) + " without mail";
    }
    if (m_duplicates > 0) {
        text += ", " + counted(m_duplicates, "duplicate", "duplicates") + " left out";
    }
    if (m_schemeAdded > 0) {
        text += "; http:// added to " + counted(m_schemeAdded, "address", "addresses") +
                " without it (" + m_firstSchemeAdded + (m_schemeAdded > 1 ? ", ...)" : ")");
    }
    return text;
}

std::string separatorOf(SeparatorChoice choice, const std::string& otherText) {
    switch (choice) {
        case SeparatorChoice::Semicolon:
            return ";";
        case SeparatorChoice::Comma:
            return ",";
        default:
            return otherText;
    }
}

}  // namespace tarnwick
