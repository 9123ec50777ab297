// The report prompt at the end of a scan run: the "Save As.." format dialog,
// the save-file dialog, and the text or HTML report written to the chosen file.
#pragma once

#include <vector>

#include "scan/ResultRow.h"

class QWidget;

namespace tarnwick {

// Asks for the format and the file and writes the report of rows there: an
// HTML report when the file name's last four characters are "html", else the
// text report. Sets g_bReportSaved when a report was written and clears it when
// none was chosen or the file could not be written (the user is told which
// file). Callable from any thread: the prompt always runs on the GUI thread,
// and the call returns when the prompt is closed and the file written.
void offerReport(QWidget* parent, const std::vector<ResultRow>& rows);

}  // namespace tarnwick
