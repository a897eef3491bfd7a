#include "results/recalculation.h"

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
    } catch (const ArithmeticFailure&) {
    }
    return std::nullopt;
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
