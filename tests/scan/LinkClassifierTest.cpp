#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scan/LinkClassifier.h"
#include "scan/ReferenceClassifier.h"

namespace tarnwick {
namespace {

using test::ReferenceClassify;

// Feeds the page in pieces ending at the given cut positions.
std::string Classify(const std::string& page, const std::string& address,
                     const std::vector<size_t>& cuts = {}, LinkClassifier::Limits limits = {}) {
    LinkClassifier c(address, limits);
    size_t from = 0;
    for (size_t cut : cuts) {
        c.Feed(page.substr(from, cut - from));
        from = cut;
    }
    c.Feed(page.substr(from));
    return c.Result();
}

struct Case {
    const char* name;
    std::string page;
    std::string address;
    std::string expected;
};

const std::string kEx = "www.example.com";
// The first candidate that is not the address hands the search to the automaton.
const LinkClassifier::Limits kAutomatonAtOnce{0, 0};
const std::string kLink = "<a href=\"http://www.example.com/\">partner</a>";

std::vector<Case> Cases() {
    using namespace std::string_literals;
    return {
        {"nothing received", "", kEx, "Page cannot be displayed"},
        {"a zero byte is a page", "\0"s, kEx, "Link Not Found"},
        {"link", "<p>" + kLink, kEx, "Link Found"},
        {"link after a zero byte", "a\0b"s + kLink, kEx, "Link Found"},
        {"no link", "<p>www.example.org</p>", kEx, "Link Not Found"},
        {"capitals in the page", "<A HREF=\"HTTP://WWW.EXAMPLE.COM/\">", kEx, "Link Found"},
        {"capital in the address", kLink, "www.Example.com", "Link Found"},
        {"capitals in both", "<A HREF=\"http://WWW.EXAMPLE.COM/\">", "WWW.Example.COM",
         "Link Found"},
        {"404 at position 0", "404 Not Found" + kLink, kEx, "Link Found"},
        {"404 at position 0 and later", "404 not found 404 not found" + kLink, kEx, "Link Found"},
        {"404 at position 1", " 404 NOT FOUND" + kLink, kEx, "Page Cannot be Found"},
        {"phrase after the link", kLink + "<h1>Page Cannot Be Found</h1>", kEx,
         "Page Cannot be Found"},
        {"one phrase at 0, the other later", "404 not found page cannot be found", kEx,
         "Page Cannot be Found"},
        {"phrase with a blank too many", "x404  not found", kEx, "Link Not Found"},
        {"href= 50 before", "href=" + std::string(45, 'x') + kEx, kEx, "Link Found"},
        {"href= 51 before", "href=" + std::string(46, 'x') + kEx, kEx, "Link Not Found"},
        {"blank before =", "<a href =\"http://www.example.com\">", kEx, "Link Not Found"},
        {"blank after =", "<a href= \"http://www.example.com\">", kEx, "Link Found"},
        {"link text after another anchor", "<a href=\"/go\">www.example.com</a>", kEx,
         "Link Found"},
        {"longer host name", "<a href=\"http://www.example.com.evil.net/\">", kEx, "Link Found"},
        {"final / in the address", "<a href=\"http://www.example.com\">", "http://www.example.com/",
         "Link Not Found"},
        {"later occurrence qualifies",
         "www.example.com " + std::string(60, '.') + "<a href=\"http://www.example.com\">", kEx,
         "Link Found"},
        {"window stops at the cut", "hre" + std::string("f=Qhr"), "hr", "Link Not Found"},
        {"address holding href=", "xhref=xhref=", "xhref=", "Link Not Found"},
        {"address holding href= after href=", "href=xhref=", "xhref=", "Link Found"},
        {"occurrences do not overlap", "href=ababa", "aba", "Link Found"},
        {"code page capitals", "<a href=http://CAF\xC9.FR>", "caf\xE9.fr", "Link Found"},
        {"S caron", "href=\x8A", "\x9A", "Link Found"},
        {"Y diaeresis", "href=\x9F", "\xFF", "Link Found"},
        {"sharp s has no capital", "href=\xDF", "\xFF", "Link Not Found"},
        {"empty address", "<a href=\"x\">", "", "Link Not Found"},
        {"empty address, missing page", "x404 not found", "", "Page Cannot be Found"},
    };
}

TEST(LinkClassifierTest, CasesWholeAndByteByByte) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReferenceClassify(c.page, c.address), c.expected);
        EXPECT_EQ(Classify(c.page, c.address), c.expected);
        std::vector<size_t> everyByte;
        for (size_t i = 1; i < c.page.size(); ++i) {
            everyByte.push_back(i);
        }
        EXPECT_EQ(Classify(c.page, c.address, everyByte), c.expected);
        EXPECT_EQ(Classify(c.page, c.address, everyByte, kAutomatonAtOnce), c.expected);
    }
}

