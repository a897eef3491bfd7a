#include "calc/calculation.h"
#include "calc/candidates.h"
#include "calc/friction_eval.h"
#include "calc/friction_reference.h"
#include "record_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <random>

namespace kolmaris {
namespace detail {
namespace {
#include "calc/candidate_table.inc"
} // namespace
} // namespace detail

namespace {

using test_support::sameRecord;

// The k-th candidate of a pass, by its closed form; close to, not bit-equal with, the sweep.
double approximateCandidate(long k) {
    return 0.001 * k + 0.00000001 * k * (k - 1) / 2.0;
}

CalculationRecord searchInputs(double diameter, double roughness, double reynolds) {
    CalculationRecord r;
    r.diameter = diameter;
    r.roughness = roughness;
    r.reynolds = reynolds;
    // Values a previous run might have left, so that fields the search should not touch show.
    r.lambda = -1;
    r.balanceDiff = 123;
    return r;
}

// Runs both searches on copies of the record; they must agree on every bit, and on whether
// they fail.
void expectSameAsReference(const CalculationRecord& input) {
    CalculationRecord fast = input;
    CalculationRecord reference = input;
    bool fastFailed = false, referenceFailed = false;
    try {
        findFrictionFactor(fast);
    } catch (const ArithmeticFailure&) {
        fastFailed = true;
    }
    try {
        referenceFrictionFactorSweep(reference);
    } catch (const ArithmeticFailure&) {
        referenceFailed = true;
    }
    SCOPED_TRACE(::testing::Message()
                 << "d=" << input.diameter << " k=" << input.roughness << " Re=" << input.reynolds);
    EXPECT_EQ(fastFailed, referenceFailed);
    EXPECT_TRUE(sameRecord(fast, reference));
}

struct KnownSearch {
    const char* name;
    double diameter, roughness, reynolds;
    double lambda;
    double acceptedBelow; // the threshold of the pass that accepted
};

class KnownSearches : public ::testing::TestWithParam<KnownSearch> {};

TEST_P(KnownSearches, AcceptTheExpectedCandidateLikeTheSweep) {
    const KnownSearch& c = GetParam();
    CalculationRecord r = searchInputs(c.diameter, c.roughness, c.reynolds);
    findFrictionFactor(r);
    EXPECT_NEAR(r.lambda, c.lambda, 1e-9);
    EXPECT_EQ(r.lambda, r.lambdaTrial);
    EXPECT_LT(r.balanceAbs, c.acceptedBelow);
    expectSameAsReference(searchInputs(c.diameter, c.roughness, c.reynolds));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KnownSearches,
    ::testing::Values(
        // Water at 20 °C, 50 mm, 100 dm³/min, black iron: pass 1, candidate 24.
        KnownSearch{"PassOne", 0.05, 0.000045,
                    0.05 * (100.0 / 60000 / (0.0025 * 22 / 7 / 4)) / 0.00000101,
                    approximateCandidate(24), 0.08},
        // Water, 100 mm, 1000 dm³/min, stainless: passes 1 and 2 run out, pass 3 takes 15.
        KnownSearch{"PassThree", 0.1, 0.0000015, 210021, 0.01500105, 0.3},
        // Laminar flow still goes through Colebrook: candidate 60, not 64/Re.
        KnownSearch{"Laminar", 0.01, 0.000007, 1050, approximateCandidate(60), 0.08}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrictionFactorSearch, NoPassAcceptsTakesTheCandidateNearestTheBalancePoint) {
    // Water, 1000 mm, 1,000,000 dm³/min, stainless: candidates 7 and 8 straddle the root with
    // balances of about +0.478 and -0.339, so all three passes run out.
    const CalculationRecord input = searchInputs(1, 0.0000015, 21002100);
    CalculationRecord r = input;
    findFrictionFactor(r);
    EXPECT_NEAR(r.lambda, 0.00800028, 1e-12);
    EXPECT_NEAR(r.balanceAbs, 0.339, 0.01);
    EXPECT_LT(r.balanceDiff, 0);
    expectSameAsReference(input);
}

TEST(FrictionFactorSearch, ABalanceThatNeverChangesSignHasNoFrictionFactor) {
    // A diameter well below 3.72 times the roughness keeps the logarithm positive: the balance
    // stays above zero, and above every threshold, through the whole sweep.
    const CalculationRecord alwaysPositive = searchInputs(0.00001, 0.00015, 50);
    CalculationRecord r = alwaysPositive;
    EXPECT_THROW(findFrictionFactor(r), ArithmeticFailure);
    EXPECT_EQ(r.lambda, -1) << "lambda is not written on failure";
    EXPECT_NEAR(r.lambdaTrial, 499950.05, 0.01) << "the sweep ends on the last candidate";
    EXPECT_GT(r.lambdaStep, 0.1);
    expectSameAsReference(alwaysPositive);

    // Negative from the very first candidate: a vast, smooth pipe at an absurd Reynolds number.
    const CalculationRecord alwaysNegative = searchInputs(1e12, 0.0000015, 1e30);
    r = alwaysNegative;
    EXPECT_THROW(findFrictionFactor(r), ArithmeticFailure);
    expectSameAsReference(alwaysNegative);
}

TEST(FrictionFactorSearch, CandidatesThatCannotBeEvaluatedFailWhereTheSweepFails) {
    struct Case {
        double diameter, roughness, reynolds;
    };
    const Case cases[] = {
        {0.05, 0.000045, 0},                 // zero flow: the Reynolds term divides by zero
        {-0.05, 0.000045, -42004},           // negative diameter: logarithm of a negative
        {0.05, 0.000045, -1000},             // negative flow, small: negative argument
        {0, 0.000045, 1},                    // zero diameter
        {0.05, 0.000045, std::nan("")},      // nothing non-finite gets through
        {0.05, 0.000045, HUGE_VAL},          //
        {0.00001, 0.00015, 1e306},           // overflow only from candidate ~2.4 million on
        {0.00001, 0.00015, 1.5e308},         // overflow from candidate ~1400, before any jump
        {0.00001, 0.00015, -1.5e308},        // the same with the sign of a negative flow
        {0.05, 0.000045, 5e-324},            // the Reynolds term overflows at once
        {2.8746e-07, 0.000007, -5.0586e305}, // negative flow, overflow mid-sweep
    };
    for (const Case& c : cases) {
        CalculationRecord r = searchInputs(c.diameter, c.roughness, c.reynolds);
        EXPECT_THROW(findFrictionFactor(r), ArithmeticFailure) << c.reynolds;
        EXPECT_EQ(r.lambda, -1);
        expectSameAsReference(searchInputs(c.diameter, c.roughness, c.reynolds));
    }
}

TEST(FrictionFactorSearch, EndsWhereTheSweepEndsAroundTheLastEarlyCandidate) {
    // The first 32 candidates are searched apart from the rest. A negative diameter with a
    // positive flow drives the logarithm's argument to zero at a chosen candidate (which the
    // first pass may reach after accepting one, as at 15, failing from 29), and smaller flows
    // put the first pass's answer later.
    struct Case {
        double diameter, reynolds;
        long candidate; // where the first pass accepts, or fails
    };
    const Case cases[] = {
        {-0.05, 233406.43905418436, 2},  {-0.05, 104251.31853633684, 10},
        {-0.05, 59123.924111384636, 31}, {-0.05, 58538.538724143204, 32},
        {-0.05, 57958.949231824954, 33}, {-0.05, 61617.839118668162, 15},
        {0.05, 10610.236971163329, 31},  {0.05, 9252.4440795905266, 32},
        {0.05, 8141.3148691730112, 33},
    };
    for (const Case& c : cases) {
        const CalculationRecord input = searchInputs(c.diameter, 0.000045, c.reynolds);
        CalculationRecord r = input;
        try {
            findFrictionFactor(r);
        } catch (const ArithmeticFailure&) {
        }
        EXPECT_NEAR(r.lambdaTrial, approximateCandidate(c.candidate), 1e-9) << c.reynolds;
        expectSameAsReference(input);
    }
}

TEST(FrictionFactorSearch, CandidateTableMatchesTheWalkedSequence) {
    // Walks one whole pass, as the sweep does, and checks every tabulated point the fast search
    // jumps to, including the end of the pass.
    using namespace detail;
    CalculationRecord r = searchInputs(0.00001, 0.00015, 50);
    EXPECT_THROW(findFrictionFactor(r), ArithmeticFailure); // ends on the last candidate
    CandidatePoint c = firstCandidate();
    long count = 1;
    const auto expectTabulated = [&](CandidatePoint tabulated) {
        EXPECT_EQ(tabulated.trial, c.trial) << count;
        EXPECT_EQ(tabulated.step, c.step) << count;
    };
    for (CandidatePoint next = nextCandidate(c);; next = nextCandidate(c)) {
        if (count <= static_cast<long>(std::size(firstCandidates))) {
            expectTabulated(firstCandidates[count - 1]);
        }
        if ((count - 1) % candidateTableStride == 0) {
            expectTabulated(candidateTable[(count - 1) / candidateTableStride]);
        }
        if (!passContinues(next.step)) {
            break;
        }
        c = next;
        ++count;
    }
    EXPECT_EQ(count, 9900001);
    expectTabulated(lastCandidate);
    EXPECT_EQ(c.trial, r.lambdaTrial);
    EXPECT_EQ(nextCandidate(c).step, r.lambdaStep);
}

// True when the first pass accepts within its first thousand candidates, so the reference sweep
// is cheap for this input. Decided by the plain pass arithmetic, independently of the search
// under test.
bool firstPassAcceptsEarly(const CalculationRecord& r) {
    using namespace detail;
    CandidatePoint c = firstCandidate();
    for (int k = 1; k <= 1000; ++k, c = nextCandidate(c)) {
        const CandidateBalance b = evaluateBalance({r.roughness, r.diameter, r.reynolds}, c.trial);
        if (!evaluates(b) || b.balanceAbs < 0.08) {
            return true;
        }
    }
    return false;
}

TEST(FrictionFactorSearch, AgreesWithTheSweepOnRandomRealisticInputs) {
    const double roughnesses[] = {0.00015, 0.000045, 0.0000015, 0.000007, 0.0000015};
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> logDiameter(std::log(0.001), std::log(2.0));
    std::uniform_real_distribution<double> logReynolds(std::log(100.0), std::log(1e8));
    int compared = 0, runOuts = 0;
    for (int i = 0; i < 4000; ++i) {
        double reynolds = std::exp(logReynolds(random));
        if (i % 10 == 0) {
            reynolds = -reynolds; // a negative flow: the balance is no longer monotone
        }
        const CalculationRecord input =
            searchInputs(std::exp(logDiameter(random)), roughnesses[random() % 5], reynolds);
        // Passes that run out cost the sweep a third of a second each; a handful is enough.
        if (!firstPassAcceptsEarly(input)) {
            if (runOuts == 6) {
                continue;
            }
            ++runOuts;
        }
        expectSameAsReference(input);
        ++compared;
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
    EXPECT_GT(compared, 2500);
    EXPECT_EQ(runOuts, 6);
}

TEST(FrictionFactorSearch, AgreesWithTheSweepOnLaminarFlows) {
    // Slow flows of oil or water in wide pipes: the friction factor lies beyond the early
    // candidates, anywhere within the first blocks of the table, where the search walks a block
    // only part of the way and gallops towards the answer.
    const double roughnesses[] = {0.00015, 0.000045, 0.0000015, 0.000007};
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> logDiameter(std::log(0.005), std::log(1.0));
    std::uniform_real_distribution<double> logReynolds(std::log(0.05), std::log(2320.0));
    for (int i = 0; i < 300 && !::testing::Test::HasFailure(); ++i) {
        expectSameAsReference(searchInputs(std::exp(logDiameter(random)), roughnesses[random() % 4],
                                           std::exp(logReynolds(random))));
    }
    // Negative flows through pipes a few hundredths of a millimetre wide: the search walks part
    // of one block and then part of another, which must not reuse the first one's candidates.
    expectSameAsReference(searchInputs(7.208869574633311e-05, 0.00015, -154.20706532837985));
    expectSameAsReference(searchInputs(1.9355598006947408e-05, 0.000045, -2482.6299323670551));
    expectSameAsReference(searchInputs(8.1574885524863792e-05, 0.00015, -6212.4215352683023));
}

TEST(FrictionFactorSearch, AgreesWithTheSweepWhereTheSweepWalksFar) {
    // A creeping flow through a pipe barely wider than its roughness scale: the balance reaches
    // a threshold, or zero, only near the end of the sweep, or never. These are the inputs for
    // which skipping candidates matters most, and costs the sweep up to a second each.
    const double roughness = 0.00015;
    const auto pipe = [&](double roughnessRatio) { return roughness / (3.72 * roughnessRatio); };
    expectSameAsReference(searchInputs(pipe(0.99), roughness, 0.01)); // pass 3, near the end
    expectSameAsReference(searchInputs(pipe(0.9), roughness, 0.1));   // pass 1, far out
    expectSameAsReference(searchInputs(pipe(1.0), roughness, 0.001)); // never within 0.3
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> ratio(0.5, 2.0);
    std::uniform_real_distribution<double> logReynolds(std::log(1e-3), std::log(10.0));
    for (int i = 0; i < 4; ++i) {
        expectSameAsReference(
            searchInputs(pipe(ratio(random)), roughness, std::exp(logReynolds(random))));
    }
}

} // namespace
} // namespace kolmaris
