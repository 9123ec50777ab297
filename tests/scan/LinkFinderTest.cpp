#include "scan/LinkFinder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

const std::string kAddress = "www.example.com";

PageEvidence collect(const std::string& page, const std::vector<std::string>& headers = {},
                     std::string address = kAddress) {
    LinkFinder finder(address);
    finder.setPageAddress("http://partner.example/links.html");
    for (const std::string& line : headers) {
        finder.headerLine(line);
    }
    finder.feed(page);
    finder.finish();
    return finder.evidence();
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

TEST(LinkFinderEvidenceTest, PagesGiveTheirEvidence) {
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
         "", "x", false, true, true, "noindex for Googlebot"},
        {"meta other crawler",
         R"(<meta name="otherbot" content="noindex"><a href="http://www.example.com/">x</a>)", true,
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
        const PageEvidence e = collect(c.page, {"HTTP/1.1 200 OK\r\n"});
        EXPECT_EQ(e.m_anchorFound, c.anchor);
        EXPECT_EQ(e.m_rel, c.rel);
        EXPECT_EQ(e.m_anchorText, c.text);
        EXPECT_EQ(e.m_scriptOnly, c.scriptOnly);
        EXPECT_EQ(e.m_noindex, c.noindex);
        EXPECT_EQ(e.m_nofollow, c.nofollow);
        EXPECT_EQ(evidenceVerdict(e), c.verdict);
        EXPECT_EQ(e.m_bytes, c.page.size());
    }
}

TEST(LinkFinderEvidenceTest, AnchorTextIsCutAtTwoHundredCharacters) {
    std::string text;
    for (int i = 0; i < 150; ++i) {
        text += "\xC3\xA9 ";  // two-byte character and a blank
    }
    const PageEvidence e = collect("<a href=\"http://www.example.com/\">  " + text + "</a>");
    // 100 characters and the 100 blanks between them.
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        expected += "\xC3\xA9 ";
    }
    expected.pop_back();
    EXPECT_EQ(e.m_anchorText.size(), expected.size());
    EXPECT_EQ(e.m_anchorText, expected);
}

TEST(LinkFinderEvidenceTest, HeadersOfTheFinalAnswerCount) {
    const PageEvidence redirected = collect(
        "<a href=\"http://www.example.com/\">x</a>",
        {"HTTP/1.1 301 Moved\r\n", "X-Robots-Tag: noindex\r\n", "Content-Type: text/plain\r\n",
         "\r\n", "HTTP/1.1 200 OK\r\n", "Content-Type: text/html; charset=utf-8\r\n", "\r\n"});
    EXPECT_EQ(redirected.m_httpStatus, 200);
    EXPECT_EQ(redirected.m_contentType, "text/html; charset=utf-8");
    EXPECT_FALSE(redirected.m_noindex);
    EXPECT_EQ(redirected.m_xRobotsTag, "");

    const PageEvidence tagged =
        collect("<a href=\"http://www.example.com/\">x</a>",
                {"HTTP/1.1 200 OK\r\n", "x-robots-tag: noindex, nofollow\r\n"});
    EXPECT_TRUE(tagged.m_noindex);
    EXPECT_TRUE(tagged.m_nofollow);
    EXPECT_EQ(tagged.m_xRobotsTag, "noindex, nofollow");
    EXPECT_EQ(evidenceVerdict(tagged), "noindex");

    // Directives addressed to another crawler do not count; Googlebot's do.
    const PageEvidence other =
        collect("<a href=\"http://www.example.com/\">x</a>",
                {"HTTP/1.1 200 OK\r\n", "X-Robots-Tag: otherbot: noindex, nofollow\r\n",
                 "X-Robots-Tag: max-snippet: 20, googlebot: nofollow\r\n"});
    EXPECT_FALSE(other.m_noindex);
    EXPECT_TRUE(other.m_nofollow);

    const PageEvidence failed = collect("<p>Service Unavailable</p>", {"HTTP/1.1 503 Busy\r\n"});
    EXPECT_EQ(evidenceVerdict(failed), "HTTP 503");
}

