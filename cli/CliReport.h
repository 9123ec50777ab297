// The report of a command-line scan: an HTML report when the file name's
// last four characters are "html", the text report otherwise.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "scan/ResultRow.h"

namespace tarnwick::cli {

// Throws tarnwick::FileError naming the file when the report cannot be written.
void writeScanReport(const std::string& path, const std::vector<ResultRow>& rows, std::time_t now);

}  // namespace tarnwick::cli
