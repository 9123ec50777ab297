#include "report/ReportWriters.h"

#include <langinfo.h>
#include <clocale>

#include <cstring>
#include <ctime>
#include <mutex>
#include <string_view>

#include "common/Cp1252.h"
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
    size_t m_present = 0;
    size_t m_found = 0;
    size_t m_notFound = 0;
    size_t scanned() const { return m_found + m_notFound; }
};

Counters count(const std::vector<ResultRow>& rows) {
    Counters counters;
    counters.m_present = rows.size();
    for (const ResultRow& row : rows) {
        if (row.m_result == LinkResult::Found) {
            ++counters.m_found;
        } else if (row.m_result == LinkResult::NotFound) {
            ++counters.m_notFound;
        }
    }
    return counters;
}

// What a text-mode file write puts on disk: every line feed as CR LF.
std::string textMode(std::string text) {
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

std::mutex& formatterMutex() {
    static std::mutex mutex;
    return mutex;
}

TimeOfDayFormatter& formatterSlot() {
    static TimeOfDayFormatter formatter;
    return formatter;
}

std::string timeOfDay(std::time_t now) {
    TimeOfDayFormatter formatter;
    {
        std::lock_guard<std::mutex> lock(formatterMutex());
        formatter = formatterSlot();
    }
    return formatter ? formatter(now) : localeTimeOfDay(now);
}

void writeFile(const std::string& path, const std::string& bytes) {
    // A half-written report would pass for a whole one: the writer leaves none.
    StoreFileWriter file(path);
    file.writeRaw(bytes);
    file.close();
}

}  // namespace

std::string reportDate(std::time_t now) {
    std::tm utc{};
    gmtime_r(&now, &utc);
    return std::to_string(utc.tm_mday) + "/" + std::to_string(utc.tm_mon + 1) + "/" +
           std::to_string(utc.tm_year + 1900);
}

std::string localeTimeOfDay(std::time_t now) {
    locale_t loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", nullptr);
    if (loc == nullptr) {
        loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", nullptr);
    }
    tzset();
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128] = {};
    size_t length = 0;
    bool utf8 = false;
    if (loc != nullptr) {
        length = strftime_l(buffer, sizeof buffer, "%X", &local, loc);
        const char* codeset = nl_langinfo_l(CODESET, loc);
        utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
        freelocale(loc);
    } else {
        length = std::strftime(buffer, sizeof buffer, "%X", &local);
    }
    const std::string text(buffer, length);
    return utf8 ? utf8ToCp1252(text) : text;
}

void setTimeOfDayFormatter(TimeOfDayFormatter formatter) {
    std::lock_guard<std::mutex> lock(formatterMutex());
    formatterSlot() = std::move(formatter);
}

namespace {

void appendEscaped(std::string& out, const std::string& text) {
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

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

std::string textReport(const std::vector<ResultRow>& rows, std::time_t now) {
    const Counters counters = count(rows);
    std::string text;
    text += "\n\t\tOsgrel Tarnwick Report";
    text += "\n\t\t====================================";
    text += "\n\nDate: " + reportDate(now);
    text += "\nTime: " + timeOfDay(now);
    text += "\n\nTotal link Present - " + std::to_string(counters.m_present);
    text += "\nTotal link Scannned - " + std::to_string(counters.scanned());
    text += "\nLink Found On - " + std::to_string(counters.m_found);
    text += "\nLink Not Found On - " + std::to_string(counters.m_notFound);
    for (size_t i = 0; i < rows.size(); ++i) {
        const ResultRow& row = rows[i];
        if (i == 0 || row.m_advertiser != rows[i - 1].m_advertiser) {
            text += "\n\nLink Scanning Results for [";
            text += row.m_advertiser;
            text += ']';
        }
        text += '\n';
        text += row.m_page;
        text += "\t\t\t";
        text += row.statusText();
    }
    return textMode(std::move(text));
}

std::string htmlReport(const std::vector<ResultRow>& rows, std::time_t now) {
    const Counters counters = count(rows);
    std::string html;
    size_t size = kH1.size() + kH3.size() + kE.size() + 1024;
    for (const ResultRow& row : rows) {
        size += kG2.size() + kR1.size() + kR2.size() + kR3.size() + row.m_advertiser.size() +
                row.m_page.size() + row.statusText().size();
    }
    html.reserve(size);
    html += kH1;
    html += htmlEscape(reportDate(now));
    html += kH2;
    html += htmlEscape(timeOfDay(now));
    html += kH3;
    html += std::to_string(counters.m_present);
    html += kH4;
    html += std::to_string(counters.scanned());
    html += kH5;
    html += std::to_string(counters.m_found);
    html += kH6;
    html += std::to_string(counters.m_notFound);
    html += kH7;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ResultRow& row = rows[i];
        if (i > 0 && row.m_advertiser == rows[i - 1].m_advertiser) {
            html += kR0;
        } else {
            html += i == 0 ? kG1 : kG2;
            appendEscaped(html, row.m_advertiser);
            html += kR1;
        }
        appendEscaped(html, row.m_page);
        html += kR2;
        appendEscaped(html, row.statusText());
        html += kR3;
    }
    html += kE;
    return textMode(std::move(html));
}

void writeTextReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    writeFile(path, textReport(rows, now));
}

void writeHtmlReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    writeFile(path, htmlReport(rows, now));
}

ReportKind reportKindFor(const std::string& path) {
    constexpr std::string_view kHtml = "html";
    if (path.size() >= kHtml.size() &&
        std::string_view(path).substr(path.size() - kHtml.size()) == kHtml) {
        return ReportKind::Html;
    }
    return ReportKind::Text;
}

void writeReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    if (reportKindFor(path) == ReportKind::Html) {
        writeHtmlReport(path, rows, now);
    } else {
        writeTextReport(path, rows, now);
    }
}

}  // namespace tarnwick
