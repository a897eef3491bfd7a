#pragma once

#include "results/number_format.h"

// The two decimal separators the tests run every result text under.
namespace kolmaris::test_support {

inline const NumberFormat german{','};
inline const NumberFormat english{'.'};

} // namespace kolmaris::test_support
