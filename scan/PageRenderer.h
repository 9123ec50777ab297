// Loads a page in headless Chromium and gives the document as its scripts
// left it (chromium --headless --dump-dom), so that the link check can see
// links that scripts write or remove.
//
// Every page gets a Chromium of its own, started with the flags of a
// throwaway browser (no sandbox, GPU, background traffic, updates, sync,
// first-run pages or QUIC) and a fresh profile folder that is removed
// afterwards; it is ended (its whole process group) when the page takes
// longer than the time limit, and its output is bounded. Up to kPool pages
// are rendered side by side (renderAll).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "scan/PageEvidence.h"

namespace tarnwick {

class PageRenderer {
public:
    static constexpr std::size_t kPool = 3;
    static constexpr std::size_t kMaxDocument = 16u << 20;

    // program: the browser to start ("chromium" on the PATH).
    explicit PageRenderer(long timeLimitSeconds, std::string program = "chromium");

    struct Rendered {
        std::optional<std::string> document;  // nullopt: not rendered
        std::string failure;                  // why not
    };
    Rendered render(const std::string& url);
    // The pages in the same order, at most kPool at a time.
    std::vector<Rendered> renderAll(const std::vector<std::string>& urls);

    // True once the browser could not be started at all: later pages are
    // not tried (failure() says why).
    bool missing() const { return m_missing; }
    const std::string& missingReason() const { return m_missingReason; }

private:
    long m_timeLimitSeconds;
    std::string m_program;
    bool m_missing = false;
    std::string m_missingReason;
};

// Compares the link of the rendered page with the fetched page's and writes
// what scripts did into evidence.m_rendering ("link only after scripts",
// "link removed by scripts"...). advertiser: as stored in the profile.
void judgeRendered(PageEvidence& evidence, const std::string& advertiser,
                   const PageRenderer::Rendered& rendered);

}  // namespace tarnwick
