// What a page's evidence puts into its history record.
#pragma once

#include "history/PageRecord.h"
#include "scan/PageEvidence.h"

namespace tarnwick {

// Fills the evidence fields of record from evidence; leaves them empty (NULL
// in the database) when the check gathered none.
void addEvidence(PageRecord& record, const PageEvidence& evidence);

}  // namespace tarnwick
