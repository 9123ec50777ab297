// The report prompt at the end of a scan run: the "Save As.." format dialog,
// the save-file dialog, and the text or HTML report written to the chosen file;
// and whether the last run's report was saved, which the exit question asks.
// The application keeps one.
#pragma once

#include <atomic>
#include <vector>

#include "scan/ResultRow.h"

class QWidget;

namespace tarnwick {

class ReportOffer {
public:
    // Asks for the format and the file and writes the report of rows there:
    // an HTML report when the file name's last four characters are "html",
    // else the text report. Saved when a report was written; not saved when
    // none was chosen or the file could not be written (the user is told
    // which file). Callable from any thread: the prompt always runs on the
    // GUI thread, and the call returns when the prompt is closed and the
    // file written.
    void offer(QWidget* parent, const std::vector<ResultRow>& rows);

    // Whether a report of the last run was written (Play clears it).
    bool isSaved() const { return m_saved.load(); }
    void setSaved(bool saved) { m_saved = saved; }

private:
    void offerHere(QWidget* parent, const std::vector<ResultRow>& rows);

    std::atomic<bool> m_saved{false};
};

}  // namespace tarnwick
