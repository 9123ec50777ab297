#include "report/ResultExport.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "common/Cp1252.h"
#include "store/StoreFileWriter.h"

namespace tarnwick {
namespace {

using Tokens = std::vector<std::string>;
// A list of texts that may hold blanks: "; " between them in CSV.
struct Texts {
    std::vector<std::string> items;
};
// A field's value: text, number (none: null), flag, list of tokens or texts.
using Value = std::variant<std::string, std::optional<std::int64_t>, bool, Tokens, Texts>;
using Field = std::pair<const char*, Value>;

std::vector<Field> fields(const ExportRow& row) {
    const PageEvidence& e = row.m_evidence;
    std::optional<std::int64_t> status;
    if (e.m_httpStatus != 0) {
        status = e.m_httpStatus;
    }
    Tokens rel;
    for (const std::string& token : relTokens(e)) {
        rel.push_back(asUtf8(token));
    }
    Texts findings;
    Texts findingEvidence;
    for (const LinkFinding& f : linkFindings(e)) {
        findings.items.push_back(asUtf8(f.m_text));
        findingEvidence.items.push_back(asUtf8(f.m_evidence));
    }
    const auto number = [](std::int64_t n) { return std::optional<std::int64_t>(n); };
    std::optional<std::int64_t> position;
    if (e.m_linkPosition > 0) {
        position = e.m_linkPosition;
    }
    return {
        {"advertiser", cp1252ToUtf8(row.m_advertiser)},
        {"page", cp1252ToUtf8(row.m_page)},
        {"mail", cp1252ToUtf8(row.m_mail)},
        {"notification", cp1252ToUtf8(row.m_notify)},
        {"result", cp1252ToUtf8(row.m_result)},
        {"reason", cp1252ToUtf8(row.m_reason)},
        {"verdict", evidenceVerdict(e)},
        {"http_status", status},
        {"final_url", asUtf8(e.m_finalUrl)},
        {"content_type", asUtf8(e.m_contentType)},
        {"bytes", std::optional<std::int64_t>(static_cast<std::int64_t>(e.m_bytes))},
        {"elapsed_ms", std::optional<std::int64_t>(e.m_elapsedMs)},
        {"anchor_found", e.m_anchorFound},
        {"href", asUtf8(e.m_href)},
        {"rel", rel},
        {"anchor_text", asUtf8(e.m_anchorText)},
        {"script_only", e.m_scriptOnly},
        {"meta_robots", asUtf8(e.m_metaRobots)},
        {"x_robots_tag", asUtf8(e.m_xRobotsTag)},
        {"noindex", e.m_noindex},
        {"nofollow", e.m_nofollow},
        {"robots_txt", std::string(robotsVerdictName(combinedRobots(e)))},
        {"robots_txt_all", std::string(robotsVerdictName(e.m_robotsAll))},
        {"robots_txt_googlebot", std::string(robotsVerdictName(e.m_robotsGooglebot))},
        {"findings", findings},
        {"finding_evidence", findingEvidence},
        {"hidden_by", asUtf8(e.m_hiddenBy)},
        {"aria_hidden", asUtf8(e.m_ariaHidden)},
        {"outbound_links", number(e.m_outboundLinks)},
        {"link_position", position},
        {"link_farm", e.m_linkFarmLinks > 0 && e.m_outboundLinks > e.m_linkFarmLinks},
        {"canonical", asUtf8(e.m_canonical)},
        {"canonical_source", asUtf8(e.m_canonicalSource)},
        {"canonical_elsewhere", e.m_canonicalElsewhere},
        {"redirected_from", asUtf8(e.m_redirectedFrom)},
        {"noindex_for", crawlersWith(e, &CrawlerDirectives::m_noindex)},
        {"nofollow_for", crawlersWith(e, &CrawlerDirectives::m_nofollow)},
        {"robots_notes", asUtf8(e.m_robotsNotes)},
        {"cloaking", asUtf8(e.m_cloaking)},
    };
}

}  // namespace

void jsonString(std::string& out, const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
}

namespace {

// Whether a spreadsheet would take the cell for a formula: it begins with
// = + - @ (also in their fullwidth forms, which some spreadsheets read as
// the same), or with a tab or CR, which a spreadsheet may drop before it
// looks, or with blanks before any of these. The texts come from partners'
// pages (anchor text, href, headers), so they are hostile by nature.
bool startsLikeFormula(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    if (text[0] == '\t' || text[0] == '\r') {
        return true;
    }
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return false;
    }
    const char c = text[first];
    if (c == '=' || c == '+' || c == '-' || c == '@') {
        return true;
    }
    // U+FF1D, U+FF0B, U+FF0D, U+FF20 in UTF-8.
    const std::string_view rest(text.data() + first, text.size() - first);
    for (std::string_view wide : {"\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"}) {
        if (rest.substr(0, wide.size()) == wide) {
            return true;
        }
    }
    return false;
}

// Every text cell of the CSV export is written here. A cell that would start
// a formula gets a leading apostrophe (OWASP's advice against CSV
// injection): spreadsheets show it as the text it is and run nothing.
std::string csvField(const std::string& cell) {
    std::string text = startsLikeFormula(cell) ? "'" + cell : cell;
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string csvValue(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return csvField(*text);
    }
    if (const auto* number = std::get_if<std::optional<std::int64_t>>(&value)) {
        return *number ? std::to_string(**number) : std::string();
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "true" : "false";
    }
    std::string joined;
    if (const auto* texts = std::get_if<Texts>(&value)) {
        for (const std::string& text : texts->items) {
            joined += (joined.empty() ? "" : "; ") + text;
        }
        return csvField(joined);
    }
    for (const std::string& token : std::get<Tokens>(value)) {
        joined += (joined.empty() ? "" : " ") + token;
    }
    return csvField(joined);
}

}  // namespace

