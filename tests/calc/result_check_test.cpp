#include "calc/result_check.h"

#include "calc/media.h"
#include "calc/water_properties.h"

#include <gtest/gtest.h>

#include <limits>

namespace kolmaris {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

CalculationRecord completed(double diameter, double flowRate, double temperature, Medium medium,
                            Material material) {
    CalculationRecord r;
    r.diameterInput = diameter;
    r.flowRateInput = flowRate;
    r.temperatureInput = temperature;
    SilentSink silent;
    EXPECT_EQ(calculate(r, medium, material, silent), CalculationOutcome::Completed);
    return r;
}

TEST(ResultCheck, AgainstTheExactRootAnd64OverRe) {
    // Losses in Pa/m with the true π and python3-fluids' exact Colebrook root or 64/Re, with
    // the program's properties and with python3-iapws' (0: none).
    struct Case {
        const char* what;
        double diameter, flowRate, temperature; // mm, dm³/min, °C
        Medium medium;
        Material material;
        FrictionLaw law;
        double programLoss, iapwsLoss;
        CheckGap gap;
    };
    const Case cases[] = {
        {"turbulent water", 50, 100, 20, Medium::Water, Material::BlackIron, FrictionLaw::Colebrook,
         175.5243629, 175.0338767, CheckGap::None},
        {"laminar", 10, 0.5, 20, Medium::Water, Material::Plastic, FrictionLaw::Laminar,
         34.29258507, 34.00727262, CheckGap::None},
        {"fuel oil", 25, 30, 20, Medium::FuelOil, Material::StainlessSteel, FrictionLaw::Colebrook,
         700.9527447, 0, CheckGap::None},
        {"water at 100 °C", 25, 30, 100, Medium::Water, Material::StainlessSteel,
         FrictionLaw::Colebrook, 400.0127845, 0, CheckGap::OutsideIapwsRange},
        {"nearest candidate", 1000, 1e6, 20, Medium::Water, Material::StainlessSteel,
         FrictionLaw::Colebrook, 1702.65044, 1698.368832, CheckGap::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CalculationRecord r =
            completed(c.diameter, c.flowRate, c.temperature, c.medium, c.material);
        const ResultCheck check = checkResult(r, c.medium);
        EXPECT_EQ(check.gap, c.gap);
        ASSERT_TRUE(check.programProperties);
        const PropertyCheck& program = *check.programProperties;
        EXPECT_EQ(program.law, c.law);
        EXPECT_NEAR(program.lossPerMetre.value, c.programLoss, 1e-9 * c.programLoss);
        EXPECT_NEAR(program.lossPerMetre.deviation, (c.programLoss / r.lossPerMetre - 1) * 100,
                    1e-6);
        ASSERT_EQ(check.iapws.has_value(), c.iapwsLoss != 0);
        if (check.iapws) {
            EXPECT_EQ(check.iapws->law, c.law);
            EXPECT_NEAR(check.iapws->lossPerMetre.value, c.iapwsLoss, 1e-9 * c.iapwsLoss);
        }
    }
}

TEST(ResultCheck, SaysWhatItCouldNotCheck) {
    const CalculationRecord turbulent = completed(50, 100, 20, Medium::Water, Material::BlackIron);
    struct Case {
        const char* what;
        void (*edit)(CalculationRecord&);
        bool programChecked;
        CheckGap gap;
    };
    const Case cases[] = {
        {"no flow", [](CalculationRecord& r) { r = CalculationRecord{}; }, false, CheckGap::NoFlow},
        {"no root", [](CalculationRecord& r) { r.roughness = 4 * r.diameter; }, false,
         CheckGap::NoColebrookRoot},
        {"overflow",
         [](CalculationRecord& r) { r.diameter = r.flowRate = 1e-120, r.roughness = 0; }, false,
         CheckGap::OutOfRange},
        {"NaN temperature", [](CalculationRecord& r) { r.temperature = nan; }, true,
         CheckGap::OutsideIapwsRange},
    };
    for (const Case& c : cases) {
        CalculationRecord r = turbulent;
        c.edit(r);
        const ResultCheck check = checkResult(r, Medium::Water);
        EXPECT_EQ(check.programProperties.has_value(), c.programChecked) << c.what;
        EXPECT_FALSE(check.iapws) << c.what;
        EXPECT_EQ(check.gap, c.gap) << c.what;
    }
    for (double celsius : {nan, -inf, 0.0, 0.009, 99.61, 100.0, inf}) {
        EXPECT_THROW(waterDensityIapws(celsius), WaterPropertyRangeError) << celsius;
        EXPECT_THROW(waterKinematicViscosityIapws(celsius), WaterPropertyRangeError) << celsius;
    }
}

} // namespace
} // namespace kolmaris
