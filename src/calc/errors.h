#pragma once

#include <stdexcept>
#include <string>

namespace kolmaris {

// Every failure the program raises on purpose derives from this, so the one error trap of
// "Berechnen" can catch them all without catching foreign exceptions by accident.
class KolmarisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A division by zero, an overflow, an invalid operation, or a square root or logarithm outside
// its domain, in one step of the calculation.
class ArithmeticFailure : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

} // namespace kolmaris
