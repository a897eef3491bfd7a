#include "sizing/pipe_sizing.h"

#include "recording_sink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace kolmaris {
namespace {

constexpr Material allMaterials[] = {Material::GalvanisedIron, Material::BlackIron,
                                     Material::StainlessSteel, Material::Plastic, Material::Copper};
constexpr Medium allMedia[] = {Medium::Water, Medium::FuelOil, Medium::NaturalGas,
                               Medium::CompressedAir};

SizingRequest request(double flow, Medium medium = Medium::Water,
                      Material material = Material::Copper) {
    const SizingLimits limits = defaultLimits(medium);
    return {flow, 25, 60, medium, material, limits.maxVelocity, limits.maxLossPerMetre};
}

// A typo in a dimension shows as an implausible ratio of outer diameter to wall, or breaks the
// order of the series.
TEST(StandardSeries, DimensionsArePlausibleForTheirStandard) {
    struct Band {
        Material material;
        double lowest, highest; // outer diameter / wall
    };
    const Band bands[] = {
        {Material::GalvanisedIron, 7, 35},  {Material::BlackIron, 7, 35},
        {Material::StainlessSteel, 14, 56}, {Material::Plastic, 11 * 0.9, 11 * 1.1},
        {Material::Copper, 11, 46},
    };
    for (const Band& band : bands) {
        const auto& series = standardSeries(band.material);
        for (std::size_t i = 0; i < series.size(); ++i) {
            const PipeSize& s = series[i];
            SCOPED_TRACE(s.name);
            EXPECT_NEAR(s.innerDiameter, s.outerDiameter - 2 * s.wall, 1e-9);
            EXPECT_GE(s.outerDiameter / s.wall, band.lowest);
            EXPECT_LE(s.outerDiameter / s.wall, band.highest);
            EXPECT_TRUE(i == 0 || s.innerDiameter > series[i - 1].innerDiameter);
        }
    }
    // The decimal the table means, not the last bits of 21,3 − 2 · 2,6.
    EXPECT_EQ(standardSeries(Material::BlackIron)[1].innerDiameter, 16.1);
}

// What the main window writes: calculate and resultOf on its one record, which keeps whatever
// the previous run left in it.
std::optional<ResultValues> windowRow(CalculationRecord& record, double diameter,
                                      const SizingRequest& r) {
    record.diameterInput = diameter;
    record.flowRateInput = r.flowRate;
    record.lengthInput = r.length;
    record.temperatureInput = r.temperature;
    test_support::RecordingSink sink;
    try {
        calculate(record, r.medium, r.material, sink);
    } catch (const ArithmeticFailure&) {
        return std::nullopt;
    }
    return resultOf(record, r.medium, r.material);
}

// Bit for bit: == would take −0 for +0.
bool sameBits(const ResultValues& a, const ResultValues& b) {
    const double x[] = {a.velocity, a.lossPerMetre, a.lossTotal, a.reynolds, a.lambda};
    const double y[] = {b.velocity, b.lossPerMetre, b.lossTotal, b.reynolds, b.lambda};
    return std::memcmp(x, y, sizeof x) == 0 && a.origin == b.origin;
}

TEST(SizePipe, EveryRowIsWhatTheWindowWrites) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0, 1);
    CalculationRecord window;
    int compared = 0;
    for (int i = 0; i < 300; ++i) {
        const Medium medium = allMedia[random() % std::size(allMedia)];
        const Material material = allMaterials[random() % std::size(allMaterials)];
        SizingRequest r = request(std::pow(10, -3 + 8 * unit(random)), medium, material);
        r.length = -50 + 2000 * unit(random);
        const bool bands = medium == Medium::Water || medium == Medium::CompressedAir;
        r.temperature = bands ? 100 * unit(random) : -50 + 250 * unit(random);
        r.maxVelocity = 5 * unit(random);
        r.maxLossPerMetre = 500 * unit(random);

        const auto& series = standardSeries(material);
        const SizingResult result = sizePipe(r, series);
        ASSERT_EQ(result.rows.size(), series.size());
        std::optional<std::size_t> firstPassing;
        for (std::size_t k = 0; k < series.size(); ++k) {
            const SizingRow& row = result.rows[k];
            const auto expected = windowRow(window, series[k].innerDiameter, r);
            ASSERT_EQ(row.values.has_value(), expected.has_value());
            if (!expected) {
                continue;
            }
            ++compared;
            ASSERT_TRUE(sameBits(*row.values, *expected)) << row.size.name << ", " << r.flowRate;
            EXPECT_EQ(row.velocityOk, expected->velocity <= r.maxVelocity);
            EXPECT_EQ(row.lossOk, expected->lossPerMetre <= r.maxLossPerMetre);
            if (!firstPassing && row.velocityOk && row.lossOk) {
                firstPassing = k;
            }
        }
        EXPECT_EQ(result.recommended, firstPassing);
    }
    EXPECT_GT(compared, 3000);
}

