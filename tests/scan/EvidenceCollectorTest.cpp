#include "scan/EvidenceCollector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

const std::string kAddress = "www.example.com";

PageEvidence Collect(const std::string& page, const std::vector<std::string>& headers = {},
                     std::string address = kAddress) {
    EvidenceCollector collector(std::move(address));
    for (const std::string& line : headers) {
        collector.HeaderLine(line);
    }
    collector.Feed(page);
    collector.Finish();
    return collector.Evidence();
}

struct PageCase {
    const char* name;
    std::string page;
    bool anchor;
    const char* rel;
    const char* text;
    bool scriptOnly;
    bool noindex;
    bool nofollow;
    const char* verdict;
};

TEST(EvidenceCollectorTest, PagesGiveTheirEvidence) {
    const std::vector<PageCase> cases = {
        {"plain link", R"(<p>See <a href="http://www.example.com/">Example   Shop</a>.</p>)", true,
         "", "Example Shop", false, false, false, "follow"},
        {"nofollow", R"(<a rel="nofollow" href="https://www.example.com/x">shop</a>)", true,
         "nofollow", "shop", false, false, false, "nofollow"},
        {"sponsored ugc", R"(<a href="http://www.example.com" rel="sponsored ugc">ad</a>)", true,
         "sponsored ugc", "ad", false, false, false, "sponsored"},
        {"capitals", R"(<A HREF="HTTP://WWW.EXAMPLE.COM/" REL=NoFollow>Shop</A>)", true, "nofollow",
         "Shop", false, false, false, "nofollow"},
        {"first anchor counts",
         R"(<a href="http://www.example.com/a">one</a><a rel="nofollow" href="http://www.example.com/b">two</a>)",
         true, "", "one", false, false, false, "follow"},
        {"script only",
         "<script>document.write('<a href=\"http://www.example.com/\">x</a>');</script><p>hi</p>",
         false, "", "", true, false, false, "script only"},
        {"script and text", "<script>var u='www.example.com';</script><p>www.example.com</p>",
         false, "", "", false, false, false, "no link"},
        {"only in a comment", "<!-- <a href=\"http://www.example.com/\">x</a> -->", false, "", "",
         false, false, false, "no link"},
        {"meta robots noindex",
         R"(<html><head><meta name="robots" content="noindex, follow"></head><body><a href="http://www.example.com/">x</a></body></html>)",
         true, "", "x", false, true, false, "noindex"},
        {"meta googlebot none",
         R"(<meta name="GoogleBot" content="NONE"><a href="http://www.example.com/">x</a>)", true,
         "", "x", false, true, true, "noindex"},
        {"meta other crawler",
         R"(<meta name="bingbot" content="noindex"><a href="http://www.example.com/">x</a>)", true,
         "", "x", false, false, false, "follow"},
        {"meta nofollow",
         R"(<meta name="robots" content="nofollow"><a href="http://www.example.com/">x</a>)", true,
         "", "x", false, false, true, "nofollow"},
        {"image link",
         R"(<a href="http://www.example.com/"> <img src="b.png" alt=" Banner "> </a>)", true, "",
         "Banner", false, false, false, "follow"},
        {"nested markup and entities",
         "<a href=\"http://www.example.com/?a=1&amp;b=2\">Caf&eacute;\n<b>and</b>\t<i>bar</i></a>",
         true, "", "Caf\xC3\xA9 and bar", false, false, false, "follow"},
        {"no link", "<p>nothing here</p>", false, "", "", false, false, false, "no link"},
        {"link after the end of the document",
         R"(<html><body><p>a</p></body></html><a href="http://www.example.com/">late</a>)", true,
         "", "late", false, false, false, "follow"},
        {"page that begins with an end tag",
         R"(</span>Lorem <p>x</p><a href="http://www.example.com/" rel=ugc>u</a>)", true, "ugc",
         "u", false, false, false, "ugc"},
        {"unclosed anchor", "<a href='http://www.example.com/'>open to the end", true, "",
         "open to the end", false, false, false, "follow"},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PageEvidence e = Collect(c.page, {"HTTP/1.1 200 OK\r\n"});
        EXPECT_EQ(e.m_bAnchorFound, c.anchor);
        EXPECT_EQ(e.m_strRel, c.rel);
        EXPECT_EQ(e.m_strAnchorText, c.text);
        EXPECT_EQ(e.m_bScriptOnly, c.scriptOnly);
        EXPECT_EQ(e.m_bNoindex, c.noindex);
        EXPECT_EQ(e.m_bNofollow, c.nofollow);
        EXPECT_EQ(EvidenceVerdict(e), c.verdict);
        EXPECT_EQ(e.m_nBytes, c.page.size());
    }
}

