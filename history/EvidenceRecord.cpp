#include "history/EvidenceRecord.h"

namespace tarnwick {

void addEvidence(PageRecord& record, const PageEvidence& evidence) {
    if (!evidence.m_checked) {
        return;
    }
    if (evidence.m_httpStatus != 0) {
        record.m_httpStatus = static_cast<int>(evidence.m_httpStatus);
    }
    record.m_finalUrl = evidence.m_finalUrl;
    record.m_rel = evidence.m_rel;
    record.m_anchorText = evidence.m_anchorText;
    record.m_noindex = evidence.m_noindex;
    record.m_robotsTxt = robotsVerdictName(combinedRobots(evidence));
    record.m_elapsedMs = evidence.m_elapsedMs;
    record.m_verdict = evidenceVerdict(evidence);
    record.m_findings = findingsText(evidence);
}

}  // namespace tarnwick
