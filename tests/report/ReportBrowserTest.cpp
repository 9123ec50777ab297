// The HTML report as a real browser builds it: headless Chromium loads the
// file and dumps its document, which report_dom.py summarises.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/Cp1252.h"
#include "report/ReportWriters.h"
#include "support/ResultWords.h"
#include "support/TempDataFolder.h"

namespace tarnwick {
namespace {

constexpr char kChromium[] = "/usr/bin/chromium";

struct Group {
    std::string title;
    std::vector<std::vector<std::string>> rows;
    bool operator==(const Group&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Group& group) {
    out << "{" << group.title;
    for (const auto& row : group.rows) {
        out << " |";
        for (const auto& cell : row) {
            out << " [" << cell << "]";
        }
    }
    return out << "}";
}

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, sep)) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == sep) {
        fields.emplace_back();
    }
    return fields;
}

ResultRow row(const std::string& adv, const std::string& page, const std::string& status) {
    ResultRow row;
    row.m_advertiser = adv;
    row.m_page = page;
    test::setStatusWord(row, status);
    return row;
}

TEST(ReportBrowserTest, ChromiumShowsGroupsCountersAndEveryPageAndNothingInjected) {
    if (access(kChromium, X_OK) != 0) {
        FAIL() << kChromium << " is missing (./test installs it)";
    }
    const char* source = std::getenv("TARNWICK_SOURCE_DIR");
    const char* python = std::getenv("TARNWICK_TEST_PYTHON");
    ASSERT_NE(source, nullptr);
    const std::string script = std::string(source) + "/tests/report/report_dom.py";

    const std::string hostilePage =
        "http://evil.example/\"'><img src=x id=injected><script>"
        "document.title='pwned'</script>";
    const std::string hostileSite = "http://b.example/</td></tr></table><b id=injected>x</b>";
    const std::vector<ResultRow> rows = {
        row("http://a.example", "http://p1.example/links.html", "Link Found"),
        row("http://a.example", "http://caf\xE9.example/\x80", "Link Not Found"),
        row(hostileSite, hostilePage, "Page cannot be displayed"),
        row(hostileSite, "http://p3.example/?a=1&b=2", "Stopped by user"),
        row("http://a.example", "http://p4.example/", ""),
    };

    test::TempDataFolder folder;
    const std::string report = folder.root() + "/Report.html";
    writeHtmlReport(report, rows, std::time(nullptr));
    const std::string dom = folder.root() + "/dom.html";
    const std::string summary = folder.root() + "/summary.txt";
    const std::string command =
        std::string("timeout 60 ") + kChromium +
        " --headless --no-sandbox --disable-gpu --disable-background-networking"
        " --disable-component-update --disable-sync --no-first-run --disable-quic"
        " --user-data-dir='" +
        folder.root() + "/profile' --dump-dom 'file://" + report + "' > '" + dom + "' 2> '" +
        folder.root() + "/chromium.log'";
    ASSERT_EQ(std::system(command.c_str()), 0) << test::readBytes(folder.root() + "/chromium.log");
    const std::string parse = std::string(python != nullptr ? python : "/usr/bin/python3") + " '" +
                              script + "' < '" + dom + "' > '" + summary + "'";
    ASSERT_EQ(std::system(parse.c_str()), 0) << test::readBytes(dom);

    std::set<std::string> tags;
    std::string title;
    std::vector<std::vector<std::string>> rowsOutsideGroups;
    std::vector<Group> groups;
    bool inGroup = false;
    std::istringstream lines(test::readBytes(summary));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f = split(line, '\x1f');
        ASSERT_FALSE(f.empty());
        if (f[0] == "TAGS") {
            tags.insert(f.begin() + 1, f.end());
        } else if (f[0] == "TITLE") {
            title = f.size() > 1 ? f[1] : "";
        } else if (f[0] == "GROUP") {
            // Each group stands on its own, not inside the one before.
            EXPECT_EQ(f.at(1), "0") << "group table nested in another";
            groups.emplace_back();
            inGroup = true;
        } else if (f[0] == "END") {
            inGroup = false;
        } else if (f[0] == "TR" && inGroup) {
            if (groups.back().title.empty()) {
                groups.back().title = f.at(1);
            } else {
                groups.back().rows.emplace_back(f.begin() + 1, f.end());
            }
        } else if (f[0] == "TR") {
            rowsOutsideGroups.emplace_back(f.begin() + 1, f.end());
        }
    }

    EXPECT_EQ(title, "::Osgrel Tarnwick Report Ambrel::");
    const std::set<std::string> allowed = {"body",  "br", "div",   "head",  "html",
                                           "meta",  "p",  "span",  "style", "table",
                                           "tbody", "td", "title", "tr"};
    for (const std::string& tag : tags) {
        EXPECT_TRUE(allowed.count(tag)) << "element injected into the report: " << tag;
    }

    using Cells = std::vector<std::string>;
    const std::vector<Cells> counters = {{"Total link Present:", "5"},
                                         {"Total link Scannned:", "2"},
                                         {"Link Found On :", "1"},
                                         {"Link Not Found On:", "1"}};
    for (const Cells& counter : counters) {
        EXPECT_NE(std::find(rowsOutsideGroups.begin(), rowsOutsideGroups.end(), counter),
                  rowsOutsideGroups.end())
            << counter[0];
    }

    auto groupTitle = [](const std::string& site) {
        return "\tLink Scanning Results for [ " + cp1252ToUtf8(site) + "]";
    };
    const std::vector<Group> expected = {
        {groupTitle("http://a.example"),
         {{"http://p1.example/links.html", "Link Found"},
          {cp1252ToUtf8("http://caf\xE9.example/\x80"), "Link Not Found"}}},
        {groupTitle(hostileSite),
         {{hostilePage, "Page cannot be displayed"},
          {"http://p3.example/?a=1&b=2", "Stopped by user"}}},
        {groupTitle("http://a.example"), {{"http://p4.example/", ""}}},
    };
    EXPECT_EQ(groups, expected);
    EXPECT_EQ(test::readBytes(dom).find("id=\"injected\""), std::string::npos);
}

}  // namespace
}  // namespace tarnwick
