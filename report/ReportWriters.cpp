#include "report/ReportWriters.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <ctime>
#include <mutex>
#include <string_view>

#include "common/Cp1252.h"
#include "scan/StatusWords.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

// The fixed pieces of the HTML page.
constexpr std::string_view kH1 =
    "<html><head><meta http-equiv='Content-Type' content='text/html; charset=iso-8859-1' "
    "/><title>::Osgrel Tarnwick Report Ambrel::</title><style type='text/css'>Body,td,th{ "
    "font-family:Verdana, Arial, Helvetica, sans-serif; font-size:11px}.style1 {color: "
    "#FFFFFF}.Heading {font-size: 12px;font-weight: bold;}.title {font-weight: bold; "
    "color:#0000FF;}.linkfound{color:#00CC00}.linkNotfound{color:#FF0000}</style></"
    "head><body><table "
    "width='900' border='1' align='center' cellpadding='0' cellspacing='0' "
    "bordercolor='#FF9900'><tr><td valign='top'><br /><table width='800' border='0' "
    "align='center' cellpadding='0' cellspacing='0' bordercolor='#FF9900'><tr><td height='27' "
    "bgcolor='#FF9900'><div align='center' class='style1' style='font-family:Verdana, Arial, "
    "Helvetica, sans-serif; font-size:18px; font-weight:bold;'>Osgrel Tarnwick "
    "Report</div></td></tr><tr><td height='38'><p>Report Date: ";
constexpr std::string_view kH2 = "<br />Report Time: ";
constexpr std::string_view kH3 =
    "<br /></p></td></tr><tr><td valign='top' class='style3'><table width='800' height='29' "
    "border='0' cellpadding='0' cellspacing='0'><tr><td><span "
    "class='Heading'>Overview:</span></td></tr></table><table width='800' border='1' "
    "cellpadding='0' cellspacing='0' bordercolor='#FFC166'><tr><td><table width='800' "
    "border='0' align='center' cellpadding='0' cellspacing='3' bordercolor='#FF9900'><tr><td "
    "height='24' colspan='2' bgcolor='#FFFBF4' class='title'>Link Scanning Overview "
    "</td></tr><tr><td width='175'>Total link Present:</td><td width='610'>";
constexpr std::string_view kH4 =
    "</td></tr><tr><td bgcolor='#FFFBF4'>Total link Scannned:</td><td bgcolor='#FFFBF4'>";
constexpr std::string_view kH5 = "</td></tr><tr><td>Link Found On :</td><td>";
constexpr std::string_view kH6 =
    "</td></tr><tr><td bgcolor='#FFFBF4'>Link Not Found On:</td><td bgcolor='#FFFBF4'>";
constexpr std::string_view kH7 =
    "</td></tr></table></td></tr></table><table width='800' height='35' border='0' "
    "cellpadding='0' cellspacing='0'><tr><td height='35'><span class='Heading'>Scanning "
    "Result: </span></td></tr></table>";
constexpr std::string_view kG1 =
    "<table width='800' height='60' border='1' cellpadding='0' cellspacing='3' "
    "bordercolor='#FFC166'><tr><td height='24' colspan='2' class='title'>\tLink Scanning "
    "Results for [ ";
constexpr std::string_view kG2 =
    "<table width='800' height='30' border='0' cellpadding='0' "
    "cellspacing='0'><tr><td>&nbsp</td> </tr> </table><table width='800' height='60' "
    "border='1' cellpadding='0' cellspacing='3' bordercolor='#FFC166'><tr><td height='24' "
    "colspan='2' class='title'>\tLink Scanning Results for [ ";
constexpr std::string_view kR0 = "<tr><td width='550' height='16' bgcolor='#FFFBF4'>";
constexpr std::string_view kR1 = "]</td></tr><tr><td width='550' height='16' bgcolor='#FFFBF4'>";
constexpr std::string_view kR2 = "</td><td width='235' bgcolor='#FFFBF4'>";
constexpr std::string_view kR3 = "</td></tr>";
constexpr std::string_view kE =
    "</table><br /></td></tr></table><br /></td></tr></table></body></html>";

struct Counters {
    size_t m_nPresent = 0;
    size_t m_nFound = 0;
    size_t m_nNotFound = 0;
    size_t Scanned() const { return m_nFound + m_nNotFound; }
};

Counters Count(const std::vector<ResultRow>& rows) {
    Counters counters;
    counters.m_nPresent = rows.size();
    for (const ResultRow& row : rows) {
        if (row.m_strStatus == kLinkFound) {
            ++counters.m_nFound;
        } else if (row.m_strStatus == kLinkNotFound) {
            ++counters.m_nNotFound;
        }
    }
    return counters;
}

// What a text-mode file write puts on disk: every line feed as CR LF.
std::string TextMode(std::string text) {
    if (text.find('\n') == std::string::npos) {
        return text;
    }
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    size_t from = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', from)) {
        out.append(text, from, at - from);
        out += "\r\n";
        from = at + 1;
    }
    out.append(text, from, std::string::npos);
    return out;
}

std::mutex& FormatterMutex() {
    static std::mutex mutex;
    return mutex;
}

TimeOfDayFormatter& Formatter() {
    static TimeOfDayFormatter formatter;
    return formatter;
}