// Every single cut position of pages where the phrase, the marker or the
// address straddles it.
TEST(LinkClassifierTest, EveryCutPosition) {
    const std::vector<Case> pages = {
        {"phrase", std::string(70000, 'x') + "404 Not Found", kEx, "Page Cannot be Found"},
        {"long phrase", "<h1>PAGE CANNOT BE FOUND</h1>", kEx, "Page Cannot be Found"},
        {"link", std::string(65530, ' ') + kLink, kEx, "Link Found"},
        {"phrase at 0", "page cannot be found" + kLink, kEx, "Link Found"},
        {"cut after failure", "www.example.com href=www.example.com", kEx, "Link Found"},
    };
    for (const Case& c : pages) {
        SCOPED_TRACE(c.name);
        const size_t start = c.page.size() > 100 ? c.page.size() - 100 : 1;
        for (size_t cut = start; cut < c.page.size(); ++cut) {
            ASSERT_EQ(Classify(c.page, c.address, {cut}), c.expected) << "cut at " << cut;
        }
    }
}

// An occurrence cut by a piece boundary whose marker stands as far back as
// the look-back allows: the bytes before the boundary must still be at hand.
TEST(LinkClassifierTest, LookBackAcrossPieceBoundary) {
    for (const std::string& address : {std::string("a"), kEx, std::string(300, 'w') + ".com"}) {
        // A candidate that is not the address (same first and last byte) hands
        // the search to the automaton under kAutomatonAtOnce.
        const std::string decoy =
            address.size() < 3
                ? std::string()
                : address.front() + std::string(address.size() - 2, '#') + address.back();
        for (size_t gap : {0u, 44u, 45u, 46u}) {
            const std::string page = decoy + std::string(400, '.') +
                                     "href=" + std::string(gap, ' ') + address +
                                     std::string(20, '.');
            const std::string expected = gap <= 45 ? "Link Found" : "Link Not Found";
            ASSERT_EQ(ReferenceClassify(page, address), expected);
            const size_t start = decoy.size() + 400 + 5 + gap;
            for (size_t cut = start - 60; cut <= start + address.size(); ++cut) {
                for (LinkClassifier::Limits limits : {LinkClassifier::Limits{}, kAutomatonAtOnce}) {
                    ASSERT_EQ(Classify(page, address, {cut - 100, cut}, limits), expected)
                        << "gap " << gap << ", cut at " << cut;
                }
            }
        }
    }
}

// A page whose phrase decides before the end: later bytes are taken but ignored.
TEST(LinkClassifierTest, DecidedOncePhraseSeen) {
    LinkClassifier c(kEx);
    c.Feed(" 404 not found");
    EXPECT_TRUE(c.Decided());
    c.Feed(std::string(200000, 'z'));
    EXPECT_EQ(c.BytesFed(), 200014u);
    EXPECT_STREQ(c.Result(), "Page Cannot be Found");

    LinkClassifier atZero(kEx);
    atZero.Feed("404 not found");
    EXPECT_FALSE(atZero.Decided());
}

// Random pages built from the pieces that matter, against the plain rule,
// with random cut positions and random points where the search changes to
// its byte-at-a-time automaton.
TEST(LinkClassifierTest, DifferentialAgainstWholePageRule) {
    std::mt19937 rng(20240611);
    const std::vector<std::string> addresses = {"",
                                                "a",
                                                "aa",
                                                "ab",
                                                "aba",
                                                "abab",
                                                "aab",
                                                "href=",
                                                "ref=a",
                                                "=a",
                                                "f=",
                                                "hr",
                                                "xhref=",
                                                "found",
                                                "404",
                                                "ex.com",
                                                "http://ex.com/",
                                                "\xE9x",
                                                "\xC9x",
                                                "a\0b",
                                                "aaaaaaaab",
                                                "abaabaab",
                                                "EX",
                                                "href=href=",
                                                "ahref=ahref=a",
                                                "====href===="};
    const std::vector<std::string> pieces = {"a",
                                             "b",
                                             "h",
                                             "r",
                                             "e",
                                             "f",
                                             "=",
                                             "x",
                                             " ",
                                             "href=",
                                             "HREF=",
                                             "hReF=",
                                             "href",
                                             "ref=",
                                             "404 not found",
                                             "404 NOT FOUND",
                                             "Page Cannot Be Found",
                                             "page cannot be found",
                                             " found",
                                             "found",
                                             "404 not",
                                             "page cannot be",
                                             "\0",
                                             "\xC9",
                                             "\xE9",
                                             "\xDF",
                                             "\x9F",
                                             "ex.com",
                                             "EX.COM",
                                             "http://ex.com/",
                                             "aaaa",
                                             "abab",
                                             "\xC9X",
                                             "====",
                                             "===="};
    for (int iteration = 0; iteration < 20000; ++iteration) {
        std::string address = addresses[rng() % addresses.size()];
        if (rng() % 8 == 0) {
            address.clear();
            for (int k = 1 + rng() % 4; k > 0; --k) {
                address += "abhref="[rng() % 7];
            }
        }
        std::string page;
        const int count = static_cast<int>(rng() % 40);
        for (int k = 0; k < count; ++k) {
            switch (rng() % 6) {
                case 0:
                    page += address;
                    break;
                case 1:
                    page += std::string(rng() % 60, "x. "[rng() % 3]);
                    break;
                case 2:
                    page += static_cast<char>(rng() % 256);
                    break;
                default:
                    page += pieces[rng() % pieces.size()];
            }
        }
        std::vector<size_t> cuts;
        if (!page.empty()) {
            const int pieceCount = static_cast<int>(rng() % 6);
            for (int k = 0; k < pieceCount; ++k) {
                cuts.push_back(rng() % page.size());
            }
            std::sort(cuts.begin(), cuts.end());
        }
        LinkClassifier::Limits limits;
        if (rng() % 2 == 0) {
            limits = {rng() % 20, 0};
        }
        const std::string expected = ReferenceClassify(page, address);
        ASSERT_EQ(Classify(page, address, cuts, limits), expected)
            << "page of " << page.size() << " bytes, address '" << address << "', iteration "
            << iteration;
    }
}

