#include "calc/media.h"
#include "recording_sink.h"

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

using test_support::RecordingSink;

struct BandCase {
    double temperature;
    double viscosity;
    bool warns;
};

void expectBands(void (*rule)(CalculationRecord&, MessageSink&),
                 std::initializer_list<BandCase> cases) {
    for (const BandCase& c : cases) {
        CalculationRecord r;
        r.temperature = c.temperature;
        r.viscosity = -1;
        RecordingSink sink;
        rule(r, sink);
        EXPECT_EQ(r.viscosity, c.viscosity) << "at " << c.temperature << " °C";
        EXPECT_EQ(sink.messages.size(), c.warns ? 1u : 0u) << "at " << c.temperature << " °C";
        if (c.warns && !sink.messages.empty()) {
            EXPECT_EQ(sink.messages[0].prompt, "Temperaturangabe nicht möglich!");
        }
    }
}

TEST(Viscosity, WaterBandsIncludeTheirLowerBound) {
    expectBands(waterViscosity, {{-5, 1.79e-06, true},
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
    expectBands(compressedAirViscosity, {{-1, 1.32e-05, true},
                                         {0, 1.32e-05, false},
                                         {19.99, 1.32e-05, false},
                                         {20, 1.5e-05, false},
                                         {40, 1.69e-05, false},
                                         {60, 1.89e-05, false},
                                         {80, 2.09e-05, false},
                                         {100, 2.09e-05, false},
                                         {101, 2.09e-05, true}});
}

} // namespace
} // namespace kolmaris
