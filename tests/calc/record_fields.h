#pragma once

#include "calc/calculation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace kolmaris::test_support {

inline constexpr std::pair<const char*, double CalculationRecord::*> recordFields[] = {
    {"diameter", &CalculationRecord::diameter},
    {"flowRate", &CalculationRecord::flowRate},
    {"pipeLength", &CalculationRecord::pipeLength},
    {"temperature", &CalculationRecord::temperature},
    {"velocity", &CalculationRecord::velocity},
    {"crossSection", &CalculationRecord::crossSection},
    {"diameterInput", &CalculationRecord::diameterInput},
    {"flowRateInput", &CalculationRecord::flowRateInput},
    {"lengthInput", &CalculationRecord::lengthInput},
    {"temperatureInput", &CalculationRecord::temperatureInput},
    {"piValue", &CalculationRecord::piValue},
    {"density", &CalculationRecord::density},
    {"roughness", &CalculationRecord::roughness},
    {"viscosity", &CalculationRecord::viscosity},
    {"reynolds", &CalculationRecord::reynolds},
    {"lambdaTrial", &CalculationRecord::lambdaTrial},
    {"balanceDiff", &CalculationRecord::balanceDiff},
    {"balanceAbs", &CalculationRecord::balanceAbs},
    {"invSqrtLambda", &CalculationRecord::invSqrtLambda},
    {"colebrookRhs", &CalculationRecord::colebrookRhs},
    {"lambda", &CalculationRecord::lambda},
    {"lambdaStep", &CalculationRecord::lambdaStep},
    {"lossPerMetre", &CalculationRecord::lossPerMetre},
    {"lossTotal", &CalculationRecord::lossTotal},
};
static_assert(sizeof(CalculationRecord) ==
                  sizeof(recordFields) / sizeof(recordFields[0]) * sizeof(double),
              "every field of the record is listed");

// Bit for bit: signed zeros and NaN payloads count.
inline ::testing::AssertionResult sameRecord(const CalculationRecord& a,
                                             const CalculationRecord& b) {
    auto failure = ::testing::AssertionFailure();
    bool same = true;
    for (const auto& [name, field] : recordFields) {
        if (std::memcmp(&(a.*field), &(b.*field), sizeof(double)) != 0) {
            same = false;
            failure << name << ": " << a.*field << " vs " << b.*field << "; ";
        }
    }
    return same ? ::testing::AssertionSuccess() : failure;
}

} // namespace kolmaris::test_support
