#include "viewrules/ResultsView.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

ResultRow Row(const char* status, const char* notify = "Enabled") {
    ResultRow row;
    row.m_strPage = "http://p.example/";
    row.m_strNotify = notify;
    row.m_strStatus = status;
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
    const ResultRow row = Row(c.status, c.notify);
    EXPECT_TRUE(FilterKeeps(ResultFilter::All, row, c.failed));
    EXPECT_EQ(FilterKeeps(ResultFilter::Problems, row, c.failed), c.problem);
    EXPECT_EQ(FilterKeeps(ResultFilter::NotMailed, row, c.failed), c.notMailed);
    EXPECT_FALSE(FilterKeeps(ResultFilter::Quality, row, c.failed));  // no evidence
}

// A found link that search engines do not count is a quality problem, kept
// by its own filter and counted in the run's summary; a link worth following
// and a missing link are not.
TEST(QualityFilterTest, FoundLinksWithoutWorthAreQualityProblems) {
    const auto checked = [](const char* status, const char* rel) {
        ResultRow row = Row(status);
        row.m_evidence->m_bChecked = true;
        row.m_evidence->m_nHttpStatus = 200;
        row.m_evidence->m_bAnchorFound = std::string(status) == "Link Found";
        row.m_evidence->m_strRel = rel;
        row.m_evidence->m_robotsAll = RobotsVerdict::Allowed;
        row.m_evidence->m_robotsGooglebot = RobotsVerdict::Allowed;
        return row;
    };
    const ResultRow nofollow = checked("Link Found", "nofollow");
    const ResultRow follow = checked("Link Found", "");
    ResultRow hidden = checked("Link Found", "");
    hidden.m_evidence->m_strHiddenBy = "style=\"display:none\" on the link";
    const ResultRow lost = checked("Link Not Found", "");
    EXPECT_TRUE(FilterKeeps(ResultFilter::Quality, nofollow, false));
    EXPECT_TRUE(FilterKeeps(ResultFilter::Quality, hidden, false));
    EXPECT_FALSE(FilterKeeps(ResultFilter::Quality, follow, false));
    EXPECT_FALSE(FilterKeeps(ResultFilter::Quality, lost, false));
    EXPECT_EQ(SummariseRun({nofollow, follow, hidden, lost}, {}),
              "Done: 3 Link Found, 1 Link Not Found; 2 links found have quality problems.");
    EXPECT_EQ(SummariseRun({follow, nofollow}, {}),
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
        FilterCase{"stopped", "Stopped by user", "Enabled", false, true, true},
        FilterCase{"case differs", "link found", "Enabled", false, true, true}));

TEST(RunSummaryTest, CountsResultsInOrderOfAppearanceAndLetters) {
    const std::vector<ResultRow> rows = {Row("Link Found"), Row("Link Not Found"),
                                         Row("Link Found"), Row(""), Row("Page Cannot be Found")};
    EXPECT_EQ(SummariseRun(rows, {}),
              "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found.");
    // Each letter counted once, by how it ended: sent, failed (by its
    // reason), held back, or still on its way.
    LetterCounts letters;
    letters.m_nHandedOver = 105;
    letters.m_nSent = 3;
    letters.m_failures["Mail Settings Not provided"] = 102;
    EXPECT_EQ(SummariseRun(rows, letters),
              "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found. Letters: 3 sent, "
              "102 could not be sent: Mail Settings Not provided.");
    letters.m_nSent = 1;
    letters.m_nOutstanding = 2;
    letters.m_nHeld = 7;
    EXPECT_EQ(SummariseRun({}, letters),
              "Done: no page checked. Letters: 1 sent, 2 being sent, 7 held back, 102 could not "
              "be sent: Mail Settings Not provided.");
    // A run whose every letter was held back still says so.
    LetterCounts held;
    held.m_nHeld = 5;
    EXPECT_EQ(SummariseRun(rows, held),
              "Done: 2 Link Found, 1 Link Not Found, 1 Page Cannot be Found. Letters: 0 sent, 5 "
              "held back.");
}

