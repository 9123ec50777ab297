// The tricks that keep a link on a page while denying it its worth, each on a
// small page beside its twin without the trick (which must not be flagged).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/LinkFinder.h"

namespace tarnwick {
namespace {

const std::string kAdvertiser = "www.example.com";
const std::string kPage = "http://partner.example/links.html";
const std::string kLink = R"(<a href="http://www.example.com/">shop</a>)";

PageEvidence collect(const std::string& page, const std::vector<std::string>& headers = {}) {
    LinkFinder finder(kAdvertiser);
    finder.headerLine("HTTP/1.1 200 OK\r\n");
    for (const std::string& line : headers) {
        finder.headerLine(line + "\r\n");
    }
    finder.setPageAddress(kPage);
    finder.feed(page);
    finder.finish();
    finder.setTransfer(200, kPage, 1);
    PageEvidence evidence = finder.takeEvidence();
    applyLinkRules(evidence, kPage, LinkRules{});
    return evidence;
}

struct Trick {
    const char* name;
    std::string page;
    std::vector<std::string> headers;
    const char* verdict;  // with the trick
    std::string twin;     // the same page without it: "follow"
    std::vector<std::string> twinHeaders;
};

std::string links(int count, const std::string& host) {
    std::string links;
    for (int i = 0; i < count; ++i) {
        links += "<a href=\"https://" + host + std::to_string(i) + ".example/\">x</a>";
    }
    return links;
}

TEST(LinkTricksTest, EachTrickIsNamedAndItsTwinIsNot) {
    const std::vector<Trick> tricks = {
        // Hidden by the link's own attributes or an open ancestor's.
        {"display none",
         "<div style=\"color:red; DISPLAY: none !important\"><p>" + kLink,
         {},
         "hidden by CSS",
         "<div style=\"color:red; display: block\"><p>" + kLink,
         {}},
        {"visibility",
         R"(<a style="visibility:hidden" href="http://www.example.com/">x</a>)",
         {},
         "hidden by CSS",
         R"(<a style="visibility:visible" href="http://www.example.com/">x</a>)",
         {}},
        {"hidden attribute",
         "<section><p hidden>" + kLink,
         {},
         "hidden by markup",
         "<section><p>" + kLink,
         {}},
        {"font size",
         "<span style=\"font-size:0px\">" + kLink + "</span>",
         {},
         "hidden by CSS",
         "<span style=\"font-size:12px\">" + kLink + "</span>",
         {}},
        {"opacity",
         "<div style=\"opacity:0.0\">" + kLink,
         {},
         "hidden by CSS",
         "<div style=\"opacity:0.5\">" + kLink,
         {}},
        {"off screen",
         "<div style=\"position:absolute;left:-9999px\"><b>" + kLink,
         {},
         "hidden by CSS",
         "<div style=\"position:absolute;left:20px\"><b>" + kLink,
         {}},
        {"svg",
         R"(<svg display="none"><a href="http://www.example.com/"><text>x</text></a></svg>)",
         {},
         "hidden by markup",
         R"(<svg><a href="http://www.example.com/"><text>x</text></a></svg>)",
         {}},
        {"table cell",
         "<table style=\"display:none\"><tr><td>" + kLink + "</td></tr></table>",
         {},
         "hidden by CSS",
         "<table><tr><td>" + kLink + "</td></tr></table>",
         {}},
        {"body",
         "<body style=\"display:none\"><p>" + kLink,
         {},
         "hidden by CSS",
         "<body style=\"color:red\"><p>x</p><body style=\"display:none\">" + kLink,
         {}},
        // The page names another as its canonical address.
        {"canonical element",
         "<head><link rel=\"Canonical\" href=\"/\"></head><body>" + kLink,
         {},
         "canonical \xE2\x86\x92 http://partner.example/",
         "<head><link rel=\"canonical\" href=\"https://www.partner.example/links.html/\">"
         "</head>" +
             kLink,
         {}},
        {"canonical header",
         kLink,
         {"Link: <http://partner.example/home>; rel=\"canonical\""},
         "canonical \xE2\x86\x92 http://partner.example/home",
         kLink,
         {"Link: <http://partner.example/home>; rel=\"alternate\", </links.html>; rel=canonical"}},
        // Robots directives for one crawler.
        {"meta googlebot",
         "<meta name=\"googlebot\" content=\"noindex\">" + kLink,
         {},
         "noindex for Googlebot",
         "<meta name=\"googlebot\" content=\"index\">" + kLink,
         {}},
        {"meta bingbot",
         "<meta name=\"BingBot\" content=\"NOFOLLOW\">" + kLink,
         {},
         "nofollow for Bingbot",
         "<meta name=\"otherbot\" content=\"nofollow\">" + kLink,
         {}},
        {"header googlebot",
         kLink,
         {"X-Robots-Tag: googlebot: nofollow"},
         "nofollow for Googlebot",
         kLink,
         {"X-Robots-Tag: otherbot: nofollow"}},
        {"header bingbot none",
         kLink,
         {"X-Robots-Tag: bingbot: none"},
         "noindex for Bingbot",
         kLink,
         {"X-Robots-Tag: bingbot: all"}},
        {"unavailable after (ISO)",
         "<meta name=\"robots\" content=\"unavailable_after: 2001-02-03\">" + kLink,
         {},
         "noindex",
         "<meta name=\"robots\" content=\"unavailable_after: 2999-02-03\">" + kLink,
         {}},
        {"unavailable after (RFC 850)",
         kLink,
         {"X-Robots-Tag: googlebot: unavailable_after: Friday, 25-Jun-2010 15:00:00 GMT"},
         "noindex for Googlebot",
         kLink,
         {"X-Robots-Tag: googlebot: unavailable_after: Friday, 25-Jun-2999 15:00:00 GMT"}},
        // Hundreds of links to other hosts.
        {"link farm",
         links(100, "other") + kLink,
         {},
         "link farm: 101 links",
         links(99, "other") + kLink,
         {}},
    };
    for (const Trick& t : tricks) {
        SCOPED_TRACE(t.name);
        const PageEvidence tricked = collect(t.page, t.headers);
        EXPECT_TRUE(tricked.m_anchorFound);
        EXPECT_EQ(evidenceVerdict(tricked), t.verdict);
        const PageEvidence twin = collect(t.twin, t.twinHeaders);
        EXPECT_TRUE(twin.m_anchorFound);
        EXPECT_EQ(evidenceVerdict(twin), "follow");
        EXPECT_TRUE(linkFindings(twin).empty());
    }
}

// Markup a browser reads otherwise than a plain reading of the tags: the link
// is shown in each, so none may be called hidden.
TEST(LinkTricksTest, ElementsClosedAsBrowsersCloseThemHideNothing) {
    const std::vector<std::pair<const char*, std::string>> pages = {
        {"p closed by a block", "<p style=\"display:none\">x<div>" + kLink},
        {"p closed by a heading", "<p hidden>x<h2>" + kLink},
        {"li closed by li", "<ul><li hidden>a<span>b<li>" + kLink},
        {"dd closed by dt", "<dl><dd hidden>a<dt>" + kLink},
        {"option closed by option", "<select><option hidden>a<option>b</select>" + kLink},
        {"cell closed by cell", "<table><tr><td hidden>a<td>" + kLink},
        {"row closed by row", "<table><tr hidden><td>a<tr><td>" + kLink},
        {"a closed by a", "<a hidden href=\"/x\">x<a href=\"http://www.example.com/\">shop</a>"},
        {"closed ancestor", "<div style=\"display:none\">x</div>" + kLink},
        {"end tag of an outer element", "<div><span style=\"display:none\">x</div>" + kLink},
        {"moved out of a table", "<table style=\"display:none\">" + kLink + "<tr><td>x</table>"},
        {"table parts outside a table", "<td style=\"display:none\">" + kLink},
        {"out of svg", "<svg style=\"display:none\"><circle/><div>" + kLink},
        {"hidden until found", "<div hidden=\"until-found\">" + kLink},
        {"display set beside hidden", "<div hidden style=\"display:block\">" + kLink},
        {"visibility set again",
         "<div style=\"visibility:hidden\"><a style=\"visibility:"
         "visible\" href=\"http://www.example.com/\">x</a>"},
        {"font size set again",
         "<div style=\"font-size:0\"><p style=\"font-size:1.2rem\">" + kLink},
        {"image without font size",
         R"(<div style="font-size:0"><a href="http://www.example.com/"><img src="b.png" alt="B"></a></div>)"},
        {"fixed inside off screen",
         "<div style=\"position:absolute;top:-5000px\">"
         "<p style=\"position:fixed;top:0\">" +
             kLink},
        {"comment in a style", "<div style=\"display:/*none*/block\">" + kLink},
        {"void element", "<img style=\"display:none\" src=x>" + kLink},
        {"aria-hidden", "<nav aria-hidden=\"true\">" + kLink},
    };
    for (const auto& [name, page] : pages) {
        SCOPED_TRACE(name);
        const PageEvidence e = collect(page);
        ASSERT_TRUE(e.m_anchorFound);
        EXPECT_EQ(e.m_hiddenBy, "");
        EXPECT_EQ(evidenceVerdict(e), "follow");
    }
    EXPECT_EQ(collect("<nav aria-hidden=\"true\">" + kLink).m_ariaHidden,
              "<nav aria-hidden=\"true\"> around the link");
}

TEST(LinkTricksTest, AShownLinkOutweighsHiddenOnes) {
    const PageEvidence e =
        collect(R"(<div hidden><a href="http://www.example.com/a" rel="sponsored">hidden</a></div>)"
                R"(<p style="font-size:0"><a href="http://www.example.com/b">no text</a></p>)"
                R"(<a href="http://www.example.com/c" rel="nofollow">shown</a>)"
                R"(<a href="http://www.example.com/d">later</a>)");
    EXPECT_EQ(e.m_href, "http://www.example.com/c");
    EXPECT_EQ(e.m_anchorText, "shown");
    EXPECT_EQ(e.m_hiddenBy, "");
    EXPECT_EQ(evidenceVerdict(e), "nofollow");

    // Only hidden links: the first decides, with what hides it.
    const PageEvidence hidden =
        collect(R"(<div id="x" style="position: relative; top: -80em">)"
                R"(<a href="http://www.example.com/a">one</a></div>)"
                R"(<a style="display:none" href="http://www.example.com/b">two</a>)");
    EXPECT_EQ(hidden.m_href, "http://www.example.com/a");
    EXPECT_EQ(hidden.m_hiddenBy, "<div style=\"position: relative; top: -80em\"> around the link");
    const PageEvidence self = collect(R"(<a hidden href="http://www.example.com/">x</a>)");
    EXPECT_EQ(self.m_hiddenBy, "<a hidden> on the link");
    EXPECT_TRUE(self.m_hiddenByMarkup);
}

TEST(LinkTricksTest, FindingsComeWorstFirstWithTheirEvidence) {
    PageEvidence e = collect(
        "<head><meta name=\"googlebot\" content=\"noindex\">"
        "<link rel=\"canonical\" href=\"http://partner.example/\"></head>"
        "<div style=\"display:none\"><a rel=\"nofollow\" href=\"http://www.example.com/\">x</a>"
        "</div>" +
            links(150, "farm"),
        {"X-Robots-Tag: bingbot: nofollow"});
    e.m_finalUrl = "http://partner.example/moved.html";
    applyLinkRules(e, kPage, LinkRules{120});
    const std::vector<LinkFinding> findings = linkFindings(e);
    const std::vector<LinkFinding> expected = {
        {"hidden by CSS", "<div style=\"display:none\"> around the link"},
        {"redirected to http://partner.example/moved.html", "asked at " + kPage},
        {"canonical \xE2\x86\x92 http://partner.example/",
         "<link rel=\"canonical\" href=\"http://partner.example/\">"},
        {"noindex for Googlebot", "<meta name=\"googlebot\" content=\"noindex\">"},
        {"nofollow", "rel=\"nofollow\" on the link"},
        {"nofollow for Bingbot", "X-Robots-Tag: bingbot: nofollow"},
        {"link farm: 151 links", "151 links to other hosts (more than 120); the link is number 1"},
    };
    EXPECT_EQ(findings, expected);
    EXPECT_EQ(evidenceVerdict(e), "hidden by CSS");
    EXPECT_EQ(findingsText(e).substr(0, 14), "hidden by CSS\n");
}

TEST(LinkTricksTest, OutboundLinksAreCountedByHost) {
    const PageEvidence e = collect(
        "<base href=\"http://partner.example/sub/\">"
        "<a href=\"/a\">same</a><a href=\"b.html\">same</a>"
        "<a href=\"https://WWW.Partner.Example./c\">same</a><a href=\"mailto:x@y.example\">m</a>"
        "<a href=\"javascript:void(0)\">j</a><a href=\"//cdn.example/x\">1</a>"
        "<a href=\"HTTP://user@Other.example:8080/\">2</a><a href=\"%68ttp://x.example/\">rel</a>"
        "<a href=\"http:\\\\evil.example\\\">3</a><template><a href=\"http://t.example/\">no</a>"
        "</template><area href=\"http://map.example/\"><a href=\"http://www.example.com/\">4</a>");
    EXPECT_EQ(e.m_outboundLinks, 5);
    EXPECT_EQ(e.m_linkPosition, 5);
}

TEST(LinkTricksTest, UnreadableDirectivesAreNotedAndIgnored) {
    const PageEvidence e = collect(
        "<meta name=\"robots\" content=\"unavailable_after: when pigs fly\">"
        "<link rel=canonical href=\"http://partner.example/a\">" +
            kLink,
        {"Link: <http://partner.example/b>; rel=\"canonical\""});
    EXPECT_EQ(evidenceVerdict(e), "follow");
    EXPECT_EQ(e.m_canonical, "");
    EXPECT_EQ(e.m_robotsNotes,
              "unavailable_after date not understood: when pigs fly; canonical addresses "
              "disagree: http://partner.example/a, http://partner.example/b");
}

}  // namespace
}  // namespace tarnwick
