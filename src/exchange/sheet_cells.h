#pragma once

#include "exchange/reader_common.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// The cells of a results sheet that the table can hold, read from the sheet's XML.
namespace kolmaris::exchange_detail {

struct Cell {
    enum class Type { Empty, Number, Text, Formula, Other } type = Type::Empty; // Formula: no value
    double number = 0;
    QString text;
};

using Sheet = std::array<std::array<Cell, sheetCols>, keptRows>;

// The cells of the first kept rows and columns. Cell references are checked, not trusted: each
// must lie in its row, rows and cells must come in order, so no cell can appear twice. Rows
// below the kept ones with a text in column A (a sum) are skipped and their numbers, from 1,
// added to `textRowsBelow`.
Sheet readSheet(const QByteArray& bytes, const std::vector<QString>& sharedStrings,
                std::vector<int>& textRowsBelow);

} // namespace kolmaris::exchange_detail
