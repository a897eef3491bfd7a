#include "results/recalculation.h"

#include "results/number_format.h"
#include "results/table_layout.h"

#include <array>

namespace kolmaris {

std::optional<CalculationRecord> recalculated(const ResultInputs& inputs) {
    CalculationRecord record;
    record.diameterInput = inputs.diameter;
    record.flowRateInput = inputs.flowRate;
    record.lengthInput = inputs.length;
    record.temperatureInput = inputs.temperature;
    SilentSink silent;
    try {
        if (calculate(record, inputs.medium, inputs.material, silent) ==
            CalculationOutcome::Completed) {
            return record;
        }
    } catch (const KolmarisError&) {
    }
    return std::nullopt;
}

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
    const auto record = recalculated(*in);
    if (!record) {
        return std::nullopt; // such inputs give no result, so these values are not theirs
    }
    ResultValues again = resultOf(*record, in->medium, in->material);
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
    again.origin.fittings = read.origin.fittings;
    return again;
}

std::optional<ResultCheck> checkOf(const ResultValues& result) {
    if (!result.origin.inputs) {
        return std::nullopt;
    }
    const auto record = recalculated(*result.origin.inputs);
    if (!record) {
        return std::nullopt;
    }
    return checkResult(*record, result.origin.inputs->medium);
}

} // namespace kolmaris
