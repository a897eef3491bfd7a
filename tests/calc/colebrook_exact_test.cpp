#include "calc/colebrook_exact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolmaris {
namespace {

// The root by plain bisection on 1/√λ in extended precision: slow, but with nothing to go
// wrong. Returns λ.
long double bisectedColebrook(long double relativeRoughness, long double reynolds) {
    auto balance = [&](long double x) {
        return x + 2 * std::log10(relativeRoughness / 3.7L + 2.51L * x / reynolds);
    };
    long double lo = 1e-3L, hi = 1e3L;
    for (int i = 0; i < 200; ++i) {
        const long double mid = (lo + hi) / 2;
        (balance(mid) < 0 ? lo : hi) = mid;
    }
    const long double x = (lo + hi) / 2;
    return 1 / (x * x);
}

TEST(ColebrookExact, MatchesKnownRoots) {
    struct Case {
        const char* what;
        double relativeRoughness, reynolds, lambda, tolerance;
    };
    const Case cases[] = {
        // Water at 20 °C through the pipes the stepwise search is compared on; roots found
        // independently by fixed-point iteration.
        {"50 mm black iron", 0.000045 / 0.05, 42004.2004, 0.02436276, 5e-9},
        {"100 mm stainless", 0.0000015 / 0.1, 210021.0021, 0.01561465, 5e-9},
        {"1000 mm stainless", 0.0000015 / 1, 21002100.21, 0.00756235, 5e-9},
        {"10 mm plastic, laminar", 0.000007 / 0.01, 1050.105, 0.06193735, 5e-9},
        // Fully rough: the Reynolds term vanishes and 1/√λ = 2·log10(3.7/ε) exactly.
        {"fully rough", 0.01, 1e300, std::pow(2 * std::log10(370.0), -2), 1e-16},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(colebrookExact(c.relativeRoughness, c.reynolds), c.lambda, c.tolerance)
            << c.what;
    }
}

TEST(ColebrookExact, AgreesWithBisectionAcrossTheChart) {
    const double roughnesses[] = {0, 1e-6, 1e-5, 1e-4, 3e-4, 1e-3, 3e-3, 1e-2, 0.05};
    for (double relativeRoughness : roughnesses) {
        // 2300 to 1e8 in 40 logarithmic steps.
        for (int i = 0; i <= 40; ++i) {
            const double reynolds = 2300 * std::pow(1e8 / 2300, i / 40.0);
            const double expected =
                static_cast<double>(bisectedColebrook(relativeRoughness, reynolds));
            EXPECT_NEAR(colebrookExact(relativeRoughness, reynolds), expected, 1e-12 * expected)
                << "eps=" << relativeRoughness << " Re=" << reynolds;
        }
    }
}

TEST(ColebrookExact, RefusesArgumentsWithoutARoot) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double relativeRoughness, reynolds;
    };
    const Case cases[] = {
        {0.001, 0},   {0.001, -5000}, {0.001, nan}, {0.001, inf}, {0.001, 5e-324},
        {-1e-9, 1e5}, {nan, 1e5},     {inf, 1e5},   {3.7, 1e5},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(colebrookExact(c.relativeRoughness, c.reynolds), ColebrookArgumentError)
            << "eps=" << c.relativeRoughness << " Re=" << c.reynolds;
    }
}

} // namespace
} // namespace kolmaris
