#include "results/result_check.h"

#include "calc/calculation.h"
#include "results/number_format.h"
#include "results/table_layout.h"

#include <array>

namespace kolmaris {

namespace {

// The values of a row in the order of the table's columns 1 to 5.
std::array<double, tableCols - 1> valuesOf(const ResultValues& row) {
    return {row.velocity, row.lossPerMetre, row.lossTotal, row.reynolds, row.lambda};
}

} // namespace

std::optional<ResultValues> confirmedByInputs(const ResultValues& read) {
    const auto& in = read.origin.inputs;
    if (!in) {
        return std::nullopt;
    }
    CalculationRecord record{};
    record.diameterInput = in->diameter;
    record.flowRateInput = in->flowRate;
    record.lengthInput = in->length;
    record.temperatureInput = in->temperature;
    SilentSink silent;
    try {
        if (calculate(record, in->medium, in->material, silent) != CalculationOutcome::Completed) {
            return std::nullopt;
        }
    } catch (const KolmarisError&) {
        return std::nullopt; // such inputs give no result, so these values are not theirs
    }
    ResultValues again = resultOf(record, in->medium, in->material);
    const auto expected = valuesOf(again);
    const auto found = valuesOf(read);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // The shown values, compared as numbers: "-0,00" of a tiny negative velocity and the
        // "0,00" a file brings back for it are the same.
        const int decimals = columnDecimals[i + 1];
        if (shownValue(expected[i], decimals) != shownValue(found[i], decimals)) {
            return std::nullopt;
        }
    }
    return again;
}

} // namespace kolmaris
