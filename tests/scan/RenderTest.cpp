// Links that scripts write or remove, seen by loading the page in headless
// Chromium. Skipped (exit 77) only when Chromium cannot start here.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scan/CheckPage.h"
#include "scan/PageRenderer.h"
#include "scan/PageServer.h"

namespace tarnwick {
namespace {

using test::PageServer;

const std::string kAdvertiser = "www.example.com";

TEST(RenderTest, ScriptsThatWriteOrRemoveTheLinkAreNamed) {
    PageServer server(false, false);
    server.addFile("written.html",
                   "<html><body><p id=\"p\">Partners</p><script>"
                   "var a = document.createElement('a'); a.href = 'http://www.' + 'example.com/';"
                   "a.textContent = 'shop'; document.body.appendChild(a);</script></body></html>");
    server.addFile("removed.html",
                   "<html><body><a id=\"x\" href=\"http://www.example.com/\">shop</a><script>"
                   "document.getElementById('x').remove();</script></body></html>");
    server.addFile("plain.html",
                   "<html><body><a href=\"http://www.example.com/\">shop</a></body></html>");
    LinkRules rules;
    rules.m_render = true;
    const struct {
        const char* path;
        const char* result;
        const char* verdict;
        const char* rendering;
    } cases[] = {
        {"/files/written.html", "Link Not Found", "link only after scripts",
         "link only after scripts"},
        {"/files/removed.html", "Link Found", "link removed by scripts", "link removed by scripts"},
        {"/files/plain.html", "Link Found", "follow", "the link is there after scripts"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PageEvidence e;
        EXPECT_EQ(checkPage(server.http(c.path), kAdvertiser, {}, &e, rules).word(), c.result);
        EXPECT_EQ(e.m_rendering, c.rendering);
        EXPECT_EQ(evidenceVerdict(e), c.verdict);
    }
}

TEST(RenderTest, AMissingBrowserIsToldAndTheCheckGoesOn) {
    PageRenderer renderer(5, "no-such-browser-here");
    const std::vector<PageRenderer::Rendered> pages =
        renderer.renderAll({"http://127.0.0.1:1/a", "http://127.0.0.1:1/b"});
    EXPECT_TRUE(renderer.missing());
    ASSERT_EQ(pages.size(), 2u);
    for (const PageRenderer::Rendered& page : pages) {
        EXPECT_FALSE(page.document.has_value());
        EXPECT_EQ(page.failure, renderer.missingReason());
    }
    EXPECT_EQ(renderer.missingReason().rfind("no-such-browser-here could not be started", 0), 0u);
}

}  // namespace
}  // namespace tarnwick

int main(int argc, char** argv) {
    tarnwick::PageRenderer probe(60);
    const tarnwick::PageRenderer::Rendered ready = probe.render("data:text/html,<p>ready</p>");
    if (!ready.document || ready.document->find("ready") == std::string::npos) {
        std::fprintf(stderr, "headless Chromium cannot start here (%s): skipped\n",
                     ready.failure.c_str());
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
