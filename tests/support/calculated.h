#pragma once

#include "results/recalculation.h"
#include "results/result_row.h"

#include <gtest/gtest.h>

namespace kolmaris::test_support {

// What "Berechnen" writes for these inputs.
inline ResultValues calculatedFrom(const ResultInputs& in) {
    const auto record = recalculated(in);
    EXPECT_TRUE(record.has_value()) << "inputs that do not calculate";
    return record ? resultOf(*record, in.medium, in.material) : ResultValues{};
}

} // namespace kolmaris::test_support
