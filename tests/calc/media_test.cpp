#include "calc/media.h"
#include "recording_sink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <set>

namespace kolmaris {
namespace {

using test_support::RecordingSink;

struct BandCase {
    double temperature;
    double viscosity;
    bool warns;
};

void expectBands(Medium medium, std::initializer_list<BandCase> cases) {
    for (const BandCase& c : cases) {
        CalculationRecord r;
        r.temperature = c.temperature;
        r.viscosity = -1;
        RecordingSink sink;
        setViscosity(r, medium, sink);
        EXPECT_EQ(r.viscosity, c.viscosity) << "at " << c.temperature << " °C";
        EXPECT_EQ(sink.messages.size(), c.warns ? 1u : 0u) << "at " << c.temperature << " °C";
        if (c.warns && !sink.messages.empty()) {
            EXPECT_EQ(sink.messages[0].prompt, "Temperaturangabe nicht möglich!");
        }
    }
}

TEST(Viscosity, WaterBandsIncludeTheirLowerBound) {
    expectBands(Medium::Water, {{-5, 1.79e-06, true},
                                {-0.0001, 1.79e-06, true},
                                {0, 1.79e-06, false},
                                {9.999, 1.79e-06, false},
                                {10, 1.31e-06, false},
                                {19.99, 1.31e-06, false},
                                {20, 1.01e-06, false},
                                {30, 8.1e-07, false},
                                {40, 6.6e-07, false},
                                {50, 5.6e-07, false},
                                {60, 4.8e-07, false},
                                {70, 4.2e-07, false},
                                {80, 3.7e-07, false},
                                {89.99, 3.7e-07, false},
                                {90, 3.3e-07, false},
                                {100, 3.3e-07, false},
                                {100.0001, 3.3e-07, true},
                                {1e300, 3.3e-07, true}});
}

TEST(Viscosity, CompressedAirBands) {
    expectBands(Medium::CompressedAir, {{-1, 1.32e-05, true},
                                        {0, 1.32e-05, false},
                                        {19.99, 1.32e-05, false},
                                        {20, 1.5e-05, false},
                                        {40, 1.69e-05, false},
                                        {60, 1.89e-05, false},
                                        {80, 2.09e-05, false},
                                        {100, 2.09e-05, false},
                                        {101, 2.09e-05, true}});
}

TEST(Viscosity, MediaOfOneBandNeverWarn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    expectBands(Medium::FuelOil, {{-40, 6e-06, false}, {150, 6e-06, false}, {nan, 6e-06, false}});
    expectBands(Medium::NaturalGas, {{0, 1.28e-05, false}, {1e300, 1.28e-05, false}});
}

TEST(MediaTables, HoldEveryChoiceOnceWithBandsWithoutGaps) {
    std::set<Medium> media;
    for (const MediumFacts& m : mediumTable) {
        media.insert(m.medium);
        EXPECT_EQ(&factsOf(m.medium), &m) << m.name;
        ASSERT_GE(m.bandCount, 1u) << m.name;
        for (std::size_t i = 1; i < m.bandCount; ++i) {
            EXPECT_EQ(m.bands[i - 1].to, m.bands[i].from) << m.name << " band " << i;
            EXPECT_LT(m.bands[i].from, m.bands[i].to) << m.name << " band " << i;
        }
    }
    std::set<Material> materials;
    for (const MaterialFacts& m : materialTable) {
        materials.insert(m.material);
        EXPECT_EQ(&factsOf(m.material), &m) << m.name;
    }
    // Enumerators are numbered from zero: a medium added to the enumeration but not to the
    // table shows up as a missing number.
    EXPECT_EQ(media.size(), std::size(mediumTable));
    EXPECT_EQ(static_cast<std::size_t>(*media.rbegin()) + 1, media.size());
    EXPECT_EQ(materials.size(), std::size(materialTable));
    EXPECT_EQ(static_cast<std::size_t>(*materials.rbegin()) + 1, materials.size());
}

TEST(MediaTables, NameTheBandATemperatureFallsIn) {
    struct Case {
        Medium medium;
        double temperature;
        const char* text;
    };
    for (const Case& c :
         {Case{Medium::Water, 95, "90–100 °C"}, Case{Medium::Water, 100, "90–100 °C"},
          Case{Medium::Water, -3, "0–10 °C"}, Case{Medium::CompressedAir, 20, "20–40 °C"},
          Case{Medium::CompressedAir, 19.5, "0–20 °C"}}) {
        const ViscosityBand& band = viscosityBandOf(c.medium, c.temperature);
        EXPECT_EQ(bandText(band, ','), c.text) << nameOf(c.medium) << " at " << c.temperature;
    }
    EXPECT_EQ(bandText({2.5, 10, 0}, ','), "2,5–10 °C");
    const ViscosityBand& oil = viscosityBandOf(Medium::FuelOil, 20);
    EXPECT_TRUE(std::isinf(oil.from) && std::isinf(oil.to));
}

} // namespace
} // namespace kolmaris