TEST(EvidenceCollectorTest, AnchorTextIsCutAtTwoHundredCharacters) {
    std::string text;
    for (int i = 0; i < 150; ++i) {
        text += "\xC3\xA9 ";  // two-byte character and a blank
    }
    const PageEvidence e = Collect("<a href=\"http://www.example.com/\">  " + text + "</a>");
    // 100 characters and the 100 blanks between them.
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        expected += "\xC3\xA9 ";
    }
    expected.pop_back();
    EXPECT_EQ(e.m_strAnchorText.size(), expected.size());
    EXPECT_EQ(e.m_strAnchorText, expected);
}

TEST(EvidenceCollectorTest, HeadersOfTheFinalAnswerCount) {
    const PageEvidence redirected = Collect(
        "<a href=\"http://www.example.com/\">x</a>",
        {"HTTP/1.1 301 Moved\r\n", "X-Robots-Tag: noindex\r\n", "Content-Type: text/plain\r\n",
         "\r\n", "HTTP/1.1 200 OK\r\n", "Content-Type: text/html; charset=utf-8\r\n", "\r\n"});
    EXPECT_EQ(redirected.m_nHttpStatus, 200);
    EXPECT_EQ(redirected.m_strContentType, "text/html; charset=utf-8");
    EXPECT_FALSE(redirected.m_bNoindex);
    EXPECT_EQ(redirected.m_strXRobotsTag, "");

    const PageEvidence tagged =
        Collect("<a href=\"http://www.example.com/\">x</a>",
                {"HTTP/1.1 200 OK\r\n", "x-robots-tag: noindex, nofollow\r\n"});
    EXPECT_TRUE(tagged.m_bNoindex);
    EXPECT_TRUE(tagged.m_bNofollow);
    EXPECT_EQ(tagged.m_strXRobotsTag, "noindex, nofollow");
    EXPECT_EQ(EvidenceVerdict(tagged), "noindex");

    // Directives addressed to another crawler do not count; Googlebot's do.
    const PageEvidence other =
        Collect("<a href=\"http://www.example.com/\">x</a>",
                {"HTTP/1.1 200 OK\r\n", "X-Robots-Tag: otherbot: noindex, nofollow\r\n",
                 "X-Robots-Tag: max-snippet: 20, googlebot: nofollow\r\n"});
    EXPECT_FALSE(other.m_bNoindex);
    EXPECT_TRUE(other.m_bNofollow);

    const PageEvidence failed = Collect("<p>Service Unavailable</p>", {"HTTP/1.1 503 Busy\r\n"});
    EXPECT_EQ(EvidenceVerdict(failed), "HTTP 503");
}

// The push parser gets the page in whatever pieces the network delivers:
// every split must give the evidence of the whole page.
TEST(EvidenceCollectorTest, EverySplitGivesTheSameEvidence) {
    const std::string page =
        "<!DOCTYPE html><html><head><META name=robots content=\"nofollow\">"
        "<script>var a = '<a href=\"x\">';</script><!-- www.example.com --></head>"
        "<body></span><p>Text &amp; more<a href=other.html>other</a>"
        "<a class=\"x\" REL=\"Sponsored  noopener\" href=\"https://WWW.Example.com/?p=1&amp;q=2\">"
        "  Our <em>partner</em>\n\t shop &eacute;</a><script>var u = \"www.example.com\";</script>"
        "</body></html><p><a href=\"http://www.example.com/\">second</a>";
    const PageEvidence whole = Collect(page, {"HTTP/1.1 200 OK\r\n"});
    ASSERT_TRUE(whole.m_bAnchorFound);
    EXPECT_EQ(whole.m_strRel, "sponsored noopener");
    EXPECT_EQ(whole.m_strAnchorText, "Our partner shop \xC3\xA9");
    EXPECT_EQ(whole.m_strHref, "https://WWW.Example.com/?p=1&q=2");
    EXPECT_TRUE(whole.m_bNofollow);
    for (size_t at = 0; at <= page.size(); ++at) {
        EvidenceCollector collector(kAddress);
        collector.HeaderLine("HTTP/1.1 200 OK\r\n");
        collector.Feed(page.substr(0, at));
        collector.Feed(page.substr(at));
        collector.Finish();
        ASSERT_EQ(collector.Evidence(), whole) << "split at " << at;
    }
    EvidenceCollector bytewise(kAddress);
    bytewise.HeaderLine("HTTP/1.1 200 OK\r\n");
    for (char c : page) {
        bytewise.Feed(&c, 1);
    }
    bytewise.Finish();
    EXPECT_EQ(bytewise.Evidence(), whole);

    // The script-only case split everywhere too.
    const std::string scripted =
        "</p><p>x</p><script>document.write('www.example.com');</script></html><p>y</p>";
    for (size_t at = 0; at <= scripted.size(); ++at) {
        EvidenceCollector collector(kAddress);
        collector.Feed(scripted.substr(0, at));
        collector.Feed(scripted.substr(at));
        collector.Finish();
        ASSERT_TRUE(collector.Evidence().m_bScriptOnly) << "split at " << at;
    }
}

