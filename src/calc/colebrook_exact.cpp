#include "calc/colebrook_exact.h"

#include "calc/media.h"

#include <cmath>
#include <limits>

namespace kolmaris {

// Solved for x = 1/√λ, where the balance g(x) = x + 2·log10(a + b·x) is increasing and concave
// for every x > 0: Newton's method then closes in on the root from below after its first step.
// A bracket that only ever shrinks guards the rare step that would leave it.
double colebrookExact(double relativeRoughness, double reynolds) {
    if (!std::isfinite(reynolds) || !(reynolds > 0)) {
        throw ColebrookArgumentError("Die Reynolds-Zahl muss endlich und größer als null sein.");
    }
    if (!std::isfinite(relativeRoughness) || relativeRoughness < 0) {
        throw ColebrookArgumentError("Die relative Rauheit muss endlich und nicht negativ sein.");
    }
    const double a = relativeRoughness / 3.7;
    const double b = 2.51 / reynolds;
    if (!(a < 1)) {
        throw ColebrookArgumentError("Für diese Rauheit hat die Colebrook-Gleichung keine Lösung.");
    }
    if (!std::isfinite(b)) {
        throw ColebrookArgumentError("Die Reynolds-Zahl ist zu klein.");
    }

    const double ln10 = std::log(10.0);
    auto balance = [a, b](double x) { return x + 2 * std::log10(a + b * x); };
    auto slope = [a, b, ln10](double x) { return 1 + 2 / ln10 * b / (a + b * x); };

    // g tends to 2·log10(a) < 0 as x goes to zero and grows without bound: the root lies
    // between 0 and the first power of two where g is positive.
    double lo = 0;
    double hi = 1;
    while (!(balance(hi) > 0)) {
        lo = hi;
        hi *= 2;
    }

    double x = hi;
    for (int i = 0; i < 200; ++i) {
        const double g = balance(x);
        if (g == 0) {
            break;
        }
        (g < 0 ? lo : hi) = x;
        const double step = g / slope(x);
        if (std::abs(step) <= 2 * std::numeric_limits<double>::epsilon() * x) {
            x -= step;
            break;
        }
        const double next = x - step;
        x = next > lo && next < hi ? next : lo + (hi - lo) / 2;
    }

    const double lambda = 1 / (x * x);
    if (!std::isfinite(lambda)) {
        throw ColebrookArgumentError("Die Reynolds-Zahl ist zu klein.");
    }
    return lambda;
}

ExactFriction exactFrictionFactor(double relativeRoughness, double reynolds) {
    const double size = std::fabs(reynolds);
    if (size > 0 && size < laminarLimit) {
        return {FrictionLaw::Laminar, 64 / size};
    }
    return {FrictionLaw::Colebrook, colebrookExact(relativeRoughness, size)};
}

} // namespace kolmaris
