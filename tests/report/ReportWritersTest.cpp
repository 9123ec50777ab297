// The text and HTML reports byte for byte, their date and time lines, the
// report kind a file name gives, and writing to files that fail.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "report/ReportWriters.h"
#include "store/FileError.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

// 5 March 2008, 15:04:05 UTC.
constexpr std::time_t kNow = 1204729445;

// The fixed pieces of the HTML page, as the page must hold them.
constexpr std::string_view kH1 =
    "<html><head><meta http-equiv='Content-Type' content='text/html; charset=iso-8859-1' "
    "/><title>::Osgrel Tarnwick Report Ambrel::</title><style type='text/css'>Body,td,th{ "
    "font-family:Verdana, Arial, Helvetica, sans-serif; font-size:11px}.style1 {color: "
    "#FFFFFF}.Heading {font-size: 12px;font-weight: bold;}.title {font-weight: bold; "
    "color:#0000FF;}.linkfound{color:#00CC00}.linkNotfound{color:#FF0000}</style></"
    "head><body><table width='900' border='1' align='center' cellpadding='0' cellspacing='0' "
    "bordercolor='#FF9900'><tr><td valign='top'><br /><table width='800' border='0' align='center' "
    "cellpadding='0' cellspacing='0' bordercolor='#FF9900'><tr><td height='27' "
    "bgcolor='#FF9900'><div align='center' class='style1' style='font-family:Verdana, Arial, "
    "Helvetica, sans-serif; font-size:18px; font-weight:bold;'>Osgrel Tarnwick "
    "Report</div></td></tr><tr><td height='38'><p>Report Date: ";
constexpr std::string_view kH2 = "<br />Report Time: ";
constexpr std::string_view kH3 =
    "<br /></p></td></tr><tr><td valign='top' class='style3'><table width='800' height='29' "
    "border='0' cellpadding='0' cellspacing='0'><tr><td><span "
    "class='Heading'>Overview:</span></td></tr></table><table width='800' border='1' "
    "cellpadding='0' cellspacing='0' bordercolor='#FFC166'><tr><td><table width='800' border='0' "
    "align='center' cellpadding='0' cellspacing='3' bordercolor='#FF9900'><tr><td height='24' "
    "colspan='2' bgcolor='#FFFBF4' class='title'>Link Scanning Overview </td></tr><tr><td "
    "width='175'>Total link Present:</td><td width='610'>";
constexpr std::string_view kH4 =
    "</td></tr><tr><td bgcolor='#FFFBF4'>Total link Scannned:</td><td bgcolor='#FFFBF4'>";
constexpr std::string_view kH5 = "</td></tr><tr><td>Link Found On :</td><td>";
constexpr std::string_view kH6 =
    "</td></tr><tr><td bgcolor='#FFFBF4'>Link Not Found On:</td><td bgcolor='#FFFBF4'>";
constexpr std::string_view kH7 =
    "</td></tr></table></td></tr></table><table width='800' height='35' border='0' cellpadding='0' "
    "cellspacing='0'><tr><td height='35'><span class='Heading'>Scanning Result: "
    "</span></td></tr></table>";
constexpr std::string_view kG1 =
    "<table width='800' height='60' border='1' cellpadding='0' cellspacing='3' "
    "bordercolor='#FFC166'><tr><td height='24' colspan='2' class='title'>\tLink Scanning Results "
    "for [ ";
constexpr std::string_view kG2 =
    "<table width='800' height='30' border='0' cellpadding='0' cellspacing='0'><tr><td>&nbsp</td> "
    "</tr> </table><table width='800' height='60' border='1' cellpadding='0' cellspacing='3' "
    "bordercolor='#FFC166'><tr><td height='24' colspan='2' class='title'>\tLink Scanning Results "
    "for [ ";
constexpr std::string_view kR0 = "<tr><td width='550' height='16' bgcolor='#FFFBF4'>";
constexpr std::string_view kR1 = "]</td></tr><tr><td width='550' height='16' bgcolor='#FFFBF4'>";
constexpr std::string_view kR2 = "</td><td width='235' bgcolor='#FFFBF4'>";
constexpr std::string_view kR3 = "</td></tr>";
constexpr std::string_view kE =
    "</table><br /></td></tr></table><br /></td></tr></table></body></html>";

