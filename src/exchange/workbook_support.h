#pragma once

#include "exchange/workbook.h"
#include "results/table_layout.h"

#include <iterator>
#include <string>
#include <vector>

// What the workbook reader and writer share beyond the table's own layout.
namespace kolmaris::exchange_detail {

// Columns H onward of the results sheet: what each result was calculated from, then what its
// fittings add to it, then its check calculation. Column G stays empty between the table and them.
// A column added later goes at the end of this enumeration and of originColumns.
enum InputColumn {
    Diameter,
    FlowRate,
    Length,
    Temperature,
    MediumName,
    MaterialName,
    Notes,
    FittingItems, // the items' text, fittingsText
    ZetaSum,      // Σζ, written for the reader of the sheet, not read back
    FittingsZ,    // Z in Pa, likewise
    SectionTotal, // R·l + Z in Pa, likewise
    // The check calculation beside the result, for the reader of the sheet, never read back:
    CheckLambda,          // the exact λ with the program's properties and the true π
    CheckLambdaDeviation, // its deviation from the table's λ, %
    CheckLoss,            // Δp/m with that λ, Pa/m
    CheckLossDeviation,   // %
    IapwsDensity,         // water in the IAPWS range: ρ, kg/m³
    IapwsViscosity,       // ν, mm²/s
    IapwsReynolds,
    IapwsLambda,
    IapwsLoss,          // Δp/m, Pa/m
    IapwsLossDeviation, // %
};

// An origin column's two header rows, the number pattern of its values ("" for texts and
// the general format) and its width in characters.
struct OriginColumn {
    const char* title;
    const char* unit;
    const char* pattern;
    double width;
};

inline constexpr OriginColumn originColumns[] = {
    {"Durchmesser", "[mm]", "", 13.7109375},
    {"Volumenstrom", "[dm3/min]", "", 13.7109375},
    {"Länge", "[m]", "", 13.7109375},
    {"Temperatur", "[°C]", "", 13.7109375},
    {"Medium", "", "", 13.7109375},
    {"Rohrmaterial", "", "", 13.7109375},
    {"Hinweis", "", "", 60.7109375},
    {"Einzelwiderstände", "", "", 60.7109375},
    {"Σζ", "[-]", "0.000", 13.7109375},
    {"Z", "[Pa]", "0.00", 13.7109375},
    {"R·l + Z", "[Pa]", "0.00", 13.7109375},
    {"λ exakt", "[-]", "0.00000", 13.7109375},
    {"Abw. λ", "[%]", "0.0", 13.7109375},
    {"Δp/m exakt", "[Pa/m]", "0.00", 13.7109375},
    {"Abw. Δp/m", "[%]", "0.0", 13.7109375},
    {"ρ IAPWS", "[kg/m³]", "0.000", 13.7109375},
    {"ν IAPWS", "[mm²/s]", "0.0000", 13.7109375},
    {"Re IAPWS", "[-]", "0", 13.7109375},
    {"λ IAPWS", "[-]", "0.00000", 13.7109375},
    {"Δp/m IAPWS", "[Pa/m]", "0.00", 13.7109375},
    {"Abw. Δp/m IAPWS", "[%]", "0.0", 17.7109375},
};

inline constexpr int inputCols = static_cast<int>(std::size(originColumns));
static_assert(inputCols == IapwsLossDeviation + 1, "one entry of originColumns per InputColumn");
inline constexpr int firstInputCol = tableCols + 1;
// The columns the reader looks at; any further ones are the user's.
inline constexpr int sheetCols = firstInputCol + inputCols;
// The four inputs are numbers, the rest texts.
inline constexpr int numericInputs = 4;

// The title and unit of an input column, in the table's two-row style.
const char* inputHeaderText(int row, int inputCol);

// "C5" for row index 4, column index 2.
std::string cellName(int row, int col);

[[noreturn]] void fail(WorkbookError::Kind kind, const std::string& headline,
                       const std::string& reason);

} // namespace kolmaris::exchange_detail