TEST(SizePipe, RecommendsTheFirstSizeWithinBothLimits) {
    const SizingRequest base = request(30);
    const SizingResult plain = sizePipe(base, standardSeries(Material::Copper));
    ASSERT_EQ(plain.recommended, 5u); // Cu 35: 0,62 m/s and some 133 Pa/m
    const ResultValues& cu28 = *plain.rows[4].values;
    const double huge = std::numeric_limits<double>::max();

    struct Case {
        const char* what;
        double maxVelocity, maxLoss;
        std::optional<std::size_t> recommended;
    };
    const Case cases[] = {
        {"velocity exactly at the limit", cu28.velocity, huge, 4},
        {"velocity just above the limit", std::nextafter(cu28.velocity, 0.0), huge, 5},
        {"loss exactly at the limit", huge, cu28.lossPerMetre, 4},
        {"loss just above the limit", huge, std::nextafter(cu28.lossPerMetre, 0.0), 5},
        {"the smallest size passes", huge, huge, 0},
        {"no size passes", 1e-6, huge, std::nullopt},
    };
    for (const Case& c : cases) {
        SizingRequest r = base;
        r.maxVelocity = c.maxVelocity;
        r.maxLossPerMetre = c.maxLoss;
        EXPECT_EQ(sizePipe(r, standardSeries(Material::Copper)).recommended, c.recommended)
            << c.what;
    }
}

TEST(SizePipe, LaminarAndFailingSizesAreRowsAsWell) {
    // 0,5 dm³/min of heating oil runs laminar in every copper size; a size of 0 mm divides by
    // zero and is a row without values, never a throw.
    std::vector<PipeSize> series = standardSeries(Material::Copper);
    series.insert(series.begin(), PipeSize{"0 mm", 0, 0, 0});
    const SizingResult result = sizePipe(request(0.5, Medium::FuelOil), series);
    ASSERT_EQ(result.rows.size(), series.size());
    EXPECT_FALSE(result.rows[0].values || result.rows[0].velocityOk || result.rows[0].lossOk);
    for (std::size_t k = 1; k < series.size(); ++k) {
        ASSERT_TRUE(result.rows[k].values);
        EXPECT_EQ(result.rows[k].values->origin.notes.at(0).kind, ResultNote::Kind::Laminar);
    }
    EXPECT_EQ(result.recommended, 1u);
}

TEST(SizePipe, RefusesRequestsItCannotSize) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Medium water = Medium::Water;
    struct Case {
        double flow, length, temperature;
        Medium medium;
        double maxVelocity;
        const char* reason; // empty: accepted
    };
    const Case cases[] = {
        {0, 25, 60, water, 1, "Volumenstrom"},
        {nan, 25, 60, water, 1, "Volumenstrom"},
        {30, -inf, 60, water, 1, "Leitungslänge"},
        {30, 25, 60, water, nan, "Grenzwerte"},
        {30, 25, 100.5, water, 1, "Für Wasser kennt die Berechnung nur Temperaturen von 0 bis"},
        {30, 25, 120, Medium::CompressedAir, 1, "Für Druckluft"},
        {30, 25, inf, Medium::NaturalGas, 1, "Temperatur"},
        // The ends of the band, a fixed viscosity at any temperature, a negative length.
        {30, 25, 0, water, 1, ""},
        {30, 25, 100, water, 1, ""},
        {30, 25, 150, Medium::FuelOil, 1, ""},
        {30, -10, 60, water, 1, ""},
    };
    for (const Case& c : cases) {
        const SizingRequest r{c.flow,        c.length, c.temperature, c.medium, Material::Copper,
                              c.maxVelocity, 150};
        try {
            sizePipe(r, standardSeries(Material::Copper));
            EXPECT_STREQ(c.reason, "") << "accepted";
        } catch (const SizingRequestError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
            EXPECT_STRNE(c.reason, "");
        }
    }
}

} // namespace
} // namespace kolmaris
