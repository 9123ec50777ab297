#include "scan/CheckPage.h"

#include "scan/PageFetcher.h"
#include "scan/PageRenderer.h"

namespace tarnwick {

bool HasScheme(std::string_view address) {
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

PageResult CheckPage(const std::string& page, const std::string& advertiser,
                     const PageFetcher::Options& options, PageEvidence* evidence,
                     const LinkRules& rules) {
    PageFetcher fetcher(options);
    PageResult result = fetcher.Check(page, advertiser, evidence);
    if (evidence != nullptr) {
        ApplyLinkRules(*evidence, page, rules);
        if (rules.m_bRender && evidence->m_nHttpStatus >= 200 && evidence->m_nHttpStatus < 300) {
            PageRenderer renderer(options.pageTimeoutSeconds);
            JudgeRendered(
                *evidence, advertiser,
                renderer.render(evidence->m_strFinalUrl.empty() ? page : evidence->m_strFinalUrl));
        }
    }
    return result;
}

}  // namespace tarnwick
