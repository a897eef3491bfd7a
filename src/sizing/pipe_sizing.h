#pragma once

#include "calc/calculation.h"
#include "calc/errors.h"
#include "calc/media.h"
#include "results/result_row.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kolmaris {

// One size of a standard pipe series, in mm.
struct PipeSize {
    std::string name; // as engineers write it: "DN 15 (1/2")", "Cu 22", "PE 32", "22 mm"
    double outerDiameter;
    double wall;
    double innerDiameter; // outer minus twice the wall, as the decimal the tables mean
};

// The standard series of a pipe material (its row of the material table), by strictly
// increasing inner diameter.
const std::vector<PipeSize>& standardSeries(Material material);

// What to size for, in the units the main window asks for: dm³/min, m, °C; the limits in m/s
// and Pa/m.
struct SizingRequest {
    double flowRate;
    double length;
    double temperature;
    Medium medium;
    Material material;
    double maxVelocity;
    double maxLossPerMetre;
};

// Limits that suit a medium when the user has not chosen any.
SizingLimits defaultLimits(Medium medium);

// One size with what "Berechnen" would write for it; no values when the calculation fails.
struct SizingRow {
    PipeSize size;
    std::optional<ResultValues> values;
    bool velocityOk;
    bool lossOk;
};

struct SizingResult {
    std::vector<SizingRow> rows;            // one per size, in series order
    std::optional<std::size_t> recommended; // the first row within both limits
};

// A request that cannot be sized; what() is the German reason the dialog shows.
class SizingRequestError : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// Calculates every size of `series` exactly as "Berechnen" would with that inner diameter, and
// checks it against the limits. Shows no message; throws SizingRequestError for a request
// that cannot be sized.
SizingResult sizePipe(const SizingRequest& request, const std::vector<PipeSize>& series);

} // namespace kolmaris