// Pages longer than one piece, with occurrences around the piece boundaries.
TEST(LinkClassifierTest, DifferentialOnLongPages) {
    std::mt19937 rng(7);
    const std::string address = "www.example.com";
    for (int iteration = 0; iteration < 40; ++iteration) {
        std::string page(3 * LinkClassifier::kPiece + rng() % 1000, ' ');
        for (char& c : page) {
            c = "abcdefghijklmnopqrstuvwxyz <>=\"/."[rng() % 33];
        }
        for (int k = 0; k < 30; ++k) {
            const size_t boundary = (1 + rng() % 3) * LinkClassifier::kPiece;
            const std::string insert =
                rng() % 3 == 0 ? "href=" + std::string(rng() % 50, 'q') + address : address;
            const size_t at = boundary - rng() % (insert.size() + 55);
            page.replace(at, insert.size(), insert);
        }
        if (rng() % 4 == 0) {
            page.replace(LinkClassifier::kPiece - 3, 13, "404 NOT FOUND");
        }
        std::vector<size_t> cuts;
        for (size_t at = rng() % 20000 + 1; at < page.size(); at += rng() % 40000 + 1) {
            cuts.push_back(at);
        }
        LinkClassifier::Limits limits;
        if (rng() % 2 == 0) {
            limits = {rng() % 100, 0};
        }
        ASSERT_EQ(Classify(page, address, cuts, limits), ReferenceClassify(page, address))
            << "iteration " << iteration;
    }
}

// A page made to defeat the two-byte filter still gives the plain rule's word.
TEST(LinkClassifierTest, FilterDefeatingPage) {
    const std::string address = std::string(40, 'a') + "b" + std::string(40, 'a');
    std::string page;
    for (int k = 0; k < 2000; ++k) {
        page += std::string(80, 'a') + "c";
    }
    page += "href=" + address;
    EXPECT_EQ(Classify(page, address), "Link Found");
    EXPECT_EQ(ReferenceClassify(page, address), "Link Found");
}

TEST(LinkClassifierReasonTest, ReasonsSayWhatWasSeen) {
    const struct {
        std::string page;
        std::string address;
        std::string reason;
    } cases[] = {
        {"", "www.example.com", "the page is empty"},
        {"<a href=\"http://www.example.com/\">", "www.example.com",
         "link found 8 characters after href="},
        {"<a href=www.Example.com> <a href=\"http://www.example.com/\">", "www.example.com",
         "link found 0 characters after href="},
        {"href=x ... www.example.com", "www.example.com", "link found 6 characters after href="},
        {"<p>nothing here</p>", "www.example.com", "the advertiser's address is not in the page"},
        {"www.example.com", "www.example.com",
         "the advertiser's address is in the page 1 time, never within 50 characters after "
         "href="},
        {"x<title>404 Not Found</title>", "www.example.com", "\"404 not found\" in the page"},
        {"x Page Cannot Be Found", "www.example.com", "\"page cannot be found\" in the page"},
        {"<a href=\"x\">", "", "the profile has no advertiser's address"},
    };
    for (const auto& c : cases) {
        LinkClassifier classifier(c.address);
        classifier.Feed(c.page);
        EXPECT_EQ(classifier.Reason(), c.reason) << c.page;
    }
}

}  // namespace
}  // namespace tarnwick
