#include "editing/ImportParsers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <random>

#include "editing/EditingTexts.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rowsOf(const ImportResult& result) {
    Rows rows;
    for (const ImportRow& row : result.m_rows) {
        rows.emplace_back(row.m_page, row.m_mail);
    }
    return rows;
}

enum class Kind { Csv, Plain, Separated };

struct ParseCase {
    const char* name;
    Kind kind;
    std::string separator;
    std::string bytes;
    Rows rows;
    ImportEnd end;
    const char* message;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

ImportResult parse(const ParseCase& c) {
    switch (c.kind) {
        case Kind::Csv:
            return parseCsv(c.bytes);
        case Kind::Plain:
            return parsePlainText(c.bytes);
        case Kind::Separated:
            break;
    }
    return parseSeparatedText(c.bytes, c.separator);
}

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, GivesRowsAndEnd) {
    const ParseCase& c = GetParam();
    const ImportResult result = parse(c);
    EXPECT_EQ(rowsOf(result), c.rows);
    EXPECT_EQ(result.m_end, c.end);
    // The format's own words first; the line that broke it follows.
    const std::string message = c.message;
    EXPECT_EQ(result.m_message.substr(0, message.size()), message);
    EXPECT_EQ(result.m_message.empty(), message.empty());
}

// The same bytes through a real file give the same answer.
TEST_P(ParseTest, FileGivesTheSameAnswer) {
    const ParseCase& c = GetParam();
    test::TempDataFolder temp;
    const std::string path = temp.root() + "/list.txt";
    test::writeBytes(path, c.bytes);
    ImportResult result;
    switch (c.kind) {
        case Kind::Csv:
            result = importCsv(path);
            break;
        case Kind::Plain:
            result = importPlainText(path);
            break;
        case Kind::Separated:
            result = importSeparatedText(path, c.separator);
            break;
    }
    EXPECT_EQ(rowsOf(result), c.rows);
    EXPECT_EQ(result.m_end, c.end);
}

const char* const kNone = "";

