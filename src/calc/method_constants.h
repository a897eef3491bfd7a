#pragma once

// The constants of the program's own method, written once: the calculation and the friction-
// factor search compute with them, the report prints them.
namespace kolmaris::method {

// The value the program uses in place of π.
inline constexpr double piNumerator = 22;
inline constexpr double piDenominator = 7;

// The Colebrook balance: 1/√λ = ln(k / (d · roughnessDivisor) + reynoldsNumerator / (√λ · Re))
// · (−2) / logDivisor.
inline constexpr double roughnessDivisor = 3.72;
inline constexpr double reynoldsNumerator = 2.51;
inline constexpr double logDivisor = 2.30258509;

// The candidates of every pass: the first step, the growth of the step from one candidate to
// the next, and the step a pass may not exceed.
inline constexpr double startStep = 0.001;
inline constexpr double stepGrowth = 0.00000001;
inline constexpr double stepLimit = 0.1;

// The thresholds of the three passes, in order.
inline constexpr double acceptanceThresholds[] = {0.08, 0.1, 0.3};

} // namespace kolmaris::method
