#pragma once

#include "calc/errors.h"
#include "calc/message_sink.h"

#include <optional>

namespace kolmaris {

// Every number of one pressure-loss calculation. It belongs to the main window, starts zeroed
// and is never reset: each run overwrites the fields it reaches, so after a run that ended
// early the fields not reached still hold the previous run's values.
struct CalculationRecord {
    double diameter = 0;         // m
    double flowRate = 0;         // m³/s
    double pipeLength = 0;       // m
    double temperature = 0;      // °C
    double velocity = 0;         // m/s
    double crossSection = 0;     // m²
    double diameterInput = 0;    // mm, as entered
    double flowRateInput = 0;    // dm³/min, as entered
    double lengthInput = 0;      // m, as entered
    double temperatureInput = 0; // °C, as entered
    double piValue = 0;          // 22/7, used in place of pi
    double density = 0;          // kg/m³
    double roughness = 0;        // m
    double viscosity = 0;        // m²/s, kinematic
    double reynolds = 0;
    double lambdaTrial = 0;   // friction-factor candidate of the search
    double balanceDiff = 0;   // invSqrtLambda - colebrookRhs
    double balanceAbs = 0;    // |balanceDiff|
    double invSqrtLambda = 0; // 1/sqrt(lambdaTrial)
    double colebrookRhs = 0;  // right-hand side of Colebrook for the candidate
    double lambda = 0;        // Darcy friction factor
    double lambdaStep = 0;    // current increment of the search
    double lossPerMetre = 0;  // Pa/m
    double lossTotal = 0;     // Pa
};

// The medium group, in the order the window lists it.
enum class Medium { Water, FuelOil, NaturalGas, CompressedAir };

// The pipe-material group, in the order the window lists it.
enum class Material { GalvanisedIron, BlackIron, StainlessSteel, Plastic, Copper };

enum class CalculationOutcome {
    Completed, // every field down to lossTotal holds this run's value
    Warning,   // "Bitte Medium wählen!" or "Bitte Rohrmaterial wählen!" was shown
};

// Runs one calculation from the four input fields and the two selections (none when nothing is
// selected). Throws ArithmeticFailure when a step breaks down; fields written before that step
// keep their new values.
CalculationOutcome calculate(CalculationRecord& record, std::optional<Medium> medium,
                             std::optional<Material> material, MessageSink& messages);

// Sets lambda and the search fields from roughness, diameter and reynolds by the stepwise
// Colebrook search. Throws ArithmeticFailure when a candidate breaks down, or when the balance
// never changes sign so that no friction factor exists for the inputs.
void findFrictionFactor(CalculationRecord& record);

// After a completed run: whether no pass accepted a candidate, so that lambda is the candidate
// nearest to where the balance changes sign.
bool tookNearestCandidate(const CalculationRecord& record);

} // namespace kolmaris
