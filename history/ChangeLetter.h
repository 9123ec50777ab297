// The site owner's summary of a run's changes (tarnwick-cli scan
// --summary-to): one letter naming every page that was lost, restored,
// changed in quality or is new, and the runs before it that reached no page
// for want of a network; sent only when something was lost, restored or
// changed in quality, or such a run is to be told. 8-bit text like the
// webmaster letters.
#pragma once

#include <cstdint>
#include <string>

#include "history/HistoryDatabase.h"

namespace tarnwick {

// "Osgrel Tarnwick Ambrel: 3 links lost, 1 restored since the last run"
std::string changeLetterSubject(const RunChanges& changes);
// Whether the site owner is to hear of the run.
bool changeLetterDue(const RunChanges& changes);
// started: when the run began (seconds since the epoch).
std::string changeLetterBody(const RunChanges& changes, std::int64_t started);

// Local time as "2026-12-10 14:05" (letters, the History window) and as
// ISO 8601 with its offset, "2026-12-10T14:05:51+0000" (command line).
std::string localMinuteText(std::int64_t time);
std::string localIsoText(std::int64_t time);

}  // namespace tarnwick
