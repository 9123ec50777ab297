#include "viewrules/ResultsView.h"

#include <gtest/gtest.h>

#include "support/ResultWords.h"

namespace tarnwick {
namespace {

ResultRow makeRow(const char* status, const char* notify = "Enabled") {
    ResultRow row;
    row.m_page = "http://p.example/";
    row.m_notify = notify;
    test::setStatusWord(row, status);
    return row;
}

struct FilterCase {
    const char* name;
    const char* status;
    const char* notify;
    bool failed;
    bool problem;
    bool notMailed;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, KeepsTheRightRows) {
    const FilterCase& c = GetParam();
    const ResultRow row = makeRow(c.status, c.notify);
    EXPECT_TRUE(filterKeeps(ResultFilter::All, row, c.failed));
    EXPECT_EQ(filterKeeps(ResultFilter::Problems, row, c.failed), c.problem);
    EXPECT_EQ(filterKeeps(ResultFilter::NotMailed, row, c.failed), c.notMailed);
    EXPECT_FALSE(filterKeeps(ResultFilter::Quality, row, c.failed));  // no evidence
}

// A found link that search engines do not count is a quality problem, kept
// by its own filter and counted in the run's summary; a link worth following
// and a missing link are not.
TEST(QualityFilterTest, FoundLinksWithoutWorthAreQualityProblems) {
    const auto checked = [](const char* status, const char* rel) {
        ResultRow row = makeRow(status);
        row.m_evidence->m_checked = true;
        row.m_evidence->m_httpStatus = 200;
        row.m_evidence->m_anchorFound = std::string(status) == "Link Found";
        row.m_evidence->m_rel = rel;
        row.m_evidence->m_robotsAll = RobotsVerdict::Allowed;
        row.m_evidence->m_robotsGooglebot = RobotsVerdict::Allowed;
        return row;
    };
    const ResultRow nofollow = checked("Link Found", "nofollow");
    const ResultRow follow = checked("Link Found", "");
    ResultRow hidden = checked("Link Found", "");
    hidden.m_evidence->m_hiddenBy = "style=\"display:none\" on the link";
    const ResultRow lost = checked("Link Not Found", "");
    EXPECT_TRUE(filterKeeps(ResultFilter::Quality, nofollow, false));
    EXPECT_TRUE(filterKeeps(ResultFilter::Quality, hidden, false));
    EXPECT_FALSE(filterKeeps(ResultFilter::Quality, follow, false));
    EXPECT_FALSE(filterKeeps(ResultFilter::Quality, lost, false));
    EXPECT_EQ(summariseRun({nofollow, follow, hidden, lost}, {}),
              "Done: 3 Link Found, 1 Link Not Found; 2 links found have quality problems.");
    EXPECT_EQ(summariseRun({follow, nofollow}, {}),
              "Done: 2 Link Found; 1 link found has quality problems.");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FilterTest,
    ::testing::Values(
        FilterCase{"not checked", "", "Enabled", false, false, false},
        FilterCase{"blank", "  ", "Enabled", false, false, false},
        FilterCase{"found", "Link Found", "Enabled", false, false, false},
        FilterCase{"lost, mailed", "Link Not Found", "Enabled", false, true, false},
        FilterCase{"lost, letter failed", "Link Not Found", "Enabled", true, true, true},
        FilterCase{"lost, notification off", "Link Not Found", "Disabled", false, true, true},
        FilterCase{"gone, mailed", "Page Cannot be Found", "Enabled", false, true, false},
        FilterCase{"unreachable: never mailed", "Page cannot be displayed", "Enabled", false, true,
                   true},
        FilterCase{"stopped", "Stopped by user", "Enabled", false, true, true}));

TEST(RunSummaryTest, CountsResultsInOrderOfAppearanceAndLetters) {
    const std::vector<ResultRow> rows = {makeRow("Link Found"), makeRow("Link Not Found"),
                                         makeRow("Link Found"), makeRow(""),
                                         makeRow("Page Cannot be Found")};
    EXPECT_EQ(summariseRun(rows, {}),
              "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found.");
    // Each letter counted once, by how it ended: sent, failed (by its
    // reason), held back, or still on its way.
    LetterCounts letters;
    letters.m_handedOver = 105;
    letters.m_sent = 3;
    letters.m_failures["Mail Settings Not provided"] = 102;
    EXPECT_EQ(summariseRun(rows, letters),
              "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found. Letters: 3 sent, "
              "102 could not be sent: Mail Settings Not provided.");
    letters.m_sent = 1;
    letters.m_outstanding = 2;
    letters.m_held = 7;
    EXPECT_EQ(summariseRun({}, letters),
              "Done: no page checked. Letters: 1 sent, 2 being sent, 7 held back, 102 could not "
              "be sent: Mail Settings Not provided.");
    // A run whose every letter was held back still says so.
    LetterCounts held;
    held.m_held = 5;
    EXPECT_EQ(summariseRun(rows, held),
              "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found. Letters: 0 sent, 5 "
              "held back.");
}

TEST(TimeLeftTest, EstimatesFromThePagesDone) {
    EXPECT_EQ(estimateSecondsLeft(0, 10, 5.0), -1);
    EXPECT_EQ(estimateSecondsLeft(2, 10, 10.0), 40);
    EXPECT_EQ(estimateSecondsLeft(10, 10, 10.0), 0);
    EXPECT_EQ(describeTimeLeft(-1), "");
    EXPECT_EQ(describeTimeLeft(2), "About 5 s left");
    EXPECT_EQ(describeTimeLeft(41), "About 45 s left");
    EXPECT_EQ(describeTimeLeft(150), "About 3 min left");
    EXPECT_EQ(describeTimeLeft(3 * 3600 + 10), "About 3 h left");
}

TEST(FetchProgressTest, FetchedPagesAndTheSiteWaitedFor) {
    EXPECT_EQ(describeFetchProgress(0, "http://slow.example/p", 40), "");
    EXPECT_EQ(describeFetchProgress(410, "http://www.slow.example/p.html", 4),
              "\u00b7 410 fetched");
    EXPECT_EQ(describeFetchProgress(410, "http://www.slow.example/p.html", 35),
              "\u00b7 410 fetched \u00b7 waiting for www.slow.example (35 s)");
    // Typed without a scheme, or no address at all: the site, or the text.
    EXPECT_EQ(describeFetchProgress(3, "WWW.Slow.example:8080/x", 5),
              "\u00b7 3 fetched \u00b7 waiting for www.slow.example (5 s)");
    EXPECT_EQ(describeFetchProgress(3, "not an address", 5),
              "\u00b7 3 fetched \u00b7 waiting for not an address (5 s)");
}

// A page's last recorded result fills its row, marked with the day it was
// checked; a row with a result, and a page no run checked, stay as they are.
TEST(RecordedResultsTest, FillEmptyRowsFromTheLastRun) {
    std::vector<ResultRow> rows(3);
    rows[0].m_advertiser = rows[1].m_advertiser = rows[2].m_advertiser = "adv";
    rows[0].m_page = "http://a/";
    rows[1].m_page = "http://b/";
    rows[2].m_page = "http://c/";
    test::setStatusWord(rows[1], "Link Found");
    std::map<PageKey, PageRecord> last;
    for (const char* page : {"http://a/", "http://b/"}) {
        PageRecord r;
        r.m_advertiser = "adv";
        r.m_page = page;
        r.m_result = LinkResult::NotFound;
        r.m_reason = "no link to the advertiser";
        r.m_httpStatus = 200;
        r.m_checked = 1'700'000'000;
        last[{r.m_advertiser, r.m_page}] = r;
    }
    showRecordedResults(rows, last);
    EXPECT_EQ(rows[0].statusText(), "Link Not Found");
    EXPECT_EQ(rows[0].m_reason, "no link to the advertiser");
    EXPECT_EQ(rows[0].m_httpStatus, 200);
    EXPECT_TRUE(rows[0].m_recorded);
    EXPECT_EQ(rows[0].m_change, recordedResultMark(1'700'000'000));
    EXPECT_EQ(rows[1].statusText(), "Link Found");
    EXPECT_FALSE(rows[1].m_recorded);
    EXPECT_EQ(rows[2].statusText(), "");
    EXPECT_FALSE(rows[2].m_recorded);
    // 14 Nov 2023, 22:13 UTC: the day in local time, the month in English.
    EXPECT_TRUE(recordedResultMark(1'700'000'000) == "last run: 14 Nov" ||
                recordedResultMark(1'700'000'000) == "last run: 15 Nov");
}

TEST(SearchTest, AnyCellOrTheReasonLetterCaseIgnored) {
    ResultRow row = makeRow("Link Not Found");
    row.m_mail = "Webmaster@Q1.example";
    row.m_reason = "links only through a redirect";
    for (const char* text : {"", "P.EXAMPLE", "q1.ex", "not found", "REDIRECT"}) {
        EXPECT_TRUE(rowHasText(row, text)) << text;
    }
    for (const char* text : {"q2", "Link Found", "http://q"}) {
        EXPECT_FALSE(rowHasText(row, text)) << text;
    }
}

}  // namespace
}  // namespace tarnwick
