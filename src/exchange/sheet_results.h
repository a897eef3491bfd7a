#pragma once

#include "exchange/workbook.h"

#include <string>
#include <vector>

class QByteArray; // declared only, so the fuzz build reads sheets without Qt's headers

// The results table in a sheet: its header rows, its result rows and their inputs.
namespace kolmaris::exchange_detail {

struct XmlBudget;

// The results of a sheet part and its shared-strings part (empty when there is none), within
// what is left of the file's budget.
WorkbookResults resultsOfParts(const QByteArray& sheetBytes, const QByteArray& sharedStringsBytes,
                               XmlBudget& budget);

// The same from plain strings, for fuzzing the XML without a zip around it.
WorkbookResults readResultsSheet(const std::string& sheet, const std::string& sharedStrings);

} // namespace kolmaris::exchange_detail
