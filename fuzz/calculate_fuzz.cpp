// Any four doubles and any selection: the run completes with five finite results, or ends with
// its warning outcome or the arithmetic failure. Nothing else may come out of it.

#include "calc/calculation.h"
#include "fuzz_support.h"

#include <cmath>
#include <optional>

using namespace kolmaris;
using namespace kolmaris::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    CalculationRecord r;
    r.diameterInput = in.take<double>();
    r.flowRateInput = in.take<double>();
    r.lengthInput = in.take<double>();
    r.temperatureInput = in.take<double>();
    const auto mediumByte = in.take<std::uint8_t>() % 5;
    const auto materialByte = in.take<std::uint8_t>() % 6;
    const std::optional<Medium> medium =
        mediumByte == 4 ? std::nullopt : std::optional<Medium>(static_cast<Medium>(mediumByte));
    const std::optional<Material> material =
        materialByte == 5 ? std::nullopt
                          : std::optional<Material>(static_cast<Material>(materialByte));

    CountingSink sink;
    try {
        const CalculationOutcome outcome = calculate(r, medium, material, sink);
        if (outcome == CalculationOutcome::Warning) {
            if (medium && material) {
                broken("a warning outcome with both selections made");
            }
            return 0;
        }
        if (!medium || !material) {
            broken("completed without a selection");
        }
        for (double v : {r.velocity, r.lossPerMetre, r.lossTotal, r.reynolds, r.lambda}) {
            if (!std::isfinite(v)) {
                broken("a completed run with a non-finite result");
            }
        }
        if (sink.count > 1) {
            broken("more than one temperature message in one run");
        }
    } catch (const ArithmeticFailure&) {
    }
    return 0;
}
