#pragma once

#include "exchange/workbook.h"

#include <string>
#include <vector>

class QByteArray; // declared only, so the fuzz build reads sheets without Qt's headers

// The results table in a sheet: its header rows, its result rows and their inputs.
namespace kolmaris::exchange_detail {

// The results of a sheet part and its shared-strings part (empty when there is none).
WorkbookResults resultsOfParts(const QByteArray& sheetBytes, const QByteArray& sharedStringsBytes);

// The same from plain strings, for fuzzing the XML without a zip around it.
WorkbookResults readResultsSheet(const std::string& sheet, const std::string& sharedStrings);

} // namespace kolmaris::exchange_detail
