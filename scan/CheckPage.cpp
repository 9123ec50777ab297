#include "scan/CheckPage.h"

#include "scan/PageFetcher.h"
#include "scan/PageRenderer.h"

namespace tarnwick {

bool hasScheme(std::string_view address) {
    const size_t colon = address.find("://");
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    const auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isAlpha(address[0])) {
        return false;
    }
    for (size_t i = 1; i < colon; ++i) {
        const char c = address[i];
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

PageResult checkPage(const std::string& page, const std::string& advertiser,
                     const PageFetcher::Options& options, PageEvidence* evidence,
                     const LinkRules& rules) {
    PageFetcher fetcher(options);
    PageResult result = fetcher.check(page, advertiser, evidence);
    if (evidence != nullptr) {
        applyLinkRules(*evidence, page, rules);
        if (rules.m_render && evidence->m_httpStatus >= 200 && evidence->m_httpStatus < 300) {
            PageRenderer renderer(options.pageTimeoutSeconds);
            judgeRendered(
                *evidence, advertiser,
                renderer.render(evidence->m_finalUrl.empty() ? page : evidence->m_finalUrl));
        }
    }
    return result;
}

}  // namespace tarnwick