// The page comes in whatever pieces the network delivers: every split must
// give the evidence of the whole page.
TEST(LinkFinderEvidenceTest, EverySplitGivesTheSameEvidence) {
    const std::string page =
        "<!DOCTYPE html><html><head><META name=robots content=\"nofollow\">"
        "<script>var a = '<a href=\"x\">';</script><!-- www.example.com --></head>"
        "<body></span><p>Text &amp; more<a href=other.html>other</a>"
        "<a class=\"x\" REL=\"Sponsored  noopener\" href=\"https://WWW.Example.com/?p=1&amp;q=2\">"
        "  Our <em>partner</em>\n\t shop &eacute;</a><script>var u = \"www.example.com\";</script>"
        "</body></html><p><a href=\"http://www.example.com/\">second</a>";
    const PageEvidence whole = collect(page, {"HTTP/1.1 200 OK\r\n"});
    ASSERT_TRUE(whole.m_anchorFound);
    EXPECT_EQ(whole.m_rel, "sponsored noopener");
    EXPECT_EQ(whole.m_anchorText, "Our partner shop \xC3\xA9");
    EXPECT_EQ(whole.m_href, "https://WWW.Example.com/?p=1&q=2");
    EXPECT_TRUE(whole.m_nofollow);
    for (size_t at = 0; at <= page.size(); ++at) {
        LinkFinder finder(kAddress);
        finder.setPageAddress("http://partner.example/links.html");
        finder.headerLine("HTTP/1.1 200 OK\r\n");
        finder.feed(page.substr(0, at));
        finder.feed(page.substr(at));
        finder.finish();
        ASSERT_EQ(finder.evidence(), whole) << "split at " << at;
    }
    LinkFinder bytewise(kAddress);
    bytewise.setPageAddress("http://partner.example/links.html");
    bytewise.headerLine("HTTP/1.1 200 OK\r\n");
    for (char c : page) {
        bytewise.feed(std::string_view(&c, 1));
    }
    bytewise.finish();
    EXPECT_EQ(bytewise.evidence(), whole);

    // The script-only case split everywhere too.
    const std::string scripted =
        "</p><p>x</p><script>document.write('www.example.com');</script></html><p>y</p>";
    for (size_t at = 0; at <= scripted.size(); ++at) {
        LinkFinder finder(kAddress);
        finder.feed(scripted.substr(0, at));
        finder.feed(scripted.substr(at));
        finder.finish();
        ASSERT_TRUE(finder.evidence().m_scriptOnly) << "split at " << at;
    }
}

// Markup that never ends (a comment that never closes) ends the reading
// instead of piling the page up in memory; the page was not seen whole, so
// it cannot be said to lack the link.
TEST(LinkFinderEvidenceTest, UnfinishedMarkupStopsTheReading) {
    LinkFinder finder(kAddress, LinkFinder::Limits{64 * 1024});
    finder.feed("<p>www.example.com</p><!-- ");
    const std::string filler(4096, 'z');
    for (int i = 0; i < 64; ++i) {
        finder.feed(filler);
    }
    EXPECT_TRUE(finder.readingStopped());
    finder.finish();
    EXPECT_EQ(evidenceVerdict(finder.evidence()), "no link");
    EXPECT_EQ(finder.evidence().m_bytes, 27u + 64u * 4096u);
    EXPECT_STREQ(resultWord(finder.result()).c_str(), "Page cannot be displayed");

    // Long text between tags is no such markup.
    LinkFinder text(kAddress, LinkFinder::Limits{64 * 1024});
    text.feed("<p>");
    for (int i = 0; i < 64; ++i) {
        text.feed(filler);
    }
    text.feed("</p><a href=\"http://www.example.com/\">x</a>");
    text.finish();
    EXPECT_FALSE(text.readingStopped());
    EXPECT_STREQ(resultWord(text.result()).c_str(), "Link Found");
}

