#include "calc/calculation.h"

#include "calc/checked.h"
#include "calc/friction_eval.h"
#include "calc/media.h"
#include "calc/method_constants.h"

#include <cmath>
#include <iterator>

namespace kolmaris {

using detail::checked;

CalculationOutcome calculate(CalculationRecord& r, std::optional<Medium> medium,
                             std::optional<Material> material, MessageSink& messages) {
    r.diameter = checked(r.diameterInput / 1000, "diameter");
    r.pipeLength = r.lengthInput;
    r.temperature = r.temperatureInput;
    r.piValue = checked(method::piNumerator / method::piDenominator, "pi");
    r.flowRate = checked(r.flowRateInput / 60000, "flow rate");
    // Squares go through pow, as the loss formula does below.
    r.crossSection = checked(checked(std::pow(r.diameter, 2), "diameter squared") *
                                 checked(r.piValue / 4, "pi / 4"),
                             "cross-section");
    r.velocity = checked(r.flowRate / r.crossSection, "velocity");

    if (!medium) {
        messages.showMessage("Bitte Medium wählen!", WarningStyle, warningTitle);
        return CalculationOutcome::Warning;
    }
    r.density = densityOf(*medium);

    if (!material) {
        messages.showMessage("Bitte Rohrmaterial wählen!", WarningStyle, warningTitle);
        return CalculationOutcome::Warning;
    }
    r.roughness = roughnessOf(*material);

    setViscosity(r, *medium, messages);

    r.reynolds =
        checked(checked(r.velocity * r.diameter, "velocity * diameter") / r.viscosity, "reynolds");

    findFrictionFactor(r);

    const double velocitySquared = checked(std::pow(r.velocity, 2), "velocity squared");
    const double lambdaDensity = checked(r.lambda * r.density, "lambda * density");
    const double twiceDiameter = checked(2 * r.diameter, "2 * diameter");
    r.lossPerMetre =
        checked(checked(velocitySquared * lambdaDensity, "loss numerator") / twiceDiameter,
                "loss per metre");
    r.lossTotal = checked(r.lossPerMetre * r.pipeLength, "total loss");
    return CalculationOutcome::Completed;
}

bool tookNearestCandidate(const CalculationRecord& record) {
    // Every pass accepts below its threshold and the last pass has the widest one; the nearest
    // candidate is taken only when even that one refused all.
    return !(record.balanceAbs < std::end(detail::acceptanceThresholds)[-1]);
}

} // namespace kolmaris
