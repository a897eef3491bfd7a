#pragma once

// The sequence of friction-factor candidates. It depends on no input: every pass of every
// search walks the same values, so they can be tabulated once and reached without walking.

namespace kolmaris::detail {

inline constexpr double startStep = 0.001;
inline constexpr double stepGrowth = 0.00000001;
inline constexpr double stepLimit = 0.1;

// Candidate k together with the increment that produced it.
struct CandidatePoint {
    double trial;
    double step;
};

inline CandidatePoint firstCandidate() {
    return {startStep + 0.0, startStep};
}

// The pass's own arithmetic: the increment grows, then is added to the candidate. Kept in one
// place so that the reference sweep, the table generator and the fast search agree bit for bit.
inline CandidatePoint nextCandidate(CandidatePoint c) {
    const double step = c.step + stepGrowth;
    return {step + c.trial, step};
}

// A pass evaluates candidate k+1 only while the grown increment stays within the limit.
inline bool passContinues(double grownStep) {
    return grownStep <= stepLimit;
}

} // namespace kolmaris::detail
