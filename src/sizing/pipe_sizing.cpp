#include "sizing/pipe_sizing.h"

#include "calc/media.h"

#include <cmath>

namespace kolmaris {

namespace {

void checkRequest(const SizingRequest& r) {
    if (!(std::isfinite(r.flowRate) && r.flowRate > 0)) {
        throw SizingRequestError("Der Volumenstrom muss eine positive Zahl sein.");
    }
    if (!std::isfinite(r.length)) {
        throw SizingRequestError("Die Leitungslänge ist keine endliche Zahl.");
    }
    if (!std::isfinite(r.maxVelocity) || !std::isfinite(r.maxLossPerMetre)) {
        throw SizingRequestError("Die Grenzwerte müssen endliche Zahlen sein.");
    }
    if (!withinViscosityTable(r.medium, r.temperature)) {
        throw SizingRequestError(std::string("Für ") + nameOf(r.medium) +
                                 " kennt die Berechnung nur Temperaturen von " +
                                 viscosityRangeText(r.medium, ',') + ".");
    }
    if (!std::isfinite(r.temperature)) {
        throw SizingRequestError("Die Temperatur ist keine endliche Zahl.");
    }
}

} // namespace

SizingLimits defaultLimits(Medium medium) {
    return factsOf(medium).sizing;
}

SizingResult sizePipe(const SizingRequest& request, const std::vector<PipeSize>& series) {
    checkRequest(request);
    // No boxes: what calculate would say is refused beforehand or ends up in a row's notes.
    SilentSink silent;
    SizingResult result;
    result.rows.reserve(series.size());
    for (const PipeSize& size : series) {
        SizingRow row{size, std::nullopt, false, false};
        CalculationRecord record;
        record.diameterInput = size.innerDiameter;
        record.flowRateInput = request.flowRate;
        record.lengthInput = request.length;
        record.temperatureInput = request.temperature;
        try {
            // Both selections are given, so the run completes or fails.
            calculate(record, request.medium, request.material, silent);
            row.values = resultOf(record, request.medium, request.material);
            row.velocityOk = row.values->velocity <= request.maxVelocity;
            row.lossOk = row.values->lossPerMetre <= request.maxLossPerMetre;
        } catch (const ArithmeticFailure&) {
            // A row without values: this size cannot be calculated.
        }
        if (!result.recommended && row.velocityOk && row.lossOk) {
            result.recommended = result.rows.size();
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

} // namespace kolmaris