// Long pages go mostly past the parser (only pieces that may matter are
// parsed). Pages with the tricky markup in the middle of ordinary tags, fed
// in pieces of many sizes, must give exactly the evidence of parsing every
// byte, and most of their bytes must have been skipped.
TEST(EvidenceCollectorTest, SkippingPlainMarkupKeepsTheEvidence) {
    std::string filler;
    while (filler.size() < 300 * 1024) {
        filler +=
            "<div class=\"item\"><a href=\"https://partner.example.org/page.html\">Lorem "
            "ipsum</a> dolor <span style=\"color:#336699\">sit</span> amet,<br>\n<img "
            "src=\"/b.png\" alt=\"Banner\"><li><a href='/about/'>About Us</a></li></div>\n";
    }
    const std::string head =
        "<!DOCTYPE html><html><head><title>Partner</title></head><body><p>Welcome</p>";
    const std::string link = "<a rel=\"nofollow\" href=\"http://www.example.com/\">Our shop</a>";
    struct TrickyPage {
        const char* name;
        std::string middle;
    };
    const std::vector<TrickyPage> pages = {
        {"plain link", link},
        {"capital letters", "<A HREF=\"HTTP://WWW.EXAMPLE.COM/\" REL=UGC>Shop</A>"},
        {"script only",
         "<script>document.write('<a href=\"http://www.example.com/\">x</a>');</script>"},
        {"long script with the address at its end", "<script>var s = '" +
                                                        std::string(200 * 1024, 'x') +
                                                        "<a href=\"www.example.com\">';</script>"},
        {"style", "<style>/* www.example.com */ p { color: red }</style>"},
        {"address in text", "<p>Visit www.Example.com today</p>"},
        {"address in a title attribute", "<p title=\"www.example.com\">x</p>"},
        {"meta robots in the body", "<meta name=\"robots\" content=\"noindex\">" + link},
        {"meta robots after the anchor", link + "<p>x</p><meta name=googlebot content=noindex>"},
        {"comment", "<!-- " + std::string(100 * 1024, '-') + link + " -->"},
        {"comment then link", "<!-- <a href=\"http://www.example.com/\">old</a> -->" + link},
        {"CDATA", "<![CDATA[ <a href=\"http://www.example.com/\">x</a> ]]>"},
        {"character reference", "<a href=\"http://www&#46;example.com/\">ref</a>"},
        {"hexadecimal reference", "<p>www&#x2E;example.com</p>"},
        {"zero byte in the address", std::string("<p>www.exam\0ple.com</p>", 23)},
        {"Latin-1 bytes before a UTF-8 anchor text",
         "<p>caf\xE9</p>" + filler.substr(0, 70000) +
             "<a href=\"http://www.example.com/\">caf\xC3\xA9</a>"},
        {"UTF-8 text", "<p>\xC3\xA9t\xC3\xA9 \xE2\x82\xAC</p>" + link},
        {"processing instruction", "<?php echo 1 ?>" + link},
        {"textarea", "<textarea><a href=\"http://www.example.com/\">t</a></textarea>"},
        {"after the end of the document", "</body></html><p>late</p>" + link},
        {"tag spanning the middle", "<img alt=\"" + std::string(90 * 1024, 'y') + "\">" + link},
        {"no address at all", "<p>nothing</p>"},
        {"HTML in attribute values",
         [] {
             std::string m;
             while (m.size() < 100 * 1024) {
                 m += "<span data-content=\"<b>bold</b> <i>it</i><br>\" title='<p>q</p>'>z</span>";
             }
             return m +
                    "<a data-x=\"<a href=www.example.com>\" "
                    "href=\"http://www.example.com/\">in</a>";
         }()},
        {"long text without tags",
         "<p>" + std::string(150 * 1024, 'w') + " www.example.com</p>" + link},
        {"angle brackets in attribute values",
         [] {
             std::string m;
             while (m.size() < 100 * 1024) {
                 m += "<img alt=\"a < b > c\" title='<p>'>";
             }
             return m + "<a title=\"x<y>\" href=\"http://www.example.com/\">in</a>";
         }()},
    };
    std::mt19937 rng(11);
    for (const TrickyPage& t : pages) {
        SCOPED_TRACE(t.name);
        const std::string page = head + filler + t.middle + filler + "</body></html>";
        EvidenceCollector::Limits every;
        every.skipPlainMarkup = false;
        EvidenceCollector whole(kAddress, every);
        whole.HeaderLine("HTTP/1.1 200 OK\r\n");
        whole.Feed(page);
        whole.Finish();
        EXPECT_EQ(whole.BytesSkipped(), 0u);
        std::vector<size_t> pieces = {1000, 4096, 65536, 100000, page.size()};
        for (int k = 0; k < 3; ++k) {
            pieces.push_back(rng() % 90000 + 1);
        }
        for (size_t piece : pieces) {
            SCOPED_TRACE(piece);
            EvidenceCollector skipping(kAddress);
            skipping.HeaderLine("HTTP/1.1 200 OK\r\n");
            for (size_t at = 0; at < page.size(); at += piece) {
                skipping.Feed(page.substr(at, piece));
            }
            skipping.Finish();
            EXPECT_EQ(skipping.Evidence(), whole.Evidence());
            if (piece >= 4096 && piece < page.size()) {
                EXPECT_GT(skipping.BytesSkipped(), filler.size() / 2);
            }
        }
        // A network piece that ends inside the address, or just around it.
        const size_t address = page.find("example.com", head.size() + filler.size());
        if (address == std::string::npos) {
            continue;
        }
        for (size_t at = address - 6; at < address + 14; ++at) {
            EvidenceCollector skipping(kAddress);
            skipping.HeaderLine("HTTP/1.1 200 OK\r\n");
            for (size_t from = 0; from < page.size(); from += 65536) {
                const size_t end = std::min(from + 65536, page.size());
                if (from < at && at < end) {
                    skipping.Feed(page.substr(from, at - from));
                    skipping.Feed(page.substr(at, end - at));
                } else {
                    skipping.Feed(page.substr(from, end - from));
                }
            }
            skipping.Finish();
            ASSERT_EQ(skipping.Evidence(), whole.Evidence()) << "split at " << at;
        }
    }
    // The cases above mean what they say.
    const auto evidence = [&](const std::string& middle) {
        EvidenceCollector c(kAddress, EvidenceCollector::Limits{4u << 20, false});
        c.Feed(head + filler + middle + filler);
        c.Finish();
        return c.TakeEvidence();
    };
    EXPECT_TRUE(evidence(pages[2].middle).m_bScriptOnly);
    EXPECT_EQ(evidence(pages[1].middle).m_strRel, "ugc");
    EXPECT_TRUE(evidence(pages[7].middle).m_bNoindex);
    EXPECT_FALSE(evidence(pages[8].middle).m_bNoindex);
    EXPECT_TRUE(evidence(pages[12].middle).m_bAnchorFound);
}