ExportRow exportRowOf(const ResultRow& row) {
    ExportRow out;
    out.m_advertiser = row.m_advertiser;
    out.m_page = row.m_page;
    out.m_mail = row.m_mail;
    out.m_notify = row.m_notify;
    out.m_result = row.statusText();
    out.m_reason = row.m_reason;
    out.m_evidence = row.m_evidence;
    if (out.m_evidence.m_httpStatus == 0) {
        out.m_evidence.m_httpStatus = row.m_httpStatus;  // checked without evidence
    }
    return out;
}

std::string exportCsvHeader() {
    std::string line;
    for (const Field& f : fields(ExportRow{})) {
        line += (line.empty() ? "" : ",") + std::string(f.first);
    }
    return line + "\r\n";
}

std::string exportCsvRecord(const ExportRow& row) {
    std::string line;
    bool first = true;
    for (const Field& f : fields(row)) {
        if (!first) {
            line += ',';
        }
        first = false;
        line += csvValue(f.second);
    }
    return line + "\r\n";
}

std::string exportCsv(const std::vector<ExportRow>& rows) {
    std::string out = exportCsvHeader();
    for (const ExportRow& row : rows) {
        out += exportCsvRecord(row);
    }
    return out;
}

std::string exportJsonObject(const ExportRow& row) {
    std::string out = "{";
    bool first = true;
    for (const Field& f : fields(row)) {
        if (!first) {
            out += ',';
        }
        first = false;
        jsonString(out, f.first);
        out += ':';
        if (const auto* text = std::get_if<std::string>(&f.second)) {
            jsonString(out, *text);
        } else if (const auto* number = std::get_if<std::optional<std::int64_t>>(&f.second)) {
            out += *number ? std::to_string(**number) : std::string("null");
        } else if (const auto* flag = std::get_if<bool>(&f.second)) {
            out += *flag ? "true" : "false";
        } else {
            const auto* texts = std::get_if<Texts>(&f.second);
            out += '[';
            bool firstToken = true;
            for (const std::string& token :
                 texts != nullptr ? texts->items : std::get<Tokens>(f.second)) {
                if (!firstToken) {
                    out += ',';
                }
                firstToken = false;
                jsonString(out, token);
            }
            out += ']';
        }
    }
    return out + "}";
}

std::string exportJson(const std::vector<ExportRow>& rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += exportJsonObject(rows[i]);
    }
    return out + "\n]\n";
}

ExportKind exportKindFor(const std::string& path) {
    if (path.size() >= 5) {
        std::string end = path.substr(path.size() - 5);
        for (char& c : end) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        if (end == ".json") {
            return ExportKind::Json;
        }
    }
    return ExportKind::Csv;
}

void writeExport(const std::string& path, const std::vector<ExportRow>& rows, ExportKind kind) {
    StoreFileWriter file(path);
    file.writeRaw(kind == ExportKind::Json ? exportJson(rows) : exportCsv(rows));
    file.close();
}

}  // namespace tarnwick
