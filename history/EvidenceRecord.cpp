#include "history/EvidenceRecord.h"

namespace tarnwick {

void AddEvidence(PageRecord& record, const PageEvidence& evidence) {
    if (!evidence.m_bChecked) {
        return;
    }
    if (evidence.m_nHttpStatus != 0) {
        record.m_httpStatus = static_cast<int>(evidence.m_nHttpStatus);
    }
    record.m_finalUrl = evidence.m_strFinalUrl;
    record.m_rel = evidence.m_strRel;
    record.m_anchorText = evidence.m_strAnchorText;
    record.m_noindex = evidence.m_bNoindex;
    record.m_robotsTxt = RobotsVerdictName(CombinedRobots(evidence));
    record.m_elapsedMs = evidence.m_nElapsedMs;
    record.m_verdict = EvidenceVerdict(evidence);
    record.m_findings = FindingsText(evidence);
}

}  // namespace tarnwick
