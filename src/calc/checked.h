#pragma once

#include "calc/errors.h"

#include <cmath>

namespace kolmaris::detail {

// The result of one floating-point operation on finite operands is non-finite exactly when the
// operation raised division by zero, overflow or invalid operation; underflow and inexact
// results stay finite. Testing every result this way needs no floating-point environment
// access, which compilers do not reliably keep in order around optimised code.
inline double checked(double value, const char* what) {
    if (!std::isfinite(value)) {
        throw ArithmeticFailure(what);
    }
    return value;
}

} // namespace kolmaris::detail
