#include "calc/water_properties.h"

#include <array>
#include <cmath>

namespace kolmaris {

namespace {

constexpr double pressure = 0.101325e6; // Pa
constexpr double kelvinOffset = 273.15;

// IAPWS R7-97(2012), region 1: the dimensionless Gibbs free energy
//   γ(π, τ) = Σ nᵢ (7.1 − π)^Iᵢ (τ − 1.222)^Jᵢ,   π = p / 16.53 MPa,   τ = 1386 K / T.
struct GibbsTerm {
    int i;
    int j;
    double n;
};

// Table 2 of the release, in its order.
constexpr GibbsTerm region1[] = {
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},      {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},     {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},     {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},   {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},  {32, -41, -0.93537087292458e-25},
};
constexpr double region1Pressure = 16.53e6;     // Pa
constexpr double region1Temperature = 1386;     // K
constexpr double specificGasConstant = 461.526; // J/(kg·K), as the release gives it

// IAPWS R12-08: μ = μ* · μ₀(T̄) · μ₁(T̄, ρ̄), T̄ = T / 647.096 K, ρ̄ = ρ / 322 kg/m³.
constexpr double criticalTemperature = 647.096; // K
constexpr double criticalDensity = 322.0;       // kg/m³
constexpr double referenceViscosity = 1.0e-6;   // Pa·s

// Table 1: the coefficients Hᵢ of μ₀ = 100 √T̄ / Σ Hᵢ / T̄^i.
constexpr double idealGas[] = {1.67752, 2.20462, 0.6366564, -0.241605};

// Table 2: the coefficients Hᵢⱼ of μ₁ = exp(ρ̄ Σᵢ (1/T̄ − 1)^i Σⱼ Hᵢⱼ (ρ̄ − 1)^j), row i from 0
// to 5, column j from 0 to 6; the release lists only the non-zero ones.
constexpr double residual[6][7] = {
    {5.20094e-1, 2.22531e-1, -2.81378e-1, 1.61913e-1, -3.25372e-2, 0, 0},
    {8.50895e-2, 9.99115e-1, -9.06851e-1, 2.57399e-1, 0, 0, 0},
    {-1.08374, 1.88797, -7.72479e-1, 0, 0, 0, 0},
    {-2.89555e-1, 1.26613, -4.89837e-1, 0, 6.98452e-2, 0, -4.35673e-3},
    {0, 0, -2.57040e-1, 0, 0, 8.72102e-3, 0},
    {0, 1.20573e-1, 0, 0, 0, 0, -5.93264e-4},
};

void requireLiquidRange(double celsius) {
    if (!withinIapwsWaterRange(celsius)) {
        throw WaterPropertyRangeError(
            "Die Stoffwerte des Wassers nach IAPWS gibt es hier nur für flüssiges Wasser bei "
            "1,01325 bar, von 0,01 bis 99,6 °C.");
    }
}

// x^0 to x^(N-1) by repeated multiplication: a few units in the last place at these
// exponents, and far quicker than pow.
template <int N> std::array<double, N> powersOf(double x) {
    std::array<double, N> p{};
    p[0] = 1;
    for (int k = 1; k < N; ++k) {
        p[k] = p[k - 1] * x;
    }
    return p;
}

// IF97 region 1 at our pressure, T in K.
double densityAt(double kelvin) {
    const double pi = pressure / region1Pressure;
    const double tau = region1Temperature / kelvin;
    const auto pressurePowers = powersOf<32>(7.1 - pi);         // (7.1 − π)^(I − 1), I ≥ 1
    const auto risingPowers = powersOf<18>(tau - 1.222);        // (τ − 1.222)^J, J ≥ 0
    const auto fallingPowers = powersOf<42>(1 / (tau - 1.222)); // (τ − 1.222)^J, J < 0
    // v = R T / p · π · ∂γ/∂π
    double gammaPi = 0;
    for (const GibbsTerm& t : region1) {
        if (t.i != 0) {
            const double tauPower = t.j >= 0 ? risingPowers[t.j] : fallingPowers[-t.j];
            gammaPi -= t.n * t.i * pressurePowers[t.i - 1] * tauPower;
        }
    }
    return pressure / (specificGasConstant * kelvin * pi * gammaPi);
}

// R12-08 without the critical enhancement, in Pa·s.
double dynamicViscosityAt(double kelvin, double density) {
    const double t = kelvin / criticalTemperature;
    const double rho = density / criticalDensity;
    const auto inverseT = powersOf<4>(1 / t);
    double idealSum = 0;
    for (int i = 0; i < 4; ++i) {
        idealSum += idealGas[i] * inverseT[i];
    }
    const double mu0 = 100 * std::sqrt(t) / idealSum;
    const auto densityPowers = powersOf<7>(rho - 1);
    const auto temperaturePowers = powersOf<6>(1 / t - 1);
    double residualSum = 0;
    for (int i = 0; i < 6; ++i) {
        double inner = 0;
        for (int j = 0; j < 7; ++j) {
            inner += residual[i][j] * densityPowers[j];
        }
        residualSum += temperaturePowers[i] * inner;
    }
    const double mu1 = std::exp(rho * residualSum);
    return referenceViscosity * mu0 * mu1;
}

} // namespace

bool withinIapwsWaterRange(double celsius) {
    return celsius >= iapwsWaterFrom && celsius <= iapwsWaterTo;
}

double waterDensityIapws(double celsius) {
    requireLiquidRange(celsius);
    return densityAt(celsius + kelvinOffset);
}

double waterKinematicViscosityIapws(double celsius) {
    requireLiquidRange(celsius);
    const double kelvin = celsius + kelvinOffset;
    const double density = densityAt(kelvin);
    return dynamicViscosityAt(kelvin, density) / density;
}

} // namespace kolmaris
