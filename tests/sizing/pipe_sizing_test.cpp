#include "sizing/pipe_sizing.h"

#include "recording_sink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <set>

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
        ASSERT_GE(series.size(), 11u);
        std::set<std::string> names;
        for (std::size_t i = 0; i < series.size(); ++i) {
            const PipeSize& s = series[i];
            SCOPED_TRACE(s.name);
            EXPECT_TRUE(names.insert(s.name).second) << "name twice";
            EXPECT_NEAR(s.innerDiameter, s.outerDiameter - 2 * s.wall, 1e-9);
            EXPECT_GE(s.outerDiameter / s.wall, band.lowest);
            EXPECT_LE(s.outerDiameter / s.wall, band.highest);
            if (i > 0) {
                EXPECT_GT(s.innerDiameter, series[i - 1].innerDiameter);
                EXPECT_GT(s.outerDiameter, series[i - 1].outerDiameter);
            }
        }
    }
    EXPECT_EQ(standardSeries(Material::Copper).front().innerDiameter, 10);
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

bool sameBits(const ResultValues& a, const ResultValues& b) {
    const auto same = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    return same(a.velocity, b.velocity) && same(a.lossPerMetre, b.lossPerMetre) &&
           same(a.lossTotal, b.lossTotal) && same(a.reynolds, b.reynolds) &&
           same(a.lambda, b.lambda) && a.origin == b.origin;
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

        const SizingResult result = sizePipe(r, standardSeries(material));
        const auto& series = standardSeries(material);
        ASSERT_EQ(result.rows.size(), series.size());
        std::optional<std::size_t> firstPassing;
        for (std::size_t k = 0; k < series.size(); ++k) {
            const SizingRow& row = result.rows[k];
            EXPECT_EQ(row.size.name, series[k].name);
            const auto expected = windowRow(window, series[k].innerDiameter, r);
            ASSERT_EQ(row.values.has_value(), expected.has_value());
            if (!expected) {
                continue;
            }
            ++compared;
            ASSERT_TRUE(sameBits(*row.values, *expected))
                << series[k].name << " flow " << r.flowRate;
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
        {"a limit of zero", 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SizingRequest r = base;
        r.maxVelocity = c.maxVelocity;
        r.maxLossPerMetre = c.maxLoss;
        EXPECT_EQ(sizePipe(r, standardSeries(Material::Copper)).recommended, c.recommended)
            << c.what;
    }
}

TEST(SizePipe, LaminarRowsCarryTheirNoteAndStillCount) {
    // 0,5 dm³/min of heating oil: laminar in every copper size.
    const SizingResult result =
        sizePipe(request(0.5, Medium::FuelOil), standardSeries(Material::Copper));
    for (const SizingRow& row : result.rows) {
        ASSERT_TRUE(row.values);
        ASSERT_FALSE(row.values->origin.notes.empty());
        EXPECT_EQ(row.values->origin.notes.front().kind, ResultNote::Kind::Laminar);
    }
    EXPECT_EQ(result.recommended, 0u);
}

TEST(SizePipe, ASizeThatCannotBeCalculatedIsARowWithoutValues) {
    std::vector<PipeSize> series = standardSeries(Material::Copper);
    series.insert(series.begin(), PipeSize{"0 mm", 0, 0, 0}); // a division by zero
    const SizingResult result = sizePipe(request(30), series);
    ASSERT_EQ(result.rows.size(), series.size());
    EXPECT_FALSE(result.rows[0].values);
    EXPECT_FALSE(result.rows[0].velocityOk || result.rows[0].lossOk);
    EXPECT_EQ(result.recommended, 6u);
}

TEST(SizePipe, RefusesRequestsItCannotSize) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::function<void(SizingRequest&)> change;
        const char* reason; // empty: accepted
    };
    const Case cases[] = {
        {[](SizingRequest& r) { r.flowRate = 0; }, "Volumenstrom"},
        {[](SizingRequest& r) { r.flowRate = -3; }, "Volumenstrom"},
        {[&](SizingRequest& r) { r.flowRate = nan; }, "Volumenstrom"},
        {[&](SizingRequest& r) { r.flowRate = inf; }, "Volumenstrom"},
        {[&](SizingRequest& r) { r.length = -inf; }, "Leitungslänge"},
        {[&](SizingRequest& r) { r.maxVelocity = nan; }, "Grenzwerte"},
        {[&](SizingRequest& r) { r.maxLossPerMetre = inf; }, "Grenzwerte"},
        {[](SizingRequest& r) { r.temperature = 100.5; }, "Für Wasser kennt"},
        {[](SizingRequest& r) { r.temperature = -0.1; }, "0 bis 100 °C"},
        {[&](SizingRequest& r) { r.temperature = nan; }, "0 bis 100 °C"},
        {[](SizingRequest& r) {
             r.medium = Medium::CompressedAir;
             r.temperature = 120;
         },
         "Für Druckluft kennt"},
        {[&](SizingRequest& r) {
             r.medium = Medium::NaturalGas;
             r.temperature = inf;
         },
         "Temperatur"},
        // Accepted: the ends of the band, a fixed viscosity at any temperature, a negative length.
        {[](SizingRequest& r) { r.temperature = 0; }, ""},
        {[](SizingRequest& r) { r.temperature = 100; }, ""},
        {[](SizingRequest& r) {
             r.medium = Medium::FuelOil;
             r.temperature = 150;
         },
         ""},
        {[](SizingRequest& r) { r.length = -10; }, ""},
    };
    for (const Case& c : cases) {
        SizingRequest r = request(30);
        c.change(r);
        try {
            sizePipe(r, standardSeries(Material::Copper));
            EXPECT_STREQ(c.reason, "") << "accepted";
        } catch (const SizingRequestError& error) {
            EXPECT_NE(std::string(c.reason), "");
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace kolmaris