std::string TimeOfDay(std::time_t now) {
    TimeOfDayFormatter formatter;
    {
        std::lock_guard<std::mutex> lock(FormatterMutex());
        formatter = Formatter();
    }
    return formatter ? formatter(now) : LocaleTimeOfDay(now);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    // A half-written report would pass for a whole one: the writer leaves none.
    StoreFileWriter file(path);
    file.WriteRaw(bytes);
    file.Close();
}

}  // namespace

std::string ReportDate(std::time_t now) {
    std::tm utc{};
    gmtime_r(&now, &utc);
    return std::to_string(utc.tm_mday) + "/" + std::to_string(utc.tm_mon + 1) + "/" +
           std::to_string(utc.tm_year + 1900);
}

std::string LocaleTimeOfDay(std::time_t now) {
    locale_t loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) {
        loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    }
    tzset();
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128] = {};
    size_t length = 0;
    bool utf8 = false;
    if (loc != static_cast<locale_t>(0)) {
        length = strftime_l(buffer, sizeof buffer, "%X", &local, loc);
        const char* codeset = nl_langinfo_l(CODESET, loc);
        utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
        freelocale(loc);
    } else {
        length = std::strftime(buffer, sizeof buffer, "%X", &local);
    }
    const std::string text(buffer, length);
    return utf8 ? Utf8ToCp1252(text) : text;
}

void SetTimeOfDayFormatter(TimeOfDayFormatter formatter) {
    std::lock_guard<std::mutex> lock(FormatterMutex());
    Formatter() = std::move(formatter);
}

namespace {

void AppendEscaped(std::string& out, const std::string& text) {
    size_t from = 0;
    for (size_t at = text.find_first_of("&<>\"'"); at != std::string::npos;
         at = text.find_first_of("&<>\"'", from)) {
        out.append(text, from, at - from);
        switch (text[at]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += "&#39;";
                break;
        }
        from = at + 1;
    }
    out.append(text, from, std::string::npos);
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

std::string TextReport(const std::vector<ResultRow>& rows, std::time_t now) {
    const Counters counters = Count(rows);
    std::string text;
    text += "\n\t\tOsgrel Tarnwick Report";
    text += "\n\t\t====================================";
    text += "\n\nDate: " + ReportDate(now);
    text += "\nTime: " + TimeOfDay(now);
    text += "\n\nTotal link Present - " + std::to_string(counters.m_nPresent);
    text += "\nTotal link Scannned - " + std::to_string(counters.Scanned());
    text += "\nLink Found On - " + std::to_string(counters.m_nFound);
    text += "\nLink Not Found On - " + std::to_string(counters.m_nNotFound);
    for (size_t i = 0; i < rows.size(); ++i) {
        const ResultRow& row = rows[i];
        if (i == 0 || row.m_strAdvertiser != rows[i - 1].m_strAdvertiser) {
            text += "\n\nLink Scanning Results for [";
            text += row.m_strAdvertiser;
            text += ']';
        }
        text += '\n';
        text += row.m_strPage;
        text += "\t\t\t";
        text += row.m_strStatus;
    }
    return TextMode(std::move(text));
}

std::string HtmlReport(const std::vector<ResultRow>& rows, std::time_t now) {
    const Counters counters = Count(rows);
    std::string html;
    size_t size = kH1.size() + kH3.size() + kE.size() + 1024;
    for (const ResultRow& row : rows) {
        size += kG2.size() + kR1.size() + kR2.size() + kR3.size() + row.m_strAdvertiser.size() +
                row.m_strPage.size() + row.m_strStatus.size();
    }
    html.reserve(size);
    html += kH1;
    html += HtmlEscape(ReportDate(now));
    html += kH2;
    html += HtmlEscape(TimeOfDay(now));
    html += kH3;
    html += std::to_string(counters.m_nPresent);
    html += kH4;
    html += std::to_string(counters.Scanned());
    html += kH5;
    html += std::to_string(counters.m_nFound);
    html += kH6;
    html += std::to_string(counters.m_nNotFound);
    html += kH7;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ResultRow& row = rows[i];
        if (i > 0 && row.m_strAdvertiser == rows[i - 1].m_strAdvertiser) {
            html += kR0;
        } else {
            html += i == 0 ? kG1 : kG2;
            AppendEscaped(html, row.m_strAdvertiser);
            html += kR1;
        }
        AppendEscaped(html, row.m_strPage);
        html += kR2;
        AppendEscaped(html, row.m_strStatus);
        html += kR3;
    }
    html += kE;
    return TextMode(std::move(html));
}

void WriteTextReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    WriteFile(path, TextReport(rows, now));
}

void WriteHtmlReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    WriteFile(path, HtmlReport(rows, now));
}

ReportKind ReportKindFor(const std::string& path) {
    constexpr std::string_view kHtml = "html";
    if (path.size() >= kHtml.size() &&
        std::string_view(path).substr(path.size() - kHtml.size()) == kHtml) {
        return ReportKind::Html;
    }
    return ReportKind::Text;
}

void WriteReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    if (ReportKindFor(path) == ReportKind::Html) {
        WriteHtmlReport(path, rows, now);
    } else {
        WriteTextReport(path, rows, now);
    }
}

}  // namespace tarnwick