TEST(TimeLeftTest, EstimatesFromThePagesDone) {
    EXPECT_EQ(EstimateSecondsLeft(0, 10, 5.0), -1);
    EXPECT_EQ(EstimateSecondsLeft(2, 10, 10.0), 40);
    EXPECT_EQ(EstimateSecondsLeft(10, 10, 10.0), 0);
    EXPECT_EQ(DescribeTimeLeft(-1), "");
    EXPECT_EQ(DescribeTimeLeft(2), "About 5 s left");
    EXPECT_EQ(DescribeTimeLeft(41), "About 45 s left");
    EXPECT_EQ(DescribeTimeLeft(150), "About 3 min left");
    EXPECT_EQ(DescribeTimeLeft(3 * 3600 + 10), "About 3 h left");
}

TEST(FetchProgressTest, FetchedPagesAndTheSiteWaitedFor) {
    EXPECT_EQ(DescribeFetchProgress(0, "http://slow.example/p", 40), "");
    EXPECT_EQ(DescribeFetchProgress(410, "http://www.slow.example/p.html", 4),
              "\u00b7 410 fetched");
    EXPECT_EQ(DescribeFetchProgress(410, "http://www.slow.example/p.html", 35),
              "\u00b7 410 fetched \u00b7 waiting for www.slow.example (35 s)");
    // Typed without a scheme, or no address at all: the site, or the text.
    EXPECT_EQ(DescribeFetchProgress(3, "WWW.Slow.example:8080/x", 5),
              "\u00b7 3 fetched \u00b7 waiting for www.slow.example (5 s)");
    EXPECT_EQ(DescribeFetchProgress(3, "not an address", 5),
              "\u00b7 3 fetched \u00b7 waiting for not an address (5 s)");
}

// A page's last recorded result fills its row, marked with the day it was
// checked; a row with a result, and a page no run checked, stay as they are.
TEST(RecordedResultsTest, FillEmptyRowsFromTheLastRun) {
    std::vector<ResultRow> rows(3);
    rows[0].m_strAdvertiser = rows[1].m_strAdvertiser = rows[2].m_strAdvertiser = "adv";
    rows[0].m_strPage = "http://a/";
    rows[1].m_strPage = "http://b/";
    rows[2].m_strPage = "http://c/";
    rows[1].m_strStatus = "Link Found";
    std::map<PageKey, PageRecord> last;
    for (const char* page : {"http://a/", "http://b/"}) {
        PageRecord r;
        r.m_strAdvertiser = "adv";
        r.m_strPage = page;
        r.m_strResult = "Link Not Found";
        r.m_reason = "no link to the advertiser";
        r.m_httpStatus = 200;
        r.m_nChecked = 1'700'000'000;
        last[{r.m_strAdvertiser, r.m_strPage}] = r;
    }
    ShowRecordedResults(rows, last);
    EXPECT_EQ(rows[0].m_strStatus, "Link Not Found");
    EXPECT_EQ(rows[0].m_strReason, "no link to the advertiser");
    EXPECT_EQ(rows[0].m_nHttpStatus, 200);
    EXPECT_TRUE(rows[0].m_bRecorded);
    EXPECT_EQ(rows[0].m_strChange, RecordedResultMark(1'700'000'000));
    EXPECT_EQ(rows[1].m_strStatus, "Link Found");
    EXPECT_FALSE(rows[1].m_bRecorded);
    EXPECT_EQ(rows[2].m_strStatus, "");
    EXPECT_FALSE(rows[2].m_bRecorded);
    // 14 Nov 2023, 22:13 UTC: the day in local time, the month in English.
    EXPECT_TRUE(RecordedResultMark(1'700'000'000) == "last run: 14 Nov" ||
                RecordedResultMark(1'700'000'000) == "last run: 15 Nov");
}

TEST(SearchTest, AnyCellOrTheReasonLetterCaseIgnored) {
    ResultRow row = Row("Link Not Found");
    row.m_strMail = "Webmaster@Q1.example";
    row.m_strReason = "links only through a redirect";
    for (const char* text : {"", "P.EXAMPLE", "q1.ex", "not found", "REDIRECT"}) {
        EXPECT_TRUE(RowHasText(row, text)) << text;
    }
    for (const char* text : {"q2", "Link Found", "http://q"}) {
        EXPECT_FALSE(RowHasText(row, text)) << text;
    }
}

}  // namespace
}  // namespace tarnwick
