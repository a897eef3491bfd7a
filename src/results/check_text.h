#pragma once

#include "calc/result_check.h"
#include "results/number_format.h"

#include <string>

namespace kolmaris {

// The check beside a result in one German line, as the row's tooltip shows it, with the
// user's decimal separator: "Prüfrechnung: Δp/m 178,4 Pa/m (+3,2 %) mit IAPWS-Stoffwerten und
// Colebrook". It names the IAPWS check where there is one, else the one with the program's
// properties, and what could not be checked.
std::string checkText(const ResultCheck& check, const NumberFormat& format);

// A deviation as the check writes it, one decimal with its sign: "+3,2 %", "-0,4 %"; "0,0 %"
// where the difference rounds away.
std::string deviationText(double percent, const NumberFormat& format);

} // namespace kolmaris
