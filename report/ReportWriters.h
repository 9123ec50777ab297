// The text report and the HTML report of a scan run: the results rows
// (advertiser's site, publisher's site and status are reported), four counters,
// the UTC date and the local time of day. Both are written as the report files
// hold them on disk: 8-bit text, CR LF for every line break.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "scan/ResultRow.h"

namespace tarnwick {

// The whole file, byte for byte.
std::string textReport(const std::vector<ResultRow>& rows, std::time_t now);
std::string htmlReport(const std::vector<ResultRow>& rows, std::time_t now);

// Create or replace the file at path with the report. Throw FileError naming
// the file when it cannot be created or written completely; an incomplete
// regular file is removed.
void writeTextReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now);
void writeHtmlReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now);

// The kind of report a chosen file gets: HTML when the name's last four
// characters are exactly "html" (so "x.htm" and "x.HTML" get the text report).
enum class ReportKind { Text, Html };
ReportKind reportKindFor(const std::string& path);
// Writes the kind ReportKindFor picks; throws FileError like the writers.
void writeReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now);

// The report's date line: the UTC date as day/month/year without leading
// zeros ("5/3/2008").
std::string reportDate(std::time_t now);
// The report's time line: the local time of day in the user's locale time
// format (strftime "%X" in the LC_TIME locale of the environment), as
// Windows-1252 text.
std::string localeTimeOfDay(std::time_t now);

// Replaces the time-of-day formatting of every later report (tests); an empty
// function restores LocaleTimeOfDay.
using TimeOfDayFormatter = std::function<std::string(std::time_t)>;
void setTimeOfDayFormatter(TimeOfDayFormatter formatter);

// Text with &, <, >, " and ' replaced by their character references.
std::string htmlEscape(const std::string& text);

}  // namespace tarnwick