// Markup the parser cannot finish (a comment that never closes) ends the
// parsing instead of piling the page up in memory.
TEST(EvidenceCollectorTest, UnfinishedMarkupStopsTheParser) {
    EvidenceCollector collector(kAddress, EvidenceCollector::Limits{64 * 1024});
    collector.Feed("<p>www.example.com</p><!-- ");
    const std::string filler(4096, 'z');
    for (int i = 0; i < 64; ++i) {
        collector.Feed(filler);
    }
    EXPECT_TRUE(collector.ParsingStopped());
    collector.Finish();
    EXPECT_EQ(EvidenceVerdict(collector.Evidence()), "no link");
    EXPECT_EQ(collector.Evidence().m_nBytes, 27u + 64u * 4096u);
}

TEST(EvidenceCollectorTest, BadBytesNeverBreakIt) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) {
        junk += static_cast<char>((i * 7919) & 0xFF);
    }
    junk += "<a href=\"http://www.example.com/\">\xFF\xFE text</a>";
    const PageEvidence e = Collect(junk);
    EXPECT_TRUE(e.m_bChecked);
    const PageEvidence empty = Collect("", {}, "");
    EXPECT_FALSE(empty.m_bAnchorFound);
    EXPECT_FALSE(empty.m_bScriptOnly);
}

}  // namespace
}  // namespace tarnwick
