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

} // namespace kolmaris
