#pragma once

#include "calc/calculation.h"
#include "calc/colebrook_exact.h"

#include <optional>

namespace kolmaris {

// The check calculation beside a result: what the physics gives for the same inputs, and how
// far the method's numbers lie from it. It never replaces a result.

// A check value with its deviation from the number the table shows, in per cent:
// (value / shown − 1) · 100, so a check 178.4 beside a shown 172.8 is +3.2.
struct CheckedValue {
    double value = 0;
    double deviation = 0; // %
};

// One check with one set of properties, the true π in the velocity and the exact λ. The signs
// follow the method's formulas (a negative flow gives a negative velocity and Re); λ and the
// flow regime go by the size of Re.
struct PropertyCheck {
    CheckedValue density;   // kg/m³
    CheckedValue viscosity; // m²/s, kinematic
    CheckedValue velocity;  // m/s
    CheckedValue reynolds;
    FrictionLaw law = FrictionLaw::Colebrook;
    CheckedValue lambda;
    CheckedValue lossPerMetre; // Pa/m
};

// What the check could not do, and why.
enum class CheckGap {
    None,              // everything the medium allows was checked
    OutsideIapwsRange, // water outside iapwsWaterFrom–iapwsWaterTo: no IAPWS properties
    NoFlow,            // Re zero or not finite: nothing to check
    NoColebrookRoot,   // the Colebrook equation has no root for this roughness
    OutOfRange,        // a check value or its deviation is not a finite number
};

struct ResultCheck {
    // The program's density and viscosity; only velocity, Re, λ and the loss differ.
    std::optional<PropertyCheck> programProperties;
    // Water within the IAPWS range: its density and viscosity after IAPWS.
    std::optional<PropertyCheck> iapws;
    // The first reason why one of the two is missing; None for the other media, which have
    // only the program's properties.
    CheckGap gap = CheckGap::None;
};

// The check of a completed calculation of `medium`. Never throws: what cannot be checked is
// missing, with the reason in `gap`.
ResultCheck checkResult(const CalculationRecord& record, Medium medium);

} // namespace kolmaris
