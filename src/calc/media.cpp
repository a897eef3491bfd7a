#include "calc/media.h"

#include <charconv>

namespace kolmaris {

namespace {

template <typename Facts, std::size_t N, typename Key>
const Facts& lookUp(const Facts (&table)[N], Key Facts::*field, Key key) {
    for (const Facts& facts : table) {
        if (facts.*field == key) {
            return facts;
        }
    }
    return table[0]; // unreachable: every enumerator has its row, which a test checks
}

std::string numberText(double value, char decimalSeparator) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("?");
    for (char& c : text) {
        if (c == '.') {
            c = decimalSeparator;
        }
    }
    return text;
}

} // namespace

const MediumFacts& factsOf(Medium medium) {
    return lookUp(mediumTable, &MediumFacts::medium, medium);
}

const MaterialFacts& factsOf(Material material) {
    return lookUp(materialTable, &MaterialFacts::material, material);
}

double densityOf(Medium medium) {
    return factsOf(medium).density;
}

double roughnessOf(Material material) {
    return factsOf(material).roughness;
}

const char* nameOf(Medium medium) {
    return factsOf(medium).name;
}

const char* nameOf(Material material) {
    return factsOf(material).name;
}

bool viscosityDependsOnTemperature(Medium medium) {
    return factsOf(medium).bandCount > 1;
}

bool withinViscosityTable(Medium medium, double temperature) {
    // Written so that a NaN, which no comparison admits, counts as outside.
    return !viscosityDependsOnTemperature(medium) ||
           (temperature >= coldestBandOf(medium).from && temperature <= hottestBandOf(medium).to);
}

std::string viscosityRangeText(Medium medium, char decimalSeparator) {
    return numberText(coldestBandOf(medium).from, decimalSeparator) + " bis " +
           numberText(hottestBandOf(medium).to, decimalSeparator) + " °C";
}

const ViscosityBand& coldestBandOf(Medium medium) {
    return factsOf(medium).bands[0];
}

const ViscosityBand& hottestBandOf(Medium medium) {
    const MediumFacts& facts = factsOf(medium);
    return facts.bands[facts.bandCount - 1];
}

const ViscosityBand& viscosityBandOf(Medium medium, double temperature) {
    const MediumFacts& facts = factsOf(medium);
    for (std::size_t i = 0; i + 1 < facts.bandCount; ++i) {
        if (temperature < facts.bands[i].to) {
            return facts.bands[i];
        }
    }
    return facts.bands[facts.bandCount - 1];
}

std::string bandText(const ViscosityBand& band, char decimalSeparator) {
    return numberText(band.from, decimalSeparator) + "–" + numberText(band.to, decimalSeparator) +
           " °C";
}

void setViscosity(CalculationRecord& record, Medium medium, MessageSink& messages) {
    const double t = record.temperature;
    if (!withinViscosityTable(medium, t)) {
        messages.showMessage("Temperaturangabe nicht möglich!", WarningStyle, warningTitle);
    }
    record.viscosity = viscosityBandOf(medium, t).viscosity;
}

} // namespace kolmaris
