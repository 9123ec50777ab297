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
    virtual bool Next(std::string_view& line) = 0;
    // An errno value when reading failed, else 0.
    virtual int Error() const { return 0; }
};

void DropLineEnd(std::string_view& line) {
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
    bool Next(std::string_view& line) override {
        if (m_rest.empty()) {
            return false;
        }
        const size_t end = m_rest.find('\n');
        line = end == std::string_view::npos ? m_rest : m_rest.substr(0, end + 1);
        m_rest.remove_prefix(line.size());
        DropLineEnd(line);
        return true;
    }

private:
    std::string_view m_rest;
};

class FileSource : public LineSource {
public:
    explicit FileSource(const std::string& path) {
        m_nError = CheckImportFile(path);
        if (m_nError == 0) {
            m_pFile = std::fopen(path.c_str(), "rb");
            if (m_pFile == nullptr) {
                m_nError = errno != 0 ? errno : EIO;
            }
        }
    }
    ~FileSource() override {
        if (m_pFile != nullptr) {
            std::fclose(m_pFile);
        }
        std::free(m_pBuffer);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool Next(std::string_view& line) override {
        if (m_pFile == nullptr) {
            return false;
        }
        errno = 0;
        const ssize_t n = getline(&m_pBuffer, &m_nCapacity, m_pFile);
        if (n < 0) {
            if (std::ferror(m_pFile) != 0) {
                m_nError = errno != 0 ? errno : EIO;
            }
            return false;
        }
        line = std::string_view(m_pBuffer, static_cast<size_t>(n));
        DropLineEnd(line);
        return true;
    }
    int Error() const override { return m_nError; }

private:
    FILE* m_pFile = nullptr;
    char* m_pBuffer = nullptr;
    size_t m_nCapacity = 0;
    int m_nError = 0;
};

// A failed read wins over what the lines said: the list is then incomplete.
ImportResult Finish(ImportResult result, const LineSource& source) {
    if (source.Error() != 0) {
        result.m_eEnd = ImportEnd::Unreadable;
        result.m_nError = source.Error();
        result.m_strMessage.clear();
    }
    return result;
}

// The first line without a byte order mark; later lines as they are.
class ListLines {
public:
    explicit ListLines(LineSource& source) : m_source(source) {}
    bool Next(std::string_view& line) {
        if (!m_source.Next(line)) {
            return false;
        }
        if (++m_nLine == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") {
            line.remove_prefix(3);
        }
        return true;
    }
    int Line() const { return m_nLine; }
    // True once for the first line with text, when it is a heading.
    bool SkipHeading(std::string_view line) {
        if (m_bSeenText) {
            return false;
        }
        m_bSeenText = true;
        return IsHeadingLine(line);
    }

private:
    LineSource& m_source;
    int m_nLine = 0;
    bool m_bSeenText = false;
};

void FormatError(ImportResult& result, const char* message, int line, std::string_view text) {
    constexpr size_t kShown = 80;
    result.m_eEnd = ImportEnd::FormatError;
    result.m_nLine = line;
    result.m_strMessage = std::string(message) + "\n\nLine " + std::to_string(line) + ": " +
                          std::string(text.substr(0, kShown)) + (text.size() > kShown ? "..." : "");
}

// RFC 4180 fields of one line: separated by commas, a field in double quotes
// may hold commas, and "" inside it stands for one quote. An unclosed quote
// runs to the end of the line.
std::vector<std::string> CsvFields(std::string_view line, char separator) {
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
std::array<bool, 3> SeparatorsIn(std::string_view line) {
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
char DetectCsvSeparator(LineSource& source) {
    ListLines lines(source);
    std::string_view line;
    std::array<int, 3> votes{};
    while (lines.Next(line)) {
        if (TrimSpace(line).empty()) {
            continue;
        }
        const std::array<bool, 3> found = SeparatorsIn(line);
        if (lines.SkipHeading(line)) {
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

ImportResult RunCsv(LineSource& source, char separator) {
    ImportResult result;
    ListLines lines(source);
    std::string_view line;
    const std::string joint(1, separator);
    while (lines.Next(line)) {
        if (TrimSpace(line).empty() || lines.SkipHeading(line)) {
            continue;
        }
        if (line.find('"') != std::string_view::npos) {
            std::vector<std::string> fields = CsvFields(line, separator);
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
    return Finish(std::move(result), source);
}

bool HasPlainSeparator(std::string_view line) {
    return line.find_first_of(" *|^!") != std::string_view::npos;
}

ImportResult RunPlainText(LineSource& source) {
    ImportResult result;
    ListLines lines(source);
    std::string_view line;
    while (lines.Next(line)) {
        const std::string_view trimmed = TrimSpace(line);
        if (trimmed.empty() || lines.SkipHeading(trimmed)) {
            continue;
        }
        if (HasPlainSeparator(trimmed)) {
            FormatError(result, texts::kPlainFormat, lines.Line(), trimmed);
            break;
        }
        result.m_rows.push_back({std::string(trimmed), std::string()});
    }
    return Finish(std::move(result), source);
}

ImportResult RunSeparatedText(LineSource& source, const std::string& separator) {
    ImportResult result;
    ListLines lines(source);
    std::string_view line;
    while (lines.Next(line)) {
        const std::string_view trimmed = TrimSpace(line);
        if (trimmed.empty() || lines.SkipHeading(trimmed)) {
            continue;
        }
        const size_t p = separator.empty() ? std::string_view::npos : trimmed.find(separator);
        if (p == std::string_view::npos) {
            FormatError(result, texts::kSeparatedFormat, lines.Line(), trimmed);
            break;
        }
        result.m_rows.push_back(
            {std::string(trimmed.substr(0, p)), std::string(trimmed.substr(p + separator.size()))});
    }
    return Finish(std::move(result), source);
}

}  // namespace

ImportResult ImportCsv(const std::string& path) {
    char separator = ',';
    {
        FileSource probe(path);
        separator = DetectCsvSeparator(probe);
    }
    FileSource source(path);
    return RunCsv(source, separator);
}

ImportResult ImportPlainText(const std::string& path) {
    FileSource source(path);
    return RunPlainText(source);
}

ImportResult ImportSeparatedText(const std::string& path, const std::string& separator) {
    FileSource source(path);
    return RunSeparatedText(source, separator);
}

ImportResult ParseCsv(std::string_view bytes) {
    BytesSource probe(bytes);
    const char separator = DetectCsvSeparator(probe);
    BytesSource source(bytes);
    return RunCsv(source, separator);
}

ImportResult ParsePlainText(std::string_view bytes) {
    BytesSource source(bytes);
    return RunPlainText(source);
}

ImportResult ParseSeparatedText(std::string_view bytes, const std::string& separator) {
    BytesSource source(bytes);
    return RunSeparatedText(source, separator);
}

bool IsHeadingLine(std::string_view line) {
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

int CheckImportFile(const std::string& path) {
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

const char* CheckSeparator(SeparatorChoice choice, std::string_view otherText) {
    switch (choice) {
        case SeparatorChoice::None:
            return texts::kSelectSeparator;
        case SeparatorChoice::Semicolon:
        case SeparatorChoice::Comma:
            return nullptr;
        case SeparatorChoice::Other:
            break;
    }
    const std::string_view symbol = TrimSpace(otherText);
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
bool HasScheme(std::string_view page) {
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

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

ImportSummary TidyImport(std::vector<ImportRow>& rows) {
    ImportSummary summary;
    std::set<std::string> seen;
    std::vector<ImportRow> kept;
    kept.reserve(rows.size());
    for (ImportRow& row : rows) {
        const std::string_view page = TrimSpace(row.m_strPage);
        if (!page.empty() && !HasScheme(page)) {
            // As a browser takes an address typed without its scheme: the
            // check fetches it over http, and the list shows what it fetches.
            const size_t at = static_cast<size_t>(page.data() - row.m_strPage.data());
            row.m_strPage.insert(at, "http://");
            ++summary.m_nSchemeAdded;
            if (summary.m_strFirstSchemeAdded.empty()) {
                summary.m_strFirstSchemeAdded = std::string(TrimSpace(row.m_strPage));
            }
        }
        if (!seen.insert(std::string(TrimSpace(row.m_strPage))).second) {
            ++summary.m_nDuplicates;
            continue;
        }
        if (TrimSpace(row.m_strMail).empty()) {
            ++summary.m_nWithoutMail;
        }
        kept.push_back(std::move(row));
    }
    rows = std::move(kept);
    summary.m_nPages = static_cast<int>(rows.size());
    return summary;
}

std::string ImportSummary::Text(bool withMail) const {
    std::string text = Counted(m_nPages, "page", "pages");
    if (withMail && m_nWithoutMail > 0) {
        text += ", " + std::to_string(m_nWithoutMail) + " without mail";
    }
    if (m_nDuplicates > 0) {
        text += ", " + Counted(m_nDuplicates, "duplicate", "duplicates") + " left out";
    }
    if (m_nSchemeAdded > 0) {
        text += "; http:// added to " + Counted(m_nSchemeAdded, "address", "addresses") +
                " without it (" + m_strFirstSchemeAdded + (m_nSchemeAdded > 1 ? ", ...)" : ")");
    }
    return text;
}

std::string SeparatorOf(SeparatorChoice choice, const std::string& otherText) {
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
