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
    m_cancelled = true;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fetcher != nullptr) {
        m_fetcher->cancel();
    }
}

bool SinglePageCheck::start(const std::string& page, const std::string& advertiser,
                            const PageFetcher::Options& options, const LinkRules& rules, Done done,
                            Checker checker) {
    if (m_busy.exchange(true)) {
        return false;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // the last check, ended already
    }
    m_cancelled = false;
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
                m_fetcher = &fetcher;
            }
            if (!m_cancelled) {
                result = fetcher.check(page, advertiser, &evidence);
            }
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_fetcher = nullptr;
            }
            if (evidence.m_checked) {
                applyLinkRules(evidence, page, rules);
                if (rules.m_render && !m_cancelled && evidence.m_httpStatus >= 200 &&
                    evidence.m_httpStatus < 300) {
                    PageRenderer renderer(options.pageTimeoutSeconds);
                    judgeRendered(
                        evidence, advertiser,
                        renderer.render(evidence.m_finalUrl.empty() ? page : evidence.m_finalUrl));
                }
            }
        }
        if (!m_cancelled && done) {
            done(result, evidence);
        }
        m_busy = false;
    });
    return true;
}

}  // namespace tarnwick
