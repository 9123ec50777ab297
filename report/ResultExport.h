// The results and their evidence for other programs: CSV (RFC 4180: a header
// row, fields quoted when they hold a comma, a quote or a line break, CR LF
// after every record), JSON (one array of objects) and JSON Lines (one object
// per line). All UTF-8: the stored 8-bit texts are converted from
// Windows-1252; fetched texts that are not valid UTF-8 are read as
// Windows-1252 too.
//
// Fields, in this order (the CSV's header row and each object's keys):
//   advertiser, page, mail, notification, result, reason, verdict,
//   http_status (number; null / empty without an HTTP answer), final_url,
//   content_type, bytes, elapsed_ms, anchor_found, href,
//   rel (array of tokens; in CSV the tokens with a blank between them),
//   anchor_text, script_only, meta_robots, x_robots_tag, noindex, nofollow,
//   robots_txt ("allowed", "disallowed" or "unknown", both crawlers together),
//   robots_txt_all, robots_txt_googlebot,
//   findings (array of texts, worst first; in CSV "; " between them),
//   finding_evidence (the same for the evidence of each), hidden_by,
//   aria_hidden, outbound_links (number), link_position (number; null /
//   empty when the link is not among them), link_farm, canonical,
//   canonical_source, canonical_elsewhere, redirected_from,
//   noindex_for, nofollow_for (arrays of "all", "googlebot", "bingbot"),
//   robots_notes.
// Booleans are true/false in JSON and "true"/"false" in CSV.
// A CSV text cell that a spreadsheet would run as a formula (it starts with
// =, +, -, @, a tab or a CR, or blanks before =, +, -, @) is written with a
// leading apostrophe; JSON keeps every value as it is.
#pragma once

#include <string>
#include <vector>

#include "report/ExportRow.h"
#include "scan/ResultRow.h"

namespace tarnwick {

// A results-pane row as exported.
ExportRow exportRowOf(const ResultRow& row);

std::string exportCsv(const std::vector<ExportRow>& rows);
std::string exportJson(const std::vector<ExportRow>& rows);
// One object, no line break.
std::string exportJsonObject(const ExportRow& row);
// The CSV header row and one record, each with its CR LF.
std::string exportCsvHeader();
std::string exportCsvRecord(const ExportRow& row);

// Appends text (UTF-8) to out as a JSON string, quotes included.
void jsonString(std::string& out, const std::string& text);

// The export kind a chosen file gets: JSON when its name ends in ".json"
// (letter case ignored), CSV otherwise.
enum class ExportKind { Csv, Json };
ExportKind exportKindFor(const std::string& path);
// Creates or replaces the file; throws FileError naming it.
void writeExport(const std::string& path, const std::vector<ExportRow>& rows, ExportKind kind);

}  // namespace tarnwick
