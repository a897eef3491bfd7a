#include "calc/calculation.h"
#include "record_fields.h"
#include "recording_sink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolmaris {
namespace {

using test_support::RecordedMessage;
using test_support::RecordingSink;
using test_support::sameRecord;

CalculationRecord inputs(double diameterMm, double flowDm3PerMin, double lengthM,
                         double temperatureC) {
    CalculationRecord r;
    r.diameterInput = diameterMm;
    r.flowRateInput = flowDm3PerMin;
    r.lengthInput = lengthM;
    r.temperatureInput = temperatureC;
    return r;
}

TEST(Calculate, WaterThroughFiftyMillimetreBlackIron) {
    CalculationRecord r = inputs(50, 100, 10, 20);
    RecordingSink sink;
    ASSERT_EQ(calculate(r, Medium::Water, Material::BlackIron, sink),
              CalculationOutcome::Completed);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(r.diameter, 0.05);
    EXPECT_EQ(r.pipeLength, 10);
    EXPECT_EQ(r.temperature, 20);
    EXPECT_EQ(r.piValue, 22.0 / 7.0);
    EXPECT_NEAR(r.flowRate, 0.0016667, 1e-7);
    EXPECT_NEAR(r.crossSection, 0.0019643, 1e-7);
    EXPECT_NEAR(r.velocity, 0.84848, 1e-5);
    EXPECT_EQ(r.density, 1000);
    EXPECT_EQ(r.roughness, 0.000045);
    EXPECT_EQ(r.viscosity, 0.00000101);
    EXPECT_NEAR(r.reynolds, 42004.2, 0.1);
    EXPECT_NEAR(r.lambda, 0.02400276, 1e-12);
    EXPECT_NEAR(r.balanceAbs, 0.050, 0.001);
    EXPECT_NEAR(r.lossPerMetre, 172.80, 0.01);
    EXPECT_NEAR(r.lossTotal, 1728.0, 0.1);

    // A second run with the same inputs gives the same record, bit for bit.
    CalculationRecord again = r;
    ASSERT_EQ(calculate(again, Medium::Water, Material::BlackIron, sink),
              CalculationOutcome::Completed);
    EXPECT_TRUE(sameRecord(again, r));
}

TEST(Calculate, MissingSelectionsWarnInOrderAndStop) {
    const RecordedMessage medium{"Bitte Medium wählen!", WarningStyle, "Fehler\r\n"};
    const RecordedMessage material{"Bitte Rohrmaterial wählen!", WarningStyle, "Fehler\r\n"};

    // Neither chosen: only the medium is asked for, the material is never examined.
    CalculationRecord r = inputs(50, 100, 10, 20);
    r.density = 7;
    r.roughness = 7;
    RecordingSink sink;
    EXPECT_EQ(calculate(r, std::nullopt, std::nullopt, sink), CalculationOutcome::Warning);
    EXPECT_EQ(sink.messages, std::vector<RecordedMessage>{medium});
    EXPECT_EQ(r.density, 7);
    EXPECT_NEAR(r.velocity, 0.84848, 1e-5) << "the steps before the medium have run";

    // A medium but no material: the density is already the medium's.
    sink.messages.clear();
    EXPECT_EQ(calculate(r, Medium::FuelOil, std::nullopt, sink), CalculationOutcome::Warning);
    EXPECT_EQ(sink.messages, std::vector<RecordedMessage>{material});
    EXPECT_EQ(r.density, 860);
    EXPECT_EQ(r.roughness, 7);

    // A zero diameter fails at the velocity before any selection is looked at.
    r = inputs(0, 100, 10, 20);
    sink.messages.clear();
    EXPECT_THROW(calculate(r, std::nullopt, std::nullopt, sink), ArithmeticFailure);
    EXPECT_TRUE(sink.messages.empty());
}

// Each failing run starts from the record of a good one, so we can see which fields it reached.
struct FailingRun {
    const char* name;
    double diameterMm, flowDm3PerMin, lengthM;
    double CalculationRecord::*firstUnchanged; // the failing field and all after it stay
    double CalculationRecord::*lastChanged;
};

class FailingRuns : public ::testing::TestWithParam<FailingRun> {};

TEST_P(FailingRuns, KeepWhatWasWrittenAndLeaveTheRest) {
    const FailingRun& c = GetParam();
    RecordingSink sink;
    CalculationRecord good = inputs(50, 100, 10, 20);
    ASSERT_EQ(calculate(good, Medium::Water, Material::BlackIron, sink),
              CalculationOutcome::Completed);

    CalculationRecord r = good;
    r.diameterInput = c.diameterMm;
    r.flowRateInput = c.flowDm3PerMin;
    r.lengthInput = c.lengthM;
    EXPECT_THROW(calculate(r, Medium::Water, Material::BlackIron, sink), ArithmeticFailure);
    EXPECT_EQ(r.*c.firstUnchanged, good.*c.firstUnchanged);
    EXPECT_NE(r.*c.lastChanged, good.*c.lastChanged);
    EXPECT_TRUE(std::isfinite(r.*c.lastChanged));
    EXPECT_EQ(r.lossTotal, good.lossTotal);
}

INSTANTIATE_TEST_SUITE_P(
    EachKindOfStep, FailingRuns,
    ::testing::Values(
        // Zero cross-section: division by zero.
        FailingRun{"ZeroDiameter", 0, 100, 10, &CalculationRecord::velocity,
                   &CalculationRecord::crossSection},
        // The square of the diameter overflows.
        FailingRun{"HugeDiameter", 1e308, 100, 10, &CalculationRecord::crossSection,
                   &CalculationRecord::diameter},
        // Velocity times diameter over the viscosity leaves the double range.
        FailingRun{"HugeReynolds", 1000, 1e308, 10, &CalculationRecord::reynolds,
                   &CalculationRecord::velocity},
        // Zero flow: the search divides by a zero Reynolds number.
        FailingRun{"ZeroFlow", 50, 0, 10, &CalculationRecord::lambda,
                   &CalculationRecord::lambdaTrial},
        // Negative diameter: logarithm of a negative number.
        FailingRun{"NegativeDiameter", -50, 100, 10, &CalculationRecord::lambda,
                   &CalculationRecord::diameter},
        // The loss per metre overflows.
        FailingRun{"HugeVelocity", 1000, 4.7e158, 10, &CalculationRecord::lossPerMetre,
                   &CalculationRecord::lambda},
        // The total loss overflows: the loss per metre is already this run's.
        FailingRun{"HugeLength", 50, 200, 1e307, &CalculationRecord::lossTotal,
                   &CalculationRecord::lossPerMetre}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Calculate, AnyDoublesEitherCompleteFiniteOrFail) {
    const double specials[] = {0,
                               -0.0,
                               1,
                               -1,
                               50,
                               1e-310,
                               std::numeric_limits<double>::max(),
                               -std::numeric_limits<double>::max(),
                               HUGE_VAL,
                               -HUGE_VAL,
                               std::nan("")};
    RecordingSink sink;
    int completed = 0;
    for (double d : specials) {
        for (double q : specials) {
            for (double l : {10.0, -10.0, HUGE_VAL, std::nan("")}) {
                for (double t : {20.0, -300.0, HUGE_VAL, std::nan("")}) {
                    CalculationRecord r = inputs(d, q, l, t);
                    try {
                        calculate(r, Medium::CompressedAir, Material::Plastic, sink);
                    } catch (const ArithmeticFailure&) {
                        continue;
                    }
                    ++completed;
                    for (double v :
                         {r.velocity, r.lossPerMetre, r.lossTotal, r.reynolds, r.lambda}) {
                        ASSERT_TRUE(std::isfinite(v)) << d << " " << q << " " << l << " " << t;
                    }
                }
            }
        }
    }
    EXPECT_GT(completed, 0);
}

TEST(Calculate, NegativeLengthGivesANegativeLoss) {
    CalculationRecord r = inputs(50, 100, -10, 20);
    RecordingSink sink;
    ASSERT_EQ(calculate(r, Medium::Water, Material::BlackIron, sink),
              CalculationOutcome::Completed);
    EXPECT_NEAR(r.lossTotal, -1728.0, 0.1);
}

TEST(Calculate, CopperAndStainlessSteelAgree) {
    RecordingSink sink;
    CalculationRecord copper = inputs(22, 30, 5, 60);
    CalculationRecord steel = copper;
    calculate(copper, Medium::Water, Material::Copper, sink);
    calculate(steel, Medium::Water, Material::StainlessSteel, sink);
    EXPECT_TRUE(sameRecord(copper, steel));
}

TEST(Calculate, ConstantViscositiesNeverWarnAboutTheTemperature) {
    RecordingSink sink;
    for (double t : {-40.0, 0.0, 20.0, 150.0}) {
        CalculationRecord oil = inputs(50, 100, 10, t);
        calculate(oil, Medium::FuelOil, Material::Plastic, sink);
        EXPECT_EQ(oil.viscosity, 0.000006);
        CalculationRecord gas = inputs(50, 100, 10, t);
        calculate(gas, Medium::NaturalGas, Material::Plastic, sink);
        EXPECT_EQ(gas.viscosity, 0.0000128);
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST(Calculate, HotWaterWarnsOnceAndUsesTheHottestBand) {
    // Fuel oil leaves a viscosity behind that the hot-water run must not pick up.
    RecordingSink sink;
    CalculationRecord r = inputs(50, 100, 10, 20);
    calculate(r, Medium::FuelOil, Material::BlackIron, sink);
    r.temperatureInput = 150;
    ASSERT_EQ(calculate(r, Medium::Water, Material::BlackIron, sink),
              CalculationOutcome::Completed);
    EXPECT_EQ(sink.prompts(), std::vector<std::string>{"Temperaturangabe nicht möglich!"});
    EXPECT_EQ(sink.messages[0].title, "Fehler\r\n");
    EXPECT_EQ(sink.messages[0].style, 48);
    EXPECT_EQ(r.viscosity, 0.00000033);
}

} // namespace
} // namespace kolmaris
