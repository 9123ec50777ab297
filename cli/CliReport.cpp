#include "cli/CliReport.h"

#include "report/ReportWriters.h"

namespace tarnwick::cli {

void writeScanReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, "html") == 0) {
        writeHtmlReport(path, rows, now);
    } else {
        writeTextReport(path, rows, now);
    }
}

}  // namespace tarnwick::cli
