#include "calc/friction_reference.h"

#include "calc/friction_eval.h"

namespace kolmaris {

using namespace detail;

void referenceFrictionFactorSweep(CalculationRecord& r) {
    // Every pass walks the same candidates with the same balances, so the first sign change
    // seen in any pass is the one the nearest-candidate rule needs.
    bool signChangeSeen = false;
    CandidatePoint before{}, after{};
    double beforeAbs = 0, afterAbs = 0;

    for (const double threshold : acceptanceThresholds) {
        CandidatePoint c{0, startStep};
        r.lambdaTrial = 0;
        r.lambdaStep = startStep;
        bool havePrevious = false;
        CandidatePoint previous{};
        double previousDiff = 0, previousAbs = 0;
        for (;;) {
            c.trial = c.step + c.trial;
            recordCandidate(r, c);
            if (r.balanceAbs < threshold) {
                r.lambda = r.lambdaTrial;
                return;
            }
            if (!signChangeSeen && havePrevious && previousDiff > 0 && r.balanceDiff < 0) {
                signChangeSeen = true;
                before = previous;
                beforeAbs = previousAbs;
                after = c;
                afterAbs = r.balanceAbs;
            }
            havePrevious = true;
            previous = c;
            previousDiff = r.balanceDiff;
            previousAbs = r.balanceAbs;

            c.step = c.step + stepGrowth;
            r.lambdaStep = c.step;
            if (!passContinues(c.step)) {
                break;
            }
        }
    }
    if (!signChangeSeen) {
        failNoSignChange();
    }
    acceptNearest(r, before, beforeAbs, after, afterAbs);
}

} // namespace kolmaris
