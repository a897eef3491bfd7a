#pragma once

// The sequence of friction-factor candidates. It depends on no input: every pass of every
// search walks the same values, so they can be tabulated once and reached without walking.

#include "calc/method_constants.h"

namespace kolmaris::detail {

using method::startStep;
using method::stepGrowth;
using method::stepLimit;

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
