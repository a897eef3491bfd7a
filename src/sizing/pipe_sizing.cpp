#include "sizing/pipe_sizing.h"

#include "calc/media.h"

#include <cmath>

namespace kolmaris {

namespace {

// Written so that a NaN, which no comparison admits, counts as outside as well.
bool outsideViscosityTable(Medium medium, double temperature) {
    return viscosityDependsOnTemperature(medium) &&
           !(temperature >= coldestBandOf(medium).from && temperature <= hottestBandOf(medium).to);
}

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
    if (outsideViscosityTable(r.medium, r.temperature)) {
        throw SizingRequestError(std::string("Für ") + nameOf(r.medium) +
                                 " kennt die Berechnung nur Temperaturen von 0 bis 100 °C.");
    }
    if (!std::isfinite(r.temperature)) {
        throw SizingRequestError("Die Temperatur ist keine endliche Zahl.");
    }
}

} // namespace

SizingLimits defaultLimits(Medium medium) {
    switch (medium) {
    case Medium::Water:
        return {1.0, 150};
    case Medium::FuelOil:
        return {0.5, 1000};
    case Medium::NaturalGas:
        return {6.0, 10};
    case Medium::CompressedAir:
        return {6.0, 100};
    }
    return {1.0, 150}; // unreachable
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