std::vector<ResultRow> makeRows(std::initializer_list<std::array<const char*, 3>> cells) {
    std::vector<ResultRow> rows;
    for (const auto& c : cells) {
        ResultRow row;
        row.m_advertiser = c[0];
        row.m_page = c[1];
        row.m_mail = "webmaster@example.com";
        row.m_notify = "Enabled";
        test::setStatusWord(row, c[2]);
        rows.push_back(row);
    }
    return rows;
}

std::string textHead(int present, int scanned, int found, int notFound) {
    return "\r\n\t\tOsgrel Tarnwick Report\r\n\t\t====================================\r\n\r\n"
           "Date: 5/3/2008\r\nTime: 3:04:05 PM\r\n\r\nTotal link Present - " +
           std::to_string(present) + "\r\nTotal link Scannned - " + std::to_string(scanned) +
           "\r\nLink Found On - " + std::to_string(found) + "\r\nLink Not Found On - " +
           std::to_string(notFound);
}

std::string htmlHead(int present, int scanned, int found, int notFound) {
    std::string html(kH1);
    html += "5/3/2008";
    html += kH2;
    html += "3:04:05 PM";
    html += kH3;
    html += std::to_string(present);
    html += kH4;
    html += std::to_string(scanned);
    html += kH5;
    html += std::to_string(found);
    html += kH6;
    html += std::to_string(notFound);
    html += kH7;
    return html;
}

std::string cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) {
        out += p;
    }
    return out;
}

struct ReportCase {
    const char* name;
    std::vector<ResultRow> rows;
    std::string text;
    std::string html;
};

