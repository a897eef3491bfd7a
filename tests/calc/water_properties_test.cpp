#include "calc/water_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

namespace kolmaris {
namespace {

// Everything the oracle script writes, error messages included.
std::string oracleOutput() {
    const std::string command =
        std::string("/usr/bin/python3 '") + KOLMARIS_IAPWS_ORACLE + "' 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF;) {
            output += static_cast<char>(c);
        }
        pclose(pipe);
    }
    return output;
}

// The largest relative error seen, and where.
struct Largest {
    double error = 0, celsius = 0;
    void take(double ours, double theirs, double at) {
        if (!(std::fabs(ours / theirs - 1) <= error)) {
            error = std::fabs(ours / theirs - 1), celsius = at;
        }
    }
};

TEST(WaterProperties, MatchPythonIapwsAtEveryTenthOfADegree) {
    const std::string output = oracleOutput();
    std::istringstream lines(output);
    double celsius, density, viscosity;
    Largest densityError, viscosityError;
    int rows = 0;
    while (lines >> celsius >> density >> viscosity) {
        ++rows;
        densityError.take(waterDensityIapws(celsius), density, celsius);
        viscosityError.take(waterKinematicViscosityIapws(celsius), viscosity / density, celsius);
    }
    ASSERT_EQ(rows, 997) << "/usr/bin/python3 with python3-iapws (scripts/install-deps.sh) "
                            "did not give the table; it wrote:\n"
                         << output.substr(0, 2000);
    std::printf("largest relative error: density %.3g at %g °C, viscosity %.3g at %g °C\n",
                densityError.error, densityError.celsius, viscosityError.error,
                viscosityError.celsius);
    EXPECT_LT(densityError.error, 1e-6) << "at " << densityError.celsius << " °C";
    EXPECT_LT(viscosityError.error, 1e-5) << "at " << viscosityError.celsius << " °C";
}

} // namespace
} // namespace kolmaris
