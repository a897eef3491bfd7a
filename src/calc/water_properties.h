#pragma once

#include "calc/errors.h"

namespace kolmaris {

// Liquid water at 0.101325 MPa after the IAPWS formulations. They serve the check calculation
// beside the results and never feed the results table, which keeps the program's own values.

// A temperature at which the formulations below give no liquid water at 1 atm.
class WaterPropertyRangeError : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// The range, in °C, of liquid water at 1 atm that the functions below accept: from the triple
// point to a little below boiling. Both bounds included.
inline constexpr double iapwsWaterFrom = 0.01;
inline constexpr double iapwsWaterTo = 99.6;

// Whether `celsius` lies within that range (false for NaN).
bool withinIapwsWaterRange(double celsius);

// Density in kg/m³ from IAPWS-IF97 region 1 (IAPWS R7-97(2012)). Throws
// WaterPropertyRangeError outside the range above and for NaN.
double waterDensityIapws(double celsius);

// Kinematic viscosity in m²/s: the dynamic viscosity of the IAPWS 2008 formulation (IAPWS
// R12-08) at the density above, divided by that density. The critical enhancement is left out:
// the release takes it as 1 everywhere but close to the critical point. Throws
// WaterPropertyRangeError outside the range above and for NaN.
double waterKinematicViscosityIapws(double celsius);

} // namespace kolmaris
