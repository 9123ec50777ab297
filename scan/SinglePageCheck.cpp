#include "scan/SinglePageCheck.h"

#include "scan/PageRenderer.h"

namespace tarnwick {

SinglePageCheck::~SinglePageCheck() {
    cancel();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SinglePageCheck::cancel() {
    m_bCancelled = true;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pFetcher != nullptr) {
        m_pFetcher->Cancel();
    }
}

bool SinglePageCheck::start(const std::string& page, const std::string& advertiser,
                            const PageFetcher::Options& options, const LinkRules& rules, Done done,
                            Checker checker) {
    if (m_bBusy.exchange(true)) {
        return false;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // the last check, ended already
    }
    m_bCancelled = false;
    m_thread = std::thread([this, page, advertiser, options, rules, done = std::move(done),
                            checker = std::move(checker)] {
        PageResult result;
        PageEvidence evidence;
        if (checker) {
            result = checker(page, advertiser);
        } else {
            PageFetcher fetcher(options);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_pFetcher = &fetcher;
            }
            if (!m_bCancelled) {
                result = fetcher.Check(page, advertiser, &evidence);
            }
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_pFetcher = nullptr;
            }
            if (evidence.m_bChecked) {
                ApplyLinkRules(evidence, page, rules);
                if (rules.m_bRender && !m_bCancelled && evidence.m_nHttpStatus >= 200 &&
                    evidence.m_nHttpStatus < 300) {
                    PageRenderer renderer(options.pageTimeoutSeconds);
                    JudgeRendered(
                        evidence, advertiser,
                        renderer.render(evidence.m_strFinalUrl.empty() ? page
                                                                       : evidence.m_strFinalUrl));
                }
            }
        }
        if (!m_bCancelled && done) {
            done(result, evidence);
        }
        m_bBusy = false;
    });
    return true;
}

}  // namespace tarnwick
