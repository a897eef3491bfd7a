#pragma once

#include "calc/calculation.h"
#include "calc/message_sink.h"

namespace kolmaris {

double densityOf(Medium medium);       // kg/m³
double roughnessOf(Material material); // absolute wall roughness, m

// The names the window's option buttons show.
const char* nameOf(Medium medium);
const char* nameOf(Material material);

// Set `viscosity` from `temperature` by the step tables of water and compressed air. Outside
// 0 to 100 °C they show "Temperaturangabe nicht möglich!" once and go on with the nearest band,
// so no run ever works with a viscosity left over from an earlier one.
void waterViscosity(CalculationRecord& record, MessageSink& messages);
void compressedAirViscosity(CalculationRecord& record, MessageSink& messages);

// The title of the calculation's warnings: "Fehler" and a line break.
inline const char* const warningTitle = "Fehler\r\n";

} // namespace kolmaris
