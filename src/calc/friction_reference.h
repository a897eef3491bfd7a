#pragma once

#include "calc/calculation.h"

namespace kolmaris {

// The friction-factor search as a plain sweep over every candidate of every pass, written for
// clarity, not speed (a second or so when the passes run out). findFrictionFactor must leave
// the record exactly as this does; tests and benchmarks compare the two.
void referenceFrictionFactorSweep(CalculationRecord& record);

} // namespace kolmaris
