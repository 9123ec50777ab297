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

std::vector<Field> Fields(const ExportRow& row) {
    const PageEvidence& e = row.m_evidence;
    std::optional<std::int64_t> status;
    if (e.m_nHttpStatus != 0) {
        status = e.m_nHttpStatus;
    }
    Tokens rel;
    for (const std::string& token : RelTokens(e)) {
        rel.push_back(AsUtf8(token));
    }
    Texts findings;
    Texts findingEvidence;
    for (const LinkFinding& f : LinkFindings(e)) {
        findings.items.push_back(AsUtf8(f.m_strText));
        findingEvidence.items.push_back(AsUtf8(f.m_strEvidence));
    }
    const auto number = [](std::int64_t n) { return std::optional<std::int64_t>(n); };
    std::optional<std::int64_t> position;
    if (e.m_nLinkPosition > 0) {
        position = e.m_nLinkPosition;
    }
    return {
        {"advertiser", Cp1252ToUtf8(row.m_strAdvertiser)},
        {"page", Cp1252ToUtf8(row.m_strPage)},
        {"mail", Cp1252ToUtf8(row.m_strMail)},
        {"notification", Cp1252ToUtf8(row.m_strNotify)},
        {"result", Cp1252ToUtf8(row.m_strResult)},
        {"reason", Cp1252ToUtf8(row.m_strReason)},
        {"verdict", EvidenceVerdict(e)},
        {"http_status", status},
        {"final_url", AsUtf8(e.m_strFinalUrl)},
        {"content_type", AsUtf8(e.m_strContentType)},
        {"bytes", std::optional<std::int64_t>(static_cast<std::int64_t>(e.m_nBytes))},
        {"elapsed_ms", std::optional<std::int64_t>(e.m_nElapsedMs)},
        {"anchor_found", e.m_bAnchorFound},
        {"href", AsUtf8(e.m_strHref)},
        {"rel", rel},
        {"anchor_text", AsUtf8(e.m_strAnchorText)},
        {"script_only", e.m_bScriptOnly},
        {"meta_robots", AsUtf8(e.m_strMetaRobots)},
        {"x_robots_tag", AsUtf8(e.m_strXRobotsTag)},
        {"noindex", e.m_bNoindex},
        {"nofollow", e.m_bNofollow},
        {"robots_txt", std::string(RobotsVerdictName(CombinedRobots(e)))},
        {"robots_txt_all", std::string(RobotsVerdictName(e.m_robotsAll))},
        {"robots_txt_googlebot", std::string(RobotsVerdictName(e.m_robotsGooglebot))},
        {"findings", findings},
        {"finding_evidence", findingEvidence},
        {"hidden_by", AsUtf8(e.m_strHiddenBy)},
        {"aria_hidden", AsUtf8(e.m_strAriaHidden)},
        {"outbound_links", number(e.m_nOutboundLinks)},
        {"link_position", position},
        {"link_farm", e.m_nLinkFarmLinks > 0 && e.m_nOutboundLinks > e.m_nLinkFarmLinks},
        {"canonical", AsUtf8(e.m_strCanonical)},
        {"canonical_source", AsUtf8(e.m_strCanonicalSource)},
        {"canonical_elsewhere", e.m_bCanonicalElsewhere},
        {"redirected_from", AsUtf8(e.m_strRedirectedFrom)},
        {"noindex_for", CrawlersWith(e, &CrawlerDirectives::m_strNoindex)},
        {"nofollow_for", CrawlersWith(e, &CrawlerDirectives::m_strNofollow)},
        {"robots_notes", AsUtf8(e.m_strRobotsNotes)},
        {"cloaking", AsUtf8(e.m_strCloaking)},
    };
}

}  // namespace

void JsonString(std::string& out, const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
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
bool StartsLikeFormula(const std::string& text) {
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
std::string CsvField(const std::string& cell) {
    const std::string text = StartsLikeFormula(cell) ? "'" + cell : cell;
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

std::string CsvValue(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return CsvField(*text);
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
        return CsvField(joined);
    }
    for (const std::string& token : std::get<Tokens>(value)) {
        joined += (joined.empty() ? "" : " ") + token;
    }
    return CsvField(joined);
}

}  // namespace

ExportRow ExportRowOf(const ResultRow& row) {
    ExportRow out;
    out.m_strAdvertiser = row.m_strAdvertiser;
    out.m_strPage = row.m_strPage;
    out.m_strMail = row.m_strMail;
    out.m_strNotify = row.m_strNotify;
    out.m_strResult = row.m_strStatus;
    out.m_strReason = row.m_strReason;
    out.m_evidence = row.m_evidence;
    if (out.m_evidence.m_nHttpStatus == 0) {
        out.m_evidence.m_nHttpStatus = row.m_nHttpStatus;  // checked without evidence
    }
    return out;
}

std::string ExportCsvHeader() {
    std::string line;
    for (const Field& f : Fields(ExportRow{})) {
        line += (line.empty() ? "" : ",") + std::string(f.first);
    }
    return line + "\r\n";
}

std::string ExportCsvRecord(const ExportRow& row) {
    std::string line;
    bool first = true;
    for (const Field& f : Fields(row)) {
        if (!first) {
            line += ',';
        }
        first = false;
        line += CsvValue(f.second);
    }
    return line + "\r\n";
}

std::string ExportCsv(const std::vector<ExportRow>& rows) {
    std::string out = ExportCsvHeader();
    for (const ExportRow& row : rows) {
        out += ExportCsvRecord(row);
    }
    return out;
}

std::string ExportJsonObject(const ExportRow& row) {
    std::string out = "{";
    bool first = true;
    for (const Field& f : Fields(row)) {
        if (!first) {
            out += ',';
        }
        first = false;
        JsonString(out, f.first);
        out += ':';
        if (const auto* text = std::get_if<std::string>(&f.second)) {
            JsonString(out, *text);
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
                JsonString(out, token);
            }
            out += ']';
        }
    }
    return out + "}";
}

std::string ExportJson(const std::vector<ExportRow>& rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += ExportJsonObject(rows[i]);
    }
    return out + "\n]\n";
}

ExportKind ExportKindFor(const std::string& path) {
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

void WriteExport(const std::string& path, const std::vector<ExportRow>& rows, ExportKind kind) {
    StoreFileWriter file(path);
    file.WriteRaw(kind == ExportKind::Json ? ExportJson(rows) : ExportCsv(rows));
    file.Close();
}

}  // namespace tarnwick
