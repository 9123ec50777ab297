// tarnwick-cli's history commands and the summary letter of scan.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "cli/CliOptions.h"
#include "mail/SmtpClient.h"
#include "store/DataFolder.h"

namespace tarnwick::cli {

// history [--format json] | history --prune-before DATE
int history(const CliOptions& options, std::ostream& out, std::ostream& err);
// changes [--format json]: exit 1 when a link was lost.
int changes(const CliOptions& options, std::ostream& out, std::ostream& err);

// After a recorded scan: mails address the changes of run runId when a link
// was lost, restored or changed in quality, within limits (those of the
// scan's letters). Failures go to err.
void sendChangeSummary(const DataFolder& folder, std::int64_t runId, const std::string& address,
                       const SmtpClient::Limits& limits, std::ostream& err);

}  // namespace tarnwick::cli
