#pragma once

#include "calc/errors.h"

namespace kolmaris {

// Arguments for which the Colebrook equation has no root worth reporting.
class ColebrookArgumentError : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// The Darcy friction factor that solves the Colebrook equation with its textbook constants,
//
//   1/√λ = −2 · log10( ε / 3.7 + 2.51 / (Re · √λ) ),
//
// to a few units in the last place; ε is the relative roughness k/d. It is the yardstick the
// stepwise search is measured against and never feeds the results table.
//
// Throws ColebrookArgumentError when Re is not finite or not positive, when ε is negative or
// not finite, when ε ≥ 3.7 (the logarithm then never lets the balance change sign), or when
// Re is so small that λ overflows.
double colebrookExact(double relativeRoughness, double reynolds);

// How the exact friction factor of a flow is found.
enum class FrictionLaw {
    Colebrook, // |Re| at or above the laminar limit: the root of Colebrook, textbook constants
    Laminar,   // below it: 64/|Re|
};

struct ExactFriction {
    FrictionLaw law;
    double lambda;
};

// The friction factor the physics gives for a flow of this Reynolds number (its size; a
// negative flow only runs the other way) and relative roughness: 64/|Re| where the flow is
// laminar, else colebrookExact. The yardstick of the check calculation and the Moody chart.
// Throws ColebrookArgumentError as colebrookExact does, and for |Re| zero or not finite.
ExactFriction exactFrictionFactor(double relativeRoughness, double reynolds);

} // namespace kolmaris
