#pragma once

#include <optional>
#include <ostream>

namespace kolmaris {

// The program's own options: --report OUT.pdf WORKBOOK.xlsx, --help and --version. Returns the
// exit code when the command line holds one of them, and nothing when it holds none, so that
// the window starts as it always does (Qt's own options included).
//
// --report writes the report of a workbook without a window and without a display: 0 when
// written, 1 when the workbook or the file refused (the German message on `err`, no file
// written, an older one untouched), 2 with the usage on `err` for a wrong command line.
std::optional<int> runCommandLine(int argc, char* argv[], std::ostream& out, std::ostream& err);

} // namespace kolmaris
