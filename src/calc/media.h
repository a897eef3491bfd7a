#pragma once

#include "calc/calculation.h"
#include "calc/message_sink.h"
#include "calc/pipe_series.h"

#include <cstddef>
#include <iterator>
#include <limits>
#include <string>
#include <utility>

// What the program knows of its media and pipe materials, each fact once. The window's option
// buttons, the help text, the workbooks, the chart's legend, the notes and the pipe sizing take
// their names and data from here, and every list of media or materials follows the order of
// these tables.
namespace kolmaris {

// One step of a medium's viscosity table. A band includes its lower bound and ends below its
// upper one, except that the hottest band includes its upper bound too. Runs outside the table
// use the nearest band. A medium of a single band has the same viscosity at every temperature;
// its bounds are infinite.
struct ViscosityBand {
    double from;      // °C
    double to;        // °C
    double viscosity; // m²/s, kinematic
};

// The limits a pipe sizing for the medium starts from, until the user chooses others.
struct SizingLimits {
    double maxVelocity;     // m/s
    double maxLossPerMetre; // Pa/m
};

struct MediumFacts {
    Medium medium;
    const char* name;           // as the window's option button shows it
    double density;             // kg/m³
    const ViscosityBand* bands; // coldest first
    std::size_t bandCount;
    SizingLimits sizing;
};

struct MaterialFacts {
    Material material;
    const char* name;       // as the window's option button shows it
    double roughness;       // absolute wall roughness, m
    PipeSeriesFacts series; // the standard sizes it is sold in
};

namespace media_data {

inline constexpr double anyTemperature = std::numeric_limits<double>::infinity();

inline constexpr ViscosityBand water[] = {
    {0, 10, 0.00000179},  {10, 20, 0.00000131},  {20, 30, 0.00000101}, {30, 40, 0.00000081},
    {40, 50, 0.00000066}, {50, 60, 0.00000056},  {60, 70, 0.00000048}, {70, 80, 0.00000042},
    {80, 90, 0.00000037}, {90, 100, 0.00000033},
};
inline constexpr ViscosityBand fuelOil[] = {{-anyTemperature, anyTemperature, 0.000006}};
inline constexpr ViscosityBand naturalGas[] = {{-anyTemperature, anyTemperature, 0.0000128}};
inline constexpr ViscosityBand compressedAir[] = {
    {0, 20, 0.0000132},  {20, 40, 0.000015},   {40, 60, 0.0000169},
    {60, 80, 0.0000189}, {80, 100, 0.0000209},
};

} // namespace media_data

// The media in the order the window lists them. The sizing limits: water in buildings about
// 1 m/s (no flow noise) and 100–200 Pa/m; fuel oil slow and within the burner pump's suction;
// low-pressure gas a few hundred pascals in all; compressed air 0,1 bar over the network.
inline constexpr MediumFacts mediumTable[] = {
    {Medium::Water, "Wasser", 1000, media_data::water, std::size(media_data::water), {1.0, 150}},
    {Medium::FuelOil,
     "Heizöl (EL)",
     860,
     media_data::fuelOil,
     std::size(media_data::fuelOil),
     {0.5, 1000}},
    {Medium::NaturalGas,
     "Erdgas",
     0.76,
     media_data::naturalGas,
     std::size(media_data::naturalGas),
     {6.0, 10}},
    {Medium::CompressedAir,
     "Druckluft",
     9.459,
     media_data::compressedAir,
     std::size(media_data::compressedAir),
     {6.0, 100}},
};

// The pipe materials in the order the window lists them.
inline constexpr MaterialFacts materialTable[] = {
    {Material::GalvanisedIron, "Eisenrohr verzinkt", 0.00015,
     series_data::seriesOf(series_data::threadedSteel)},
    {Material::BlackIron, "Eisenrohr schwarz", 0.000045,
     series_data::seriesOf(series_data::threadedSteel)},
    {Material::StainlessSteel, "Chromstahlrohr", 0.0000015,
     series_data::seriesOf(series_data::stainlessPress)},
    {Material::Plastic, "Kunststoffrohr", 0.000007,
     series_data::seriesOf(series_data::polyethylene)},
    {Material::Copper, "Kupferrohr", 0.0000015, series_data::seriesOf(series_data::copper)},
};

namespace media_data {

template <typename T, std::size_t N> struct Order { T items[N]; };

template <typename Facts, std::size_t N, typename Choice, std::size_t... I>
constexpr Order<Choice, N> orderOf(const Facts (&table)[N], Choice Facts::*choice,
                                   std::index_sequence<I...>) {
    return {{(table[I].*choice)...}};
}

} // namespace media_data

// The media and the materials alone, in the tables' order: `mediumOrder.items` is an array.
inline constexpr auto mediumOrder = media_data::orderOf(
    mediumTable, &MediumFacts::medium, std::make_index_sequence<std::size(mediumTable)>());
inline constexpr auto materialOrder = media_data::orderOf(
    materialTable, &MaterialFacts::material, std::make_index_sequence<std::size(materialTable)>());

// Below this Reynolds number the flow is laminar and Colebrook does not describe it.
inline constexpr double laminarLimit = 2320;

const MediumFacts& factsOf(Medium medium);
const MaterialFacts& factsOf(Material material);

double densityOf(Medium medium);       // kg/m³
double roughnessOf(Material material); // absolute wall roughness, m
const char* nameOf(Medium medium);
const char* nameOf(Material material);

// Whether the medium's viscosity depends on the temperature, so that its table covers a range.
bool viscosityDependsOnTemperature(Medium medium);

// Whether the medium's viscosity table covers `temperature`, its bounds included. A NaN is
// outside; a medium of one band covers every temperature.
bool withinViscosityTable(Medium medium, double temperature);

// The temperatures the medium's table covers, as the help and the pipe sizing write them:
// "0 bis 100 °C".
std::string viscosityRangeText(Medium medium, char decimalSeparator);

// The band a run at `temperature` uses: the first whose upper bound lies above it, else the
// hottest (above the table, at its upper bound, and for a NaN).
const ViscosityBand& viscosityBandOf(Medium medium, double temperature);

// The coldest and the hottest band of the medium's table.
const ViscosityBand& coldestBandOf(Medium medium);
const ViscosityBand& hottestBandOf(Medium medium);

// A band's temperatures as the notes write them: "90–100 °C".
std::string bandText(const ViscosityBand& band, char decimalSeparator);

// Sets `viscosity` from `temperature`. A temperature outside the medium's table shows
// "Temperaturangabe nicht möglich!" once and goes on with the nearest band, so no run ever
// works with a viscosity left over from an earlier one.
void setViscosity(CalculationRecord& record, Medium medium, MessageSink& messages);

// The title of the calculation's warnings: "Fehler" and a line break.
inline const char* const warningTitle = "Fehler\r\n";

} // namespace kolmaris