TEST(LinkFinderEvidenceTest, BadBytesNeverBreakIt) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) {
        junk += static_cast<char>((i * 7919) & 0xFF);
    }
    junk += "<a href=\"http://www.example.com/\">\xFF\xFE text</a>";
    const PageEvidence e = collect(junk);
    EXPECT_TRUE(e.m_checked);
    const PageEvidence empty = collect("", {}, "");
    EXPECT_FALSE(empty.m_anchorFound);
    EXPECT_FALSE(empty.m_scriptOnly);
}

struct ResultCase {
    const char* name;
    std::string page;
    const char* result;
    const char* reason;  // the start of the reason
};

// What a browser builds decides: real links in every spelling HTML allows
// are found, links that exist only as text in comments, scripts, text-only
// elements or inert content are not, and the reason names the nearest miss.
const std::vector<ResultCase>& resultCases() {
    static const std::vector<ResultCase> cases = {
        {"https link, http advertiser", R"(<a href="https://www.shop-a.example/">s</a>)",
         "Link Found", "link to https://www.shop-a.example/"},
        {"no trailing slash", R"(<a href="http://www.shop-a.example">s</a>)", "Link Found", "link"},
        {"protocol-relative", R"(<a href="//www.shop-a.example/">s</a>)", "Link Found", "link"},
        {"without www", R"(<a href="http://shop-a.example/">s</a>)", "Link Found", "link"},
        {"blanks around =", "<a href = \"http://www.shop-a.example/\">s</a>", "Link Found", "link"},
        {"unquoted", "<a href=http://www.shop-a.example/>s</a>", "Link Found", "link"},
        {"character reference", R"(<a href="http://www.shop-a&#46;example/">s</a>)", "Link Found",
         "link"},
        {"named reference in query", R"(<a href="http://www.shop-a.example/?a=1&amp;b=2">s</a>)",
         "Link Found", "link"},
        {"capitals", R"(<A HREF="HTTP://WWW.SHOP-A.EXAMPLE/">s</A>)", "Link Found", "link"},
        {"area", R"(<map><area href="http://www.shop-a.example/" alt="Shop"></map>)", "Link Found",
         "link"},
        {"svg a", R"(<svg><a href="http://www.shop-a.example/"><text>s</text></a></svg>)",
         "Link Found", "link"},
        {"svg xlink:href", R"(<svg><a xlink:href="http://www.shop-a.example/">s</a></svg>)",
         "Link Found", "link"},
        {"relative through base",
         R"(<head><base href="http://www.shop-a.example/"></head><a href="offers">s</a>)",
         "Link Found", "link to http://www.shop-a.example/offers"},
        {"empty comment then a link", R"(<!--><a href="http://www.shop-a.example/">s</a>)",
         "Link Found", "link"},
        {"link after a closed script",
         R"(<script>var a = "<!--";</script><a href="http://www.shop-a.example/">s</a>)",
         "Link Found", "link"},
        {"default port", R"(<a href="http://www.shop-a.example:80/">s</a>)", "Link Found", "link"},
        {"DOCTYPE keyword right before >",
         R"(<!DOCTYPE html PUBLIC><a href="http://www.shop-a.example/">s</a>)", "Link Found",
         "link"},
        {"in a comment", R"(<!-- <a href="http://www.shop-a.example/">s</a> -->)", "Link Not Found",
         "the link is inside an HTML comment"},
        {"bogus comment <?", R"(<? <a href="http://www.shop-a.example/">s</a> ?>)",
         "Link Not Found", "the link is inside an HTML comment"},
        {"bogus comment <!x", R"(<!x <a href="http://www.shop-a.example/">s</a>>)",
         "Link Not Found", "the link is inside an HTML comment"},
        {"bogus comment </ x", R"(</ x <a href="http://www.shop-a.example/">s</a>>)",
         "Link Not Found", "the link is inside an HTML comment"},
        {"script string",
         R"(<script>document.write('<a href="http://www.shop-a.example/">s</a>');</script>)",
         "Link Not Found", "the link is inside a script"},
        {"escaped script data",
         R"(<script><!--<script></script><a href="http://www.shop-a.example/">--></script>)",
         "Link Not Found", "the link is inside a script"},
        {"textarea", R"(<textarea><a href="http://www.shop-a.example/">s</a></textarea>)",
         "Link Not Found", "the link is inside a textarea"},
        {"unclosed title", R"(<title>Links <a href="http://www.shop-a.example/">s</a>)",
         "Link Not Found", "the link is inside <title>"},
        {"template", R"(<template><a href="http://www.shop-a.example/">s</a></template>)",
         "Link Not Found", "the link is inside template content"},
        {"noscript", R"(<noscript><a href="http://www.shop-a.example/">s</a></noscript>)",
         "Link Not Found", "the link is inside <noscript>"},
        {"style", R"(<style>/* <a href="http://www.shop-a.example/"> */</style>)", "Link Not Found",
         "the link is inside <style>"},
        {"plaintext", R"(<plaintext><a href="http://www.shop-a.example/">s</a>)", "Link Not Found",
         "the link is inside plain text"},
        {"unterminated tag at the end", R"(<p>x</p><a href="http://www.shop-a.example/")",
         "Link Not Found", "no link"},
        {"frameset replaces the body",
         R"(<a href="http://www.shop-a.example/"></a><frameset><frame src="x"></frameset>)",
         "Link Not Found", "the link is in a body that a <frameset> replaces"},
        {"frameset after content is ignored",
         R"(<p>Hello</p><a href="http://www.shop-a.example/">s</a><frameset></frameset>)",
         "Link Found", "link"},
        {"CDATA in svg hides nothing",
         R"(<svg><![CDATA[ x ]]><a href="http://www.shop-a.example/">s</a></svg>)", "Link Found",
         "link"},
        {"CDATA only in capitals",
         R"(<svg><![CDaTA[</svg><a href="http://www.shop-a.example/">s</a></svg>)", "Link Found",
         "link"},
        {"CDATA in html is a comment", R"(<![CDATA[ <a href="http://www.shop-a.example/"> ]]>)",
         "Link Not Found", "the link is inside an HTML comment"},
        {"html breaks out of svg",
         R"(<svg><p><a href="http://www.shop-a.example/">s</a></p></svg>)", "Link Found", "link"},
        {"select content is body content",
         R"(<select><option><a href="http://www.shop-a.example/">s</a></option></select>)",
         "Link Found", "link"},
        {"</p> ends svg",
         R"(<p><svg></p><style>/* <a href="http://www.shop-a.example/"> */</style>)",
         "Link Not Found", "the link is inside <style>"},
        {"</br> ends svg",
         R"(<svg><g></br><style>/* <a href="http://www.shop-a.example/"> */</style>)",
         "Link Not Found", "the link is inside <style>"},
        {"MathML a is no link", R"(<math><a href="http://www.shop-a.example/">s</a></math>)",
         "Link Not Found", "no link"},
        {"annotation-xml holds MathML",
         R"(<math><annotation-xml><a href="http://www.shop-a.example/">s</a></annotation-xml>)",
         "Link Not Found", "no link"},
        {"annotation-xml holds HTML",
         R"(<math><annotation-xml encoding="Text/HTML"><a href="http://www.shop-a.example/">)",
         "Link Found", "link"},
        {"annotation-xml takes svg",
         R"(<math><annotation-xml><svg><a href="http://www.shop-a.example/">s</a></svg>)",
         "Link Found", "link"},
        {"mglyph stays MathML",
         R"(<math><mi><mglyph><a href="http://www.shop-a.example/">s</a></mglyph></mi>)",
         "Link Not Found", "no link"},
        {"HTML in a MathML text element",
         R"(<math><mi><a href="http://www.shop-a.example/">s</a></mi></math>)", "Link Found",
         "link"},
        {"another path", R"(<a href="http://www.shop-a.example.org/">x</a>)", "Link Not Found",
         "no link"},
        {"redirector",
         R"(<a href="http://partner.example/out?url=http%3A%2F%2Fwww.shop-a.example%2F">s</a>)",
         "Link Not Found", "links only through a redirect on partner.example"},
        {"redirector and a direct link",
         R"(<a href="/out?u=http://www.shop-a.example/">r</a><a href="http://shop-a.example">d</a>)",
         "Link Found", "link"},
        {"text only", "<p>Visit www.shop-a.example today</p>", "Link Not Found",
         "the address is in the page's text"},
        {"longer host name", R"(<a href="http://www.shop-a.example.evil.example/">s</a>)",
         "Link Not Found", "no link"},
        {"other scheme", R"(<a href="ftp://www.shop-a.example/">s</a>)", "Link Not Found", ""},
        {"javascript", R"x(<a href="javascript:go('http://www.shop-a.example/')">s</a>)x",
         "Link Not Found", ""},
        {"soft 404", "<h1>404 Not Found</h1>", "Page Cannot be Found", "\"404 not found\""},
        {"link wins over the soft 404 words",
         R"(<h1>404 Not Found</h1><a href="http://www.shop-a.example/">s</a>)", "Link Found",
         "link"},
        {"the words at the very start do not count", "404 not found <p>gone</p>", "Link Not Found",
         "no link"},
    };
    return cases;
}

std::pair<std::string, std::string> judge(const std::string& page, const std::string& advertiser,
                                          const std::vector<std::size_t>& cuts = {}) {
    LinkFinder finder(advertiser);
    finder.setPageAddress("http://partner.example/links/page.html");
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        finder.feed(std::string_view(page).substr(from, cut - from));
        from = cut;
    }
    finder.feed(std::string_view(page).substr(from));
    finder.finish();
    return {resultWord(finder.result()), finder.reason()};
}

TEST(LinkFinderTest, ResultsFollowWhatABrowserBuilds) {
    for (const ResultCase& c : resultCases()) {
        SCOPED_TRACE(c.name);
        const auto [result, reason] = judge(c.page, "http://www.shop-a.example/");
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << reason;
    }
}

TEST(LinkFinderTest, AnotherPathOfTheAdvertiserIsNamed) {
    const auto [result, reason] = judge(R"(<a href="https://www.shop-a.example/offers">x</a>)",
                                        "http://www.shop-a.example/shoes/");
    EXPECT_EQ(result, "Link Not Found");
    EXPECT_EQ(reason, "links to https://www.shop-a.example/offers (another path)");
    EXPECT_EQ(judge(R"(<a href="https://www.shop-a.example/Shoes/red">x</a>)",
                    "http://www.shop-a.example/shoes/")
                  .first,
              "Link Found");
}

// Every split of the same bytes gives the same result and reason: two
// pieces at every position, and random cuts into many pieces.
TEST(LinkFinderTest, EverySplitGivesTheSameResult) {
    std::mt19937 random(20261210);
    for (const ResultCase& c : resultCases()) {
        SCOPED_TRACE(c.name);
        const auto whole = judge(c.page, "http://www.shop-a.example/");
        for (std::size_t at = 0; at <= c.page.size(); ++at) {
            ASSERT_EQ(judge(c.page, "http://www.shop-a.example/", {at}), whole)
                << "split at " << at;
        }
        for (int round = 0; round < 20; ++round) {
            std::vector<std::size_t> cuts;
            for (std::size_t at = 0; at < c.page.size(); at += 1 + random() % 7) {
                cuts.push_back(at);
            }
            ASSERT_EQ(judge(c.page, "http://www.shop-a.example/", cuts), whole);
        }
    }
}

}  // namespace
}  // namespace tarnwick
