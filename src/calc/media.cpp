#include "calc/media.h"

#include <iterator>

namespace kolmaris {

double densityOf(Medium medium) {
    switch (medium) {
    case Medium::Water:
        return 1000;
    case Medium::FuelOil:
        return 860;
    case Medium::NaturalGas:
        return 0.76;
    case Medium::CompressedAir:
        return 9.459;
    }
    return 0; // unreachable: every enumerator is handled above
}

double roughnessOf(Material material) {
    switch (material) {
    case Material::GalvanisedIron:
        return 0.00015;
    case Material::BlackIron:
        return 0.000045;
    case Material::StainlessSteel:
        return 0.0000015;
    case Material::Plastic:
        return 0.000007;
    case Material::Copper:
        return 0.0000015;
    }
    return 0; // unreachable
}

const char* nameOf(Medium medium) {
    switch (medium) {
    case Medium::Water:
        return "Wasser";
    case Medium::FuelOil:
        return "Heizöl (EL)";
    case Medium::NaturalGas:
        return "Erdgas";
    case Medium::CompressedAir:
        return "Druckluft";
    }
    return ""; // unreachable
}

const char* nameOf(Material material) {
    switch (material) {
    case Material::GalvanisedIron:
        return "Eisenrohr verzinkt";
    case Material::BlackIron:
        return "Eisenrohr schwarz";
    case Material::StainlessSteel:
        return "Chromstahlrohr";
    case Material::Plastic:
        return "Kunststoffrohr";
    case Material::Copper:
        return "Kupferrohr";
    }
    return ""; // unreachable
}

namespace {

// One band table: the viscosity below each upper bound, and the value of the last band, which
// runs from the last bound up to and including 100 °C.
struct BandTable {
    const double* upperBounds;
    const double* values; // one more than upperBounds
    std::size_t boundCount;
};

void applyBands(const BandTable& table, CalculationRecord& record, MessageSink& messages) {
    const double t = record.temperature;
    // Written so that a NaN, which no comparison admits, counts as out of range as well.
    if (!(t >= 0 && t <= 100)) {
        messages.showMessage("Temperaturangabe nicht möglich!", WarningStyle, warningTitle);
    }
    for (std::size_t i = 0; i < table.boundCount; ++i) {
        if (t < table.upperBounds[i]) {
            record.viscosity = table.values[i];
            return;
        }
    }
    // From the last bound on, and above 100 °C as well: the last band.
    record.viscosity = table.values[table.boundCount];
}

constexpr double waterBounds[] = {10, 20, 30, 40, 50, 60, 70, 80, 90};
constexpr double waterValues[] = {0.00000179, 0.00000131, 0.00000101, 0.00000081, 0.00000066,
                                  0.00000056, 0.00000048, 0.00000042, 0.00000037, 0.00000033};
constexpr double airBounds[] = {20, 40, 60, 80};
constexpr double airValues[] = {0.0000132, 0.000015, 0.0000169, 0.0000189, 0.0000209};

static_assert(std::size(waterValues) == std::size(waterBounds) + 1);
static_assert(std::size(airValues) == std::size(airBounds) + 1);

} // namespace

void waterViscosity(CalculationRecord& record, MessageSink& messages) {
    applyBands({waterBounds, waterValues, std::size(waterBounds)}, record, messages);
}

void compressedAirViscosity(CalculationRecord& record, MessageSink& messages) {
    applyBands({airBounds, airValues, std::size(airBounds)}, record, messages);
}

} // namespace kolmaris