std::vector<ReportCase> cases() {
    return {
        {"NoRows", {}, textHead(0, 0, 0, 0), htmlHead(0, 0, 0, 0) + std::string(kE)},
        {"OneGroup",
         makeRows({{"http://www.a.com", "http://p1.com/links.html", "Link Found"},
                   {"http://www.a.com", "http://p2.com/", "Link Not Found"},
                   {"http://www.a.com", "ftp://p3.com/x.txt", "Page cannot be displayed"}}),
         textHead(3, 2, 1, 1) + "\r\n\r\nLink Scanning Results for [http://www.a.com]"
                                "\r\nhttp://p1.com/links.html\t\t\tLink Found"
                                "\r\nhttp://p2.com/\t\t\tLink Not Found"
                                "\r\nftp://p3.com/x.txt\t\t\tPage cannot be displayed",
         htmlHead(3, 2, 1, 1) +
             cat({kG1, "http://www.a.com", kR1, "http://p1.com/links.html", kR2, "Link Found", kR3,
                  kR0, "http://p2.com/", kR2, "Link Not Found", kR3, kR0, "ftp://p3.com/x.txt", kR2,
                  "Page cannot be displayed", kR3, kE})},
        {"TwoAdjacentGroups",
         makeRows({{"ADVERTISER-A", "PAGE-1", "Link Found"},
                   {"ADVERTISER-A", "PAGE-2", "Link Not Found"},
                   {"ADVERTISER-B", "PAGE-3", "Page cannot be displayed"}}),
         textHead(3, 2, 1, 1) +
             "\r\n\r\nLink Scanning Results for [ADVERTISER-A]\r\nPAGE-1\t\t\tLink Found"
             "\r\nPAGE-2\t\t\tLink Not Found"
             "\r\n\r\nLink Scanning Results for [ADVERTISER-B]"
             "\r\nPAGE-3\t\t\tPage cannot be displayed",
         htmlHead(3, 2, 1, 1) + cat({kG1,
                                     "ADVERTISER-A",
                                     kR1,
                                     "PAGE-1",
                                     kR2,
                                     "Link Found",
                                     kR3,
                                     kR0,
                                     "PAGE-2",
                                     kR2,
                                     "Link Not Found",
                                     kR3,
                                     kG2,
                                     "ADVERTISER-B",
                                     kR1,
                                     "PAGE-3",
                                     kR2,
                                     "Page cannot be displayed",
                                     kR3,
                                     kE})},
        {"AlternatingAdvertisers",
         makeRows(
             {{"A", "p1", "Link Found"}, {"B", "p2", "Link Found"}, {"A", "p3", "Link Found"}}),
         textHead(3, 3, 3, 0) + "\r\n\r\nLink Scanning Results for [A]\r\np1\t\t\tLink Found"
                                "\r\n\r\nLink Scanning Results for [B]\r\np2\t\t\tLink Found"
                                "\r\n\r\nLink Scanning Results for [A]\r\np3\t\t\tLink Found",
         htmlHead(3, 3, 3, 0) +
             cat({kG1,  "A", kR1,          "p1", kR2, "Link Found", kR3, kG2,  "B", kR1,
                  "p2", kR2, "Link Found", kR3,  kG2, "A",          kR1, "p3", kR2, "Link Found",
                  kR3,  kE})},
        {"OnlyFoundAndNotFoundAreCounted",
         makeRows({{"A", "p1", "Page cannot be displayed"},
                   {"A", "p2", ""},
                   {"A", "p3", "Stopped by user"},
                   {"A", "p4", "Page Cannot be Found"},
                   {"A", "p5", "Stopped by user"},
                   {"A", "p6", "Link Not Found"}}),
         textHead(6, 1, 0, 1) +
             "\r\n\r\nLink Scanning Results for [A]\r\np1\t\t\tPage cannot be displayed"
             "\r\np2\t\t\t\r\np3\t\t\tStopped by user\r\np4\t\t\tPage Cannot be Found"
             "\r\np5\t\t\tStopped by user\r\np6\t\t\tLink Not Found",
         htmlHead(6, 1, 0, 1) + cat({kG1,
                                     "A",
                                     kR1,
                                     "p1",
                                     kR2,
                                     "Page cannot be displayed",
                                     kR3,
                                     kR0,
                                     "p2",
                                     kR2,
                                     "",
                                     kR3,
                                     kR0,
                                     "p3",
                                     kR2,
                                     "Stopped by user",
                                     kR3,
                                     kR0,
                                     "p4",
                                     kR2,
                                     "Page Cannot be Found",
                                     kR3,
                                     kR0,
                                     "p5",
                                     kR2,
                                     "Stopped by user",
                                     kR3,
                                     kR0,
                                     "p6",
                                     kR2,
                                     "Link Not Found",
                                     kR3,
                                     kE})},
        {"RowsWithoutStatus",
         makeRows({{"A", "p1", ""}, {"A", "p2", "Link Found"}, {"B", "p3", ""}}),
         textHead(3, 1, 1, 0) +
             "\r\n\r\nLink Scanning Results for [A]\r\np1\t\t\t\r\np2\t\t\tLink Found"
             "\r\n\r\nLink Scanning Results for [B]\r\np3\t\t\t",
         htmlHead(3, 1, 1, 0) + cat({kG1,          "A", kR1, "p1", kR2, "",   kR3, kR0, "p2", kR2,
                                     "Link Found", kR3, kG2, "B",  kR1, "p3", kR2, "",  kR3,  kE})},
        {"ValuesNeedingEscaping",
         makeRows({{"http://a.com/?x=1&y=<2>", "http://p.com/\"q\"'r'", "Link Found"},
                   {"http://a.com/?x=1&y=<2>", "http://p.com/<script>alert(1)</script>",
                    "Page cannot be displayed"},
                   {"http://caf\xE9.com/\x80", "http://p\xE9.com/", "Link Not Found"}}),
         textHead(3, 2, 1, 1) +
             "\r\n\r\nLink Scanning Results for [http://a.com/?x=1&y=<2>]"
             "\r\nhttp://p.com/\"q\"'r'\t\t\tLink Found"
             "\r\nhttp://p.com/<script>alert(1)</script>\t\t\tPage cannot be displayed"
             "\r\n\r\nLink Scanning Results for [http://caf\xE9.com/\x80]"
             "\r\nhttp://p\xE9.com/\t\t\tLink Not Found",
         htmlHead(3, 2, 1, 1) + cat({kG1,
                                     "http://a.com/?x=1&amp;y=&lt;2&gt;",
                                     kR1,
                                     "http://p.com/&quot;q&quot;&#39;r&#39;",
                                     kR2,
                                     "Link Found",
                                     kR3,
                                     kR0,
                                     "http://p.com/&lt;script&gt;alert(1)&lt;/script&gt;",
                                     kR2,
                                     "Page cannot be displayed",
                                     kR3,
                                     kG2,
                                     "http://caf\xE9.com/\x80",
                                     kR1,
                                     "http://p\xE9.com/",
                                     kR2,
                                     "Link Not Found",
                                     kR3,
                                     kE})},
        {"LineFeedInAValueBecomesCrLf", makeRows({{"A", "p1\nx", "Link Found"}}),
         textHead(1, 1, 1, 0) + "\r\n\r\nLink Scanning Results for [A]\r\np1\r\nx\t\t\tLink Found",
         htmlHead(1, 1, 1, 0) + cat({kG1, "A", kR1, "p1\r\nx", kR2, "Link Found", kR3, kE})},
    };
}