INSTANTIATE_TEST_SUITE_P(
    Csv, ParseTest,
    ::testing::Values(ParseCase{"EmptyLineIsSkipped",
                                Kind::Csv,
                                "",
                                "a.example.com/x,webmaster mail\r\n\r\nb.example.com,b@x\r\n",
                                {{"a.example.com/x", "webmaster mail"}, {"b.example.com", "b@x"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"SplitsAtFirstCommaOnly",
                                Kind::Csv,
                                "",
                                "p,m1,m2\nq,\n",
                                {{"p", "m1,m2"}, {"q", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"OneColumnGivesAddresses",
                                Kind::Csv,
                                "",
                                "a.example.com\nb.example.com/x\n",
                                {{"a.example.com", ""}, {"b.example.com/x", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"LinesAreNotTrimmed",
                                Kind::Csv,
                                "",
                                " p , m \t\r\nlast,x",
                                {{" p ", " m \t"}, {"last", "x"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"EmptyFile", Kind::Csv, "", "", {}, ImportEnd::Complete, kNone},
                      ParseCase{"BlankLineIsSkipped",
                                Kind::Csv,
                                "",
                                " \nz,y",
                                {{"z", "y"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"LoneCrStaysInLine",
                                Kind::Csv,
                                "",
                                "a\rb,c\r\r\n",
                                {{"a\rb", "c\r"}},
                                ImportEnd::Complete,
                                kNone}));

INSTANTIATE_TEST_SUITE_P(
    Plain, ParseTest,
    ::testing::Values(
        ParseCase{"SkipsEmptyLines",
                  Kind::Plain,
                  "",
                  "a.com\r\n\r\n  \r\nb.com",
                  {{"a.com", ""}, {"b.com", ""}},
                  ImportEnd::Complete,
                  kNone},
        ParseCase{"TrimsEachLine",
                  Kind::Plain,
                  "",
                  " \ta.com/x \r\n",
                  {{"a.com/x", ""}},
                  ImportEnd::Complete,
                  kNone},
        ParseCase{"BlankInThirdLineStops",
                  Kind::Plain,
                  "",
                  "a.com\nb.com\nc .com\nd.com\n",
                  {{"a.com", ""}, {"b.com", ""}},
                  ImportEnd::FormatError,
                  texts::kPlainFormat},
        ParseCase{"EachSeparatorStops",
                  Kind::Plain,
                  "",
                  "x*y\n",
                  {},
                  ImportEnd::FormatError,
                  texts::kPlainFormat},
        ParseCase{"BarStops",
                  Kind::Plain,
                  "",
                  "a\nx|y\n",
                  {{"a", ""}},
                  ImportEnd::FormatError,
                  texts::kPlainFormat},
        ParseCase{
            "CaretStops", Kind::Plain, "", "x^y", {}, ImportEnd::FormatError, texts::kPlainFormat},
        ParseCase{
            "BangStops", Kind::Plain, "", "x!y", {}, ImportEnd::FormatError, texts::kPlainFormat},
        ParseCase{"CommaAndSemicolonPass",
                  Kind::Plain,
                  "",
                  "a,b;c\n",
                  {{"a,b;c", ""}},
                  ImportEnd::Complete,
                  kNone},
        ParseCase{"InnerTabPasses",
                  Kind::Plain,
                  "",
                  "a\tb\n",
                  {{"a\tb", ""}},
                  ImportEnd::Complete,
                  kNone}));

INSTANTIATE_TEST_SUITE_P(Separated, ParseTest,
                         ::testing::Values(ParseCase{"SemicolonSplitsAtFirst",
                                                     Kind::Separated,
                                                     ";",
                                                     "a.com;m;n\r\n",
                                                     {{"a.com", "m;n"}},
                                                     ImportEnd::Complete,
                                                     kNone},
                                           ParseCase{"TrimsLineButNotCells",
                                                     Kind::Separated,
                                                     ",",
                                                     "  a.com , m  \n\n\nb,c",
                                                     {{"a.com ", " m"}, {"b", "c"}},
                                                     ImportEnd::Complete,
                                                     kNone},
                                           ParseCase{"MissingSeparatorStops",
                                                     Kind::Separated,
                                                     ";",
                                                     "a;b\nno separator\nc;d",
                                                     {{"a", "b"}},
                                                     ImportEnd::FormatError,
                                                     texts::kSeparatedFormat},
                                           ParseCase{"OtherSymbolWithBlanks",
                                                     Kind::Separated,
                                                     " | ",
                                                     "a | m\na|m\n",
                                                     {{"a", "m"}},
                                                     ImportEnd::FormatError,
                                                     texts::kSeparatedFormat},
                                           ParseCase{"EmptySeparatorNeverFound",
                                                     Kind::Separated,
                                                     "",
                                                     "a;b",
                                                     {},
                                                     ImportEnd::FormatError,
                                                     texts::kSeparatedFormat},
                                           ParseCase{"SeparatorAtEnds",
                                                     Kind::Separated,
                                                     "!",
                                                     "!m\np!\n",
                                                     {{"", "m"}, {"p", ""}},
                                                     ImportEnd::Complete,
                                                     kNone}));

// What spreadsheets and editors add to a list: a byte order mark, a heading,
// quotes. Well-formed lists read exactly as before.
INSTANTIATE_TEST_SUITE_P(
    Tolerance, ParseTest,
    ::testing::Values(ParseCase{"CsvWellFormedUnchanged",
                                Kind::Csv,
                                "",
                                "p.com/x,m@p.com\r\nq.com,\r\n",
                                {{"p.com/x", "m@p.com"}, {"q.com", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"CsvMarkAndHeading",
                                Kind::Csv,
                                "",
                                "\xEF\xBB\xBFURL,E-mail\r\na.com,m@a.com\r\n",
                                {{"a.com", "m@a.com"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"CsvSpreadsheetHeading",
                                Kind::Csv,
                                "",
                                "Publisher's Site,Mail Address\na.com,m\n",
                                {{"a.com", "m"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"CsvHeadingOnlyFirst",
                                Kind::Csv,
                                "",
                                "\n a.com,m\nPage,Mail\n",
                                {{" a.com", "m"}, {"Page", "Mail"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{
                          "CsvQuotedFields",
                          Kind::Csv,
                          "",
                          "\"a.com/x?q=1,2\",\"Web \"\"Master\"\" <w@a.com>\"\r\n\"b.com\"\r\n",
                          {{"a.com/x?q=1,2", "Web \"Master\" <w@a.com>"}, {"b.com", ""}},
                          ImportEnd::Complete,
                          kNone},
                      ParseCase{"CsvUnclosedQuoteRunsToTheEnd",
                                Kind::Csv,
                                "",
                                "\"a.com,m\n",
                                {{"a.com,m", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"PlainMarkAndHeading",
                                Kind::Plain,
                                "",
                                "\xEF\xBB\xBFWeb Page\r\na.com\r\n",
                                {{"a.com", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"PlainMarkAlone",
                                Kind::Plain,
                                "",
                                "\xEF\xBB\xBF"
                                "a.com\n",
                                {{"a.com", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"SeparatedHeading",
                                Kind::Separated,
                                ";",
                                "URL;Mail\na.com;m\n",
                                {{"a.com", "m"}},
                                ImportEnd::Complete,
                                kNone}));

// Spreadsheets set up for a language with a decimal comma write CSV with
// semicolons or tabs: the heading tells which, or else most lines do.
INSTANTIATE_TEST_SUITE_P(
    CsvSeparator, ParseTest,
    ::testing::Values(ParseCase{"SemicolonHeading",
                                Kind::Csv,
                                "",
                                "Page;E-mail\r\nhttp://a.example/p0.html;w@a.example\r\n"
                                "http://b.example/q,r.html;w@b.example\r\n",
                                {{"http://a.example/p0.html", "w@a.example"},
                                 {"http://b.example/q,r.html", "w@b.example"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"TabHeading",
                                Kind::Csv,
                                "",
                                "\xEF\xBB\xBFURL\tMail\na.example;x\tw@a.example\n",
                                {{"a.example;x", "w@a.example"}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"SemicolonsInMostLines",
                                Kind::Csv,
                                "",
                                "a.example/p;w@a\nb.example/q,1;w@b\nc.example\nd.example;\n",
                                {{"a.example/p", "w@a"},
                                 {"b.example/q,1", "w@b"},
                                 {"c.example", ""},
                                 {"d.example", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"TieKeepsTheComma",
                                Kind::Csv,
                                "",
                                "a.example,w@a\nb.example;w@b\n",
                                {{"a.example", "w@a"}, {"b.example;w@b", ""}},
                                ImportEnd::Complete,
                                kNone},
                      ParseCase{"QuotedSemicolonFields",
                                Kind::Csv,
                                "",
                                "\"a.example/x?q=1;2\";\"Web; Master\"\nb.example;m\n",
                                {{"a.example/x?q=1;2", "Web; Master"}, {"b.example", "m"}},
                                ImportEnd::Complete,
                                kNone}));

// After an import: pages without a scheme get "http://", a page listed twice
// is kept once, and one line tells what the list brought.
TEST(ImportSummaryTest, TidiesTheRowsAndSaysWhatItDid) {
    const struct {
        const char* name;
        std::vector<ImportRow> rows;
        bool withMail;
        Rows kept;
        std::string text;
    } cases[] = {
        {"a clean list",
         {{"http://a.example/", "w@a"}, {"https://b.example/", "w@b"}},
         true,
         {{"http://a.example/", "w@a"}, {"https://b.example/", "w@b"}},
         "2 pages"},
        {"without mail and duplicates",
         {{"http://a.example/", "w@a"},
          {"http://b.example/", " "},
          {" http://a.example/ ", "other@a"},
          {"http://c.example/", ""},
          {"http://b.example/", "w@b"}},
         true,
         {{"http://a.example/", "w@a"}, {"http://b.example/", " "}, {"http://c.example/", ""}},
         "3 pages, 2 without mail, 2 duplicates left out"},
        {"schemes added",
         {{"www.a.example/links", "w@a"},
          {" b.example", "w@b"},
          {"ftp://c.example/x", ""},
          {"d.example/?u=http://e.example/", ""},
          {"http://www.a.example/links", "again"}},
         false,
         {{"http://www.a.example/links", "w@a"},
          {" http://b.example", "w@b"},
          {"ftp://c.example/x", ""},
          {"http://d.example/?u=http://e.example/", ""}},
         "4 pages, 1 duplicate left out; http:// added to 3 addresses without it "
         "(http://www.a.example/links, ...)"},
        {"one scheme added",
         {{"a.example", ""}},
         true,
         {{"http://a.example", ""}},
         "1 page, 1 without mail; http:// added to 1 address without it (http://a.example)"},
        {"nothing", {}, true, {}, "0 pages"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImportResult tidied;
        tidied.m_rows = c.rows;
        const ImportSummary summary = tidyImport(tidied.m_rows);
        EXPECT_EQ(rowsOf(tidied), c.kept);
        EXPECT_EQ(summary.text(c.withMail), c.text);
    }
}

// The message names the line (counted from 1, empty lines included) and
// shows it.
TEST(ImportLineTest, FormatErrorNamesTheLine) {
    const ImportResult plain = parsePlainText("a.com\n\nb c.com\nd.com\n");
    EXPECT_EQ(plain.m_line, 3);
    EXPECT_EQ(plain.m_message, std::string(texts::kPlainFormat) + "\n\nLine 3: b c.com");
    const ImportResult separated = parseSeparatedText(
        "\xEF\xBB\xBF"
        "a;b\r\n  bad  \r\n",
        ";");
    EXPECT_EQ(separated.m_line, 2);
    EXPECT_EQ(separated.m_message, std::string(texts::kSeparatedFormat) + "\n\nLine 2: bad");
    const ImportResult longLine = parsePlainText(std::string(100, 'x') + " y\n");
    EXPECT_EQ(longLine.m_message,
              std::string(texts::kPlainFormat) + "\n\nLine 1: " + std::string(80, 'x') + "...");
}

TEST(ImportLineTest, HeadingLines) {
    for (const char* heading : {"URL", "Page;E-mail", "Publisher's Site,Mail Address",
                                "\"Web Page\",\"Email\"", "links"}) {
        EXPECT_TRUE(isHeadingLine(heading)) << heading;
    }
    for (const char* row :
         {"", " ", "a.com", "localhost", "webmaster@x", "http://a/b", "Page,Mail,42", "x*y"}) {
        EXPECT_FALSE(isHeadingLine(row)) << row;
    }
}

TEST(ImportFileTest, UnreadablePathsSayWhy) {
    test::TempDataFolder temp;
    const ImportResult missing = importCsv(temp.root() + "/none.csv");
    EXPECT_EQ(missing.m_end, ImportEnd::Unreadable);
    EXPECT_EQ(missing.m_error, ENOENT);
    EXPECT_TRUE(missing.m_rows.empty());

    EXPECT_EQ(importPlainText(temp.root()).m_error, EISDIR);
    EXPECT_EQ(checkImportFile(temp.root()), EISDIR);
    EXPECT_EQ(checkImportFile("/dev/null"), EINVAL);  // no device is read
    EXPECT_EQ(checkImportFile(""), ENOENT);

    const std::string path = temp.root() + "/list.txt";
    test::writeBytes(path, "a.com\n");
    EXPECT_EQ(checkImportFile(path), 0);
    if (::geteuid() != 0) {  // root reads anything
        ::chmod(path.c_str(), 0);
        EXPECT_EQ(importSeparatedText(path, ";").m_error, EACCES);
    }
}

TEST(ImportFileTest, ReadsAHugeLineWhole) {
    test::TempDataFolder temp;
    const std::string path = temp.root() + "/huge.csv";
    const std::string page(std::size_t{3} * 1024 * 1024, 'p');
    test::writeBytes(path, page + "," + std::string(5, '\0') + "\r\nq,r");
    const ImportResult result = importCsv(path);
    ASSERT_EQ(result.m_rows.size(), 2u);
    EXPECT_EQ(result.m_rows[0].m_page, page);
    EXPECT_EQ(result.m_rows[0].m_mail, std::string(5, '\0'));
    EXPECT_EQ(result.m_rows[1].m_mail, "r");
}

// Random bytes of every value, long lines and many line ends: the parsers end,
// and every row is made of bytes of the input.
TEST(ImportFuzzTest, AnyBytesGiveSoundRows) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 400; ++round) {
        std::string bytes(rng() % (round % 10 == 0 ? 200000 : 600), '\0');
        for (char& c : bytes) {
            const unsigned r = rng() % 16;
            c = r == 0   ? '\n'
                : r == 1 ? '\r'
                : r == 2 ? ','
                : r == 3 ? ' '
                         : static_cast<char>(rng());
        }
        for (const ImportResult& result :
             {parseCsv(bytes), parsePlainText(bytes), parseSeparatedText(bytes, ";"),
              parseSeparatedText(bytes, " | ")}) {
            size_t total = 0;
            for (const ImportRow& row : result.m_rows) {
                total += row.m_page.size() + row.m_mail.size();
                EXPECT_EQ(row.m_page.find('\n'), std::string::npos);
                EXPECT_EQ(row.m_mail.find('\n'), std::string::npos);
            }
            EXPECT_LE(total, bytes.size());
            EXPECT_NE(result.m_end, ImportEnd::Unreadable);
        }
    }
}

struct SeparatorCase {
    SeparatorChoice choice;
    const char* other;
    const char* message;  // nullptr: accepted
};

class SeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(SeparatorTest, ChecksTheChoice) {
    const char* message = checkSeparator(GetParam().choice, GetParam().other);
    if (GetParam().message == nullptr) {
        EXPECT_EQ(message, nullptr) << GetParam().other;
    } else {
        ASSERT_NE(message, nullptr) << GetParam().other;
        EXPECT_STREQ(message, GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SeparatorTest,
    ::testing::Values(SeparatorCase{SeparatorChoice::None, "|", texts::kSelectSeparator},
                      SeparatorCase{SeparatorChoice::Semicolon, "xyz", nullptr},
                      SeparatorCase{SeparatorChoice::Comma, "", nullptr},
                      SeparatorCase{SeparatorChoice::Other, "", texts::kEnterSeparator},
                      SeparatorCase{SeparatorChoice::Other, " \t ", texts::kEnterSeparator},
                      SeparatorCase{SeparatorChoice::Other, "||", texts::kSeparatorSymbols},
                      SeparatorCase{SeparatorChoice::Other, "#", texts::kSeparatorSymbols},
                      SeparatorCase{SeparatorChoice::Other, ";", texts::kSeparatorSymbols},
                      SeparatorCase{SeparatorChoice::Other, "!", nullptr},
                      SeparatorCase{SeparatorChoice::Other, "^", nullptr},
                      SeparatorCase{SeparatorChoice::Other, "*", nullptr},
                      SeparatorCase{SeparatorChoice::Other, " | ", nullptr}));

TEST(SeparatorTest, OtherSymbolIsSearchedAsTyped) {
    EXPECT_EQ(separatorOf(SeparatorChoice::Semicolon, "|"), ";");
    EXPECT_EQ(separatorOf(SeparatorChoice::Comma, "|"), ",");
    EXPECT_EQ(separatorOf(SeparatorChoice::Other, " | "), " | ");
}

}  // namespace
}  // namespace tarnwick
