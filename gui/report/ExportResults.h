// File > Export Results...: the save-file dialog and the results pane's rows
// with their evidence written to the chosen file, as JSON when its name ends
// in ".json", as CSV otherwise.
#pragma once

#include <vector>

#include "scan/ResultRow.h"

class QWidget;

namespace tarnwick {

// Returns true when a file was written; a file that cannot be written is
// named in a message box.
bool runExportCommand(QWidget* parent, const std::vector<ResultRow>& rows);

}  // namespace tarnwick