class ReportWritersTest : public ::testing::TestWithParam<ReportCase> {
protected:
    void SetUp() override {
        setTimeOfDayFormatter([](std::time_t) { return std::string("3:04:05 PM"); });
    }
    void TearDown() override { setTimeOfDayFormatter(nullptr); }
};

TEST_P(ReportWritersTest, TextReportIsByteExact) {
    EXPECT_EQ(textReport(GetParam().rows, kNow), GetParam().text);
}

TEST_P(ReportWritersTest, HtmlReportIsByteExact) {
    EXPECT_EQ(htmlReport(GetParam().rows, kNow), GetParam().html);
}

TEST_P(ReportWritersTest, WritersPutTheReportOnDiskAsIs) {
    test::TempDataFolder folder;
    const std::string text = folder.root() + "/Report.txt";
    const std::string html = folder.root() + "/Report.html";
    // An existing longer file is replaced, not overwritten in part.
    test::writeBytes(text, std::string(100000, 'x'));
    writeTextReport(text, GetParam().rows, kNow);
    writeHtmlReport(html, GetParam().rows, kNow);
    EXPECT_EQ(test::readBytes(text), GetParam().text);
    EXPECT_EQ(test::readBytes(html), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReportWritersTest, ::testing::ValuesIn(cases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ReportDateTest, IsTheUtcDateDayFirstWithoutLeadingZeros) {
    EXPECT_EQ(reportDate(kNow), "5/3/2008");
    EXPECT_EQ(reportDate(1230767999), "31/12/2008");  // 23:59:59 UTC
    EXPECT_EQ(reportDate(1262390400), "2/1/2010");
}

class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_hadOld = true;
        }
        setenv(name, value, 1);
        tzset();
    }
    ~EnvironmentGuard() {
        if (m_hadOld) {
            setenv(m_name, m_old.c_str(), 1);
        } else {
            unsetenv(m_name);
        }
        tzset();
    }

private:
    const char* m_name;
    std::string m_old;
    bool m_hadOld = false;
};

TEST(ReportDateTest, DateIsUtcAndTimeIsLocal) {
    // 20:30 UTC on 5 March is 05:30 on 6 March nine hours east of Greenwich.
    EnvironmentGuard tz("TZ", "JST-9");
    EnvironmentGuard lc("LC_ALL", "C");
    const std::time_t evening = 1204749000;
    EXPECT_EQ(reportDate(evening), "5/3/2008");
    EXPECT_EQ(localeTimeOfDay(evening), "05:30:00");
    const std::string text = textReport({}, evening);
    EXPECT_NE(text.find("\r\nDate: 5/3/2008\r\nTime: 05:30:00\r\n"), std::string::npos) << text;
}

