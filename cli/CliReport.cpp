#include "cli/CliReport.h"

#include <stdexcept>

#if __has_include("report/ReportWriters.h")
#include "report/ReportWriters.h"
#define TARNWICK_HAVE_REPORTS 1
#endif

namespace tarnwick::cli {

void WriteScanReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now) {
#ifdef TARNWICK_HAVE_REPORTS
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, "html") == 0) {
        WriteHtmlReport(path, rows, now);
    } else {
        WriteTextReport(path, rows, now);
    }
#else
    (void)rows;
    (void)now;
    throw std::runtime_error("cannot write " + path + ": this build has no report writer");
#endif
}

}  // namespace tarnwick::cli
