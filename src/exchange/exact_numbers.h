#pragma once

#include <string>
#include <vector>

namespace kolmaris::exchange_detail {

// A number cell of a sheet and the text its value must have.
struct ExactValue {
    std::string cell; // "H3"
    std::string text; // the shortest text that reads back as the same double
};

// The workbook writer prints numbers with 16 significant digits, one short of what some doubles
// need to read back unchanged. This copies the package at `from` to `to`, giving the listed
// cells of `sheetPart` their exact texts. Returns false when either file fails.
bool copyWithExactValues(const std::string& from, const std::string& to,
                         const std::string& sheetPart, const std::vector<ExactValue>& values);

// The shortest C-notation text of a finite double that reads back as the same double.
std::string exactXmlNumber(double value);

} // namespace kolmaris::exchange_detail
