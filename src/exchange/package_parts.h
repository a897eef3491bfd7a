#pragma once

#include "exchange/xml_bounds.h"
#include "exchange/zip_package.h"

#include <QString>

#include <vector>

// Finding a workbook's parts through its relationships, and reading its shared strings.
namespace kolmaris::exchange_detail {

struct Parts {
    QString sheet;
    QString sharedStrings;
};

// The first visible worksheet and the shared strings, through the package's relationships;
// where those are missing, the names every spreadsheet uses.
Parts locateParts(Package& package, XmlBudget& budget);

// No bytes: the workbook has no shared strings.
std::vector<QString> readSharedStrings(const QByteArray& bytes);

} // namespace kolmaris::exchange_detail
