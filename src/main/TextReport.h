#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/ProblemEntry.h"

// The problem list saved as a text report.
namespace quillet {

class AnsiCodePage;

// The report in UTF-8: two heading lines, an empty line, then one line per row, its problem,
// key text and value text joined by "  #####  "; every line ends with CR LF.
std::string TextReport(const std::vector<ProblemEntry>& rows);
// The report's bytes in the system's ANSI code page; a character it has no form for is "?".
std::string TextReportBytes(AnsiCodePage& ansi, std::string_view report);
// The name with ".txt" appended unless its extension is exactly ".txt" (case counts).
std::string WithTxtExtension(std::string_view fileName);

}  // namespace quillet