TEST(ReportDateTest, LinesFollowTheirPatternWithTheRealClock) {
    const std::time_t now = std::time(nullptr);
    const std::string text = textReport({}, now);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        text, m,
        std::regex(
            "\r\n\r\nDate: ([1-9][0-9]?)/([1-9][0-9]?)/([0-9]{4})\r\nTime: ([^\r\n]+)\r\n\r\n")))
        << text;
    std::tm utc{};
    gmtime_r(&now, &utc);
    EXPECT_EQ(std::stoi(m[3]), utc.tm_year + 1900);
    EXPECT_LE(std::stoi(m[1]), 31);
    EXPECT_LE(std::stoi(m[2]), 12);
    EXPECT_TRUE(std::regex_search(std::string(m[4]), std::regex("[0-9]{1,2}:[0-9]{2}:[0-9]{2}")));

    const std::string html = htmlReport({}, now);
    EXPECT_TRUE(std::regex_search(
        html, std::regex("Report Date: [1-9][0-9]?/[1-9][0-9]?/[0-9]{4}<br />Report Time: "
                         "[^<]*[0-9]{1,2}:[0-9]{2}:[0-9]{2}[^<]*<br />")));
}

TEST(ReportKindTest, OnlyANameEndingInLowerCaseHtmlGetsTheHtmlReport) {
    struct KindCase {
        const char* path;
        ReportKind kind;
    };
    const KindCase cases[] = {
        {"/tmp/Report.html", ReportKind::Html},
        {"/tmp/Report.htm", ReportKind::Text},
        {"/tmp/Report.HTML", ReportKind::Text},
        {"/tmp/Report.Html", ReportKind::Text},
        {"/tmp/Report.shtml", ReportKind::Html},
        {"/tmp/xhtml", ReportKind::Html},
        {"html", ReportKind::Html},
        {"tml", ReportKind::Text},
        {"", ReportKind::Text},
        {"/tmp/Report.html ", ReportKind::Text},
        {"/tmp/Report.txt", ReportKind::Text},
        {"/tmp/html/Report", ReportKind::Text},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(reportKindFor(c.path), c.kind) << c.path;
    }
}

TEST(ReportKindTest, WriteReportWritesTheKindTheNameGives) {
    test::TempDataFolder folder;
    const auto rows = makeRows({{"A", "p1", "Link Found"}});
    for (const char* name : {"/r.html", "/r.htm", "/r.HTML"}) {
        const std::string path = folder.root() + name;
        writeReport(path, rows, kNow);
        const bool html = std::string_view(name) == "/r.html";
        EXPECT_EQ(test::readBytes(path), html ? htmlReport(rows, kNow) : textReport(rows, kNow))
            << name;
    }
}

TEST(ReportFailureTest, AFileThatCannotBeWrittenThrowsNamingIt) {
    test::TempDataFolder folder;
    const auto rows = makeRows({{"A", "p1", "Link Found"}});
    const std::string missingFolder = folder.root() + "/no such folder/Report.txt";
    const std::string& aFolder = folder.root();
    const std::string fullDisk = "/dev/full";
    for (const std::string& path : {missingFolder, aFolder, fullDisk}) {
        for (auto write : {&writeTextReport, &writeHtmlReport}) {
            try {
                write(path, rows, kNow);
                ADD_FAILURE() << "no error for " << path;
            } catch (const FileError& error) {
                EXPECT_EQ(error.fileName(), path);
                EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
            }
        }
    }
    EXPECT_FALSE(test::exists(missingFolder));
    // The device is left alone.
    EXPECT_EQ(access(fullDisk.c_str(), F_OK), 0);
}

TEST(HtmlEscapeTest, EscapesTheFiveMarkupCharactersOnly) {
    EXPECT_EQ(htmlEscape("a&b<c>d\"e'f\x80\xE9 g"), "a&amp;b&lt;c&gt;d&quot;e&#39;f\x80\xE9 g");
    EXPECT_EQ(htmlEscape(""), "");
}

}  // namespace
}  // namespace tarnwick
