#include "exchange/workbook_support.h"

#include "calc/message_sink.h"

namespace kolmaris::exchange_detail {

const char* inputHeaderText(int row, int inputCol) {
    const OriginColumn& column = originColumns[inputCol];
    return row == 0 ? column.title : column.unit;
}

std::string cellName(int row, int col) {
    std::string letters;
    for (int n = col + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters + std::to_string(row + 1);
}

void fail(WorkbookError::Kind kind, const std::string& headline, const std::string& reason) {
    throw WorkbookError(kind, headline + crlf + reason);
}

} // namespace kolmaris::exchange_detail
