#pragma once

#include "calc/calculation.h"
#include "calc/candidates.h"
#include "calc/checked.h"

#include <cmath>

namespace kolmaris::detail {

using method::acceptanceThresholds;

// One candidate's side of the Colebrook balance. `completed` counts the record fields that
// were computed before an operation broke down (4 when all of them were). No member
// initialisers: the search keeps an array of these, and zeroing it up front costs a noticeable
// part of a search that ends after a few dozen candidates.
struct CandidateBalance {
    double invSqrtLambda;
    double colebrookRhs;
    double balanceDiff;
    double balanceAbs;
    int completed;
};

// The inputs of the search as the record holds them.
struct SearchInputs {
    double roughness;
    double diameter;
    double reynolds;
};

inline bool finite(double x) {
    return std::isfinite(x);
}

// Evaluates one candidate without throwing, so that probing can ask "would this fail?".
inline CandidateBalance evaluateBalance(const SearchInputs& in, double trial) {
    CandidateBalance b{};
    const double root = std::sqrt(trial);
    const double inv = 1 / root;
    if (!finite(root) || !finite(inv)) {
        return b;
    }
    b.invSqrtLambda = inv;
    b.completed = 1;

    const double scaledDiameter = in.diameter * method::roughnessDivisor;
    if (!finite(scaledDiameter)) {
        return b;
    }
    const double roughnessTerm = in.roughness / scaledDiameter;
    const double rootReynolds = root * in.reynolds;
    if (!finite(roughnessTerm) || !finite(rootReynolds)) {
        return b;
    }
    const double reynoldsTerm = method::reynoldsNumerator / rootReynolds;
    const double argument = roughnessTerm + reynoldsTerm;
    // The logarithm is defined for positive arguments only.
    if (!finite(reynoldsTerm) || !finite(argument) || !(argument > 0)) {
        return b;
    }
    const double rhs = std::log(argument) * (-2) / method::logDivisor;
    if (!finite(rhs)) {
        return b;
    }
    b.colebrookRhs = rhs;
    b.completed = 2;

    const double diff = b.invSqrtLambda - b.colebrookRhs;
    if (!finite(diff)) {
        return b;
    }
    b.balanceDiff = diff;
    b.completed = 3;

    const double square = std::pow(diff, 2);
    if (!finite(square)) {
        return b;
    }
    b.balanceAbs = std::sqrt(square);
    b.completed = 4;
    return b;
}

inline bool evaluates(const CandidateBalance& b) {
    return b.completed == 4;
}

// Puts candidate c into the record as a pass leaves it after evaluating it: the candidate, its
// increment and every balance field that could be computed. Throws where the pass would stop.
// b is the candidate's balance for the record's inputs.
inline void recordCandidate(CalculationRecord& r, CandidatePoint c, const CandidateBalance& b) {
    r.lambdaStep = c.step;
    r.lambdaTrial = c.trial;
    if (b.completed >= 1) {
        r.invSqrtLambda = b.invSqrtLambda;
    }
    if (b.completed >= 2) {
        r.colebrookRhs = b.colebrookRhs;
    }
    if (b.completed >= 3) {
        r.balanceDiff = b.balanceDiff;
    }
    if (b.completed >= 4) {
        r.balanceAbs = b.balanceAbs;
        return;
    }
    throw ArithmeticFailure("friction-factor candidate cannot be evaluated");
}

inline void recordCandidate(CalculationRecord& r, CandidatePoint c) {
    recordCandidate(r, c, evaluateBalance({r.roughness, r.diameter, r.reynolds}, c.trial));
}

// Ends a search that no pass accepted. Of the two neighbours between which the balance changes
// sign, the one nearer the balance point (the earlier on a tie) becomes lambda.
inline void acceptNearest(CalculationRecord& r, CandidatePoint before, double beforeAbs,
                          CandidatePoint after, double afterAbs) {
    const CandidatePoint chosen = afterAbs < beforeAbs ? after : before;
    recordCandidate(r, chosen);
    r.lambda = r.lambdaTrial;
}

[[noreturn]] inline void failNoSignChange() {
    throw ArithmeticFailure("the Colebrook balance never changes sign: no friction factor");
}

} // namespace kolmaris::detail
