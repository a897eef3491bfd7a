#include "calc/result_check.h"

#include "calc/colebrook_exact.h"
#include "calc/media.h"
#include "calc/water_properties.h"

#include <cmath>
#include <variant>

namespace kolmaris {

namespace {

constexpr double truePi = 3.14159265358979323846;

CheckedValue against(double value, double shown) {
    return {value, (value / shown - 1) * 100};
}

bool finite(const CheckedValue& c) {
    return std::isfinite(c.value) && std::isfinite(c.deviation);
}

// The check with density and viscosity given, or why there is none.
std::variant<PropertyCheck, CheckGap> checkWith(const CalculationRecord& r, double density,
                                                double viscosity) {
    const double d = r.diameter;
    const double velocity = r.flowRate / (d * d * (truePi / 4));
    const double reynolds = velocity * d / viscosity;
    const double size = std::fabs(reynolds);
    if (!std::isfinite(size) || !(size > 0)) {
        return CheckGap::NoFlow;
    }

    PropertyCheck c;
    c.density = against(density, r.density);
    c.viscosity = against(viscosity, r.viscosity);
    c.velocity = against(velocity, r.velocity);
    c.reynolds = against(reynolds, r.reynolds);
    ExactFriction exact{};
    try {
        exact = exactFrictionFactor(r.roughness / std::fabs(d), reynolds);
    } catch (const ColebrookArgumentError&) {
        return CheckGap::NoColebrookRoot;
    }
    c.law = exact.law;
    const double lambda = exact.lambda;
    c.lambda = against(lambda, r.lambda);
    c.lossPerMetre = against(velocity * velocity * (lambda * density) / (2 * d), r.lossPerMetre);

    for (const CheckedValue* v :
         {&c.density, &c.viscosity, &c.velocity, &c.reynolds, &c.lambda, &c.lossPerMetre}) {
        if (!finite(*v)) {
            return CheckGap::OutOfRange;
        }
    }
    return c;
}

} // namespace

ResultCheck checkResult(const CalculationRecord& record, Medium medium) {
    ResultCheck result;
    auto take = [&result](std::optional<PropertyCheck>& slot,
                          std::variant<PropertyCheck, CheckGap> outcome) {
        if (auto* check = std::get_if<PropertyCheck>(&outcome)) {
            slot = *check;
        } else if (result.gap == CheckGap::None) {
            result.gap = std::get<CheckGap>(outcome);
        }
    };
    take(result.programProperties, checkWith(record, record.density, record.viscosity));
    if (medium == Medium::Water) {
        if (withinIapwsWaterRange(record.temperature)) {
            take(result.iapws, checkWith(record, waterDensityIapws(record.temperature),
                                         waterKinematicViscosityIapws(record.temperature)));
        } else if (result.gap == CheckGap::None) {
            result.gap = CheckGap::OutsideIapwsRange;
        }
    }
    return result;
}

} // namespace kolmaris
